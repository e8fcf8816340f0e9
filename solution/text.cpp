#include "solution/text.h"

std::string lowerCase(std::string text)
{
    lowerCaseInPlace(text);
    return text;
}

void lowerCaseInPlace(std::string& text)
{
    // What tolower does in the "C" locale, which the program never leaves, without a call per byte.
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
}

std::string decimalText(int32_t number)
{
    return std::to_string(number);
}
