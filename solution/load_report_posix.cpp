#include "solution/load_report.h"

namespace {

LoadReportListener listener = nullptr;

}  // namespace

void reportLoadProblem(const char* caption, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::string text = formatText(format, arguments);
    va_end(arguments);
    if (listener)
        listener(caption, text);
}

LoadReportListener setLoadReportListener(LoadReportListener newListener)
{
    LoadReportListener previous = listener;
    listener = newListener;
    return previous;
}
