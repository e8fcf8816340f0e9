// Shows the "Open file in solution" window over a prepared solution of 3 x 36 files, for the
// end-to-end tests that drive it with real keystrokes. Usage: dialog_driver [filter [row]] (the
// restored state). Prints "shown row3=<x>,<y>" (the screen point in the middle of row 3) once the
// window shows, and "result=<r> mark=<m> name=<chosen> filter=<applied> caret=<start>" when it closes.

#include "driver/instance_handle.h"
#include "solution/solution.h"
#include "ui/open_file_dialog.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const char* const FOLDERS[] = {"C:\\src\\Game\\engine\\", "C:\\src\\Game\\render\\", "C:\\src\\Game\\ui\\"};
const char* const NAMES[] = {
    "main.cpp",  "main.h",      "domain.cpp",  "viewport.cpp",   "viewport.h",   "camera.cpp",  "camera.h",
    "shader.cpp", "shader.h",   "texture.cpp", "texture.h",      "mesh.cpp",     "mesh.h",      "input.cpp",
    "input.h",   "audio.cpp",   "audio.h",     "physics.cpp",    "physics.h",    "scene.cpp",   "scene.h",
    "entity.cpp", "entity.h",   "timer.cpp",   "timer.h",        "window.cpp",   "window.h",    "font_atlas.cpp",
    "font_atlas.h", "Material.cpp", "Material.h", "README.md",   "settings.json", "stdafx.cpp", "stdafx.h",
    "_config.h"};

struct ShowReporter {
    HWND list;

    void report(Control&, EventArgs&)
    {
        RECT row = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(list, LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
        POINT middle = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
        ClientToScreen(list, &middle);
        printf("shown row3=%ld,%ld\n", middle.x, middle.y);
        fflush(stdout);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    instanceHandle = GetModuleHandleA(nullptr);
    Solution solution("C:\\src\\Game\\Game.sln");
    for (const char* folder : FOLDERS) {
        solution.projects.push_back(std::make_unique<Project>());
        for (const char* name : NAMES)
            solution.projects.back()->files.append(std::string(folder) + name);
    }
    OpenFileDialog dialog(nullptr);
    dialog.index.build(solution);
    if (argc > 1) {
        SetWindowTextA(dialog.editBox->hwnd(), argv[1]);
        SendMessageA(dialog.editBox->hwnd(), EM_SETSEL, 0, -1);
    }
    dialog.initialRow = argc > 2 ? atoi(argv[2]) : -1;
    ShowReporter reporter{dialog.listView->hwnd()};
    dialog.showHandlers.addHandler(EventHandler<EventArgs>::to<&ShowReporter::report>(&reporter));

    int result = dialog.runModal();
    int32_t position = dialog.selectedPosition();
    DWORD caret = 0;
    SendMessageA(dialog.editBox->hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
    printf("result=%d mark=%d name=%s filter=%s caret=%lu\n", result, dialog.listView->selectionMark(),
           position >= 0 ? dialog.index.name(position).c_str() : "", dialog.currentFilter.c_str(), caret);
    return 0;
}
