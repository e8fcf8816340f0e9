#include "solution/solution.h"

#include "solution/text.h"
#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

class SolutionReaderTest : public testing::Test {
protected:
    // Loads App.sln of the temporary folder into a new solution.
    bool load()
    {
        solution = std::make_unique<Solution>(dir.path("App.sln"));
        return solution->load();
    }

    // Gives the solution file, its cache and the named project files the same modification time.
    void setTimes(const std::vector<std::string>& projects)
    {
        for (const std::string& file : projects)
            ASSERT_TRUE(setModifiedTime(dir.path(file), OLD_TIME));
        ASSERT_TRUE(setModifiedTime(dir.path("App.sln"), OLD_TIME));
        ASSERT_TRUE(setModifiedTime(dir.path("App.sln.qlcache"), OLD_TIME));
    }

    TempDir dir;
    MessageRecorder recorder;
    std::unique_ptr<Solution> solution;
};

TEST_F(SolutionReaderTest, ProjectLinesNameProjectsInOrder)
{
    std::string tail = "\", \"long.vcxproj\"\n";  // 510 characters and the newline fit the buffer
    std::string line510 = "Project(\"{T}\") = \"" + std::string(511 - 18 - tail.size(), 'L') + tail;
    dir.write("App.sln", solutionText({"a\\a.vcxproj"}) +
                             "Project(\"{2150E333-8FDC-42A3-9474-1A3956D46DE8}\") = \"Folder\", \"Folder\", \"{1}\"\n"
                             "Project(\"{2150e333-8fdc-42a3-9474-1a3956d46de8}\") = \"Folder\", \"Folder\", \"{1}\"\n"
                             "Project(\"{T}\") = \"no comma\" \"x.vcxproj\"\nProject(\"{T}\") = \"n\", no quotes\n"
                             "Project(\"{T}\") = \"n\", \"unterminated\n" +
                             std::string(511, 'X') + "Project(\"{T}\") = \"n\", \"piece\\p.vcxproj\"\n" + line510 +
                             "Project(\"{T}\") = \"n\", \"a\\a.vcxproj\"\nProject(\"{T}\") = \"n\", \"" +
                             dir.path("f.csproj") + "\"\n");
    dir.write("a\\a.vcxproj", vcxprojText({"ClCompile a.cpp"}));
    ASSERT_TRUE(load());
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("a\\a.vcxproj"), "F " + dir.path("a\\a.cpp"),
                                        "P " + dir.path("Folder"), "P " + dir.path("piece\\p.vcxproj"),
                                        "P " + dir.path("long.vcxproj"), "P " + dir.path("a\\a.vcxproj"),
                                        "F " + dir.path("a\\a.cpp"), "P " + dir.path("f.csproj")}),
              walkLines(*solution));
    EXPECT_EQ(std::vector<std::string>{"Unrecognised project type in file '" + dir.path("Folder") + "'!\n"},
              recorder.texts());
}

TEST_F(SolutionReaderTest, FailuresAreReportedWithTheirTexts)
{
    dir.write("App.sln.qlcache", "junk");
    EXPECT_FALSE(load());
    EXPECT_TRUE(fileExists(dir.path("App.sln.qlcache")));

    dir.write("App.sln", solutionText({}));
    {
        LockedFile lock(dir.path("App.sln"));
        EXPECT_FALSE(load());
    }
    EXPECT_FALSE(fileExists(dir.path("App.sln.qlcache")));
    char systemText[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_SHARING_VIOLATION, 0, systemText, sizeof systemText,
                   nullptr);
    EXPECT_EQ((std::vector<std::string>{"Couldn't find solution file " + dir.path("App.sln") + ".\n",
                                        "Solution file '" + dir.path("App.sln") +
                                            "' exists but it couldn't be loaded:\n" + systemText + "\n"}),
              recorder.texts());

    EXPECT_TRUE(load());  // no projects at all
    EXPECT_TRUE(fileExists(dir.path("App.sln.qlcache")));
}

