#include "flip/name_sort.h"

#include "solution/text.h"

#include <algorithm>

namespace {

// Ranges this short are sorted by insertion on their keys.
constexpr uint32_t SHORT_RANGE = 32;
// How many bytes of a name an item's key holds: four words, the first byte highest in each.
constexpr uint32_t KEY_WORDS = 4;
constexpr uint32_t KEY_BYTES = 4 * KEY_WORDS;
// How many names ahead the key loop asks the processor to fetch.
constexpr uint32_t PREFETCH_DISTANCE = 8;

}  // namespace

// An id and KEY_BYTES bytes of its name from the depth its range was keyed at, zero bytes past the
// name's end. Words of 32 bits: the product is a 32-bit program.
struct NameSorter::Item {
    uint32_t key[KEY_WORDS];
    uint32_t id;
};

namespace {

using Item = NameSorter::Item;

// Four bytes from p, the first in the high byte.
uint32_t bigEndianWord(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 | p[3];
}

// Reads a word at a time: the bytes after a name's NUL (the next names, the block's padding) are
// read and cleared.
void loadKey(Item& item, const char* name, uint32_t depth)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(name) + depth;
    uint32_t going = ~0u;  // all ones until the name's NUL is met
    for (uint32_t word = 0; word < KEY_WORDS; ++word) {
        uint32_t key = bigEndianWord(bytes + 4 * word) & going;
        uint32_t zeros = zeroBytes(key);
        if (zeros) {
            key &= ~(0xFFFFFFFFu >> __builtin_clz(zeros));  // the bytes before the first zero
            going = 0;
        }
        item.key[word] = key;
    }
}

// The byte of the key at depth (counted from the name's start; keys restart every KEY_BYTES).
uint32_t byteAt(const Item& item, uint32_t depth)
{
    uint32_t offset = depth % KEY_BYTES;
    return item.key[offset / 4] >> (24 - 8 * (offset % 4)) & 0xFF;
}

// How many bytes of the key from depth on, to the key's end or the first name's end, every item
// of the range shares with the first.
uint32_t sharedBytes(const Item* first, const Item* last, uint32_t depth)
{
    uint32_t differing[KEY_WORDS] = {};
    for (const Item* item = first + 1; item < last; ++item) {
        for (uint32_t word = 0; word < KEY_WORDS; ++word)
            differing[word] |= item->key[word] ^ first->key[word];
    }
    uint32_t offset = depth % KEY_BYTES;
    uint32_t shared = 0;
    while (offset + shared < KEY_BYTES) {
        uint32_t at = offset + shared;
        if ((differing[at / 4] >> (24 - 8 * (at % 4)) & 0xFF) || byteAt(*first, at) == 0)
            break;
        ++shared;
    }
    return shared;
}

struct Range {
    uint32_t first;
    uint32_t last;
    uint32_t depth;  // the byte of the names the range is split by
    bool inSpare;    // its items lie in the spare buffer, at the same positions
};

class RadixSort {
public:
    // items holds an item per name to sort, keyed from the first byte; spare as many of any value.
    RadixSort(const std::vector<const char*>& names, std::vector<Item>& items, std::vector<Item>& spare)
        : names_(names), items_(items), spare_(spare)
    {
    }

    // Radix sort from the most significant byte: a range is dealt into 256 parts by one byte of
    // its names, taken from the keys beside the ids, and each part is sorted by the next byte; the
    // names themselves are read again only every KEY_BYTES bytes. Dealing keeps the order of the
    // items within a part, so equal names stay in the order of their ids. A stack of its own
    // rather than recursion.
    std::vector<NameRun> sort()
    {
        std::vector<Range> pending;
        if (items_.size() > 1)
            pending.push_back({0, static_cast<uint32_t>(items_.size()), 0, false});
        while (!pending.empty()) {
            Range range = pending.back();
            pending.pop_back();
            if (range.depth % KEY_BYTES == 0 && range.depth > 0)
                loadKeys(range);
            if (range.last - range.first <= SHORT_RANGE) {
                sortShort(range, pending);
            } else {
                split(range, pending);
            }
        }
        return equalRuns_;
    }

private:
    Item* itemsOf(const Range& range) { return (range.inSpare ? spare_ : items_).data() + range.first; }

    // Moves the items of a range that is sorted to their place in items_.
    void settle(const Range& range)
    {
        if (range.inSpare)
            std::copy(spare_.begin() + range.first, spare_.begin() + range.last, items_.begin() + range.first);
    }

    void loadKeys(const Range& range)
    {
        Item* items = itemsOf(range);
        const uint32_t count = range.last - range.first;
        for (uint32_t i = 0; i < count; ++i) {
            // The names of a range lie all over: ask for one a few steps ahead while this one loads.
            if (i + PREFETCH_DISTANCE < count)
                __builtin_prefetch(names_[items[i + PREFETCH_DISTANCE].id] + range.depth);
            loadKey(items[i], names_[items[i].id], range.depth);
        }
    }

