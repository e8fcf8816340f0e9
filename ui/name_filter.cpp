#include "ui/name_filter.h"

#include "flip/name_kinds.h"
#include "ui/count_occurrences.h"
#include "ui/wide_search.h"

#include <algorithm>
#include <cstring>

namespace {

// Takes each occurrence found in the block of names to the entry whose name holds it, and tells
// the search to go on at the next entry's name. Every entry may match: the positions go straight
// into room for all of them. Made and used within one function, with the search inlined, so that
// the compiler keeps its state in registers rather than in memory at every match.
class MatchCollector {
public:
    MatchCollector(const FileIndex& index, int32_t* room)
        : names_(index.foldedNames().data()), starts_(index.nameStarts().data()),
          end_(names_ + starts_[index.size()]), first_(room), out_(room)
    {
    }

    // The block of names; the search stops before its last NUL, the byte the matcher reads after
    // a window.
    const char* text() const { return names_; }
    const char* end() const { return end_; }

    const char* operator()(const char* occurrence)
    {
        auto offset = static_cast<uint32_t>(occurrence - names_);
        while (next_[0] <= offset)
            ++next_;
        if (preferredRow_ < 0 && offset == next_[-1])
            preferredRow_ = static_cast<int32_t>(out_ - first_);
        *out_++ = static_cast<int32_t>(next_ - 1 - starts_);
        return names_ + *next_;
    }

    size_t count() const { return static_cast<size_t>(out_ - first_); }
    int32_t preferredRow() const { return preferredRow_; }

private:
    const char* names_;
    const uint32_t* starts_;
    const char* end_;
    const uint32_t* next_ = starts_ + 1;  // where the entry after the one last matched starts
    int32_t* first_;
    int32_t* out_;
    int32_t preferredRow_ = -1;
};

// How many matches were written, and the preferred row among them.
struct FilterResult {
    size_t count;
    int32_t preferredRow;
};

__attribute__((target("sse2"))) FilterResult findWide(const FileIndex& index, const std::string& pattern, int32_t* room)
{
    MatchCollector collect(index, room);
    scanWide(pattern.data(), pattern.size(), collect.text(), collect.end(), collect);
    return {collect.count(), collect.preferredRow()};
}

FilterResult findByteWise(const FileIndex& index, const std::string& pattern, int32_t* room)
{
    MatchCollector collect(index, room);
    const OccurrenceCounter counter(pattern.data(), static_cast<int32_t>(pattern.size()));
    for (const char* hit = counter.find(collect.text(), collect.end()); hit;
         hit = counter.find(collect(hit), collect.end())) {
    }
    return {collect.count(), collect.preferredRow()};
}

// A pattern of one byte: the entries whose kinds word has the byte's bit, each looked for in its
// name when the bit is shared. Every entry is visited, but by a word rather than by its name.
FilterResult findByte(const FileIndex& index, unsigned char byte, int32_t* room)
{
    const uint32_t* kinds = index.nameKinds().data();
    const char* names = index.foldedNames().data();
    const uint32_t* starts = index.nameStarts().data();
    const int32_t count = index.size();
    const uint32_t bit = byteKindBit(byte);
    int32_t* out = room;
    if (hasOwnKindBit(byte)) {
        // Written whether it matches or not: no branch to mispredict where half the names match.
        for (int32_t position = 0; position < count; ++position) {
            *out = position;
            out += (kinds[position] & bit) != 0;
        }
    } else {
        for (int32_t position = 0; position < count; ++position) {
            if ((kinds[position] & bit) &&
                memchr(names + starts[position], byte, starts[position + 1] - starts[position] - 1))
                *out++ = position;
        }
    }
    // Names are sorted by their bytes: those that begin with the byte come together, from the
    // first position whose name does not begin with a lower byte.
    int32_t first = 0;
    for (int32_t length = count; length > 0;) {
        int32_t half = length / 2;
        if (static_cast<unsigned char>(names[starts[first + half]]) < byte) {
            first += half + 1;
            length -= half + 1;
        } else {
            length = half;
        }
    }
    int32_t preferredRow = -1;
    if (first < count && static_cast<unsigned char>(names[starts[first]]) == byte)
        preferredRow = static_cast<int32_t>(std::lower_bound(room, out, first) - room);
    return {static_cast<size_t>(out - room), preferredRow};
}

}  // namespace

int32_t findMatches(const FileIndex& index, const std::string& pattern, MatchList& matches)
{
    matches.clear();
    // Names hold no NUL: a pattern with one would only match across two of them.
    if (pattern.empty() || pattern.find('\0') != std::string::npos)
        return -1;
    matches.resize(static_cast<size_t>(index.size()));
    FilterResult result = pattern.size() == 1 ? findByte(index, static_cast<unsigned char>(pattern[0]), matches.data())
                          : hasWideSearch()   ? findWide(index, pattern, matches.data())
                                              : findByteWise(index, pattern, matches.data());
    matches.resize(result.count);
    return result.preferredRow;
}
