#include "ui/count_occurrences.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

int32_t naiveCount(const std::string& pattern, const std::string& text)
{
    int32_t count = 0;
    for (size_t pos = 0; pos + pattern.size() <= text.size(); ++pos)
        count += text.compare(pos, pattern.size(), pattern) == 0;
    return count;
}

int32_t fastCount(const std::string& pattern, const std::string& text)
{
    return countOccurrences(pattern.data(), static_cast<int32_t>(pattern.size()), text.c_str(),
                            static_cast<int32_t>(text.size()));
}

class CountOccurrencesTest : public testing::Test {
protected:
    std::string randomText(const std::string& alphabet, size_t length)
    {
        std::string text(length, '\0');
        for (char& c : text)
            c = alphabet[random_() % alphabet.size()];
        return text;
    }
    size_t randomLength(size_t low, size_t high) { return low + random_() % (high - low + 1); }

    std::mt19937 random_{20240611};
};

TEST_F(CountOccurrencesTest, OverlappingOccurrencesAreCounted)
{
    EXPECT_EQ(3, fastCount("aa", "aaaa"));
    EXPECT_EQ(2, fastCount("aba", "ababa"));
    EXPECT_EQ(1, fastCount("main", "main"));
    EXPECT_EQ(0, fastCount("main.cpp", "main"));
    EXPECT_EQ(2, fastCount("p", "main.cpp"));
}

TEST_F(CountOccurrencesTest, AgreesWithANaiveCountOnRandomBytes)
{
    std::string highBytes;
    for (int c = 0x80; c <= 0xFF; ++c)
        highBytes += static_cast<char>(c);
    const std::string alphabets[] = {"ab", "abc", "a\x80", std::string("\xFF\x01", 2), highBytes};
    for (const std::string& alphabet : alphabets) {
        for (int round = 0; round < 400; ++round) {
            std::string text = randomText(alphabet, randomLength(0, 60));
            std::string pattern = randomText(alphabet, randomLength(1, 8));
            if (round % 3 == 0 && text.size() >= 4) {  // a pattern taken from the text, often its end
                size_t length = randomLength(1, text.size());
                pattern = text.substr(round % 2 ? text.size() - length : randomLength(0, text.size() - length), length);
            }
            ASSERT_EQ(naiveCount(pattern, text), fastCount(pattern, text))
                << "pattern " << testing::PrintToString(pattern) << " text " << testing::PrintToString(text);
        }
    }
}

TEST_F(CountOccurrencesTest, PatternsLongerThan4199BytesAreSearchedInFull)
{
    for (size_t length : {4199u, 4200u, 4201u, 9000u}) {
        std::string pattern = randomText("ab", length);
        std::string text = randomText("ab", 50) + pattern + pattern.substr(0, length / 2) + pattern;
        EXPECT_EQ(naiveCount(pattern, text), fastCount(pattern, text)) << length;
        EXPECT_GE(fastCount(pattern, text), 2);
        EXPECT_EQ(0, fastCount(pattern, pattern.substr(1)));  // text shorter than the pattern
        std::string periodic(length, 'a');
        EXPECT_EQ(3, fastCount(periodic, periodic + "aa")) << length;
    }
}

}  // namespace
