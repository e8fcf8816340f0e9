#include "flip/name_sort.h"

#include <algorithm>

namespace {

// Ranges this short are sorted by comparing whole names.
constexpr uint32_t SHORT_RANGE = 12;
// How many names ahead the key loop asks the processor to fetch.
constexpr uint32_t PREFETCH_DISTANCE = 8;

// Four folded bytes of name from depth on, the first in the high byte; zero bytes past its end.
// depth is at most the name's length.
uint32_t keyAt(const char* name, uint32_t depth)
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
    uint32_t key;  // four bytes of the name from the range's depth on
    uint32_t id;
};

struct Range {
    uint32_t first;
    uint32_t last;
    uint32_t depth;
};

class NameSorter {
public:
    NameSorter(const std::vector<const char*>& names, std::vector<Item>& items) : names_(names), items_(items) {}

    // Multikey quicksort (Bentley and Sedgewick) over four bytes at a time: a range is split by a
    // pivot key into smaller, equal and greater keys, and only the equal part reads its names four
    // bytes further on. A stack of its own rather than recursion.
    std::vector<NameRun> sort()
    {
        std::vector<Range> pending = {{0, static_cast<uint32_t>(items_.size()), 0}};
        while (!pending.empty()) {
            Range range = pending.back();
            pending.pop_back();
            if (range.last - range.first <= SHORT_RANGE)
                sortShort(range);
            else
                split(range, pending);
        }
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

    uint32_t pivotOf(const Range& range) const
    {
        uint32_t a = items_[range.first].key;
        uint32_t b = items_[range.first + (range.last - range.first) / 2].key;
        uint32_t c = items_[range.last - 1].key;
        return std::max(std::min(a, b), std::min(std::max(a, b), c));
    }

    // The range's keys are loaded for its depth.
    void split(const Range& range, std::vector<Range>& pending)
    {
        uint32_t pivot = pivotOf(range);
        // [first, less) < pivot, [less, i) == pivot, [greater, last) > pivot.
        uint32_t less = range.first;
        uint32_t greater = range.last;
        for (uint32_t i = range.first; i < greater;) {
            if (items_[i].key < pivot)
                std::swap(items_[less++], items_[i++]);
            else if (items_[i].key > pivot)
                std::swap(items_[i], items_[--greater]);
            else
                ++i;
        }
        pending.push_back({greater, range.last, range.depth});
        Range equal = {less, greater, range.depth + 4};
        if (endsName(pivot))
            finishEqualNames(equal);
        else if (equal.last - equal.first > 1) {
            loadKeys(equal);
            pending.push_back(equal);
        }
        pending.push_back({range.first, less, range.depth});
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

    // Equal names: in the order of their ids.
    void finishEqualNames(const Range& range)
    {
        if (range.last - range.first < 2)
            return;
        std::sort(items_.begin() + range.first, items_.begin() + range.last,
                  [](const Item& a, const Item& b) { return a.id < b.id; });
        equalRuns_.emplace_back(range.first, range.last);
    }

    const std::vector<const char*>& names_;
    std::vector<Item>& items_;
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
