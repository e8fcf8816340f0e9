#include "ui/count_occurrences.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

int32_t naiveCount(const std::string& pattern, const std::string& text)
{
    int32_t count = 0;
    for (size_t pos = 0; pos + pattern.size() <= text.size(); ++pos)
        count += text.compare(pos, pattern.size(), pattern) == 0;
    return count;
}

TEST(CountOccurrencesTest, AgreesWithANaiveCountOnRandomBytesAndPatternsOfAnyLength)
{
    std::mt19937 random(20240611);
    auto randomText = [&random](const std::string& alphabet, size_t length) {
        std::string text(length, '\0');
        for (char& c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    std::vector<std::pair<std::string, std::string>> cases;  // pattern, text
    // Small alphabets force overlapping occurrences; high bytes must be neither folded nor sign-extended.
    for (const char* alphabet : {"ab", "abc", "a\x80", "\xFF\x01", "\x80\xC9\xE9\xFF"})
        for (int round = 0; round < 400; ++round) {
            std::string text = randomText(alphabet, random() % 61);
            std::string pattern = randomText(alphabet, 1 + random() % 8);
            if (round % 3 == 0 && text.size() >= 4) {  // a piece of the text, every other time its very end
                size_t length = 1 + random() % text.size();
                pattern = text.substr(round % 2 ? text.size() - length : random() % (text.size() - length + 1), length);
            }
            cases.emplace_back(pattern, text);
        }
    for (size_t length : {4199u, 4200u, 4201u, 9000u}) {
        std::string pattern = randomText("ab", length);
        cases.emplace_back(pattern, randomText("ab", 50) + pattern + pattern.substr(0, length / 2) + pattern);
        cases.emplace_back(pattern, pattern.substr(1));  // a text shorter than the pattern
        cases.emplace_back(std::string(length, 'a'), std::string(length + 2, 'a'));
    }

    for (const auto& [pattern, text] : cases) {  // c_str() puts the byte the matcher reads after the text
        ASSERT_EQ(naiveCount(pattern, text), countOccurrences(pattern.data(), static_cast<int32_t>(pattern.size()),
                                                              text.c_str(), static_cast<int32_t>(text.size())))
            << "pattern " << testing::PrintToString(pattern) << " text " << testing::PrintToString(text);
    }
}

}  // namespace
