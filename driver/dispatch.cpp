#include "driver/dispatch.h"

#include "driver/report_error.h"
#include "driver/unique_resource.h"
#include "flip/header_flip.h"
#include "solution/slnx_reader.h"
#include "ui/open_file_command.h"
#include "vslink/parent_process.h"
#include "vslink/window_search.h"

#include <windows.h>
#include <shlwapi.h>

#include <optional>

namespace {

// Ownership of the single-instance mutex of one open-file run, released when the run ends.
class SingleInstanceGuard {
public:
    explicit SingleInstanceGuard(const std::string& solutionName)
    {
        std::string name = solutionName + ".quorlan.mutex";
        mutex_.reset(CreateMutexA(nullptr, TRUE, name.c_str()));
        alreadyRunning_ = mutex_ && GetLastError() == ERROR_ALREADY_EXISTS;
    }
    ~SingleInstanceGuard()
    {
        if (mutex_)
            ReleaseMutex(mutex_.get());
    }
    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    // Another process runs the open-file command for a solution of the same name.
    bool alreadyRunning() const { return alreadyRunning_; }

private:
    UniqueHandle mutex_;
    bool alreadyRunning_ = false;
};

// Brings the open-file window of another run to the front; false when there is none (yet).
bool handOverToRunningWindow()
{
    HWND other = FindWindowA("OpenFileWindow", nullptr);
    if (!other)
        return false;
    SetForegroundWindow(other);
    return true;
}

// What the Visual Studio title must contain besides the edition's text: the solution's name and
// a space, or, for a header flip without a solution, the file's name.
std::string searchTextFor(const RunState& state)
{
    if (state.command == Command::HeaderFlip && state.solutionName.empty())
        return PathFindFileNameA(state.headerFlipPath.c_str());
    return state.solutionName + " ";
}

// The solution file as the messages name it: "Game.slnx" for an XML solution, else "Game.sln" (also
// for a header flip without a solution, whose name is empty).
std::string shownSolutionFile(const RunState& state)
{
    return state.solutionName + (isSlnxPath(state.solutionPath) ? ".slnx" : ".sln");
}

}  // namespace

int dispatchCommand(const RunState& state)
{
    const AppInfo& app = *state.app;
    bool openFile = state.command == Command::OpenFile;

    std::optional<SingleInstanceGuard> guard;
    if (openFile) {
        guard.emplace(state.solutionName);
        if (guard->alreadyRunning() && handOverToRunningWindow())
            return 0;
    }

    DWORD parentProcessId = app.dteProgId ? getParentProcessId() : 0;

    // An automation header flip talks to the parent process alone and needs no window.
    HWND window = nullptr;
    HWND mainWindow = nullptr;
    if (openFile || !app.dteProgId)
        window = findVisualStudioWindow(app, parentProcessId, searchTextFor(state), mainWindow);

    bool located = window || (app.dteProgId && parentProcessId != 0) || state.debugMode;
    if (!located) {
        reportError("Quorlan", "Couldn't find a %s window with '%s' open!", app.displayName,
                    shownSolutionFile(state).c_str());
        return 0;
    }

    if (openFile)
        openFileCommand(app, window, state.solutionPath, mainWindow, parentProcessId);
    else
        headerFlip(app, window, state.headerFlipPath, state.solutionPath, parentProcessId);
    SetFocus(window);
    return 0;
}
