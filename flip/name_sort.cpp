#include "flip/name_sort.h"

#include <algorithm>

namespace {

// Ranges this short are sorted by comparing whole names.
constexpr uint32_t SHORT_RANGE = 12;
// How many bytes of a name a key holds.
constexpr int KEY_BYTES = 4;
// How many names ahead the key loop asks the processor to fetch.
constexpr uint32_t PREFETCH_DISTANCE = 8;

// KEY_BYTES folded bytes of name from depth on, the first in the high byte; zero bytes past its end.
// depth is at most the name's length.
using Key = uint32_t;
Key keyAt(const char* name, uint32_t depth)
{
    const auto* byte = reinterpret_cast<const unsigned char*>(name) + depth;
    Key key = 0;
    for (int i = 0; i < KEY_BYTES; ++i) {
        key = key << 8 | foldCase(*byte);
        if (*byte)
            ++byte;
    }
    return key;
}

// The names compared from depth on, as _stricmp does.
int compareFrom(const char* a, const char* b, uint32_t depth)
{
    const auto* x = reinterpret_cast<const unsigned char*>(a) + depth;
    const auto* y = reinterpret_cast<const unsigned char*>(b) + depth;
    for (;; ++x, ++y) {
        int difference = foldCase(*x) - foldCase(*y);
        if (difference != 0 || *x == 0)
            return difference;
    }
}

struct Item {
    Key key;  // KEY_BYTES bytes of the name from the range's depth on
    uint32_t id;
};

struct Range {
    uint32_t first;
    uint32_t last;
    uint32_t depth;     // the byte of the names the range is split by
    bool loadKeys;      // its keys hold the bytes before depth: they must be read again
};

class NameSorter {
public:
    NameSorter(const std::vector<const char*>& names, std::vector<Item>& items)
        : names_(names), items_(items), spare_(items.size())
    {
    }

    // Radix sort from the most significant byte: a range is dealt into 256 parts by one byte of
    // its names, taken from the keys beside the ids, and each part is sorted by the next byte; the
    // names themselves are read again only every KEY_BYTES bytes. A stack of its own rather than
    // recursion.
    std::vector<NameRun> sort()
    {
        std::vector<Range> pending = {{0, static_cast<uint32_t>(items_.size()), 0, false}};
        while (!pending.empty()) {
            Range range = pending.back();
            pending.pop_back();
            if (range.loadKeys)
                loadKeys(range);
            if (range.last - range.first <= SHORT_RANGE)
                sortShort(range);
            else
                split(range, pending);
        }
        // Equal names in the order of their ids, however they came in.
        for (const NameRun& run : equalRuns_)
            std::sort(items_.begin() + run.first, items_.begin() + run.second,
                      [](const Item& a, const Item& b) { return a.id < b.id; });
        std::sort(equalRuns_.begin(), equalRuns_.end());
        return equalRuns_;
    }

private:
    void loadKeys(const Range& range)
    {
        for (uint32_t i = range.first; i < range.last; ++i) {
            // The names of a range lie all over: ask for one a few steps ahead while this one loads.
            if (i + PREFETCH_DISTANCE < range.last)
                __builtin_prefetch(names_[items_[i + PREFETCH_DISTANCE].id] + range.depth);
            items_[i].key = keyAt(names_[items_[i].id], range.depth);
        }
    }

    // Deals the range into parts by the byte at its depth, keeping the order within each part.
    void split(const Range& range, std::vector<Range>& pending)
    {
        const int shift = 8 * (KEY_BYTES - 1 - static_cast<int>(range.depth % KEY_BYTES));
        auto byteOf = [shift](const Item& item) { return static_cast<uint32_t>(item.key >> shift) & 0xFF; };
        uint32_t starts[257] = {};
        for (uint32_t i = range.first; i < range.last; ++i)
            ++starts[byteOf(items_[i]) + 1];
        // Names that all share the byte (a common prefix) need no dealing.
        uint32_t shared = byteOf(items_[range.first]);
        if (starts[shared + 1] != range.last - range.first) {
            for (int byte = 0; byte < 256; ++byte)
                starts[byte + 1] += starts[byte];
            uint32_t next[256];
            std::copy(starts, starts + 256, next);
            for (uint32_t i = range.first; i < range.last; ++i)
                spare_[next[byteOf(items_[i])]++] = items_[i];
            std::copy(spare_.begin(), spare_.begin() + (range.last - range.first), items_.begin() + range.first);
        } else {
            std::fill(starts, starts + 257, 0);
            starts[shared + 1] = range.last - range.first;
            for (uint32_t byte = shared + 1; byte < 256; ++byte)
                starts[byte + 1] = starts[byte];
        }

        uint32_t depth = range.depth + 1;
        bool loadKeys = depth % KEY_BYTES == 0;
        // A zero byte ends the names of its part: they are equal.
        if (starts[1] > 1)
            equalRuns_.emplace_back(range.first, range.first + starts[1]);
        for (int byte = 1; byte < 256; ++byte) {
            if (starts[byte + 1] - starts[byte] > 1)
                pending.push_back({range.first + starts[byte], range.first + starts[byte + 1], depth, loadKeys});
        }
    }

    // Sorts a short range by whole names (keys are not needed) and notes its equal names.
    void sortShort(const Range& range)
    {
        Item* first = items_.data() + range.first;
        Item* last = items_.data() + range.last;
        auto before = [this, &range](const Item& a, const Item& b) {
            int order = compareFrom(names_[a.id], names_[b.id], range.depth);
            return order != 0 ? order < 0 : a.id < b.id;
        };
        std::sort(first, last, before);
        for (Item* run = first; run != last;) {
            Item* end = run + 1;
            while (end != last && compareFrom(names_[run->id], names_[end->id], range.depth) == 0)
                ++end;
            if (end - run > 1)
                equalRuns_.emplace_back(static_cast<uint32_t>(run - items_.data()), static_cast<uint32_t>(end - items_.data()));
            run = end;
        }
    }

    const std::vector<const char*>& names_;
    std::vector<Item>& items_;
    std::vector<Item> spare_;  // where split deals a range
    std::vector<NameRun> equalRuns_;
};

}  // namespace

std::vector<NameRun> sortByName(std::vector<uint32_t>& ids, const std::vector<const char*>& names)
{
    std::vector<Item> items(ids.size());
    for (size_t i = 0; i < ids.size(); ++i)
        items[i] = {keyAt(names[ids[i]], 0), ids[i]};
    std::vector<NameRun> equalRuns = NameSorter(names, items).sort();
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = items[i].id;
    return equalRuns;
}
