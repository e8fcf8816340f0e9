#ifndef QUORLAN_UI_WIDE_SEARCH_H
#define QUORLAN_UI_WIDE_SEARCH_H

// Finding a byte pattern thirty-two text positions at a time, with the SSE2 instructions that
// every processor of the last twenty years has (the program asks before it uses them).
//
// Each step compares thirty-two bytes with the pattern's first byte and the thirty-two bytes a
// pattern length further on with its last byte, sixteen at a time; only where both match are the
// bytes between compared. In text like file names that leaves a few candidates per thousand bytes,
// where a byte-by-byte search with a skip table, shifted by little in such short-worded text, looks
// at every other byte. A step covers more than a name, so that the occurrences of a pattern most
// names hold are mostly taken within one step.

#include <emmintrin.h>

#include <cstddef>

// Whether the processor has the instructions the searches below need.
bool hasWideSearch();

// Whether the pattern's bytes between its first and its last are at candidate.
inline bool middleMatches(const char* pattern, size_t patternLength, const char* candidate)
{
    for (size_t i = 1; i + 1 < patternLength; ++i) {
        if (candidate[i] != pattern[i])
            return false;
    }
    return true;
}

// A bit for each of the sixteen windows from block on whose first and last bytes are the
// pattern's first and last (each repeated sixteen times in first and last).
__attribute__((target("sse2"), always_inline)) inline unsigned candidatesAt(const char* block, size_t patternLength,
                                                                           __m128i first, __m128i last)
{
    __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
    __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + patternLength - 1));
    __m128i both = _mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last));
    return static_cast<unsigned>(_mm_movemask_epi8(both));
}

// Calls found(occurrence) for the occurrences of the patternLength bytes of pattern (one or more)
// that lie wholly in [text, end), in order; found returns where the search goes on, after the
// occurrence (end to stop). Reads no byte outside [text, end). Only when hasWideSearch() is true.
// Always inlined: the caller's state then stays in registers across the calls of found.
template <typename Found>
__attribute__((target("sse2"), always_inline)) inline void scanWide(const char* pattern, size_t patternLength,
                                                                    const char* text, const char* end, Found&& found)
{
    const __m128i first = _mm_set1_epi8(pattern[0]);
    const __m128i last = _mm_set1_epi8(pattern[patternLength - 1]);
    // Thirty-two windows start at block, in two halves; the last of them ends patternLength + 30
    // bytes on.
    const char* block = text;
    while (end - block >= static_cast<ptrdiff_t>(patternLength + 31)) {
        unsigned candidates = candidatesAt(block, patternLength, first, last) |
                              candidatesAt(block + 16, patternLength, first, last) << 16;
        const char* next = block + 32;
        while (candidates != 0) {
            const char* candidate = block + __builtin_ctz(candidates);
            candidates &= candidates - 1;
            if (!middleMatches(pattern, patternLength, candidate))
                continue;
            next = found(candidate);
            if (next >= block + 32)
                break;
            // The search goes on within this step: candidates before that point are dropped.
            candidates &= ~0u << (next - block);
            next = block + 32;
        }
        block = next;
    }
    while (end - block >= static_cast<ptrdiff_t>(patternLength)) {
        if (block[0] == pattern[0] && block[patternLength - 1] == pattern[patternLength - 1] &&
            middleMatches(pattern, patternLength, block))
            block = found(block);
        else
            ++block;
    }
}

#endif
