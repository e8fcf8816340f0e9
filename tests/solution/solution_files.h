#ifndef QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H
#define QUORLAN_TESTS_SOLUTION_SOLUTION_FILES_H

// Helpers for tests of the solution model: project and solution texts, the model walked into lines.

#include "solution/solution.h"
#include "tests/support/temp_dir.h"

#include <string>
#include <vector>

// A solution file naming the project paths, among lines that name no project.
std::string solutionText(const std::vector<std::string>& projectPaths);

// A ".vcxproj" whose one ItemGroup holds the items, each "ElementName Include-value".
std::string vcxprojText(const std::vector<std::string>& items);

// The model in walk order: "P path" per project, indented by two spaces per reference level, and
// "F path" per file; lowerFiles lower-cases the file paths, as the cache gives them back.
std::vector<std::string> walkLines(const Solution& solution, bool lowerFiles = false);

// Copies the files of the folder from, and of its subfolders, into dir (below its folder named
// relative, when given).
void copyTree(const std::string& from, const TempDir& dir, const std::string& relative = "");

// The model's lines as walkLines gives them, with every path made relative to folder (which ends
// in no backslash; matched in any letter case), so that a test can write what it expects short.
std::vector<std::string> relativeWalkLines(const Solution& solution, const std::string& folder);

constexpr int64_t OLD_TIME = 1600000000;  // seconds since 1970
constexpr int64_t NEWER_TIME = OLD_TIME + 1;

#endif
