#include "solution/solution.h"

#include "tests/support/message_recorder.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<Project> project(const std::string& path, std::vector<std::string> files)
{
    auto result = std::make_unique<Project>();
    result->path = path;
    result->files = std::move(files);
    return result;
}

TEST(ModelTest, ProjectPathsAreResolvedAgainstTheSolutionFolder)
{
    MessageRecorder recorder;
    EXPECT_EQ("C:\\s\\app\\app.vcxproj", Project("C:\\s", "app\\app.vcxproj").path);
    EXPECT_EQ("C:\\lib\\lib.vcxproj", Project("C:\\s", "..\\lib\\lib.vcxproj").path);
    EXPECT_EQ("D:\\x\\tool.csproj", Project("C:\\s", "D:\\x\\tool.csproj").path);
    EXPECT_EQ("\\x\\..\\y.csproj", Project("C:\\s", "\\x\\..\\y.csproj").path);  // full: taken unchanged
    EXPECT_TRUE(recorder.messages().empty());

    std::string longName(300, 'n');
    Project tooLong("C:\\s", longName);
    EXPECT_EQ("", tooLong.path);
    EXPECT_EQ("C:\\s", tooLong.baseDir);
    ASSERT_EQ(1u, recorder.messages().size());
    EXPECT_EQ("Quorlan error", recorder.messages()[0].caption);
    EXPECT_EQ("Full project filename is empty (was given '" + longName + "', solution path was 'C:\\s')!\n",
              recorder.messages()[0].text);
}

TEST(ModelTest, FindFileByNameWalksFilesBeforeReferencesAndIgnoresAsciiCase)
{
    Solution solution("C:\\s\\App.sln");
    EXPECT_EQ("C:\\s\\App.sln.qlcache", solution.cachePath);
    solution.projects.push_back(project("C:\\s\\app.vcxproj", {"C:\\s\\app\\Main.cpp", "C:\\s\\app\\\xC4.h"}));
    solution.projects[0]->references.push_back(project("C:\\s\\lib.vcxproj", {"C:\\s\\lib\\util.h"}));
    solution.projects.push_back(project("C:\\s\\other.vcxproj", {"C:\\s\\other\\util.h", "C:\\s\\other\\main.cpp"}));

    EXPECT_EQ("C:\\s\\app\\Main.cpp", solution.findFileByName("MAIN.CPP"));
    EXPECT_EQ("C:\\s\\lib\\util.h", solution.findFileByName("util.h"));
    EXPECT_EQ("C:\\s\\app\\\xC4.h", solution.findFileByName("\xC4.h"));
    EXPECT_EQ("", solution.findFileByName("\xE4.h"));  // only A to Z fold
    EXPECT_EQ("", solution.findFileByName("util"));
    EXPECT_EQ("", solution.findFileByName("app"));  // folders are not file names

    solution.projects[0]->clear();
    EXPECT_TRUE(solution.projects[0]->references.empty());
    EXPECT_EQ("C:\\s\\other\\util.h", solution.findFileByName("UTIL.H"));
}

}  // namespace
