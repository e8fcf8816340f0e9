#include "solution/load_report.h"

#include <cstdio>

std::string formatText(const char* format, va_list arguments)
{
    va_list measuring;
    va_copy(measuring, arguments);
    int length = vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0)
        return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    vsnprintf(&text[0], text.size(), format, arguments);
    text.resize(static_cast<size_t>(length));
    return text;
}
