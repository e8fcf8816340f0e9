#include "vslink/window_search.h"

#include "solution/text.h"

#include <cstring>

namespace {

const char MANAGEMENT_WINDOW_TITLE[] = "Visual Studio Application Management Window";
const int FIRST_APP_WITH_MANAGEMENT_WINDOW = 6;
const int TITLE_BUFFER_SIZE = 128;

bool contains(const std::string& title, const std::string& pattern)
{
    return pattern.empty() || strstr(title.c_str(), pattern.c_str()) != nullptr;
}

}  // namespace

BOOL CALLBACK matchWindow(HWND window, LPARAM parameter)
{
    WindowSearch& search = *reinterpret_cast<WindowSearch*>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (search.processFilter != 0 && processId != search.processFilter)
        return TRUE;

    char buffer[TITLE_BUFFER_SIZE];
    if (GetWindowTextA(window, buffer, sizeof buffer) == 0)
        return TRUE;
    std::string title = lowerCase(buffer);
    if (!contains(title, search.titlePattern) || !contains(title, search.extraPattern))
        return TRUE;

    search.foundWindow = window;
    return FALSE;
}

HWND findVisualStudioWindow(const AppInfo& app, DWORD processFilter, const std::string& searchText,
                            HWND& mainWindowOut)
{
    WindowSearch search;
    search.titlePattern = lowerCase(app.windowTitleText);
    search.extraPattern = lowerCase(searchText);
    search.processFilter = processFilter;
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    mainWindowOut = search.foundWindow ? search.foundWindow : GetDesktopWindow();
    if (!search.foundWindow || app.id < FIRST_APP_WITH_MANAGEMENT_WINDOW)
        return search.foundWindow;

    // The instance's management window: without a process to filter on, only the windows of the
    // main window's own thread can be told apart from another instance's.
    search.titlePattern = lowerCase(MANAGEMENT_WINDOW_TITLE);
    search.extraPattern.clear();
    if (processFilter != 0)
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    else
        EnumThreadWindows(GetWindowThreadProcessId(search.foundWindow, nullptr), matchWindow,
                          reinterpret_cast<LPARAM>(&search));
    return search.foundWindow;
}
