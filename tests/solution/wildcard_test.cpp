#include "solution/wildcard.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <random>

namespace {

// Naive references: try every way a star can end, recursively.
bool naiveWildcard(std::string_view pattern, std::string_view name)
{
    if (pattern.empty())
        return name.empty();
    if (pattern[0] == '*')
        return naiveWildcard(pattern.substr(1), name) || (!name.empty() && naiveWildcard(pattern, name.substr(1)));
    return !name.empty() && (pattern[0] == '?' || tolower(pattern[0]) == tolower(name[0])) &&
           naiveWildcard(pattern.substr(1), name.substr(1));
}

bool naivePath(const std::vector<std::string_view>& pattern, size_t p, const std::vector<std::string_view>& path,
               size_t s)
{
    if (p == pattern.size())
        return s == path.size();
    if (pattern[p] == "**")
        return naivePath(pattern, p + 1, path, s) || (s < path.size() && naivePath(pattern, p, path, s + 1));
    return s < path.size() && naiveWildcard(pattern[p], path[s]) && naivePath(pattern, p + 1, path, s + 1);
}

std::string randomText(std::mt19937& random, const char* alphabet, size_t maxLength)
{
    std::string text(random() % (maxLength + 1), ' ');
    for (char& c : text)
        c = alphabet[random() % strlen(alphabet)];
    return text;
}

TEST(WildcardTest, MatchersAgreeWithNaiveReferencesOnGeneratedPatterns)
{
    std::mt19937 random(13);
    for (int i = 0; i < 20000; ++i) {
        std::string pattern = randomText(random, "ab*?A", 7), name = randomText(random, "abB", 7);
        ASSERT_EQ(naiveWildcard(pattern, name), matchesWildcard(pattern, name)) << pattern << " " << name;
    }
    for (int i = 0; i < 20000; ++i) {
        std::string pattern = "C:\\" + randomText(random, "a*\\\\", 9), path = "c:\\" + randomText(random, "aA\\", 9);
        std::vector<std::string_view> patternParts = splitPath(pattern), pathParts = splitPath(path);
        std::vector<std::string_view> expected = patternParts;
        if (expected.back() == "**")
            expected.push_back("*");  // a trailing "**" is everything below
        ASSERT_EQ(naivePath(expected, 0, pathParts, 0), PathPattern(pattern).matches(pathParts)) << pattern << " " << path;
    }
}

TEST(WildcardTest, RecursiveComponentsMatchZeroOrMoreFoldersAndCoverWholeFolders)
{
    auto matches = [](const char* pattern, const char* path) { return PathPattern(pattern).matches(splitPath(path)); };
    EXPECT_TRUE(matches("C:\\p\\src\\**\\*.cpp", "c:\\P\\SRC\\a.CPP"));
    EXPECT_TRUE(matches("C:\\p\\src\\**\\*.cpp", "C:\\p\\src\\x\\y\\a.cpp"));
    EXPECT_FALSE(matches("C:\\p\\src\\**\\*.cpp", "C:\\p\\src\\a.cppx"));
    EXPECT_FALSE(matches("C:\\p\\src\\*.cpp", "C:\\p\\src\\x\\a.cpp"));  // "*" stays in its component
    EXPECT_TRUE(matches("C:\\p\\bin\\**", "C:\\p\\bin\\Debug\\a.dll"));
    EXPECT_TRUE(matches("C:\\p\\**\\.*\\**", "C:\\p\\x\\.git\\config"));
    EXPECT_FALSE(matches("C:\\p\\**\\.*\\**", "C:\\p\\x\\.editorconfig"));

    auto covers = [](const char* pattern, const char* folder) {
        return PathPattern(pattern).coversFolder(splitPath(folder));
    };
    EXPECT_TRUE(covers("C:\\p\\bin\\**", "C:\\p\\BIN"));
    EXPECT_TRUE(covers("C:\\p\\**\\.*\\**", "C:\\p\\a\\.vs"));
    EXPECT_FALSE(covers("C:\\p\\bin\\**\\*.dll", "C:\\p\\bin"));  // only the .dll files below it
    EXPECT_FALSE(covers("C:\\p\\**\\*.user", "C:\\p\\x"));
}

}  // namespace
