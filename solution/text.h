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

// The decimal text of a number, without digit grouping.
std::string decimalText(int32_t number);

#endif
