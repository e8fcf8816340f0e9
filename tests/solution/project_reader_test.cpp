#include "solution/project.h"
#include "solution/xml_depth.h"

#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

class ProjectReaderTest : public testing::Test {
protected:
    // Reads the project file at a path relative to dir in full, as a top-level project.
    bool load(const std::string& relativePath, const std::string& content)
    {
        dir.write(relativePath, content);
        project = Project(dir.path(), relativePath);
        LoadContext context;
        return project.load(false, {}, context);
    }

    TempDir dir;
    MessageRecorder recorder;
    Project project;
};

TEST_F(ProjectReaderTest, MsbuildItemsAreCollectedByGroupThenByItemList)
{
    EXPECT_TRUE(load("app\\app.vcxproj",
                     "\xEF\xBB\xBF<?xml version=\"1.0\"?><!-- <ItemGroup><ClCompile Include=\"comment.cpp\"/> -->\n"
                     "<Project><ItemGroup>\n"
                     "  <ClInclude Include=\"b.h\" /><ClCompile Include=\"..\\common\\util.cpp\" />\n"
                     "  <ClCompile Include=\"D:\\x\\y.cpp\"><Filter>src</Filter></ClCompile><ClCompile />\n"
                     "  <clcompile Include=\"lower.cpp\" /><ClCompile include=\"lower.cpp\" />\n"
                     "  <Unknown Include=\"u\" />\n"
                     "  <None Include='a&amp;b&#46;txt' /><Compile Include=\"c.cs\" />\n"
                     "</ItemGroup>\n"
                     "<ImportGroup><ItemGroup><ClCompile Include=\"nested.cpp\" /></ItemGroup></ImportGroup>\n"
                     "<ItemGroup><CustomBuild Include=\"*.rule;$(Dir)x\" /><Image Include=\"i.png\" /></ItemGroup>\n"
                     "</Project>\n"));
    std::string app = dir.path("app\\");
    EXPECT_EQ((std::vector<std::string>{dir.path("common\\util.cpp"), "D:\\x\\y.cpp", app + "b.h", app + "a&b.txt",
                                        app + "c.cs", app + "i.png", app + "*.rule;$(Dir)x"}),
              project.files);

    EXPECT_TRUE(load("t.csproj", vcxprojText({"ClCompile a.cpp", "Page p.xaml", "ProjectReference r.csproj",
                                              "Compile c.cs", "TypeScriptCompile t.ts", "EmbeddedResource e.resx"})));
    EXPECT_EQ((std::vector<std::string>{dir.path("c.cs"), dir.path("e.resx"), dir.path("p.xaml"), dir.path("t.ts")}),
              project.files);
    EXPECT_TRUE(project.references.empty());
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(ProjectReaderTest, VcprojFilesComeBeforeTheirFiltersAtEveryDepth)
{
    EXPECT_TRUE(load("old.VCPROJ", "<VisualStudioProject><Files>"
                                   "<Filter><Filter><Filter><File RelativePath=\"deep.cpp\"/></Filter></Filter>"
                                   "<File RelativePath=\"f1.cpp\"><File RelativePath=\"inside.cpp\"/></File></Filter>"
                                   "<File RelativePath=\".\\top.cpp\"/><File/>"
                                   "<Filter><File RelativePath=\"f2.h\"/></Filter>"
                                   "</Files><Files><File RelativePath=\"second.cpp\"/></Files></VisualStudioProject>"));
    EXPECT_EQ(
        (std::vector<std::string>{dir.path("top.cpp"), dir.path("f1.cpp"), dir.path("deep.cpp"), dir.path("f2.h")}),
        project.files);
}

TEST_F(ProjectReaderTest, UnreadableFilesLeaveTheProjectEmptyAndOnlyUnknownKindsAreReported)
{
    const std::pair<const char*, const char*> failing[] = {
        {"setup.vdproj", "<Project><ItemGroup><None Include=\"a\"/></ItemGroup></Project>"},
        {"unclosed.vcxproj", "<Project><ItemGroup><None Include=\"a\"/></ItemGroup>"},
        {"garbage.csproj", "\x01\x02 not xml"},
        {"unquoted.vcxproj", "<Project><ItemGroup><None Include=a/></ItemGroup></Project>"},
    };
    for (const auto& file : failing) {
        EXPECT_FALSE(load(file.first, file.second)) << file.first;
        EXPECT_TRUE(project.files.empty()) << file.first;
    }
    EXPECT_TRUE(load("empty.vcxproj", ""));
    {
        // Held open for writing by another program, as Visual Studio does: still read.
        UniqueWin32File writer(CreateFileA(dir.path("empty.vcxproj").c_str(), GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(writer);
        LoadContext context;
        EXPECT_TRUE(project.load(false, {}, context));
    }
    EXPECT_TRUE(load("noroot.vcxproj", "<Other><ItemGroup><None Include=\"a\"/></ItemGroup></Other>"));
    EXPECT_TRUE(project.files.empty());
    EXPECT_TRUE(recorder.messages().empty());

    EXPECT_FALSE(load("notes.txt", "<Project/>"));
    EXPECT_EQ((std::vector<std::string>{"Unrecognised project type in file '" + dir.path("notes.txt") + "'!\n"}),
              recorder.texts());
}

TEST_F(ProjectReaderTest, ReferencesAreLoadedButCyclesAreNot)
{
    dir.write("b\\b.vcxproj", vcxprojText({"ClCompile b.cpp", "ProjectReference ..\\A\\A.VCXPROJ",
                                           "ProjectReference b.vcxproj", "ProjectReference ..\\c\\c.csproj"}));
    dir.write("c\\c.csproj", vcxprojText({"Compile c.cs", "ProjectReference ..\\a\\a.vcxproj"}));
    EXPECT_TRUE(load("a\\a.vcxproj", vcxprojText({"ClCompile a.cpp", "ProjectReference ..\\b\\b.vcxproj"})));
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("a\\a.vcxproj"), "F " + dir.path("a\\a.cpp"),
                                        "  P " + dir.path("b\\b.vcxproj"), "  F " + dir.path("b\\b.cpp"),
                                        "    P " + dir.path("A\\A.VCXPROJ"), "    P " + dir.path("b\\b.vcxproj"),
                                        "    P " + dir.path("c\\c.csproj"), "    F " + dir.path("c\\c.cs")}),
              walkLines(project));
    EXPECT_EQ(dir.path(), project.references[0]->baseDir);

    // A chain of distinct project files stops at the depth the cache can hold.
    for (size_t i = 1; i <= MAX_REFERENCE_DEPTH; ++i)
        dir.write("p" + std::to_string(i) + ".vcxproj",
                  vcxprojText({"ProjectReference p" + std::to_string(i + 1) + ".vcxproj"}));
    EXPECT_TRUE(load("p0.vcxproj", vcxprojText({"ProjectReference p1.vcxproj"})));
    size_t depth = 1;
    for (const Project* p = &project; !p->references.empty(); p = p->references[0].get())
        ++depth;
    EXPECT_EQ(MAX_REFERENCE_DEPTH, depth);
}

