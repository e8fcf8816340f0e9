#include "ui/name_filter.h"

#include "ui/count_occurrences.h"
#include "ui/wide_search.h"

namespace {

// Takes each occurrence found in the block of names to the entry whose name holds it, and tells
// the search to go on at the next entry's name. Every entry may match: the positions go straight
// into room for all of them, through a pointer the compiler keeps in a register.
class MatchCollector {
public:
    MatchCollector(const FileIndex& index, std::vector<int32_t>& matches)
        : names_(index.foldedNames().data()), starts_(index.nameStarts().data()), matches_(matches)
    {
        matches_.resize(static_cast<size_t>(index.size()));
        first_ = out_ = matches_.data();
    }
    // Cuts the matches to those found.
    ~MatchCollector() { matches_.resize(static_cast<size_t>(out_ - first_)); }
    MatchCollector(const MatchCollector&) = delete;
    MatchCollector& operator=(const MatchCollector&) = delete;

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

    int32_t preferredRow() const { return preferredRow_; }

private:
    const char* names_;
    const uint32_t* starts_;
    const uint32_t* next_ = starts_ + 1;  // where the entry after the one last matched starts
    std::vector<int32_t>& matches_;
    int32_t* first_;
    int32_t* out_;
    int32_t preferredRow_ = -1;
};

}  // namespace

int32_t findMatches(const FileIndex& index, const std::string& pattern, std::vector<int32_t>& matches)
{
    matches.clear();
    // Names hold no NUL: a pattern with one would only match across two of them.
    if (pattern.empty() || pattern.find('\0') != std::string::npos)
        return -1;
    const char* names = index.foldedNames().data();
    // The search stops before the block's last NUL, the byte the matcher reads after a window.
    const char* end = names + index.nameStarts().back();
    MatchCollector collect(index, matches);
    if (hasWideSearch()) {
        scanWide(pattern.data(), pattern.size(), names, end, collect);
    } else {
        const OccurrenceCounter counter(pattern.data(), static_cast<int32_t>(pattern.size()));
        for (const char* hit = counter.find(names, end); hit; hit = counter.find(collect(hit), end)) {
        }
    }
    return collect.preferredRow();
}
