#ifndef QUORLAN_UI_NAME_FILTER_H
#define QUORLAN_UI_NAME_FILTER_H

// The filter of the open-file window: which entries of the file index have a name that contains
// the typed text, with only "A" to "Z" folded and every other byte compared exactly.
//
// One pass of the matcher over the index's block of folded names: each occurrence found is mapped
// to the entry whose name holds it, and the search goes on at the next entry's name. The block
// holds every name once, lower-cased when the index was built, so a key costs no copy and no
// folding of a name. A pattern of one byte, which most names hold, is looked up in the index's
// word per entry of the kinds of bytes its name holds instead. Kept apart from the window, which
// only shows what it finds.

#include "flip/file_index.h"
#include "solution/byte_block.h"

#include <cstdint>
#include <string>
#include <vector>

// Positions in the index. Sized to every entry before each pass without zeroing them first: the
// pass writes what it keeps, and a million zeros per key would cost a millisecond.
using MatchList = UninitializedVector<int32_t>;

// Fills matches (emptied first) with the positions, ascending, of the entries whose name contains
// pattern, a lower-cased text of one byte or more. Returns the row in matches of the first entry
// whose name begins with pattern, -1 when none does.
int32_t findMatches(const FileIndex& index, const std::string& pattern, MatchList& matches);

#endif
