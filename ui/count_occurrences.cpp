#include "ui/count_occurrences.h"

#include <cstddef>

OccurrenceCounter::OccurrenceCounter(const char* pattern, int32_t patternLength)
    : pattern_(pattern, patternLength > 0 ? static_cast<size_t>(patternLength) : 0),
      next_(pattern_.size() + 1)
{
    const auto* p = reinterpret_cast<const unsigned char*>(pattern_.data());
    const int32_t m = static_cast<int32_t>(pattern_.size());

    // Skip: m minus the position of the byte's last occurrence in the pattern; m + 1 when absent.
    for (int32_t& entry : skip_)
        entry = m + 1;
    for (int32_t i = 0; i < m; ++i)
        skip_[p[i]] = m - i;

    // Shift: next[j] is the longest border of p[0..j) that is followed by a byte other than p[j]
    // (so the comparison that just failed is not repeated), -1 when there is none.
    next_[0] = -1;
    int32_t i = -1;
    int32_t j = 0;
    while (j < m) {
        while (i > -1 && p[j] != p[i])
            i = next_[i];
        ++i;
        ++j;
        next_[j] = j < m && p[j] == p[i] ? next_[i] : i;
    }
}

int32_t OccurrenceCounter::count(const char* text, int32_t textLength) const
{
    // After an occurrence, the next window that could hold one is as far on as the shift says.
    const int32_t m = static_cast<int32_t>(pattern_.size());
    const char* end = text + (textLength > 0 ? textLength : 0);
    int32_t count = 0;
    for (const char* hit = find(text, end); hit; hit = find(hit + m - next_[static_cast<size_t>(m)], end))
        ++count;
    return count;
}

const char* OccurrenceCounter::find(const char* text, const char* end) const
{
    const auto* p = reinterpret_cast<const unsigned char*>(pattern_.data());
    const auto* t = reinterpret_cast<const unsigned char*>(text);
    const ptrdiff_t m = static_cast<ptrdiff_t>(pattern_.size());
    if (m == 0 || end - text < m)
        return nullptr;

    const ptrdiff_t lastWindow = (end - text) - m;
    ptrdiff_t pos = 0;
    while (pos <= lastWindow) {
        while (p[m - 1] != t[pos + m - 1]) {
            pos += skip_[t[pos + m]];  // at the last window, the byte at end
            if (pos > lastWindow)
                return nullptr;
        }
        ptrdiff_t j = 0;
        while (j < m && p[j] == t[pos + j])
            ++j;
        if (j == m)
            return text + pos;
        pos += j - next_[static_cast<size_t>(j)];
    }
    return nullptr;
}

int32_t countOccurrences(const char* pattern, int32_t patternLength, const char* text, int32_t textLength)
{
    return OccurrenceCounter(pattern, patternLength).count(text, textLength);
}