    // Deals the range into parts by the byte at its depth, keeping the order within each part:
    // from the buffer its items lie in to the other one, where the parts are sorted further.
    void split(const Range& range, std::vector<Range>& pending)
    {
        const uint32_t depth = range.depth;
        Item* items = itemsOf(range);
        const uint32_t count = range.last - range.first;
        // Counted at starts[byte + 1]; names use few byte values, so the loops over the counts
        // run from the lowest byte seen to the highest only.
        uint32_t starts[257] = {};
        uint32_t lowest = 255;
        uint32_t highest = 0;
        for (uint32_t i = 0; i < count; ++i) {
            uint32_t byte = byteAt(items[i], depth);
            ++starts[byte + 1];
            lowest = std::min(lowest, byte);
            highest = std::max(highest, byte);
        }
        // Names that all share the byte (a common prefix) need no dealing: the range goes on
        // past every byte of the key they share.
        if (lowest == highest) {
            if (lowest == 0) {
                equalRuns_.emplace_back(range.first, range.last);
                settle(range);
            } else {
                pending.push_back({range.first, range.last, depth + sharedBytes(items, items + count, depth), range.inSpare});
            }
            return;
        }
        for (uint32_t byte = lowest; byte <= highest; ++byte)
            starts[byte + 1] += starts[byte];
        uint32_t next[256];
        std::copy(starts + lowest, starts + highest + 1, next + lowest);
        Range dealt = {range.first, range.last, depth + 1, !range.inSpare};
        Item* to = itemsOf(dealt);
        for (uint32_t i = 0; i < count; ++i) {
            const Item& item = items[i];
            to[next[byteAt(item, depth)]++] = item;
        }

        for (uint32_t byte = lowest; byte <= highest; ++byte) {
            Range part = {range.first + starts[byte], range.first + starts[byte + 1], depth + 1, dealt.inSpare};
            if (part.last - part.first > 1 && byte > 0) {
                pending.push_back(part);
                continue;
            }
            // A single name is in its place; a zero byte ends the names of its part: they are equal.
            if (part.last - part.first > 1)
                equalRuns_.emplace_back(part.first, part.last);
            settle(part);
        }
    }

    // Orders two items of a range whose names agree before depth by the rest of their keys.
    static int compareKeys(const Item& a, const Item& b, uint32_t depth)
    {
        for (uint32_t word = depth % KEY_BYTES / 4; word < KEY_WORDS; ++word) {
            if (a.key[word] != b.key[word])
                return a.key[word] < b.key[word] ? -1 : 1;
        }
        return 0;
    }

    // Sorts a short range by insertion on the keys, which keeps equal names in their order. Items
    // whose keys are equal have equal names when the names end within the key (a zero last byte);
    // else they go back on the stack from the next key on, rather than each comparison chasing
    // the names themselves, which lie all over memory.
    void sortShort(const Range& range, std::vector<Range>& pending)
    {
        Item* first = itemsOf(range);
        Item* last = first + (range.last - range.first);
        for (Item* next = first + 1; next < last; ++next) {
            Item item = *next;
            Item* place = next;
            for (; place > first && compareKeys(item, place[-1], range.depth) < 0; --place)
                *place = place[-1];
            *place = item;
        }
        const uint32_t nextKey = range.depth - range.depth % KEY_BYTES + KEY_BYTES;
        for (Item* run = first; run != last;) {
            Item* end = run + 1;
            while (end != last && compareKeys(*run, *end, range.depth) == 0)
                ++end;
            if (end - run > 1) {
                uint32_t from = range.first + static_cast<uint32_t>(run - first);
                uint32_t to = range.first + static_cast<uint32_t>(end - first);
                if ((run->key[KEY_WORDS - 1] & 0xFF) == 0)
                    equalRuns_.emplace_back(from, to);
                else
                    pending.push_back({from, to, nextKey, false});  // sorted further once settled
            }
            run = end;
        }
        settle(range);
    }

    const std::vector<const char*>& names_;
    std::vector<Item>& items_;
    std::vector<Item>& spare_;  // where split deals a range
    std::vector<NameRun> equalRuns_;
};

}  // namespace

NameSorter::NameSorter() = default;
NameSorter::~NameSorter() = default;

std::vector<NameRun> NameSorter::sort(std::vector<uint32_t>& ids, const std::vector<const char*>& names)
{
    // Sized, not made anew: the room of earlier sorts is used again.
    items_.resize(ids.size());
    spare_.resize(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        if (i + PREFETCH_DISTANCE < ids.size())
            __builtin_prefetch(names[ids[i + PREFETCH_DISTANCE]]);
        items_[i].id = ids[i];
        loadKey(items_[i], names[ids[i]], 0);
    }
    std::vector<NameRun> equalRuns = RadixSort(names, items_, spare_).sort();
    for (size_t i = 0; i < ids.size(); ++i)
        ids[i] = items_[i].id;
    return equalRuns;
}
