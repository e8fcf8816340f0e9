#ifndef QUORLAN_FLIP_NAME_KINDS_H
#define QUORLAN_FLIP_NAME_KINDS_H

// What kinds of bytes a folded file name holds, one word a name. The first key typed in the
// open-file window is a single byte, most often a letter that most names hold; a word per name
// tells which names hold it without searching a million of them.
//
// Each lower-case letter and each of ". _ - space" has a bit of its own. The digits share one bit
// and every other byte shares the last: a name whose word has a shared bit holds some byte of that
// kind, and its text tells which.

#include <array>
#include <cstddef>
#include <cstdint>

constexpr uint32_t DIGIT_KIND = 1u << 30;
constexpr uint32_t OTHER_KIND = 1u << 31;

constexpr std::array<uint32_t, 256> byteKindBits()
{
    std::array<uint32_t, 256> bits{};
    for (int c = 0; c < 256; ++c)
        bits[c] = OTHER_KIND;
    for (int c = 'a'; c <= 'z'; ++c)
        bits[c] = 1u << (c - 'a');
    bits['.'] = 1u << 26;
    bits['_'] = 1u << 27;
    bits['-'] = 1u << 28;
    bits[' '] = 1u << 29;
    for (int c = '0'; c <= '9'; ++c)
        bits[c] = DIGIT_KIND;
    return bits;
}

constexpr std::array<uint32_t, 256> BYTE_KIND_BITS = byteKindBits();

// The bit of the byte's kind.
inline uint32_t byteKindBit(unsigned char c)
{
    return BYTE_KIND_BITS[c];
}

// Whether the byte's bit is its own: a name whose word has it holds the byte.
inline bool hasOwnKindBit(unsigned char c)
{
    return byteKindBit(c) != DIGIT_KIND && byteKindBit(c) != OTHER_KIND;
}

// The kinds word of the length bytes of name.
inline uint32_t nameKindsOf(const char* name, size_t length)
{
    // Four bytes a step into four words: the table's loads need not wait for one another.
    const auto* bytes = reinterpret_cast<const unsigned char*>(name);
    uint32_t kinds[4] = {};
    size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        kinds[0] |= BYTE_KIND_BITS[bytes[i]];
        kinds[1] |= BYTE_KIND_BITS[bytes[i + 1]];
        kinds[2] |= BYTE_KIND_BITS[bytes[i + 2]];
        kinds[3] |= BYTE_KIND_BITS[bytes[i + 3]];
    }
    for (; i < length; ++i)
        kinds[0] |= BYTE_KIND_BITS[bytes[i]];
    return kinds[0] | kinds[1] | kinds[2] | kinds[3];
}

#endif