TEST_F(SolutionReaderTest, FreshCacheSparesEveryProjectFileNotNewerThanIt)
{
    const std::vector<std::string> projects = {"a\\a.vcxproj", "b\\B.vcxproj", "lib\\lib.vcxproj"};
    dir.write("App.sln", solutionText({projects[0], projects[1]}));
    dir.write(projects[0], vcxprojText({"ClCompile A.cpp", "ProjectReference ..\\lib\\lib.vcxproj"}));
    dir.write(projects[1], vcxprojText({"ClCompile B.cpp"}));
    dir.write(projects[2], vcxprojText({"ClInclude Lib.h"}));
    ASSERT_TRUE(load());
    const std::vector<std::string> full = walkLines(*solution);
    ASSERT_EQ(6u, full.size());
    setTimes(projects);
    {
        // Equal times: the cache serves every project; an opened project file would read as empty.
        LockedFile a(dir.path(projects[0])), b(dir.path(projects[1])), lib(dir.path(projects[2]));
        ASSERT_TRUE(load());
        EXPECT_EQ(filesLowerCased(full), walkLines(*solution));
        EXPECT_EQ(OLD_TIME, modifiedTime(dir.path("App.sln.qlcache")));
    }

    dir.write(projects[1], vcxprojText({"ClCompile B2.cpp"}));
    ASSERT_TRUE(setModifiedTime(dir.path(projects[1]), NEWER_TIME));
    ASSERT_TRUE(load());
    std::vector<std::string> expected = filesLowerCased(full);
    expected[5] = "F " + dir.path("b\\B2.cpp");  // re-read: keeps its case
    EXPECT_EQ(expected, walkLines(*solution));

    // After an edit, new references are read in full, however old their files.
    dir.write(projects[0], vcxprojText({"ClCompile A.cpp", "ProjectReference ..\\lib2\\lib2.vcxproj"}));
    dir.write("lib2\\lib2.vcxproj", vcxprojText({"ClInclude Lib2.h"}));
    setTimes({projects[1], "lib2\\lib2.vcxproj"});
    ASSERT_TRUE(setModifiedTime(dir.path(projects[0]), NEWER_TIME));
    ASSERT_TRUE(load());
    EXPECT_EQ(
        (std::vector<std::string>{full[0], full[1], "  P " + dir.path("lib2\\lib2.vcxproj"),
                                  "  F " + dir.path("lib2\\Lib2.h"), full[4], "F " + lowerCase(dir.path("b\\B2.cpp"))}),
        walkLines(*solution));

    // A newer solution file discards the whole cache.
    setTimes(projects);
    ASSERT_TRUE(setModifiedTime(dir.path("App.sln"), NEWER_TIME));
    ASSERT_TRUE(load());
    EXPECT_EQ("F " + dir.path("b\\B2.cpp"), walkLines(*solution).back());
    EXPECT_TRUE(recorder.messages().empty());
}

TEST_F(SolutionReaderTest, CacheCutAtAnyLengthIsRebuiltWithinTheSameLoad)
{
    dir.write("App.sln", solutionText({"a.vcxproj"}));
    dir.write("a.vcxproj", vcxprojText({"ClCompile A.cpp", "ClInclude sub\\A.h"}));
    ASSERT_TRUE(load());
    const std::vector<std::string> full = walkLines(*solution);
    solution->lastFilter = "abc";
    solution->lastSelection = 7;
    solution->dirty = true;
    solution.reset();
    const std::string cache = readFile(dir.path("App.sln.qlcache"));
    const size_t filterEnd = 44 + 4 + 3, selectionEnd = filterEnd + 4;
    for (size_t cut = 0; cut < cache.size(); ++cut) {
        dir.write("App.sln.qlcache", cache.substr(0, cut));
        setTimes({"a.vcxproj"});
        ASSERT_TRUE(load());
        EXPECT_EQ(full, walkLines(*solution)) << cut;
        EXPECT_EQ(cut >= filterEnd ? "abc" : "", solution->lastFilter) << cut;
        EXPECT_EQ(cut >= selectionEnd ? 7 : -1, solution->lastSelection) << cut;
        EXPECT_EQ(cut >= selectionEnd, cache == readFile(dir.path("App.sln.qlcache"))) << cut;
    }
}

TEST_F(SolutionReaderTest, CacheOfAnotherCopyOfTheTreeIsStale)
{
    dir.write("one\\App.sln", solutionText({"p.vcxproj"}));
    dir.write("one\\p.vcxproj", vcxprojText({"ClCompile one.cpp"}));
    {
        Solution one(dir.path("one\\App.sln"));
        ASSERT_TRUE(one.load());
        one.lastFilter = "kept";
        one.dirty = true;
    }
    dir.write("App.sln", solutionText({"p.vcxproj"}));
    dir.write("p.vcxproj", vcxprojText({"ClCompile two.cpp"}));
    dir.write("App.sln.qlcache", readFile(dir.path("one\\App.sln.qlcache")));
    setTimes({"p.vcxproj"});
    ASSERT_TRUE(load());
    EXPECT_EQ((std::vector<std::string>{"P " + dir.path("p.vcxproj"), "F " + dir.path("two.cpp")}),
              walkLines(*solution));
    EXPECT_EQ("kept", solution->lastFilter);
    EXPECT_EQ(dir.path("App.sln"), solution->solutionPath);
    EXPECT_TRUE(Solution(dir.path("App.sln")).readCache());
}

}  // namespace
