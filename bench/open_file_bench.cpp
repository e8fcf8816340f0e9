// The figures of the open-file command at scale, for scripts/bench (see bench/README.md).
//
// Generates a solution of projects x files-per-project files in a temporary folder and measures,
// on the program's own code: the first load (every project file parsed, the cache written), the
// load from the warm cache and one cache write, the index, the window shown, each key typed into
// its filter box (filter, list and repaint), and the filter pass alone; beside the index, a plain
// sort of its names. Then it starts quorlan.exe itself on the warm cache, times it from its entry
// (its single-instance mutex appears) and from its creation until its window waits for input,
// shown and painted, reads its peak memory and closes it. Beside them, the floor of the window's
// figures: the same controls with none of the program's code (bench/bare_window.h), given the same
// row counts and timed in a process of its own the same way. Prints one line per figure: "name
// value"; writes the index's names, one per line, for the peers that the script runs on the same
// names.
//
// Usage: open_file_bench.exe projects files-per-project quorlan.exe names-file [process-only]
// With process-only, only quorlan.exe is measured, on a cold and then on a warm cache.

#include "bench/bare_window.h"
#include "bench/generated_solution.h"
#include "driver/instance_handle.h"
#include "solution/solution.h"
#include "driver/command_line.h"
#include "ui/name_filter.h"
#include "ui/open_file_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

class Stopwatch {
public:
    Stopwatch() { QueryPerformanceCounter(&start_); }
    double milliseconds() const
    {
        LARGE_INTEGER now, frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

private:
    LARGE_INTEGER start_;
};

void figure(const char* name, double value)
{
    printf("%s %.2f\n", name, value);
    fflush(stdout);
}

// The texts typed, key by key, into the filter box, and the texts whose filter pass is timed.
const char* const TYPED = "mesh_scene12.cpp";
// The same as bench/report.py's, which runs the peers on them.
const char* const QUERIES[] = {"m", "e", ".", "mesh", "scene", "zq", "zzzz", "_scene12", "mesh_scene12.cpp"};

// The keys timed so far, and room for the matches of a filter pass timed apart, kept from key to
// key as the window keeps its own.
struct KeyFigures {
    std::vector<double> keys;
    std::vector<double> outsideFilter;
    std::vector<int> rows;  // the list's row count after each key
    MatchList matches;
};

// Puts the text into the filter box and releases a key, as typing does, then repaints the list.
// Notes the time of the whole key, and of the filter pass of the same text alone.
void typeKey(OpenFileDialog& dialog, const std::string& text, WPARAM key, KeyFigures& figures)
{
    SetWindowTextA(dialog.editBox->hwnd(), text.c_str());
    Stopwatch watch;
    SendMessageA(dialog.editBox->hwnd(), WM_KEYUP, key, 0);
    UpdateWindow(dialog.hwnd());
    double whole = watch.milliseconds();
    figures.keys.push_back(whole);
    Stopwatch filter;
    if (!text.empty())
        findMatches(dialog.index, text, figures.matches);
    figures.outsideFilter.push_back(whole - filter.milliseconds());
    figures.rows.push_back(static_cast<int>(SendMessageA(dialog.listView->hwnd(), LVM_GETITEMCOUNT, 0, 0)));
    printf("key \"%s\" %.2f ms, filter %.2f ms\n", text.c_str(), whole, whole - figures.outsideFilter.back());
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of nine repaints of the list, nothing changed: with flags RDW_FRAME | RDW_ERASE, its
// scroll bars and edge too; without, its rows alone.
double medianRepaint(HWND list, UINT flags = RDW_FRAME | RDW_ERASE)
{
    std::vector<double> repaints;
    for (int run = 0; run < 9; ++run) {
        Stopwatch watch;
        RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | flags);
        repaints.push_back(watch.milliseconds());
    }
    return median(repaints);
}

// The bare window (bench/bare_window.h) with the index's row count, given the row counts the real
// keys left, one by one: the floor of the keys' figures. (How long it takes to show is timed in a
// process of its own, bare_window.exe: made here, after the real window, it would find everything
// the first window of a process loads loaded already.)
void measureBareWindow(int rows, const std::vector<int>& keyRows)
{
    BareWindow bare(rows);
    bare.show();
    std::vector<double> keys;
    for (int count : keyRows) {
        Stopwatch watch;
        bare.showRows(count);
        keys.push_back(watch.milliseconds());
    }
    figure("bare_key_max_ms", *std::max_element(keys.begin(), keys.end()));
    figure("bare_key_median_ms", median(keys));
    figure("bare_list_repaint_ms", medianRepaint(bare.list()));
    // The least a key that changes which rows show can cost: those rows painted again.
    figure("bare_rows_repaint_ms", medianRepaint(bare.list(), 0));
}

// Every key of TYPED, each Backspace back to an empty box, and a one-letter text and its
// Backspace: the slowest and the median key, and the median of what the list view, the caption
// and the repaint take beside the filter. Then the same row counts in the bare window.
void measureKeys(OpenFileDialog& dialog)
{
    KeyFigures figures;
    std::string typed = TYPED;
    for (size_t length = 1; length <= typed.size(); ++length)
        typeKey(dialog, typed.substr(0, length), 'A', figures);
    for (size_t length = typed.size(); length-- > 0;)
        typeKey(dialog, typed.substr(0, length), VK_BACK, figures);
    typeKey(dialog, "e", 'E', figures);
    typeKey(dialog, "", VK_BACK, figures);
    figure("key_max_ms", *std::max_element(figures.keys.begin(), figures.keys.end()));
    figure("key_median_ms", median(figures.keys));
    figure("key_median_outside_filter_ms", median(figures.outsideFilter));
    // What one repaint of the list costs by itself, rows, scroll bars and edge, the list unchanged:
    // the least any key that changes what it shows can cost.
    figure("list_repaint_ms", medianRepaint(dialog.listView->hwnd()));
    measureBareWindow(dialog.index.size(), figures.rows);
}

// The window's own filter over the index, once per query, best of three; the slowest query.
void measureFilterPass(const OpenFileDialog& dialog)
{
    MatchList matches;
    double slowest = 0;
    for (const char* query : QUERIES) {
        double best = 1e9;
        for (int run = 0; run < 3; ++run) {
            Stopwatch watch;
            findMatches(dialog.index, query, matches);
            best = std::min(best, watch.milliseconds());
        }
        printf("filter_pass \"%s\" %.2f ms, %u matches\n", query, best, static_cast<unsigned>(matches.size()));
        slowest = std::max(slowest, best);
    }
    figure("filter_pass_max_ms", slowest);
}

// A yardstick for the index: its own folded names, shuffled, put in order by std::stable_sort with
// strcmp, the plain way to sort names stably. Only that sort is timed, best of three: no folding,
// no repeated paths, no block of names. Its names are contiguous, so it is the sort's best case.
void measureSortPeer(const FileIndex& index)
{
    const char* names = index.foldedNames().data();
    std::vector<const char*> shuffled;
    for (int32_t position = 0; position < index.size(); ++position)
        shuffled.push_back(names + index.nameStarts()[static_cast<size_t>(position)]);
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(42));
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        std::vector<const char*> sorted = shuffled;
        Stopwatch watch;
        std::stable_sort(sorted.begin(), sorted.end(), [](const char* a, const char* b) { return strcmp(a, b) < 0; });
        best = std::min(best, watch.milliseconds());
    }
    figure("stable_sort_names_ms", best);
}

