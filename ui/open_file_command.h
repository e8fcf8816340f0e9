#ifndef QUORLAN_UI_OPEN_FILE_COMMAND_H
#define QUORLAN_UI_OPEN_FILE_COMMAND_H

// The open-file command: shows the "Open file in solution" window over the solution's files, with
// the filter text and row of the last run restored, and opens the chosen file in Visual Studio.
// The filter text and row are stored in the solution's cache file when a file is chosen and one
// of them changed; cancelling stores nothing.

#include "driver/app_info.h"

#include <windows.h>

#include <string>

// app, window and parentProcessId are handed unchanged to openInVisualStudio. The window is
// centred on referenceWindow (Visual Studio's main window, or the desktop).
void openFileCommand(const AppInfo& app, HWND window, std::string solutionPath, HWND referenceWindow,
                     DWORD parentProcessId);

#endif
