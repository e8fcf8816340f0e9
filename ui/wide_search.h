#ifndef QUORLAN_UI_WIDE_SEARCH_H
#define QUORLAN_UI_WIDE_SEARCH_H

// Finding a byte pattern sixteen text positions at a time, with the SSE2 instructions that every
// processor of the last twenty years has (the program asks before it uses them).
//
// Each step compares sixteen bytes with the pattern's first byte and the sixteen bytes a pattern
// length further on with its last byte; only where both match are the bytes between compared. In
// text like file names that leaves a few candidates per thousand bytes, where a byte-by-byte
// search with a skip table, shifted by little in such short-worded text, looks at every other byte.

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
    // Sixteen windows start at block; the last of them ends patternLength + 14 bytes on.
    const char* block = text;
    while (end - block >= static_cast<ptrdiff_t>(patternLength + 15)) {
        __m128i starts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block));
        __m128i ends = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + patternLength - 1));
        auto candidates = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(starts, first), _mm_cmpeq_epi8(ends, last))));
        const char* next = block + 16;
        while (candidates != 0) {
            const char* candidate = block + __builtin_ctz(candidates);
            candidates &= candidates - 1;
            if (!middleMatches(pattern, patternLength, candidate))
                continue;
            next = found(candidate);
            if (next >= block + 16)
                break;
            // The search goes on within this block: candidates before that point are dropped.
            candidates &= ~0u << (next - block);
            next = block + 16;
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
