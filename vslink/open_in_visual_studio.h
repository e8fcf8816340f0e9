#ifndef QUORLAN_VSLINK_OPEN_IN_VISUAL_STUDIO_H
#define QUORLAN_VSLINK_OPEN_IN_VISUAL_STUDIO_H

// The one hand-over by which a command opens a file in Visual Studio.

#include "driver/app_info.h"

#include <windows.h>

#include <string>

// Asks Visual Studio to open the file at path (a full ANSI path). Rows with a dteProgId go through
// the automation object of the instance with process id parentProcessId; the others through a
// DDE conversation with window (as findVisualStudioWindow gave it; may be null). A path that
// names no existing file is ignored without a word; every other failure is reported through
// reportError, and the caller goes on as after a success.
void openInVisualStudio(const AppInfo& app, HWND window, std::string path, DWORD parentProcessId);

#endif
