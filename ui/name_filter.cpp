#include "ui/name_filter.h"

#include "ui/count_occurrences.h"

int32_t findMatches(const FileIndex& index, const std::string& pattern, std::vector<int32_t>& matches)
{
    matches.clear();
    // Names hold no NUL: a pattern with one would only match across two of them.
    if (pattern.empty() || pattern.find('\0') != std::string::npos)
        return -1;
    const OccurrenceCounter counter(pattern.data(), static_cast<int32_t>(pattern.size()));
    const char* names = index.foldedNames().data();
    const std::vector<uint32_t>& starts = index.nameStarts();
    // The search stops before the block's last NUL, the byte the matcher reads after a window.
    const char* end = names + starts.back();
    int32_t preferredRow = -1;
    size_t position = 0;
    for (const char* hit = counter.find(names, end); hit; hit = counter.find(names + starts[position + 1], end)) {
        auto offset = static_cast<uint32_t>(hit - names);
        while (starts[position + 1] <= offset)
            ++position;
        if (preferredRow < 0 && offset == starts[position])
            preferredRow = static_cast<int32_t>(matches.size());
        matches.push_back(static_cast<int32_t>(position));
    }
    return preferredRow;
}
