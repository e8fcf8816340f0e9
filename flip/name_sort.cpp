#include "flip/name_sort.h"

#include <algorithm>

namespace {

// From this many ids up, a range is sorted by radix rather than by comparison.
constexpr size_t RADIX_THRESHOLD = 1 << 16;
// How many names ahead the key loop asks the processor to fetch.
constexpr uint32_t PREFETCH_DISTANCE = 8;

// Four folded bytes of name from depth on, the first in the high byte; zero bytes past its end.
// depth is at most the name's length.
uint32_t keyAt(const char* name, size_t depth)
{
    const auto* byte = reinterpret_cast<const unsigned char*>(name) + depth;
    uint32_t key = 0;
    for (int i = 0; i < 4; ++i) {
        key = key << 8 | foldCase(*byte);
        if (*byte)
            ++byte;
    }
    return key;
}

// A key whose last byte is zero ends its name: equal such keys stand for equal names.
bool endsName(uint32_t key)
{
    return (key & 0xFF) == 0;
}

// Sorts by the high 32 bits (the key), keeping the order of equal keys: two 16-bit passes.
void radixSortByKey(std::vector<uint64_t>& items, std::vector<uint64_t>& spare)
{
    spare.resize(items.size());
    std::vector<uint32_t> starts(0x10001);
    for (int shift = 32; shift < 64; shift += 16) {
        std::fill(starts.begin(), starts.end(), 0);
        for (uint64_t item : items)
            ++starts[((item >> shift) & 0xFFFF) + 1];
        for (size_t digit = 1; digit < starts.size(); ++digit)
            starts[digit] += starts[digit - 1];
        for (uint64_t item : items)
            spare[starts[(item >> shift) & 0xFFFF]++] = item;
        items.swap(spare);
    }
}

struct Range {
    uint32_t first;
    uint32_t last;
    uint32_t depth;
};

}  // namespace

std::vector<NameRun> sortByName(std::vector<uint32_t>& ids, const std::vector<const char*>& names)
{
    std::vector<NameRun> equalRuns;
    std::vector<uint64_t> items;  // key in the high half, id in the low half
    std::vector<uint64_t> spare;
    // A stack rather than recursion: names may share prefixes of any length.
    std::vector<Range> pending = {{0, static_cast<uint32_t>(ids.size()), 0}};
    while (!pending.empty()) {
        Range range = pending.back();
        pending.pop_back();
        if (range.last - range.first < 2)
            continue;

        items.clear();
        for (uint32_t i = range.first; i < range.last; ++i) {
            // The names of a range lie all over: ask for one a few steps ahead while this one loads.
            if (i + PREFETCH_DISTANCE < range.last)
                __builtin_prefetch(names[ids[i + PREFETCH_DISTANCE]] + range.depth);
            items.push_back(static_cast<uint64_t>(keyAt(names[ids[i]], range.depth)) << 32 | ids[i]);
        }
        // The ids of a range are ascending, so either sort keeps equal keys in id order.
        if (items.size() >= RADIX_THRESHOLD)
            radixSortByKey(items, spare);
        else
            std::sort(items.begin(), items.end());

        for (uint32_t i = 0; i < items.size();) {
            uint32_t key = static_cast<uint32_t>(items[i] >> 32);
            uint32_t end = i + 1;
            while (end < items.size() && static_cast<uint32_t>(items[end] >> 32) == key)
                ++end;
            for (uint32_t j = i; j < end; ++j)
                ids[range.first + j] = static_cast<uint32_t>(items[j]);
            if (end - i > 1) {
                if (endsName(key))
                    equalRuns.emplace_back(range.first + i, range.first + end);
                else
                    pending.push_back({range.first + i, range.first + end, range.depth + 4});
            }
            i = end;
        }
    }
    std::sort(equalRuns.begin(), equalRuns.end());
    return equalRuns;
}
