#ifndef QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H
#define QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H

// Helpers for tests of the solution model: solution and project texts, the model walked into
// lines, and a lock that keeps every other opener out of a file.

#include "driver/unique_resource.h"
#include "solution/solution.h"

#include <string>
#include <vector>

// A solution file naming the project paths, among lines that name no project.
std::string solutionText(const std::vector<std::string>& projectPaths);

// A ".vcxproj" whose one ItemGroup holds the items, each "ElementName Include-value".
std::string vcxprojText(const std::vector<std::string>& items);

// A project built in memory.
std::unique_ptr<Project> makeProject(const std::string& path, std::vector<std::string> files);

// The model in walk order: "P path" per project, indented by two spaces per reference level,
// and "F path" per file; filesLowerCased lower-cases the file paths, as the cache gives them back.
std::vector<std::string> walkLines(const Solution& solution);
std::vector<std::string> walkLines(const Project& project, const std::string& indent = "");
std::vector<std::string> filesLowerCased(std::vector<std::string> lines);

// Opens the file without sharing: until destroyed every other open fails; stat still works.
class LockedFile {
public:
    explicit LockedFile(const std::string& path);
    bool locked() const { return static_cast<bool>(file_); }

private:
    UniqueWin32File file_;
};

constexpr int64_t OLD_TIME = 1600000000;  // seconds since 1970
constexpr int64_t NEWER_TIME = OLD_TIME + 1;

#endif
