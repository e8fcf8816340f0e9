#include "solution/wildcard.h"

#include "solution/text.h"

#include <algorithm>

namespace {

char folded(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isRecursive(const std::string& component)
{
    return component == "**";
}

bool matchesComponent(const std::string& pattern, std::string_view name)
{
    return matchesWildcard(pattern, name);
}

// The classic matcher with one backtracking point: on a mismatch after a star, the star takes one
// more element and the rest is tried again. Elements are characters or path components; only the
// first patternSize elements of the pattern take part.
template <typename Pattern, typename Text, typename IsStar, typename MatchesOne>
bool matchSequence(const Pattern& pattern, size_t patternSize, const Text& text, IsStar isStar, MatchesOne matchesOne)
{
    size_t p = 0, t = 0;
    size_t starP = std::string::npos, starT = 0;
    while (t < text.size()) {
        if (p < patternSize && isStar(pattern[p])) {
            starP = p++;
            starT = t;
        } else if (p < patternSize && matchesOne(pattern[p], text[t])) {
            ++p;
            ++t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < patternSize && isStar(pattern[p]))
        ++p;
    return p == patternSize;
}

}  // namespace

bool hasWildcard(std::string_view text)
{
    // Four bytes at a time: asked of every item's path, often more than once.
    return containsEitherByte(text.data(), text.size(), '*', '?');
}

bool matchesWildcard(std::string_view pattern, std::string_view name)
{
    return matchSequence(
        pattern, pattern.size(), name, [](char c) { return c == '*'; },
        [](char p, char c) { return p == '?' || folded(p) == folded(c); });
}

std::vector<std::string_view> splitPath(std::string_view path)
{
    std::vector<std::string_view> components;
    size_t start = 0;
    for (size_t end; (end = path.find('\\', start)) != std::string_view::npos; start = end + 1)
        components.push_back(path.substr(start, end - start));
    components.push_back(path.substr(start));
    return components;
}

PathPattern::PathPattern(const std::string& pattern)
{
    for (std::string_view component : splitPath(pattern))
        components_.emplace_back(component);
    if (isRecursive(components_.back()))
        components_.push_back("*");
}

bool PathPattern::matches(const std::vector<std::string_view>& path) const
{
    return matchSequence(components_, components_.size(), path, isRecursive, matchesComponent);
}

bool PathPattern::coversFolder(const std::vector<std::string_view>& folder) const
{
    size_t n = components_.size();
    if (n < 3 || !isRecursive(components_[n - 2]) || components_[n - 1] != "*")
        return false;
    return matchSequence(components_, n - 2, folder, isRecursive, matchesComponent);
}
