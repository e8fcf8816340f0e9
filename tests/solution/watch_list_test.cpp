#include "solution/watch_list.h"

#include "solution/file_system.h"

#include "solution/solution.h"
#include "solution/text.h"
#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// Loads of a solution whose project lists its files by a wildcard. Between loads age() gives the
// solution, the project, the cache and the folders one old time, so that a time that differs
// afterwards comes from a change on disk.
class WatchListTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (const char* file : {"src\\A.cpp", "src\\sub\\B.cpp"})
            dir.write(file);
        dir.write("app\\app.vcxproj", vcxprojText({"ClCompile ..\\src\\**\\*.cpp", "ClInclude Main.h"}));
        dir.write("App.sln", solutionText({"app\\app.vcxproj"}));
    }

    Lines load()
    {
        solution = std::make_unique<Solution>(dir.path("App.sln"));
        EXPECT_TRUE(solution->load());
        return relativeWalkLines(*solution, dir.path());
    }

    void age()
    {
        for (const char* path : {"App.sln", "App.sln.qlcache", "app\\app.vcxproj", "src", "src\\sub", "src\\sub\\new",
                                 "shared\\Common.projitems"})
            setModifiedTime(dir.path(path), OLD_TIME);
    }

    TempDir dir;
    MessageRecorder recorder;
    std::unique_ptr<Solution> solution;
};

TEST_F(WatchListTest, AFileAddedOrRemovedUnderAGlobbedFolderShowsInTheNextLoad)
{
    age();
    EXPECT_EQ((Lines{"P app\\app.vcxproj", "F src\\A.cpp", "F src\\sub\\B.cpp", "F app\\Main.h"}), load());
    age();
    // Nothing changed: all from the cache (lower-cased), which the load leaves as it was.
    EXPECT_EQ((Lines{"P app\\app.vcxproj", "F src\\a.cpp", "F src\\sub\\b.cpp", "F app\\main.h"}), load());
    solution.reset();
    EXPECT_EQ(OLD_TIME, modifiedTime(dir.path("App.sln.qlcache")));

    // A new folder holding a file: the project is read again (its letters kept), though its
    // project file is as old as before.
    dir.write("src\\sub\\new\\C.cpp");
    EXPECT_EQ((Lines{"P app\\app.vcxproj", "F src\\A.cpp", "F src\\sub\\B.cpp", "F src\\sub\\new\\C.cpp",
                     "F app\\Main.h"}),
              load());
    age();
    load();
    age();
    deleteFile(dir.path("src\\A.cpp"));
    EXPECT_EQ((Lines{"P app\\app.vcxproj", "F src\\sub\\B.cpp", "F src\\sub\\new\\C.cpp", "F app\\Main.h"}), load());
}

TEST_F(WatchListTest, AnEditedSharedItemsFileIsReadAgain)
{
    dir.write("shared\\Common.shproj", "<Project><Import Project=\"Common.projitems\" Label=\"Shared\"/></Project>");
    auto projitems = [&](const std::string& items) {
        dir.write("shared\\Common.projitems", "<Project><ItemGroup>" + items + "</ItemGroup></Project>");
    };
    projitems("<Compile Include=\"$(MSBuildThisFileDirectory)A.cs\"/>");
    dir.write("App.sln", solutionText({"shared\\Common.shproj"}));
    age();
    load();
    age();
    setModifiedTime(dir.path("shared\\Common.shproj"), OLD_TIME);
    EXPECT_EQ((Lines{"P shared\\Common.shproj", "F shared\\a.cs"}), load());
    projitems("<Compile Include=\"$(MSBuildThisFileDirectory)A.cs\"/><Compile Include=\"B.cs\"/>");
    EXPECT_EQ((Lines{"P shared\\Common.shproj", "F shared\\A.cs", "F shared\\B.cs"}), load());
}

// Writing the cache changes its folder's time: in the folder of an SDK-style project beside its
// solution, that is no change of the project's files, and the cache is none of them.
TEST_F(WatchListTest, TheCacheBesideAnSdkProjectIsNeitherListedNorAChange)
{
    dir.write("Program.cs");
    dir.write("App.csproj", "<Project Sdk=\"Microsoft.NET.Sdk\"/>");
    dir.write("App.sln", solutionText({"App.csproj"}));
    EXPECT_EQ((Lines{"P App.csproj", "F Program.cs", "F src\\A.cpp", "F src\\sub\\B.cpp"}), load());
    EXPECT_EQ((Lines{"P App.csproj", "F program.cs", "F src\\a.cpp", "F src\\sub\\b.cpp"}), load());
}

// The cache of a solution that uses no wildcard, no import and no SDK-style project ends with its
// project records, as it always did; a cache with the section, cut anywhere, costs a rebuild at
// most.
TEST_F(WatchListTest, OnlyCachesThatNeedTheSectionHaveItAndACutOneIsRebuilt)
{
    const std::string marker("QLCW", 4);
    dir.write("lit\\lit.vcxproj", vcxprojText({"ClCompile a.cpp", "ClInclude a.h"}));
    dir.write("Lit.sln", solutionText({"lit\\lit.vcxproj"}));
    Solution literal(dir.path("Lit.sln"));
    ASSERT_TRUE(literal.load());
    EXPECT_TRUE(literal.watches.lists.empty());
    EXPECT_EQ(std::string::npos, readFile(dir.path("Lit.sln.qlcache")).find(marker));

    const Lines expected = load();
    const std::string cache = readFile(dir.path("App.sln.qlcache"));
    ASSERT_NE(std::string::npos, cache.find(marker));
    for (size_t cut = 0; cut < cache.size(); ++cut) {
        dir.write("App.sln.qlcache", cache.substr(0, cut));
        age();
        Lines lines = load();
        for (std::string& line : lines)
            lowerCaseInPlace(line);
        Lines lowered = expected;
        for (std::string& line : lowered)
            lowerCaseInPlace(line);
        EXPECT_EQ(lowered, lines) << cut;
    }
    EXPECT_TRUE(recorder.messages().empty());
}

}  // namespace
