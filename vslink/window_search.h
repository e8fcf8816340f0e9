#ifndef QUORLAN_VSLINK_WINDOW_SEARCH_H
#define QUORLAN_VSLINK_WINDOW_SEARCH_H

// Finding the Visual Studio instance's windows by their titles.
//
// Titles are compared after lower-casing ASCII letters only ("C" locale), on their first 127
// characters. Nothing else is tested: not visibility, not the window class. The handles found
// belong to another process and may die at any moment; callers only hand them to Windows
// functions that tolerate that.

#include "driver/app_info.h"

#include <windows.h>

#include <string>

// What matchWindow looks for; handed to the enumeration as its application-defined value.
struct WindowSearch {
    std::string titlePattern;   // lower-case text the title must contain; "" means no test
    std::string extraPattern;   // a second lower-case text the title must contain; "" means no test
    HWND foundWindow = nullptr; // the first window that passed every test
    DWORD processFilter = 0;    // when non-zero, only windows of this process are considered
};

// The EnumWindows / EnumThreadWindows callback; search is a WindowSearch*. Returns FALSE (stop)
// once it has stored a match in foundWindow. Windows without a title never match.
BOOL CALLBACK matchWindow(HWND window, LPARAM search);

// The window to talk to, or null when no main window matched: the main window whose title
// contains app.windowTitleText and searchText (any process when processFilter is 0); for rows
// with id 6 and up, the instance's "Visual Studio Application Management Window" instead, when
// it has one. mainWindowOut receives the main window, or the desktop window when none matched.
HWND findVisualStudioWindow(const AppInfo& app, DWORD processFilter, const std::string& searchText,
                            HWND& mainWindowOut);

#endif
