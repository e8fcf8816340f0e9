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

int compareIgnoringCase(const char* a, const char* b)
{
    auto fold = [](char c) {
        auto byte = static_cast<unsigned char>(c);
        return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
    };
    for (;; ++a, ++b) {
        int difference = fold(*a) - fold(*b);
        if (difference != 0 || *a == '\0')
            return difference;
    }
}

std::string decimalText(int32_t number)
{
    return std::to_string(number);
}
