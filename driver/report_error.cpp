#include "driver/report_error.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

const char* defaultCaption = nullptr;
HWND messageOwner = nullptr;

namespace {

MessageBoxFunction showMessageBox = MessageBoxA;

}  // namespace

MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function)
{
    MessageBoxFunction previous = showMessageBox;
    showMessageBox = function ? function : MessageBoxA;
    return previous;
}

void reportError(const char* caption, const char* format, ...)
{
    if (!caption)
        caption = defaultCaption;

    va_list arguments;
    va_start(arguments, format);
    va_list measuring;
    va_copy(measuring, arguments);
    int length = vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0) {
        va_end(arguments);
        return;
    }

    std::unique_ptr<char[]> text(new char[length + 1]);
    vsnprintf(text.get(), length + 1, format, arguments);
    va_end(arguments);

    showMessageBox(messageOwner, text.get(), caption, MB_OK);
}
