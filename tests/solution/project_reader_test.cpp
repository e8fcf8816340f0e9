#include "solution/project.h"
#include "solution/xml_depth.h"

#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

class ProjectReaderTest : public testing::Test {
protected:
    // Loads the project file at dir's relative path as a top-level project read in full.
    bool load(Project& project, const std::string& relativePath)
    {
        project = Project(dir.path(), relativePath);
        LoadContext context;
        struct _stat64i32 noCache = {};
        return project.load(false, noCache, context);
    }

    TempDir dir;
    MessageRecorder recorder;
    Project project;
};

TEST_F(ProjectReaderTest, MsbuildItemsAreCollectedByGroupThenByItemList)
{
    dir.write("app\\app.vcxproj",
              "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- <ItemGroup><ClCompile Include=\"comment.cpp\"/> -->\n"
              "<Project>\n"
              "  <ItemGroup>\n"
              "    <ClInclude Include=\"b.h\" />\n"
              "    <ClCompile Include=\"..\\common\\util.cpp\" />\n"
              "    <ClCompile Include=\"D:\\x\\y.cpp\"><Filter>src</Filter></ClCompile>\n"
              "    <clcompile Include=\"lower.cpp\" /><ClCompile include=\"lower.cpp\" /><ClCompile />\n"
              "    <None Include='a&amp;b&#46;txt' /><Unknown Include=\"u.cpp\" /><Compile Include=\"c.cs\" />\n"
              "  </ItemGroup>\n"
              "  <ImportGroup><ItemGroup><ClCompile Include=\"nested.cpp\" /></ItemGroup></ImportGroup>\n"
              "  <ItemGroup><CustomBuild Include=\"*.rule;$(Dir)x\" /><Image Include=\"i.png\" /></ItemGroup>\n"
              "</Project>\n");
    EXPECT_TRUE(load(project, "app\\app.vcxproj"));
    std::string app = dir.path("app\\");
    EXPECT_EQ((std::vector<std::string>{dir.path("common\\util.cpp"), "D:\\x\\y.cpp", app + "b.h", app + "a&b.txt",
                                        app + "c.cs", app + "i.png", app + "*.rule;$(Dir)x"}),
              project.files);
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(ProjectReaderTest, CsprojListIgnoresNativeItemsAndReferences)
{
    dir.write("t.csproj", vcxprojText({"ClCompile a.cpp", "Page p.xaml", "ProjectReference r.csproj", "Compile c.cs",
                                       "TypeScriptCompile t.ts", "EmbeddedResource e.resx"}));
    EXPECT_TRUE(load(project, "t.csproj"));
    EXPECT_EQ((std::vector<std::string>{dir.path("c.cs"), dir.path("e.resx"), dir.path("p.xaml"), dir.path("t.ts")}),
              project.files);
    EXPECT_TRUE(project.references.empty());
}

TEST_F(ProjectReaderTest, VcprojFilesComeBeforeTheirFiltersAtEveryDepth)
{
    dir.write("old.VCPROJ",
              "<VisualStudioProject><Files>"
              "<Filter><Filter><Filter><File RelativePath=\"deep.cpp\"/></Filter></Filter>"
              "<File RelativePath=\"f1.cpp\"><File RelativePath=\"inside.cpp\"/></File></Filter>"
              "<File RelativePath=\".\\top.cpp\"/><File/><Filter><File RelativePath=\"f2.h\"/></Filter>"
              "</Files><Files><File RelativePath=\"second.cpp\"/></Files></VisualStudioProject>");
    EXPECT_TRUE(load(project, "old.VCPROJ"));
    EXPECT_EQ((std::vector<std::string>{dir.path("top.cpp"), dir.path("f1.cpp"), dir.path("deep.cpp"), dir.path("f2.h")}),
              project.files);
}

TEST_F(ProjectReaderTest, KindAndReadFailuresLeaveTheProjectEmpty)
{
    struct Case {
        const char* name;
        const char* content;
        bool result;
    };
    const Case cases[] = {
        {"setup.vdproj", "<Project><ItemGroup><None Include=\"a\"/></ItemGroup></Project>", false},
        {"empty.vcxproj", "", true},
        {"noroot.vcxproj", "<Other><ItemGroup><None Include=\"a\"/></ItemGroup></Other>", true},
        {"malformed.vcxproj", "<Project><ItemGroup><None Include=\"a\"/></ItemGroup>", false},
        {"garbage.csproj", "\x01\x02 not xml", false},
        {"attribute.vcxproj", "<Project><ItemGroup><None Include=a/></ItemGroup></Project>", false},
    };
    for (const Case& c : cases) {
        dir.write(c.name, c.content);
        EXPECT_EQ(c.result, load(project, c.name)) << c.name;
        EXPECT_TRUE(project.files.empty()) << c.name;
    }
    EXPECT_FALSE(load(project, "missing.vcxproj"));
    EXPECT_TRUE(recorder.messages().empty());

    dir.write("notes.txt", "<Project/>");
    EXPECT_FALSE(load(project, "notes.txt"));
    EXPECT_EQ((std::vector<std::string>{"Unrecognised project type in file '" + dir.path("notes.txt") + "'!\n"}),
              recorder.texts());
    EXPECT_EQ("Quorlan", recorder.messages()[0].caption);
}

TEST_F(ProjectReaderTest, ReferencesAreLoadedButCyclesAreNot)
{
    dir.write("a\\a.vcxproj", vcxprojText({"ClCompile a.cpp", "ProjectReference ..\\b\\b.vcxproj"}));
    dir.write("b\\b.vcxproj", vcxprojText({"ClCompile b.cpp", "ProjectReference ..\\A\\A.VCXPROJ",
                                           "ProjectReference b.vcxproj", "ProjectReference ..\\c\\c.csproj"}));
    dir.write("c\\c.csproj", vcxprojText({"Compile c.cs", "ProjectReference ..\\a\\a.vcxproj"}));
    EXPECT_TRUE(load(project, "a\\a.vcxproj"));
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("a\\a.vcxproj"), "F " + dir.path("a\\a.cpp"),
                                        "  P " + dir.path("b\\b.vcxproj"), "  F " + dir.path("b\\b.cpp"),
                                        "    P " + dir.path("A\\A.VCXPROJ"), "    P " + dir.path("b\\b.vcxproj"),
                                        "    P " + dir.path("c\\c.csproj"), "    F " + dir.path("c\\c.cs")}),
              walkLines(project));
    EXPECT_EQ(dir.path(), project.references[0]->baseDir);
}

