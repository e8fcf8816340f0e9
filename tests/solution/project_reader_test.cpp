#include "solution/project.h"
#include "solution/xml_depth.h"

#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

class ProjectReaderTest : public testing::Test {
protected:
    // Writes the project file at a path relative to dir and reads it in full, as a top-level project.
    bool loadProject(const std::string& relativePath, const std::string& content)
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

TEST_F(ProjectReaderTest, ItemsAreCollectedInTheOrderOfEachFormat)
{
    EXPECT_TRUE(loadProject("app\\app.vcxproj",
                            "\xEF\xBB\xBF<?xml version=\"1.0\"?><Project><ItemGroup><ClInclude Include=\"b.h\"/>"
                            "<ClCompile Include=\"..\\common\\util.cpp\"/><!-- <ClCompile Include=\"c.cpp\"/> -->"
                            "<ClCompile Include=\"D:\\x\\y.cpp\"><Filter>src</Filter></ClCompile><ClCompile/>"
                            "<clcompile Include=\"l.cpp\"/><ClCompile include=\"l.cpp\"/><Unknown Include=\"u\"/>"
                            "<None Include='a&amp;b&#46;txt'/><None Include='src/n.txt'/><None Include='../x/y.txt'/>"
                            "<None Include='sub\\'/><Compile Include=\"c.cs\"/></ItemGroup><ImportGroup><ItemGroup>"
                            "<ClCompile Include=\"nested.cpp\"/></ItemGroup></ImportGroup><ItemGroup>"
                            "<CustomBuild Include=\"*.rule;$(Dir)x\"/><Image Include=\"i.png\"/>"
                            "</ItemGroup></Project>"));
    std::string app = dir.path("app\\");
    // "*.rule" matches no file; "$(Dir)" is no property the reader knows.
    EXPECT_EQ((std::vector<std::string>{dir.path("common\\util.cpp"), "D:\\x\\y.cpp", app + "b.h", app + "a&b.txt",
                                        app + "src\\n.txt", dir.path("x\\y.txt"), app + "sub\\", app + "c.cs",
                                        app + "i.png"}),
              project.files.paths());

    EXPECT_TRUE(loadProject("old.VCPROJ", "<VisualStudioProject><Files><Filter><Filter><File RelativePath=\"deep.c\"/>"
                                          "</Filter><File RelativePath=\"f1.c\"><File RelativePath=\"inner.c\"/></File>"
                                          "</Filter><File RelativePath=\".\\top.c\"/><File/></Files>"
                                          "<Files><File RelativePath=\"second.c\"/></Files></VisualStudioProject>"));
    EXPECT_EQ((std::vector<std::string>{dir.path("top.c"), dir.path("f1.c"), dir.path("deep.c")}), project.files.paths());
}

// A file referenced twice is read once: the second reference, spelled in other letters, gets the
// first one's paths. A ".csproj" has neither ClCompile items nor references.
TEST_F(ProjectReaderTest, ReferencesAreReadOnceEachButCyclesAreNot)
{
    dir.write("b\\b.vcxproj",
              vcxprojText({"ClCompile b.cpp", "ProjectReference ..\\A\\A.VCXPROJ", "ProjectReference b.vcxproj",
                           "ProjectReference ..\\c\\c.csproj", "ProjectReference ..\\C\\C.CSPROJ"}));
    dir.write("c\\c.csproj", vcxprojText({"ClCompile x.cpp", "Compile c.cs", "ProjectReference ..\\a\\a.vcxproj"}));
    dir.write("a\\a.vcxproj", vcxprojText({"ClCompile a.cpp", "ProjectReference ../b/b.vcxproj"}));
    Solution solution(dir.write("App.sln", solutionText({"a\\a.vcxproj"})));
    EXPECT_TRUE(solution.load());
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("a\\a.vcxproj"), "F " + dir.path("a\\a.cpp"),
                                        "  P " + dir.path("b\\b.vcxproj"), "  F " + dir.path("b\\b.cpp"),
                                        "    P " + dir.path("A\\A.VCXPROJ"), "    P " + dir.path("b\\b.vcxproj"),
                                        "    P " + dir.path("c\\c.csproj"), "    F " + dir.path("c\\c.cs"),
                                        "    P " + dir.path("C\\C.CSPROJ"), "    F " + dir.path("c\\c.cs")}),
              walkLines(solution));

    // A chain of distinct project files stops at the depth the cache can hold.
    for (size_t i = 1; i <= MAX_REFERENCE_DEPTH; ++i)
        dir.write("p" + std::to_string(i) + ".vcxproj",
                  vcxprojText({"ProjectReference p" + std::to_string(i + 1) + ".vcxproj"}));
    EXPECT_TRUE(loadProject("p0.vcxproj", vcxprojText({"ProjectReference p1.vcxproj"})));
    size_t depth = 1;
    for (const Project* p = &project; !p->references.empty(); p = p->references[0].get())
        ++depth;
    EXPECT_EQ(MAX_REFERENCE_DEPTH, depth);
}

TEST_F(ProjectReaderTest, DeepOrMalformedXmlLeavesTheProjectEmptyWithoutCrashing)
{
    auto filters = [](size_t levels) {
        std::string open, close;
        for (size_t i = 0; i < levels; ++i) {
            open += "<Filter>";
            close += "</Filter>";
        }
        return "<VisualStudioProject><Files>" + open + "<File RelativePath=\"deep.cpp\"/>" + close + "</Files>";
    };
    EXPECT_TRUE(loadProject("deep.vcproj", filters(MAX_XML_DEPTH - 2) + "</VisualStudioProject>"));
    EXPECT_EQ(1u, project.files.size());
    EXPECT_FALSE(loadProject("deep.vcproj", filters(MAX_XML_DEPTH - 1) + "</VisualStudioProject>"));
    EXPECT_FALSE(loadProject("hostile.vcproj", filters(500000)));
    EXPECT_FALSE(loadProject("unclosed.vcxproj", "<Project><ItemGroup><None Include=\"a\"/></ItemGroup>"));
    // Start tags that end in a space or a quote, and no end tag, nest as deep as any.
    std::string spaced, quoted;
    for (size_t i = 0; i < 500000; ++i) {
        spaced += "<a >";
        quoted += "<a b=\"/\">";
    }
    EXPECT_FALSE(loadProject("spaced.vcxproj", spaced));
    EXPECT_FALSE(loadProject("quoted.vcxproj", quoted));

    // The scan that runs before the parser never counts fewer levels than the parser opens.
    EXPECT_FALSE(xmlDepthWithin("<a><b x=\"</a>\"><c></c></b></a>", 2));  // quotes hide markup
    EXPECT_FALSE(xmlDepthWithin("<a\"><b\"><c>", 2));                     // a quote can be part of a name
    EXPECT_FALSE(xmlDepthWithin("<a><b><?></b></a>?><c><d>", 3));        // "<?>" ends no instruction
}

}  // namespace