TEST_F(ProjectReaderTest, DeepNestingIsRefusedBeforeTheParserRecurses)
{
    for (size_t levels : {MAX_XML_DEPTH, MAX_XML_DEPTH + 1}) {
        std::string filters;
        for (size_t i = 2; i < levels; ++i)
            filters += "<Filter>";
        std::string closing = filters;
        for (size_t at = 0; (at = closing.find('<', at)) != std::string::npos; at += 2)
            closing.insert(at + 1, "/");
        EXPECT_EQ(levels == MAX_XML_DEPTH, load("deep.vcproj", "<VisualStudioProject><Files>" + filters +
                                                                   "<File RelativePath=\"deep.cpp\"/>" + closing +
                                                                   "</Files></VisualStudioProject>"));
        EXPECT_EQ(levels == MAX_XML_DEPTH, project.files.size() == 1u);
    }
    std::string hostile;
    for (int i = 0; i < 500000; ++i)
        hostile += "<a>";
    EXPECT_FALSE(load("hostile.vcxproj", hostile));
}

TEST(XmlDepthTest, CountsLevelsTheWayTheParserOpensThem)
{
    EXPECT_TRUE(xmlDepthWithin("<a><b/><b x='/>'/></a>", 1));
    EXPECT_TRUE(
        xmlDepthWithin("<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a (b)>]><a><!--<b>--><![CDATA[<b>]]></a>", 1));
    EXPECT_FALSE(xmlDepthWithin("<a><b x=\"</a>\"><c></c></b></a>", 2));  // quotes hide markup
    EXPECT_FALSE(xmlDepthWithin("<a\"><b\"><c>", 2));                     // a quote can be part of a name
    EXPECT_FALSE(xmlDepthWithin("<a><b><?></b></a>?><c><d>", 3));        // "<?>" ends no instruction
    EXPECT_TRUE(xmlDepthWithin("<a>text<b>&amp;<c></c></b></a>", 3));
}

}  // namespace
