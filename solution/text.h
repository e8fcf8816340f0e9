#ifndef QUORLAN_SOLUTION_TEXT_H
#define QUORLAN_SOLUTION_TEXT_H

// Text functions over 8-bit strings, independent of the user's locale.

#include <cstdint>
#include <string>

// A copy with "A" to "Z" turned into "a" to "z"; every other byte unchanged (tolower in the
// "C" locale).
std::string lowerCase(std::string text);
// lowerCase in the string itself, reusing its buffer.
void lowerCaseInPlace(std::string& text);

// Compares as _stricmp does in the "C" locale on Windows: "A" to "Z" folded to lower case, then
// bytes compared as unsigned values (Wine's runtime compares them signed); negative, 0 or positive.
int compareIgnoringCase(const char* a, const char* b);

// The decimal text of a number, without digit grouping.
std::string decimalText(int32_t number);

#endif
