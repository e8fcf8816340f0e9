// bare_window.exe rows mutex-name: the bare window (bench/bare_window.h) as a process of its own,
// timed by open_file_bench.exe as quorlan.exe is: from its entry (the named mutex it makes first)
// until it waits for input with its list painted. Closes on WM_CLOSE.

#include "bench/bare_window.h"

#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    UniqueHandle entered(CreateMutexA(nullptr, FALSE, argv[2]));
    BareWindow window(atoi(argv[1]));
    if (!window.made())
        return 1;
    window.show();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
