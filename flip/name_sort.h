#ifndef QUORLAN_FLIP_NAME_SORT_H
#define QUORLAN_FLIP_NAME_SORT_H

// Sorting a million file names in the order of _stricmp in the "C" locale: "A" to "Z" folded to
// lower case, bytes compared as unsigned values, a name before every longer name it begins. The
// sort compares bytes as they are: the caller folds the names first (lowerCaseCopy).
//
// A comparison sort chases a pointer into the names at every comparison. This sort is a radix sort
// from the first byte on that reads sixteen bytes of each name at a time into a key beside its id
// and deals ranges by the keys' bytes, back and forth between two buffers: most names are read
// once, and a name again only for every sixteen bytes of the prefix it shares with another. Names
// are found by id; the sort is stable.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

// A range [first, last) of sorted positions whose names are equal.
using NameRun = std::pair<uint32_t, uint32_t>;

// The sort reads names a word at a time, up to this many bytes past a name's NUL: every name must
// be followed by as many readable bytes (the next names of a block, and zero bytes after the last).
constexpr size_t NAME_PADDING = 16;

// Keeps its working memory from one sort to the next: the index sorts its names bucket by bucket,
// and room made anew for each would be fresh pages from the system every time.
class NameSorter {
public:
    NameSorter();
    ~NameSorter();

    // Sorts ids (each below names.size()) by the NUL-terminated names[id], compared as unsigned
    // bytes, ids of equal names in their order in ids. Returns the runs of two or more equal
    // names, in no particular order.
    std::vector<NameRun> sort(std::vector<uint32_t>& ids, const std::vector<const char*>& names);

    // An id and the bytes of its name that the sort deals by (defined with the sort).
    struct Item;

private:
    std::vector<Item> items_;
    std::vector<Item> spare_;
};

#endif
