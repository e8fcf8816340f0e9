// A solution written by people who never heard of this tool: the corpus's imgui examples.

#include "solution/solution.h"

#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

void copyTree(const std::string& from, const std::string& to)
{
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    ASSERT_NE(INVALID_HANDLE_VALUE, search) << from;
    do {
        std::string name = found.cFileName;
        if (name == "." || name == "..")
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copyTree(from + "\\" + name, to + "\\" + name);
        else
            ASSERT_TRUE(CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE)) << name;
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// The expected walk, written by a separate reader (data/make_imgui_walk.py), with full paths.
std::vector<std::string> expectedWalk(const std::string& root)
{
    std::istringstream lines(readFile(QUORLAN_TEST_DATA_DIR "\\imgui_walk.txt"));
    std::vector<std::string> walk;
    for (std::string line; std::getline(lines, line);)
        walk.push_back(line.substr(0, 2) + root + "\\" + line.substr(2));
    return walk;
}

TEST(CorpusTest, ImguiExamplesLoadAndComeBackFromTheCache)
{
    TempDir dir;
    MessageRecorder recorder;
    copyTree(QUORLAN_CORPUS_DIR "\\imgui", dir.path("imgui"));
    std::string solutionPath = dir.path("imgui\\examples\\imgui_examples.sln");
    const std::vector<std::string> expected = expectedWalk(dir.path());
    ASSERT_EQ(339u, expected.size());

    std::vector<std::string> projectFiles;
    {
        Solution solution(solutionPath);
        ASSERT_TRUE(solution.load());
        EXPECT_EQ(expected, walkLines(solution));
        for (const std::unique_ptr<Project>& project : solution.projects)
            projectFiles.push_back(project->path);
    }
    EXPECT_EQ(20u, projectFiles.size());
    std::string cachePath = solutionPath + ".qlcache";
    std::string cache = readFile(cachePath);
    ASSERT_FALSE(cache.empty());

    // Every project file locked against opening: only the cache can fill the model now.
    std::vector<std::unique_ptr<LockedFile>> locks;
    for (const std::string& path : projectFiles) {
        ASSERT_TRUE(setModifiedTime(path, OLD_TIME));
        locks.push_back(std::make_unique<LockedFile>(path));
        ASSERT_TRUE(locks.back()->locked());
    }
    ASSERT_TRUE(setModifiedTime(solutionPath, OLD_TIME));
    ASSERT_TRUE(setModifiedTime(cachePath, OLD_TIME));
    Solution cached(solutionPath);
    ASSERT_TRUE(cached.load());
    EXPECT_EQ(filesLowerCased(expected), walkLines(cached));
    EXPECT_EQ(cache, readFile(cachePath));
    EXPECT_EQ(OLD_TIME, modifiedTime(cachePath));
    EXPECT_TRUE(recorder.messages().empty());
}

}  // namespace
