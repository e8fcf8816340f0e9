#include "ui/name_filter.h"

#include "ui/count_occurrences.h"
#include "ui/wide_search.h"

namespace {

// Takes each occurrence found in the block of names to the entry whose name holds it, and tells
// the search to go on at the next entry's name.
class MatchCollector {
public:
    MatchCollector(const FileIndex& index, std::vector<int32_t>& matches)
        : names_(index.foldedNames().data()), starts_(index.nameStarts()), matches_(matches)
    {
    }

    const char* operator()(const char* occurrence)
    {
        auto offset = static_cast<uint32_t>(occurrence - names_);
        while (starts_[position_ + 1] <= offset)
            ++position_;
        if (preferredRow_ < 0 && offset == starts_[position_])
            preferredRow_ = static_cast<int32_t>(matches_.size());
        matches_.push_back(static_cast<int32_t>(position_));
        return names_ + starts_[position_ + 1];
    }

    int32_t preferredRow() const { return preferredRow_; }

private:
    const char* names_;
    const std::vector<uint32_t>& starts_;
    std::vector<int32_t>& matches_;
    size_t position_ = 0;
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
