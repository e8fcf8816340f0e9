#ifndef QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H
#define QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H

// Helpers for tests of the solution model: project and solution texts, the model walked into lines.

#include "solution/solution.h"

#include <string>
#include <vector>

// A solution file naming the project paths, among lines that name no project.
std::string solutionText(const std::vector<std::string>& projectPaths);

// A ".vcxproj" whose one ItemGroup holds the items, each "ElementName Include-value".
std::string vcxprojText(const std::vector<std::string>& items);

// The model in walk order: "P path" per project, indented by two spaces per reference level, and
// "F path" per file; lowerFiles lower-cases the file paths, as the cache gives them back.
std::vector<std::string> walkLines(const Solution& solution, bool lowerFiles = false);

constexpr int64_t OLD_TIME = 1600000000;  // seconds since 1970
constexpr int64_t NEWER_TIME = OLD_TIME + 1;

#endif