void writeNames(const FileIndex& index, const char* path)
{
    FILE* file = fopen(path, "wb");
    if (!file)
        return;
    for (int32_t position = 0; position < index.size(); ++position)
        fprintf(file, "%s\n", index.name(position).c_str());
    fclose(file);
}

// The solution's files loaded from its warm cache, indexed and shown: what openFileCommand does up
// to its modal loop. Then the keys and the filter pass on that window.
void measureWindow(const std::string& solutionPath, const char* namesPath)
{
    Stopwatch whole;
    Solution solution(solutionPath);
    Stopwatch load;
    solution.load();
    double loadTime = load.milliseconds();
    Stopwatch create;
    OpenFileDialog dialog(nullptr);
    double createTime = create.milliseconds();
    Stopwatch build;
    dialog.index.build(solution);
    double buildTime = build.milliseconds();
    Stopwatch show;
    ShowWindow(dialog.hwnd(), SW_SHOW);
    UpdateWindow(dialog.hwnd());
    double showTime = show.milliseconds();
    figure("window_in_process_ms", whole.milliseconds());
    figure("cache_load_ms", loadTime);
    figure("index_build_ms", buildTime);
    figure("show_and_paint_ms", showTime);
    figure("window_made_shown_painted_ms", createTime + showTime);
    figure("files", dialog.index.size());

    Stopwatch write;
    bool written = solution.writeCache();
    figure(written ? "cache_write_ms" : "cache_write_failed", write.milliseconds());

    measureKeys(dialog);
    measureFilterPass(dialog);
    measureSortPeer(dialog.index);
    writeNames(dialog.index, namesPath);
}

