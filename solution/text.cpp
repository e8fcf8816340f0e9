#include "solution/text.h"

#include <cctype>

std::string lowerCase(std::string text)
{
    lowerCaseInPlace(text);
    return text;
}

void lowerCaseInPlace(std::string& text)
{
    for (char& c : text)
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
}

std::string decimalText(int32_t number)
{
    return std::to_string(number);
}
