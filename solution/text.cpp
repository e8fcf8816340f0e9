#include "solution/text.h"

#include <algorithm>
#include <cstring>

#include <emmintrin.h>

namespace {

char lowerCaseByte(char c)
{
    return static_cast<char>(foldCase(static_cast<unsigned char>(c)));
}

constexpr uint32_t TOP_BITS = 0x80 * EACH_BYTE;
constexpr uint32_t LOW_BITS = 0x7F * EACH_BYTE;

// Four bytes at once: a byte's top bit is set where adding to its low seven bits reaches 0x80, and
// no sum carries into the next byte.
uint32_t lowerCaseWord(uint32_t word)
{
    uint32_t low = word & LOW_BITS;
    uint32_t fromA = low + (0x80 - 'A') * EACH_BYTE;
    uint32_t beyondZ = low + (0x80 - 'Z' - 1) * EACH_BYTE;
    uint32_t upper = fromA & ~beyondZ & ~word & TOP_BITS;
    return word | upper >> 2;  // 0x20, the case bit, in every upper-case letter
}

// zeroBytes(word) | zeroBytes(word ^ firsts) | zeroBytes(word ^ seconds) is not 0, for bytes of
// firsts and seconds below 128: the three tests share the low seven bits of word and its top bits,
// some six operations fewer per word of a million names.
bool holdsZeroOrEither(uint32_t word, uint32_t firsts, uint32_t seconds)
{
    uint32_t low = word & LOW_BITS;
    uint32_t allNonZero = (low + LOW_BITS) & ((low ^ firsts) + LOW_BITS) & ((low ^ seconds) + LOW_BITS);
    return (~(allNonZero | word) & TOP_BITS) != 0;
}

// copyBytes' sixteen-byte blocks from the start, with SSE2; returns how many bytes they took.
__attribute__((target("sse2"))) size_t copyBlocks(char* to, const char* from, size_t length)
{
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), bytes);
    }
    return i;
}

// Sixteen bytes with "A" to "Z" lowered, with SSE2.
__attribute__((target("sse2"))) __m128i lowerCaseBlock(__m128i bytes)
{
    // Bytes compare as signed values here: those above 127 are negative, below "A".
    __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(bytes, _mm_set1_epi8('A' - 1)),
                                  _mm_cmplt_epi8(bytes, _mm_set1_epi8('Z' + 1)));
    return _mm_or_si128(bytes, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
}

// lowerCaseCopy's sixteen-byte blocks from the start, with SSE2; returns how many bytes they took.
__attribute__((target("sse2"))) size_t lowerCaseBlocks(char* to, const char* from, size_t length)
{
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), lowerCaseBlock(bytes));
    }
    return i;
}

// lowerCaseCopyWithout's sixteen-byte blocks from the start, with SSE2: false at the first block
// that holds a NUL, first or second; else true, and done is how many bytes they took.
__attribute__((target("sse2"))) bool lowerCaseBlocksWithout(char* to, const char* from, size_t length, char first,
                                                            char second, size_t& done)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i firsts = _mm_set1_epi8(first);
    const __m128i seconds = _mm_set1_epi8(second);
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        __m128i stops = _mm_or_si128(_mm_cmpeq_epi8(bytes, zero),
                                     _mm_or_si128(_mm_cmpeq_epi8(bytes, firsts), _mm_cmpeq_epi8(bytes, seconds)));
        if (_mm_movemask_epi8(stops) != 0)
            return false;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), lowerCaseBlock(bytes));
    }
    done = i;
    return true;
}

// plainSpan's sixteen-byte blocks from the start, with SSE2: the place of the first byte to stop at
// in them, else how many bytes they took.
__attribute__((target("sse2"))) size_t plainBlocks(const char* text, size_t length, char first, char second,
                                                   char third)
{
    const __m128i firsts = _mm_set1_epi8(first);
    const __m128i seconds = _mm_set1_epi8(second);
    const __m128i thirds = _mm_set1_epi8(third);
    size_t i = 0;
    for (; i + 16 <= length; i += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + i));
        __m128i stops = _mm_or_si128(_mm_cmpeq_epi8(bytes, firsts),
                                     _mm_or_si128(_mm_cmpeq_epi8(bytes, seconds), _mm_cmpeq_epi8(bytes, thirds)));
        // A byte above 127 has its top bit set as it stands.
        int mask = _mm_movemask_epi8(_mm_or_si128(stops, bytes));
        if (mask != 0)
            return i + static_cast<size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
    }
    return i;
}

}  // namespace

std::string lowerCase(std::string text)
{
    lowerCaseInPlace(text);
    return text;
}

void lowerCaseInPlace(std::string& text)
{
    lowerCaseCopy(&text[0], text.data(), text.size());
}

