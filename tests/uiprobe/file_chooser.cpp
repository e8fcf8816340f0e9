// The file chooser of the end-to-end tests that drive many open-file windows at once: picks one
// "Open file in solution" window on the screen, filters its list by a text and chooses the
// selected file, through the window's own messages, as typing the text and pressing Enter would.
// Many stacked windows of one class leave no reliable way to give each the keyboard focus under
// an X server without a window manager; messages reach the one window meant.
//
//   file_chooser <filter text> [-timeout:<ms>]
//
// Waits for such a window, puts the text into its filter box, releases a key there (which applies
// the filter) and presses Enter in it, then waits until the window is gone. Exit code 0 when a
// window was driven and closed, 2 when none appeared or it stayed open (default 20 s each), 1 on a
// bad command line.

#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

const char DIALOG_CLASS[] = "OpenFileWindow";

HWND waitForDialog(DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        HWND dialog = FindWindowA(DIALOG_CLASS, nullptr);
        if (dialog && IsWindowVisible(dialog))
            return dialog;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

bool waitUntilGone(HWND window, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && IsWindowVisible(window)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return 1;
    DWORD timeoutMs = 20000;
    if (argc > 2 && strncmp(argv[2], "-timeout:", 9) == 0)
        timeoutMs = strtoul(argv[2] + 9, nullptr, 10);

    HWND dialog = waitForDialog(timeoutMs);
    HWND filterBox = dialog ? FindWindowExA(dialog, nullptr, "Edit", nullptr) : nullptr;
    if (!filterBox)
        return 2;
    SendMessageA(filterBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[1]));
    // Posted, not sent: they come through the window's message loop, as keys do.
    PostMessageA(filterBox, WM_KEYUP, 'A', 0);
    PostMessageA(filterBox, WM_KEYDOWN, VK_RETURN, 0);
    return waitUntilGone(dialog, timeoutMs) ? 0 : 2;
}
