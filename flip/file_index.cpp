#include "flip/file_index.h"

#include "solution/solution.h"
#include "solution/text.h"

#include <shlwapi.h>

#include <algorithm>

void FileIndex::build(const Solution& solution)
{
    // Depth first with a stack of its own rather than recursion: however deep the references
    // of a project file go, the walk needs no more than its own memory.
    std::vector<const Project*> pending;
    for (auto project = solution.projects.rbegin(); project != solution.projects.rend(); ++project)
        pending.push_back(project->get());
    while (!pending.empty()) {
        const Project* project = pending.back();
        pending.pop_back();
        for (const std::string& path : project->files)
            addFile(path);
        for (auto reference = project->references.rbegin(); reference != project->references.rend(); ++reference)
            pending.push_back(reference->get());
    }
    sortByName();
}

void FileIndex::addFile(const std::string& path)
{
    if (!seenPaths_.insert(path).second)
        return;
    entries_.push_back({PathFindFileNameA(path.c_str()), path.c_str()});
}

void FileIndex::sortByName()
{
    // No secondary key: the order of equal names is left open, so an unstable sort will do.
    std::sort(entries_.begin(), entries_.end(),
              [](const FileEntry& a, const FileEntry& b) { return compareIgnoringCase(a.name, b.name) < 0; });
}