TEST_F(ProjectReaderTest, ReferenceChainsStopAtTheDepthBound)
{
    // p0 references p1, which references p2, ...: every file distinct, so no cycle stops it.
    for (size_t i = 0; i <= MAX_REFERENCE_DEPTH + 5; ++i) {
        std::string next = "ProjectReference p" + std::to_string(i + 1) + ".vcxproj";
        dir.write("p" + std::to_string(i) + ".vcxproj", vcxprojText({"ClCompile f" + std::to_string(i) + ".cpp", next}));
    }
    EXPECT_TRUE(load(project, "p0.vcxproj"));
    size_t depth = 1;
    for (const Project* p = &project; !p->references.empty(); p = p->references[0].get())
        ++depth;
    EXPECT_EQ(MAX_REFERENCE_DEPTH, depth);
}

TEST_F(ProjectReaderTest, DeepNestingIsRefusedBeforeTheParserRecurses)
{
    // Document and Files elements, then filters down to the deepest level allowed, or one more.
    for (size_t levels : {MAX_XML_DEPTH, MAX_XML_DEPTH + 1}) {
        std::string text = "<VisualStudioProject><Files>";
        for (size_t i = 2; i < levels; ++i)
            text += "<Filter>";
        text += "<File RelativePath=\"deep.cpp\"/>";
        for (size_t i = 2; i < levels; ++i)
            text += "</Filter>";
        dir.write("deep.vcproj", text + "</Files></VisualStudioProject>");
        EXPECT_EQ(levels == MAX_XML_DEPTH, load(project, "deep.vcproj"));
        EXPECT_EQ(levels == MAX_XML_DEPTH, project.files.size() == 1u);
    }

    std::string hostile;
    for (int i = 0; i < 500000; ++i)
        hostile += "<a>";
    dir.write("hostile.vcxproj", hostile);
    EXPECT_FALSE(load(project, "hostile.vcxproj"));
}

TEST(XmlDepthTest, CountsLevelsTheWayTheParserOpensThem)
{
    EXPECT_TRUE(xmlDepthWithin("<a><b/><b x='/>'/></a>", 1));
    EXPECT_TRUE(xmlDepthWithin("<?xml version='1.0'?><!DOCTYPE a [<!ELEMENT a (b)>]><a><!--<b>--><![CDATA[<b>]]></a>", 1));
    EXPECT_FALSE(xmlDepthWithin("<a><b x=\"</a>\"><c></c></b></a>", 2));  // quotes hide markup
    EXPECT_FALSE(xmlDepthWithin("<a\"><b\"><c>", 2));                     // a quote can be part of a name
    EXPECT_FALSE(xmlDepthWithin("<a><b><?></b></a>?><c><d>", 3));        // "<?>" ends no instruction
    EXPECT_FALSE(xmlDepthWithin("<a>text<b>&amp;<c></c></b></a>", 2));
    EXPECT_TRUE(xmlDepthWithin("<a><b><c></c></b></a>", 3));
}

}  // namespace
