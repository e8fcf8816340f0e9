// The UI probe of the end-to-end tests: waits for a message box with a given caption, prints
// its text and presses its OK button, the way a user would read and close it.
//
//   uiprobe <caption> [-timeout:<ms>] [-owner]
//
// Prints the box's text exactly (no newline added). With -owner, the first line is
// "owner: <window class of the owner>" or "owner: none". Exit code 0 when a box was found and
// closed, 2 when none appeared in time (default 20 s), 1 on a bad command line.

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char MESSAGE_BOX_CLASS[] = "#32770";
const int MESSAGE_BOX_TEXT_ID = 0xFFFF;

struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK matchBox(HWND window, LPARAM parameter)
{
    Search& search = *reinterpret_cast<Search*>(parameter);
    char className[64];
    char title[512];
    if (!IsWindowVisible(window) || !GetClassNameA(window, className, sizeof className) ||
        strcmp(className, MESSAGE_BOX_CLASS) != 0)
        return TRUE;
    GetWindowTextA(window, title, sizeof title);
    if (strcmp(title, search.caption) != 0)
        return TRUE;
    search.found = window;
    return FALSE;
}

HWND waitForBox(const char* caption, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        Search search = {caption, nullptr};
        EnumWindows(matchBox, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        if (GetTickCount() - start > timeoutMs)
            return nullptr;
        Sleep(50);
    }
}

std::string windowText(HWND window)
{
    int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    int got = GetWindowTextA(window, &text[0], length + 1);
    text.resize(got);
    return text;
}

std::string ownerDescription(HWND box)
{
    HWND owner = GetWindow(box, GW_OWNER);
    if (!owner)
        return "none";
    char className[256];
    if (!GetClassNameA(owner, className, sizeof className))
        return "unknown";
    return className;
}

void writeOut(const std::string& text)
{
    DWORD written;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        writeOut("usage: uiprobe <caption> [-timeout:<ms>] [-owner]\n");
        return 1;
    }
    DWORD timeoutMs = 20000;
    bool showOwner = false;
    for (int i = 2; i < argc; ++i) {
        if (strncmp(argv[i], "-timeout:", 9) == 0)
            timeoutMs = strtoul(argv[i] + 9, nullptr, 10);
        else if (strcmp(argv[i], "-owner") == 0)
            showOwner = true;
    }

    HWND box = waitForBox(argv[1], timeoutMs);
    if (!box)
        return 2;
    if (showOwner)
        writeOut("owner: " + ownerDescription(box) + "\n");
    HWND text = GetDlgItem(box, MESSAGE_BOX_TEXT_ID);
    writeOut(text ? windowText(text) : "");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return 0;
}
