// A solution written by people who never heard of this tool: the corpus's imgui examples.

#include "solution/solution.h"

#include "tests/solution/solution_files.h"
#include "tests/support/message_recorder.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(CorpusTest, ImguiExamplesLoadAndComeBackFromTheCache)
{
    TempDir dir;
    MessageRecorder recorder;
    auto copy = [&](const std::string& relative) {
        std::string content = readFile(QUORLAN_CORPUS_DIR "\\" + relative);
        EXPECT_FALSE(content.empty()) << relative;
        return dir.write(relative, content);
    };
    std::string solutionPath = copy("imgui\\examples\\imgui_examples.sln");

    // The expected walk comes from a separate reader (data/make_imgui_walk.py).
    std::vector<std::string> expected, projectFiles;
    std::istringstream lines(readFile(QUORLAN_TEST_DATA_DIR "\\imgui_walk.txt"));
    for (std::string line; std::getline(lines, line);) {
        expected.push_back(line.substr(0, 2) + dir.path(line.substr(2)));
        if (line[0] == 'P')
            projectFiles.push_back(copy(line.substr(2)));
    }
    ASSERT_EQ(339u, expected.size());
    ASSERT_EQ(20u, projectFiles.size());

    Solution solution(solutionPath);
    ASSERT_TRUE(solution.load());
    EXPECT_EQ(expected, walkLines(solution));
    std::string cachePath = solutionPath + ".qlcache";
    std::string cache = readFile(cachePath);
    ASSERT_FALSE(cache.empty());

    // Every project file locked against opening: only the cache can fill the model now.
    std::vector<std::unique_ptr<LockedFile>> locks;
    for (const std::string& path : projectFiles) {
        ASSERT_TRUE(setModifiedTime(path, OLD_TIME));
        locks.push_back(std::make_unique<LockedFile>(path));
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
