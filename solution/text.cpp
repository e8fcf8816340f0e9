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

namespace {

int foldedByte(char c)
{
    auto byte = static_cast<unsigned char>(c);
    return byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
}

}  // namespace

int compareIgnoringCase(std::string_view a, std::string_view b)
{
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        int difference = foldedByte(a[i]) - foldedByte(b[i]);
        if (difference != 0)
            return difference;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareIgnoringCase(a, b) == 0;
}

std::string trimmed(std::string_view text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos)
        return "";
    return std::string(text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1));
}

std::string decimalText(int32_t number)
{
    return std::to_string(number);
}
