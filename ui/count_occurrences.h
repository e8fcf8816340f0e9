#ifndef QUORLAN_UI_COUNT_OCCURRENCES_H
#define QUORLAN_UI_COUNT_OCCURRENCES_H

// Counting the occurrences of a byte pattern in a text, overlapping ones included ("aa" occurs
// three times in "aaaa"); bytes are compared exactly.
//
// Each window of the text is first tested on its last byte; a mismatch skips by the byte just
// after the window (a bad-character table), so most windows of a file name cost one comparison.
// A window whose last byte matches is compared from the left and the next window is found with
// the Knuth-Morris-Pratt shift. The shift table is sized to the pattern: any length is searched.

#include <cstdint>
#include <string>
#include <vector>

// The tables of one pattern, made once and used on many texts.
class OccurrenceCounter {
public:
    // pattern holds patternLength bytes (NUL bytes allowed); it is copied.
    OccurrenceCounter(const char* pattern, int32_t patternLength);

    // The number of occurrences in the textLength bytes of text, which must be followed by one
    // more readable byte (the terminating NUL of a C string). 0 for an empty pattern.
    int32_t count(const char* text, int32_t textLength) const;

    // The first occurrence that lies wholly in [text, end), end being readable; null when there
    // is none, and for an empty pattern.
    const char* find(const char* text, const char* end) const;

private:
    std::string pattern_;
    int32_t skip_[256];
    std::vector<int32_t> next_;
};

// OccurrenceCounter(pattern, patternLength).count(text, textLength).
int32_t countOccurrences(const char* pattern, int32_t patternLength, const char* text, int32_t textLength);

#endif
