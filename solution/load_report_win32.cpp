#include "solution/load_report.h"

#include "driver/report_error.h"

void reportLoadProblem(const char* caption, const char* format, ...)
{
    va_list arguments;
    va_start(arguments, format);
    std::string text = formatText(format, arguments);
    va_end(arguments);
    reportError(caption, "%s", text.c_str());
}
