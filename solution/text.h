#ifndef QUORLAN_SOLUTION_TEXT_H
#define QUORLAN_SOLUTION_TEXT_H

// Text functions over 8-bit strings, independent of the user's locale.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// "A" to "Z" to lower case, every other byte as it is: tolower in the "C" locale, which the program
// never leaves, and the folding of _stricmp there; without a call per byte.
inline unsigned char foldCase(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

// Whether the processor runs SSE2 instructions. Every processor of the last twenty years does, but a
// 32-bit program asks before it uses them; the processor is asked once.
inline bool hasSse2()
{
    static const bool has = __builtin_cpu_supports("sse2");
    return has;
}

// A byte value in each of the four bytes of a word: c * EACH_BYTE.
constexpr uint32_t EACH_BYTE = 0x01010101u;

// The top bit of every zero byte among the four bytes of word, and of no other byte (adding to the
// low seven bits of a byte never carries into the next).
inline uint32_t zeroBytes(uint32_t word)
{
    return ~(((word & 0x7F7F7F7Fu) + 0x7F7F7F7Fu) | word) & 0x80808080u;
}

// Nonzero when some byte of word is zero; cheaper than zeroBytes where only whether matters (the
// borrow out of a zero byte may mark the byte above it too).
inline uint32_t anyZeroByte(uint32_t word)
{
    return (word - EACH_BYTE) & ~word & 0x80808080u;
}

// A copy with "A" to "Z" turned into "a" to "z"; every other byte unchanged (tolower in the
// "C" locale).
std::string lowerCase(std::string text);
// lowerCase in the string itself, reusing its buffer.
void lowerCaseInPlace(std::string& text);
// Copies length bytes to a distinct place, sixteen at a time where the processor has SSE2, then four
// at a time: for the short texts of file names, a million of them at a start, cheaper than a call
// of the runtime's memcpy.
void copyBytes(char* to, const char* from, size_t length);
// Copies length bytes to to (which may be from itself), "A" to "Z" lowered, sixteen at a time
// where the processor has SSE2, then four at a time.
void lowerCaseCopy(char* to, const char* from, size_t length);
// Whether first or second is among the length bytes of text, looked for four bytes at a time.
bool containsEitherByte(const char* text, size_t length, char first, char second);
// How many of the length bytes of text, from its start, are below 128 and none of the three; looked
// at sixteen bytes at a time where the processor has SSE2, then four at a time.
size_t plainSpan(const char* text, size_t length, char first, char second, char third);
// lowerCaseCopy of length bytes from from to to (distinct places), false when they hold a NUL,
// first or second (both below 128): checked in the same pass, sixteen bytes at a time where the
// processor has SSE2, then four at a time. What was copied is then of no use.
bool lowerCaseCopyWithout(char* to, const char* from, size_t length, char first, char second);
// Lowers "A" to "Z" in the length bytes of text up to its first NUL, if it holds one; returns how
// many bytes come before that NUL (length when there is none).
size_t lowerCaseToNul(char* text, size_t length);

// Compares as _stricmp does in the "C" locale on Windows: bytes as unsigned values after folding
// "A" to "Z" to lower case (Wine's runtime compares them signed). Negative, zero or positive.
int compareIgnoringCase(std::string_view a, std::string_view b);
// a and b are equal but for the case of ASCII letters.
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// text ends in suffix, but for the case of ASCII letters.
bool endsWithIgnoringCase(std::string_view text, std::string_view suffix);

// The text without the spaces, tabs and line ends around it.
std::string trimmed(std::string_view text);

// The decimal text of a number, without digit grouping.
std::string decimalText(int32_t number);

#endif
