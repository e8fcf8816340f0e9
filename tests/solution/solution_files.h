#ifndef QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H
#define QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H

// Helpers for tests of the solution model on real files: solution and project texts, the model
// walked into lines, and a lock that keeps every other opener out of a file.

#include "driver/unique_resource.h"
#include "solution/solution.h"

#include <string>
#include <vector>

// A solution file naming the given project paths, with the lines around them that must be ignored.
std::string solutionText(const std::vector<std::string>& projectPaths);

// A ".vcxproj" whose one ItemGroup holds the given items, each "ElementName path".
std::string vcxprojText(const std::vector<std::string>& items);

// The model in walk order: "P <path>" for each project (indented by its depth), "F <path>" for
// each file.
std::vector<std::string> walkLines(const Solution& solution);
std::vector<std::string> walkLines(const Project& project, const std::string& indent = "");

// Walk lines with every file path lower-cased, as the cache file gives them back.
std::vector<std::string> filesLowerCased(std::vector<std::string> lines);

// Opens the file with no sharing: until destroyed, any other open of it fails, stat still works.
class LockedFile {
public:
    explicit LockedFile(const std::string& path);
    bool locked() const { return static_cast<bool>(file_); }

private:
    UniqueWin32File file_;
};

// A fixed time (seconds since 1970) and the one a second later, for freshness tests.
constexpr int64_t OLD_TIME = 1600000000;
constexpr int64_t NEWER_TIME = OLD_TIME + 1;

#endif
