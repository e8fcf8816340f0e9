#include "flip/file_index.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

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
              [](const FileEntry& a, const FileEntry& b) { return _stricmp(a.name, b.name) < 0; });
}