void copyBytes(char* to, const char* from, size_t length)
{
    if (length < 4) {
        for (size_t i = 0; i < length; ++i)
            to[i] = from[i];
        return;
    }
    size_t i = length >= 16 && hasSse2() ? copyBlocks(to, from, length) : 0;
    for (; i + 4 <= length; i += 4)
        memcpy(to + i, from + i, 4);
    // The last four bytes, over bytes done already when the length is no multiple of four: no
    // byte-wise tail, whose varying length costs a mispredicted branch per text.
    memcpy(to + length - 4, from + length - 4, 4);
}

void lowerCaseCopy(char* to, const char* from, size_t length)
{
    if (length < 4) {
        for (size_t i = 0; i < length; ++i)
            to[i] = lowerCaseByte(from[i]);
        return;
    }
    size_t i = length >= 16 && hasSse2() ? lowerCaseBlocks(to, from, length) : 0;
    if (i == length)
        return;
    // The last word is the last four bytes, as in copyBytes; lowering a byte twice changes nothing
    // where to is from.
    for (i = std::min(i, length - 4);; i = std::min(i + 4, length - 4)) {
        uint32_t word;
        memcpy(&word, from + i, 4);
        word = lowerCaseWord(word);
        memcpy(to + i, &word, 4);
        if (i + 4 >= length)
            return;
    }
}

bool lowerCaseCopyWithout(char* to, const char* from, size_t length, char first, char second)
{
    if (length < 4) {
        for (size_t i = 0; i < length; ++i) {
            char c = from[i];
            if (c == '\0' || c == first || c == second)
                return false;
            to[i] = lowerCaseByte(c);
        }
        return true;
    }
    size_t i = 0;
    if (length >= 16 && hasSse2()) {
        if (!lowerCaseBlocksWithout(to, from, length, first, second, i))
            return false;
        if (i == length)
            return true;
        i = std::min(i, length - 4);
    }
    const uint32_t firsts = static_cast<unsigned char>(first) * EACH_BYTE;
    const uint32_t seconds = static_cast<unsigned char>(second) * EACH_BYTE;
    // The last word is the last four bytes, over bytes done already when the length is no
    // multiple of four: no byte-wise tail, whose varying length costs a mispredicted branch per text.
    for (;; i = std::min(i + 4, length - 4)) {
        uint32_t word;
        memcpy(&word, from + i, 4);
        if (holdsZeroOrEither(word, firsts, seconds))
            return false;
        word = lowerCaseWord(word);
        memcpy(to + i, &word, 4);
        if (i + 4 >= length)
            return true;
    }
}

bool containsEitherByte(const char* text, size_t length, char first, char second)
{
    const uint32_t firsts = static_cast<unsigned char>(first) * EACH_BYTE;
    const uint32_t seconds = static_cast<unsigned char>(second) * EACH_BYTE;
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint32_t word;
        memcpy(&word, text + i, 4);
        if (zeroBytes(word ^ firsts) != 0 || zeroBytes(word ^ seconds) != 0)
            return true;
    }
    for (; i < length; ++i) {
        if (text[i] == first || text[i] == second)
            return true;
    }
    return false;
}

size_t plainSpan(const char* text, size_t length, char first, char second, char third)
{
    const uint32_t firsts = static_cast<unsigned char>(first) * EACH_BYTE;
    const uint32_t seconds = static_cast<unsigned char>(second) * EACH_BYTE;
    const uint32_t thirds = static_cast<unsigned char>(third) * EACH_BYTE;
    // Block by block, then word by word up to the first word that holds a byte to stop at, then
    // byte by byte in it. Where the blocks found that byte, the loops stop at it at once.
    size_t i = length >= 16 && hasSse2() ? plainBlocks(text, length, first, second, third) : 0;
    for (; i + 4 <= length; i += 4) {
        uint32_t word;
        memcpy(&word, text + i, 4);
        if ((word & TOP_BITS) != 0 || zeroBytes(word ^ firsts) != 0 || zeroBytes(word ^ seconds) != 0 ||
            zeroBytes(word ^ thirds) != 0)
            break;
    }
    for (; i < length; ++i) {
        char c = text[i];
        if (static_cast<unsigned char>(c) >= 0x80 || c == first || c == second || c == third)
            break;
    }
    return i;
}

size_t lowerCaseToNul(char* text, size_t length)
{
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        uint32_t word;
        memcpy(&word, text + i, 4);
        if (zeroBytes(word) != 0)
            break;
        word = lowerCaseWord(word);
        memcpy(text + i, &word, 4);
    }
    for (; i < length && text[i] != '\0'; ++i)
        text[i] = lowerCaseByte(text[i]);
    return i;
}

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int difference = foldCase(static_cast<unsigned char>(a[i])) - foldCase(static_cast<unsigned char>(b[i]));
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareIgnoringCase(a, b) == 0;
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && equalsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string trimmed(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return "";
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

std::string decimalText(int32_t number)
{
    return std::to_string(number);
}
