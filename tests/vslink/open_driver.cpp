// A small test driver for the Visual Studio link across processes: started by the stand-in Visual
// Studio, it locates it as the tool does and asks it to open one file.
//
//   open_driver <edition> <path> [-solution:<name>] [-parent:<id>] [-nowindow]
//       finds the parent process (for editions with an automation object; -parent:<id> instead)
//       and the window of the solution <name> (default Game; -nowindow: none), prints
//       "parent <id>" and "window <title of the window to talk to, or none>", one per line, then
//       calls openInVisualStudio with the path. Messages appear as message boxes.
//
// Exit code 0, or 2 on a bad command line.

#include "driver/app_info.h"
#include "driver/instance_handle.h"
#include "driver/report_error.h"
#include "vslink/open_in_visual_studio.h"
#include "vslink/parent_process.h"
#include "vslink/window_search.h"

#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Request {
    const AppInfo* app = nullptr;
    std::string path;
    std::string solutionName = "Game";
    bool parentGiven = false;
    DWORD parentProcessId = 0;
    bool searchWindow = true;
};

bool parseRequest(int argc, char** argv, Request& request)
{
    if (argc < 3 || !(request.app = findAppBySwitch(argv[1])))
        return false;
    request.path = argv[2];
    for (int i = 3; i < argc; ++i) {
        if (strncmp(argv[i], "-solution:", 10) == 0) {
            request.solutionName = argv[i] + 10;
        } else if (strncmp(argv[i], "-parent:", 8) == 0) {
            request.parentGiven = true;
            request.parentProcessId = strtoul(argv[i] + 8, nullptr, 10);
        } else if (strcmp(argv[i], "-nowindow") == 0) {
            request.searchWindow = false;
        } else {
            return false;
        }
    }
    return true;
}

std::string windowTitle(HWND window)
{
    char title[256] = "none";
    if (window)
        GetWindowTextA(window, title, sizeof title);
    return title;
}

void open(Request& request)
{
    if (!request.parentGiven && request.app->dteProgId)
        request.parentProcessId = getParentProcessId();
    HWND window = nullptr;
    if (request.searchWindow) {
        HWND mainWindow = nullptr;
        window = findVisualStudioWindow(*request.app, request.parentProcessId, request.solutionName + " ", mainWindow);
    }
    printf("parent %lu\nwindow %s\n", request.parentProcessId, windowTitle(window).c_str());
    fflush(stdout);
    openInVisualStudio(*request.app, window, request.path, request.parentProcessId);
}

}  // namespace

int main(int argc, char** argv)
{
    Request request;
    if (!parseRequest(argc, argv, request)) {
        fputs("usage: open_driver <edition> <path> [-solution:<name>] [-parent:<id>] [-nowindow]\n", stderr);
        return 2;
    }
    instanceHandle = GetModuleHandleA(nullptr);
    defaultCaption = "Quorlan";
    CoInitialize(nullptr);
    open(request);
    CoUninitialize();
    return 0;
}
