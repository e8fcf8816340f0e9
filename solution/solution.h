#ifndef QUORLAN_SOLUTION_SOLUTION_H
#define QUORLAN_SOLUTION_SOLUTION_H

// The model of one solution for the length of one command: its top-level projects (each owning
// its references) and the open-file window's state that the cache file beside the solution
// carries from one run to the next.

#include "solution/model_cuts.h"
#include "solution/project.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

class Solution {
public:
    // A model of the solution file at solutionPath, not loaded yet. Touches no file.
    explicit Solution(const std::string& solutionPath);
    // Rewrites the cache file when dirty (silently keeping the old one if that fails).
    ~Solution();
    Solution(const Solution&) = delete;
    Solution& operator=(const Solution&) = delete;

    // Fills projects from the cache file when it is fresh, else from the solution file, bringing
    // each project up to date (Project::load), and rewrites the cache file when anything was read.
    // A cache file that can't be read, or that was written for a solution at another path, is
    // deleted and rebuilt; its filter and selection are kept. A stale one stays until the new one
    // replaces it, so that runs starting meanwhile still find the window's state. False, after
    // telling the user, only when the solution file is missing or can't be opened.
    bool load();

    // The full path, as stored, of the first file in walk order (projects in order, each walked
    // as Project::findFileByName does) whose file-name part equals name without regard to ASCII
    // case; "" when there is none.
    std::string findFileByName(const std::string& name) const;

    // What the model's bounds left out of the loaded model (model_cuts.h); 0 when nothing.
    ModelCuts cuts() const { return budgetCuts_ | projectCuts.all(); }

    // Destroys every project and its references.
    void clearProjects();

    // Replaces the cache file with the whole model in one step; false (the old file untouched) on
    // any failure. Removes what dead runs left of their writes (temporary_cache_file.h).
    bool writeCache() const;

    // Replaces the model by the cache file's. False on a missing, short, oversized or corrupt file,
    // one beyond the model's limits or one written for another solution path; lastFilter and
    // lastSelection keep what was read of them.
    bool readCache();

    std::string lastFilter;      // the open-file window's filter text, "" until stored
    int32_t lastSelection = -1;  // the open-file window's selected row, -1 for none
    std::string cachePath;       // solutionPath + ".qlcache"
    std::string solutionPath;
    std::vector<std::unique_ptr<Project>> projects;  // top-level projects in solution-file order
    bool dirty = false;  // the filter or selection changed: the destructor rewrites the cache file
    WatchTable watches;  // what the projects' file lists depend on besides their project files
    CutTable projectCuts;  // what each project file lost to a bound, by lower-cased path

private:
    bool readSolutionFile(ModelBudget& budget);
    bool writeCacheTo(FILE* file) const;
    bool readCacheFrom(FILE* file, int64_t size);
    bool readSections(CacheReader& stream);
    void deleteCacheFile() const;

    ModelCuts budgetCuts_ = 0;  // the model holds as many projects or files as it may
};

#endif
