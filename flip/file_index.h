#ifndef QUORLAN_FLIP_FILE_INDEX_H
#define QUORLAN_FLIP_FILE_INDEX_H

// FileIndex: every distinct file of a loaded solution once, sorted by file name.
//
// An entry is two pointers into a path string that the solution model holds; the index copies
// no text into its entries. The only copies are those in seenPaths, one per distinct path, which
// find duplicates by the exact path text (letter case counts) in constant expected time.
//
// The model must outlive the index and must not change while it exists: a short path may be
// stored inside the string object itself, so even moving the model's strings would leave the
// entries pointing at freed memory.

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

class Solution;

struct FileEntry {
    const char* name;  // the file-name part: a suffix of path, ending at the same terminator
    const char* path;  // the model's own path text
};

class FileIndex {
public:
    // Adds every file of the solution's projects, each project's own files before those of the
    // projects it references (depth first), then sorts the entries by name as _stricmp compares
    // them in the "C" locale (ASCII letters folded, bytes unsigned). Runs once.
    void build(const Solution& solution);

    // Adds an entry pointing into path unless the same path text was added before.
    void addFile(const std::string& path);

    // The number of entries: the distinct paths added so far.
    int32_t size() const { return static_cast<int32_t>(entries_.size()); }
    // The entry at position 0 to size() - 1; callers check the position first.
    const FileEntry& at(int32_t position) const { return entries_[static_cast<size_t>(position)]; }

private:
    void sortByName();

    std::vector<FileEntry> entries_;
    std::unordered_set<std::string> seenPaths_;
};

#endif
