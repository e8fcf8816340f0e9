#ifndef QUORLAN_SOLUTION_SOLUTION_H
#define QUORLAN_SOLUTION_SOLUTION_H

// The model of one solution for the length of one command: its top-level projects (each owning
// its references) and the open-file window's state that the cache file beside the solution
// carries from one run to the next.

#include "solution/project.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Solution {
public:
    // A model of the solution file at solutionPath, not loaded yet. Touches no file.
    explicit Solution(const std::string& solutionPath);
    ~Solution();
    Solution(const Solution&) = delete;
    Solution& operator=(const Solution&) = delete;

    // The full path, as stored, of the first file in walk order (projects in order, each walked
    // as Project::findFileByName does) whose file-name part equals name without regard to ASCII
    // case; "" when there is none.
    std::string findFileByName(const std::string& name) const;

    // Destroys every project and its references.
    void clearProjects();

    std::string lastFilter;      // the open-file window's filter text, "" until stored
    int32_t lastSelection = -1;  // the open-file window's selected row, -1 for none
    std::string cachePath;       // solutionPath + ".qlcache"
    std::string solutionPath;
    std::vector<std::unique_ptr<Project>> projects;  // top-level projects in solution-file order
    bool dirty = false;  // the filter or selection changed: the destructor rewrites the cache file
};

#endif
