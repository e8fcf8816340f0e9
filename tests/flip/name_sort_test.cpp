#include "flip/name_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>

namespace {

int compareBytes(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        int difference = static_cast<unsigned char>(*a) - static_cast<unsigned char>(*b);
        if (difference != 0 || *a == '\0')
            return difference;
    }
}

// Names from a few bytes and lengths, so that long shared prefixes, equal names and names that
// begin other names all occur, in ranges on both sides of the radix sort's threshold and of the
// sixteen bytes its keys hold.
TEST(NameSortTest, AgreesWithAStableComparisonSort)
{
    std::mt19937 random(11);
    const std::string letters = "ab_\x01\x80\xFF";
    NameSorter sorter;  // one for every sort, as the index uses it: a short sort after long ones too
    for (size_t count : {0u, 1u, 7u, 500u, 70000u, 200000u, 500u}) {
        std::vector<std::string> texts(count);
        for (std::string& text : texts) {
            text = std::string(random() % 5 * 6, 'a');
            for (size_t n = random() % 9; n > 0; --n)
                text += letters[random() % (count > 1000 ? 3 : letters.size())];
        }
        // One block, as the index hands them over, with the padding the sort reads past the last.
        std::string block;
        for (const std::string& text : texts)
            block += text + '\0';
        block.append(NAME_PADDING, '\0');
        std::vector<const char*> names;
        for (size_t i = 0, at = 0; i < count; at += texts[i++].size() + 1)
            names.push_back(block.c_str() + at);
        std::vector<uint32_t> ids(count), expected(count);
        std::iota(ids.begin(), ids.end(), 0);
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(),
                         [&names](uint32_t a, uint32_t b) { return compareBytes(names[a], names[b]) < 0; });

        std::vector<NameRun> runs = sorter.sort(ids, names);
        ASSERT_EQ(expected, ids) << count;
        std::sort(runs.begin(), runs.end());
        std::vector<NameRun> expectedRuns;
        for (uint32_t i = 0; i < count;) {
            uint32_t end = i + 1;
            while (end < count && compareBytes(names[ids[i]], names[ids[end]]) == 0)
                ++end;
            if (end - i > 1)
                expectedRuns.emplace_back(i, end);
            i = end;
        }
        EXPECT_EQ(expectedRuns, runs) << count;
    }
}

}  // namespace
