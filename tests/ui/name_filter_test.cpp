#include "ui/name_filter.h"

#include "solution/solution.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Names from a small alphabet, so that overlapping, repeated and leading occurrences abound, with
// bytes that have a kind of their own and bytes that share one; the reference lower-cases every
// name and searches it with std::string::find.
TEST(NameFilterTest, AgreesWithANaiveSearchOfEveryName)
{
    std::mt19937 random(13);
    const std::string letters = "aAbB.7\xC9\xE9";
    Solution solution("D:\\s.sln");
    solution.projects.push_back(std::make_unique<Project>());
    for (int i = 0; i < 2000; ++i) {
        std::string name;
        for (size_t n = random() % 9; n > 0; --n)
            name += letters[random() % letters.size()];
        solution.projects[0]->files.append("D:\\src\\" + name);
    }
    FileIndex index;
    index.build(solution);

    MatchList matches;
    for (int round = 0; round < 300; ++round) {
        std::string pattern;
        for (size_t n = 1 + random() % 4; n > 0; --n)
            pattern += "ab.7\xC9\xE9"[random() % 6];
        MatchList expected;
        int32_t expectedRow = -1;
        for (int32_t position = 0; position < index.size(); ++position) {
            std::string name = index.name(position);
            for (char& c : name)
                c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
            size_t found = name.find(pattern);
            if (found == std::string::npos)
                continue;
            if (found == 0 && expectedRow < 0)
                expectedRow = static_cast<int32_t>(expected.size());
            expected.push_back(position);
        }
        ASSERT_EQ(expectedRow, findMatches(index, pattern, matches)) << pattern;
        ASSERT_EQ(expected, matches) << pattern;
    }
    EXPECT_EQ(-1, findMatches(index, std::string("a\0b", 3), matches));
    EXPECT_TRUE(matches.empty());
}

}  // namespace