// The first load: every project file parsed and the cache file written.
// The load with no cache file, best of two; the model's freeing afterwards is not the load's.
void measureFirstLoad(const GeneratedSolution& generated)
{
    double time = 1e9;
    for (int run = 0; run < 2; ++run) {
        DeleteFileA((generated.solutionPath + ".qlcache").c_str());
        Solution solution(generated.solutionPath);
        Stopwatch watch;
        solution.load();
        time = std::min(time, watch.milliseconds());
    }
    figure("first_load_ms", time);
    figure("first_load_mb_per_s", static_cast<double>(generated.projectBytes) / (1024 * 1024) / (time / 1000));
}

// A program timed from its entry until it waits for input: how it is started, the mutex it makes
// first and the class of its window.
struct TimedProgram {
    std::string commandLine;
    std::string mutexName;
    const char* windowClass;
};

HWND windowOfProcess(DWORD processId, const char* windowClass)
{
    for (HWND window = FindWindowA(windowClass, nullptr); window;
         window = FindWindowExA(nullptr, window, windowClass, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId)
            return window;
    }
    return nullptr;
}

// quorlan.exe -openfile on the solution, in debug mode (no Visual Studio to find); the window it
// shows is closed afterwards, which stores nothing.
TimedProgram quorlanRun(const std::string& quorlan, const std::string& solutionPath)
{
    return {"\"" + quorlan + "\" -vs2008 -openfile -debug \"-solution:" + solutionPath + "\"",
            solutionNameOf(solutionPath) + ".quorlan.mutex", "OpenFileWindow"};
}

// bench/bare_window_main.cpp beside this program, with as many rows.
TimedProgram bareRun(int rows)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    folder.resize(folder.find_last_of('\\') + 1);
    return {"\"" + folder + "bare_window.exe\" " + std::to_string(rows) + " bare_window.mutex", "bare_window.mutex",
            "BareOpenFileWindow"};
}

// The time from the program's creation and from its entry until its window waits for input, its
// peak memory and the count of files its caption gives; then its window is closed.
bool measureProcess(const TimedProgram& program, const char* prefix)
{
    std::string commandLine = program.commandLine;
    const std::string& mutexName = program.mutexName;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    Stopwatch watch;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    // The mutex is the first thing the open-file run makes after reading its command line.
    double entry = 0;
    for (;;) {
        HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, mutexName.c_str());
        if (mutex) {
            entry = watch.milliseconds();
            CloseHandle(mutex);
            break;
        }
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            break;
    }
    bool idle = WaitForInputIdle(process.hProcess, 600000) == 0;
    double shown = watch.milliseconds();
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory);
    HWND window = windowOfProcess(process.dwProcessId, program.windowClass);
    char caption[256] = {};
    if (window) {
        GetWindowTextA(window, caption, sizeof caption);
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    WaitForSingleObject(process.hProcess, 60000);
    double exited = watch.milliseconds();
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    std::string name = prefix;
    figure((name + "_shown_from_entry_ms").c_str(), shown - entry);
    figure((name + "_shown_from_creation_ms").c_str(), shown);
    figure((name + "_exit_ms").c_str(), exited);
    figure((name + "_peak_working_set_mb").c_str(), static_cast<double>(memory.PeakWorkingSetSize) / (1024 * 1024));
    figure((name + "_peak_private_mb").c_str(), static_cast<double>(memory.PeakPagefileUsage) / (1024 * 1024));
    // The caption counts the files the window lists: "Open file in solution - N files - name".
    const char* count = strstr(caption, " - ");
    figure((name + "_files_listed").c_str(), count ? atof(count + 3) : 0);
    return idle && window;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 5) {
        fprintf(stderr, "usage: open_file_bench.exe projects files-per-project quorlan.exe names-file [process-only]\n");
        return 2;
    }
    instanceHandle = GetModuleHandleA(nullptr);
    CoInitialize(nullptr);
    bool processOnly = argc > 5 && strcmp(argv[5], "process-only") == 0;

    GeneratedSolution generated(atoi(argv[1]), atoi(argv[2]));
    figure("project_mb", static_cast<double>(generated.projectBytes) / (1024 * 1024));
    bool shown = true;
    TimedProgram quorlan = quorlanRun(argv[3], generated.solutionPath);
    if (processOnly) {
        shown = measureProcess(quorlan, "process_cold");
    } else {
        measureFirstLoad(generated);
        measureWindow(generated.solutionPath, argv[4]);
    }
    for (int run = 0; run < 3; ++run)
        shown = measureProcess(quorlan, "process") && shown;
    if (!processOnly) {
        for (int run = 0; run < 3; ++run)
            shown = measureProcess(bareRun(atoi(argv[1]) * atoi(argv[2])), "bare_process") && shown;
    }
    CoUninitialize();
    return shown ? 0 : 1;
}
