// How long the open-file window takes with a very large solution: building the index, the first
// filter pass when the window is shown, and each key of a typed filter (filtering, caption and
// repainting the list). Prints one figure per line; see bench/README.md.

#include "bench/memory_use.h"
#include "driver/instance_handle.h"
#include "solution/solution.h"
#include "ui/count_occurrences.h"
#include "ui/open_file_dialog.h"

#include <commctrl.h>
#include <objbase.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <memory>
#include <random>
#include <string>

namespace {

const int PROJECTS = 300;
const int FILES_PER_PROJECT = 1000;

class Stopwatch {
public:
    Stopwatch()
    {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
    }
    double milliseconds() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency_.QuadPart);
    }

private:
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
};

// Names like those of a large code base: a few words, a number, an extension.
void fill(Solution& solution)
{
    const char* const words[] = {"render", "Scene",   "physics", "net", "audio", "Input", "shader", "mesh",
                                 "ui",     "Texture", "camera",  "io",  "main",  "util",  "Memory", "task"};
    const char* const extensions[] = {".cpp", ".h", ".hpp", ".c", ".cs", ".xaml"};
    std::mt19937 random(42);
    for (int p = 0; p < PROJECTS; ++p) {
        auto project = std::make_unique<Project>();
        std::string folder = "C:\\src\\Huge\\" + std::string(words[p % 16]) + std::to_string(p) + "\\source\\";
        for (int f = 0; f < FILES_PER_PROJECT; ++f) {
            std::string name = std::string(words[random() % 16]) + "_" + words[random() % 16] + std::to_string(f);
            project->files.append(folder + name + extensions[random() % 6]);
        }
        solution.projects.push_back(std::move(project));
    }
}

// Types text one character at a time into the filter box, timing each key release and the
// list's repainting that follows it.
void typeFilter(OpenFileDialog& dialog, const std::string& text)
{
    HWND edit = dialog.editBox->hwnd();
    for (size_t length = 1; length <= text.size(); ++length) {
        SetWindowTextA(edit, text.substr(0, length).c_str());
        Stopwatch key;
        SendMessageA(edit, WM_KEYUP, static_cast<WPARAM>(toupper(text[length - 1])), 0);
        UpdateWindow(dialog.listView->hwnd());
        char caption[256] = {};
        GetWindowTextA(dialog.hwnd(), caption, sizeof caption);
        printf("key %-8s %8.2f ms   %s\n", ("\"" + text.substr(0, length) + "\"").c_str(), key.milliseconds(), caption);
    }
}

// The matcher alone over every name: tables made per call, as a plain countOccurrences does,
// against tables made once for the pass.
void timeMatcher(const OpenFileDialog& dialog, const std::string& pattern)
{
    const int32_t m = static_cast<int32_t>(pattern.size());
    int32_t found = 0;
    Stopwatch perCall;
    for (int32_t i = 0; i < dialog.index.size(); ++i) {
        const char* name = dialog.index.foldedNames().data() + dialog.index.nameStarts()[i];
        found += countOccurrences(pattern.data(), m, name, static_cast<int32_t>(strlen(name))) > 0;
    }
    double perCallMs = perCall.milliseconds();

    OccurrenceCounter counter(pattern.data(), m);
    int32_t foundOnce = 0;
    Stopwatch once;
    for (int32_t i = 0; i < dialog.index.size(); ++i) {
        const char* name = dialog.index.foldedNames().data() + dialog.index.nameStarts()[i];
        foundOnce += counter.count(name, static_cast<int32_t>(strlen(name))) > 0;
    }
    printf("matcher \"%s\": tables per call %.2f ms, tables once %.2f ms (%d names match)\n", pattern.c_str(),
           perCallMs, once.milliseconds(), found == foundOnce ? found : -1);
}

}  // namespace

int main()
{
    instanceHandle = GetModuleHandleA(nullptr);
    CoInitialize(nullptr);
    {
        Solution solution("C:\\src\\Huge\\Huge.sln");
        fill(solution);
        OpenFileDialog dialog(nullptr);

        size_t before = privateBytes();
        Stopwatch build;
        dialog.index.build(solution);
        printf("index build: %d files in %.1f ms, %.1f MB (%.0f bytes per file)\n", dialog.index.size(),
               build.milliseconds(), static_cast<double>(privateBytes() - before) / (1024 * 1024),
               static_cast<double>(privateBytes() - before) / dialog.index.size());

        Stopwatch show;
        ShowWindow(dialog.hwnd(), SW_SHOW);
        UpdateWindow(dialog.hwnd());
        printf("show (first filter pass, empty text): %.1f ms\n", show.milliseconds());

        typeFilter(dialog, "mesh");
        SetWindowTextA(dialog.editBox->hwnd(), "");
        Stopwatch clear;
        SendMessageA(dialog.editBox->hwnd(), WM_KEYUP, VK_BACK, 0);
        UpdateWindow(dialog.listView->hwnd());
        printf("key Backspace to an empty filter: %.2f ms\n", clear.milliseconds());

        timeMatcher(dialog, "mesh");
        timeMatcher(dialog, "m");
    }
    CoUninitialize();
    return 0;
}
