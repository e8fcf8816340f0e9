#ifndef QUORLAN_FLIP_FILE_INDEX_H
#define QUORLAN_FLIP_FILE_INDEX_H

// FileIndex: every distinct file of a loaded solution once, sorted by file name.
//
// An entry is the number of one file of the model in walk order; its path is composed from the
// model when it is asked for, and the index copies no path. What it keeps of its own is the block
// the open-file window's filter searches: every entry's name with "A" to "Z" lower-cased, in
// position order, each ending in a NUL, and a word per entry of the kinds of bytes its name
// holds. A million files cost some 35 MB here, where a pointer pair and a hash-set copy of every
// path cost over 100.
//
// Duplicates (the same path text twice, letter case counting) are found after the sort, among
// the entries of equal names, and the first listing in walk order is kept. The model must outlive
// the index and must not change while it exists.

#include "flip/name_sort.h"
#include "solution/byte_block.h"

#include <cstdint>
#include <string>
#include <vector>

class FileList;
class Solution;

class FileIndex {
public:
    // Takes every file of the solution's projects, each project's own files before those of the
    // projects it references (depth first), drops repeated paths and sorts the entries by name as
    // _stricmp compares them in the "C" locale (ASCII letters folded, bytes unsigned); entries of
    // equal names keep their walk order. Runs once.
    void build(const Solution& solution);

    // The number of entries.
    int32_t size() const { return static_cast<int32_t>(fileOfEntry_.size()); }

    // The full path of the entry at position 0 to size() - 1, as the model holds it; callers check
    // the position first.
    std::string path(int32_t position) const;
    // Its file-name part (as the shell's PathFindFileNameA finds it): the end of its path.
    std::string name(int32_t position) const;

    // Every entry's name, "A" to "Z" lower-cased, in position order, each ending in a NUL, and one
    // more NUL after the last.
    const ByteBlock& foldedNames() const { return names_; }
    // Where each position's folded name starts in foldedNames(); one more entry, size() + 1 in
    // all, gives the end of the last name's NUL.
    const UninitializedVector<uint32_t>& nameStarts() const { return nameStarts_; }
    // The kinds of bytes (flip/name_kinds.h) each position's folded name holds.
    const UninitializedVector<uint32_t>& nameKinds() const { return nameKinds_; }

private:
    // A project's file list and the walk number of its first file.
    struct ListStart {
        const FileList* list;
        uint32_t firstFile;
    };

    struct StagedNames;
    // Fills lists_ in walk order; returns the number of files.
    uint32_t collectLists(const Solution& solution);
    // The folded name of every file, and the number of its directory text.
    void stageNames(uint32_t total, StagedNames& staged) const;
    // Marks REPEATED in order (a bucket's positions, sorted by name) every file whose path an
    // earlier file in walk order has; walks and directories give each position's walk number and
    // directory number.
    void dropRepeatedPaths(std::vector<uint32_t>& order, const std::vector<NameRun>& equalNames,
                           const uint32_t* walks, const uint32_t* directories) const;
    size_t listIndexOf(uint32_t walk) const;
    const ListStart& listOf(uint32_t walk) const;
    const char* rest(uint32_t walk) const;

    std::vector<ListStart> lists_;     // in walk order
    UninitializedVector<uint32_t> fileOfEntry_;  // the walk number of each entry's file
    UninitializedVector<uint32_t> nameStarts_ = UninitializedVector<uint32_t>(1, 0);
    ByteBlock names_ = ByteBlock(1, '\0');
    UninitializedVector<uint32_t> nameKinds_;
};

#endif
