// Shows the "Open file in solution" window over a prepared solution, for the end-to-end tests
// that drive it with real keystrokes. Usage: dialog_driver [filter [row]] (the restored state).
//
// Prints, when the window is shown: "shown row3=<x>,<y>", the screen point in the middle of row 3;
// when it closes: "result=<r> mark=<m> position=<p> name=<name> filter=<applied> caret=<start>".

#include "driver/instance_handle.h"
#include "driver/report_error.h"
#include "solution/solution.h"
#include "ui/open_file_dialog.h"

#include <commctrl.h>
#include <objbase.h>

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
    OpenFileDialog* dialog;

    void report(Control&, EventArgs&)
    {
        RECT row = {LVIR_BOUNDS, 0, 0, 0};
        SendMessageA(dialog->listView->hwnd(), LVM_GETITEMRECT, 3, reinterpret_cast<LPARAM>(&row));
        POINT middle = {(row.left + row.right) / 2, (row.top + row.bottom) / 2};
        ClientToScreen(dialog->listView->hwnd(), &middle);
        printf("shown row3=%ld,%ld\n", middle.x, middle.y);
        fflush(stdout);
    }
};

void fill(Solution& solution)
{
    for (const char* folder : FOLDERS) {
        auto project = std::make_unique<Project>();
        for (const char* name : NAMES)
            project->files.push_back(std::string(folder) + name);
        solution.projects.push_back(std::move(project));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    instanceHandle = GetModuleHandleA(nullptr);
    defaultCaption = "Quorlan";
    CoInitialize(nullptr);
    {
        Solution solution("C:\\src\\Game\\Game.sln");
        fill(solution);
        OpenFileDialog dialog(nullptr);
        dialog.index.build(solution);
        if (argc > 1) {
            SetWindowTextA(dialog.editBox->hwnd(), argv[1]);
            SendMessageA(dialog.editBox->hwnd(), EM_SETSEL, 0, -1);
        }
        if (argc > 2)
            dialog.initialRow = atoi(argv[2]);
        ShowReporter reporter{&dialog};
        dialog.showHandlers.addHandler(EventHandler<EventArgs>::to<&ShowReporter::report>(&reporter));

        int result = dialog.runModal();
        int mark = static_cast<int>(SendMessageA(dialog.listView->hwnd(), LVM_GETSELECTIONMARK, 0, 0));
        int position = dialog.selectedPosition();
        const char* name = position >= 0 && position < dialog.index.size() ? dialog.index.at(position).name : "";
        DWORD caret = 0;
        SendMessageA(dialog.editBox->hwnd(), EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
        printf("result=%d mark=%d position=%d name=%s filter=%s caret=%lu\n", result, mark, position, name,
               dialog.currentFilter.c_str(), caret);
    }
    CoUninitialize();
    return 0;
}
