#ifndef QUORLAN_FLIP_NAME_SORT_H
#define QUORLAN_FLIP_NAME_SORT_H

// Sorting a million file names in the order of _stricmp in the "C" locale: "A" to "Z" folded to
// lower case, bytes compared as unsigned values, a name before every longer name it begins.
//
// A comparison sort chases a pointer into the names at every comparison. This sort is a radix sort
// from the first byte on that reads four folded bytes of each name at a time into a key beside
// its id and deals ranges by the keys' bytes; a name is read once per four bytes of the prefix it
// shares with another, and an id and its key take eight bytes to move. Names are found by id;
// equal names come in id order.

#include <cstdint>
#include <utility>
#include <vector>

// A range [first, last) of sorted positions whose names are equal (after folding).
using NameRun = std::pair<uint32_t, uint32_t>;

// Sorts ids (each below names.size()) by the NUL-terminated names[id], ids of equal names in
// ascending order. Returns the runs of two or more equal names, in order.
std::vector<NameRun> sortByName(std::vector<uint32_t>& ids, const std::vector<const char*>& names);

// "A" to "Z" to lower case, every other byte as it is: the folding of _stricmp in the "C" locale.
inline unsigned char foldCase(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

#endif
