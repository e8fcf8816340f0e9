#include "solution/item_path_joiner.h"

#include "solution/path.h"
#include "solution/text.h"

#include <emmintrin.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// The longest path the shell's functions make, terminator excluded.
constexpr size_t LONGEST_PATH = 259;

// What a byte is to a plain name: a byte above 127, ':' or '\\' never belongs to one, and a dot
// only when no dot follows it. A table: one look-up per byte of every item's name.
enum NameByte : unsigned char { PLAIN, NEVER, DOT };

constexpr std::array<unsigned char, 256> nameBytes()
{
    std::array<unsigned char, 256> bytes{};
    for (int c = 0x80; c < 256; ++c)
        bytes[c] = NEVER;
    bytes[':'] = NEVER;
    bytes['\\'] = NEVER;
    bytes['.'] = DOT;
    return bytes;
}

constexpr std::array<unsigned char, 256> NAME_BYTES = nameBytes();

// isPlainName's test of the sixteen-byte blocks from the start, with SSE2; sets end past them. Like
// the bytes' loop, it reads the byte after the last: a dot there ends no plain name either.
__attribute__((target("sse2"))) bool plainNameBlocks(const char* name, size_t length, size_t& end)
{
    const __m128i colon = _mm_set1_epi8(':');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i dot = _mm_set1_epi8('.');
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name + i));
        __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(name + i + 1));
        __m128i never = _mm_or_si128(_mm_cmpeq_epi8(bytes, colon), _mm_cmpeq_epi8(bytes, backslash));
        __m128i dots = _mm_and_si128(_mm_cmpeq_epi8(bytes, dot), _mm_cmpeq_epi8(after, dot));
        // A byte above 127 has its top bit set as it stands.
        if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(never, dots), bytes)) != 0)
            return false;
    }
    end = i;
    return true;
}

bool isPlainName(const char* name, size_t length)
{
    // The shell also takes a segment that merely begins with ".." for a step up.
    if (length == 0 || name[0] == '.' || name[length - 1] == '.' || name[length - 1] == ' ')
        return false;
    size_t i = 0;
    if (hasSse2() && !plainNameBlocks(name, length, i))
        return false;
    for (; i < length; ++i) {
        unsigned char kind = NAME_BYTES[static_cast<unsigned char>(name[i])];
        if (kind != PLAIN && (kind == NEVER || name[i + 1] == '.'))  // one test for most bytes
            return false;
    }
    return true;
}

}  // namespace

bool ItemPathJoiner::startsWithLastPart(std::string_view value) const
{
    // Four bytes at a time rather than the runtime's memcmp, whose call costs more than these few.
    size_t length = lastPart_.size();
    if (value.size() < length)
        return false;
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint32_t word;
        uint32_t lastWord;
        memcpy(&word, value.data() + i, 4);
        memcpy(&lastWord, lastPart_.data() + i, 4);
        if (word != lastWord)
            return false;
    }
    for (; i < length; ++i) {
        if (value[i] != lastPart_[i])
            return false;
    }
    return true;
}

const std::string* ItemPathJoiner::folderOf(std::string_view value, size_t& nameStart)
{
    // Joined, the folder and the value fit the limit with room to spare: no join fails for length.
    if (folder_.size() + value.size() + 2 >= LONGEST_PATH)
        return nullptr;
    // Items come folder by folder: most values are the part met last and a name. (A plain name
    // holds no backslash: the part is all that comes before it.)
    if (lastPrefix_ && startsWithLastPart(value)) {
        nameStart = lastPart_.size();
        if (isPlainName(value.data() + nameStart, value.size() - nameStart))
            return lastPrefix_->empty() ? nullptr : lastPrefix_;
    }

    nameStart = value.size();
    while (nameStart > 0 && value[nameStart - 1] != '\\')
        --nameStart;
    if (!isPlainName(value.data() + nameStart, value.size() - nameStart))
        return nullptr;
    lastPart_.assign(value.data(), nameStart);
    auto found = prefixes_.find(lastPart_);
    if (found == prefixes_.end()) {
        std::string joined = appendPath(folder_, lastPart_ + "x");
        bool endsInName = joined.size() >= 3 && joined.compare(joined.size() - 2, 2, "\\x") == 0 &&
                          joined[joined.size() - 3] != '\\';
        joined.resize(endsInName ? joined.size() - 2 : 0);
        found = prefixes_.emplace(lastPart_, std::move(joined)).first;
    }
    lastPrefix_ = &found->second;
    return lastPrefix_->empty() ? nullptr : lastPrefix_;
}

const std::string& ItemPathJoiner::join(const std::string& value)
{
    size_t nameStart;
    const std::string* folder = folderOf(value, nameStart);
    if (!folder)
        return joined_ = appendPath(folder_, value);
    return joined_.assign(*folder).append(1, '\\').append(value, nameStart, std::string::npos);
}

bool ItemPathJoiner::joinSplit(std::string_view value, const std::string*& folder, size_t& nameStart)
{
    folder = folderOf(value, nameStart);
    return folder != nullptr;
}
