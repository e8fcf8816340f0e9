#ifndef QUORLAN_SOLUTION_LOAD_REPORT_H
#define QUORLAN_SOLUTION_LOAD_REPORT_H

// How the solution model tells the user of a problem it met while loading ("Unrecognised project
// type in file ..."), without a Windows header: the program shows it in a message box through
// reportError (load_report_win32.cpp); native builds have no message boxes and hand it to the
// listener set below (load_report_posix.cpp).

#include <cstdarg>
#include <string>

// Formats the text like printf and shows it with the caption.
void reportLoadProblem(const char* caption, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The text printf would make of format and arguments.
std::string formatText(const char* format, va_list arguments);

// Native builds only: where reports go, for tests to record them; null drops them. Returns the
// previous listener.
using LoadReportListener = void (*)(const char* caption, const std::string& text);
LoadReportListener setLoadReportListener(LoadReportListener listener);

#endif
