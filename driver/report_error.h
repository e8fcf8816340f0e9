#ifndef QUORLAN_DRIVER_REPORT_ERROR_H
#define QUORLAN_DRIVER_REPORT_ERROR_H

// The one way the tool shows a message: a message box with an OK button.
//
// The text is formatted into a buffer of exactly its size, so nothing is ever cut. A format that
// gives an empty text shows nothing. Once the open-file window exists, it owns every box.

#include <windows.h>

extern const char* defaultCaption;  // "Quorlan", set at start-up; used for a null caption
extern HWND messageOwner;           // the open-file window while it exists, else null

void reportError(const char* caption, const char* format, ...) __attribute__((format(gnu_printf, 2, 3)));

// The function that shows the box, MessageBoxA unless replaced. Tests replace it to see what
// would have been shown. Returns the previous function; null restores MessageBoxA.
using MessageBoxFunction = int(WINAPI*)(HWND owner, const char* text, const char* caption, UINT type);
MessageBoxFunction setMessageBoxFunction(MessageBoxFunction function);

#endif
