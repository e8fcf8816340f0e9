#include "solution/solution.h"

#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"

#include <gtest/gtest.h>

namespace {

TEST(ModelTest, ProjectPathsAreResolvedAgainstTheSolutionFolder)
{
    MessageRecorder recorder;
    EXPECT_EQ("C:\\lib\\lib.vcxproj", Project("C:\\s", "..\\lib\\lib.vcxproj").path);
    EXPECT_EQ("D:\\x\\..\\tool.csproj", Project("C:\\s", "D:\\x\\..\\tool.csproj").path);  // full: unchanged
    EXPECT_TRUE(recorder.messages().empty());

    std::string longName(300, 'n');
    EXPECT_EQ("", Project("C:\\s", longName).path);
    ASSERT_EQ(1u, recorder.messages().size());
    EXPECT_EQ("Quorlan error", recorder.messages()[0].caption);
    EXPECT_EQ("Full project filename is empty (was given '" + longName + "', solution path was 'C:\\s')!\n",
              recorder.messages()[0].text);
}

TEST(ModelTest, FindFileByNameWalksFilesBeforeReferencesAndIgnoresAsciiCase)
{
    Solution solution("C:\\s\\App.sln");
    EXPECT_EQ("C:\\s\\App.sln.qlcache", solution.cachePath);
    solution.projects.push_back(makeProject("C:\\s\\app.vcxproj", {"C:\\s\\app\\Main.cpp", "C:\\s\\app\\\xC4.h"}));
    solution.projects[0]->references.push_back(makeProject("C:\\s\\lib.vcxproj", {"C:\\s\\lib\\util.h"}));
    solution.projects.push_back(makeProject("C:\\s\\other.vcxproj", {"C:\\s\\other\\util.h", "C:\\s\\main.cpp"}));

    EXPECT_EQ("C:\\s\\app\\Main.cpp", solution.findFileByName("MAIN.CPP"));
    EXPECT_EQ("C:\\s\\lib\\util.h", solution.findFileByName("util.h"));
    EXPECT_EQ("", solution.findFileByName("\xE4.h"));  // only A to Z fold
    EXPECT_EQ("", solution.findFileByName("util"));
    EXPECT_EQ("", solution.findFileByName("app"));
    solution.projects[0]->clear();
    EXPECT_EQ("C:\\s\\other\\util.h", solution.findFileByName("UTIL.H"));
}

}  // namespace
