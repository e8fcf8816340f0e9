#ifndef QUORLAN_SOLUTION_WILDCARD_H
#define QUORLAN_SOLUTION_WILDCARD_H

// Wildcard patterns of MSBuild item values, matched without touching the disk.
//
// Within one path component "*" matches any run of characters and "?" exactly one; a component
// that is exactly "**" matches zero or more whole components. Letters compare without regard to
// ASCII case, as Windows compares file names. Paths are split at backslashes only: callers turn
// '/' into '\' first.
//
// Both matchers run in time proportional to the product of the lengths, whatever the pattern:
// a pattern read from a project file can't make them backtrack without end.

#include <string>
#include <string_view>
#include <vector>

// The text holds "*" or "?".
bool hasWildcard(std::string_view text);

// name, one path component, matches pattern, one component with "*" and "?".
bool matchesWildcard(std::string_view pattern, std::string_view name);

// The components of a path split at backslashes; they point into path.
std::vector<std::string_view> splitPath(std::string_view path);

// A full-path pattern, split into components once. A trailing "**" stands for "**\*" (everything
// below), as MSBuild reads it.
class PathPattern {
public:
    explicit PathPattern(const std::string& pattern);

    // The path, split by splitPath, matches the whole pattern.
    bool matches(const std::vector<std::string_view>& path) const;

    // Any path below the folder matches: the pattern is a folder pattern followed by "**\*" and
    // the folder matches that folder pattern. Lets a walk skip such a folder without listing it.
    bool coversFolder(const std::vector<std::string_view>& folder) const;

private:
    std::vector<std::string> components_;
};

#endif
