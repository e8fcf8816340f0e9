// The stand-in Visual Studio, for tests and demos under Wine: what the tool meets on a user's
// desktop. It imitates one edition with a solution open, starts a program as its child (as Visual
// Studio starts an external tool), serves it and logs each file it is asked to open.
//
//   standin <edition> [options] [-- <program> [<argument>...]]
//
//   <edition>           -vs2022, -vs2008, ... as for the tool: the ProgID, DDE service and title text
//   -solution:<name>    the solution name in the main window's title (default Game)
//   -title:<text>       the main window's whole title (default "<name> - <title text>")
//   -dte:on|off|unobtainable
//                       register the automation object in the Running Object Table as "!<ProgID>:<own
//                       process id>" (default on when the edition has a ProgID), or an entry under that
//                       name whose object can't be obtained
//   -management:on|off  own a hidden "Visual Studio Application Management Window" (default on for
//                       Visual Studio 2010 and later)
//   -dde:ack|nack|connect-only|never   how DDE requests are answered (default ack)
//   -log:<file>         the log file, appended to (default standard output)
//   -- <program> ...    the child, served until it ends; its exit code is the stand-in's. Without
//                       one the stand-in serves until its main window is closed.
//
// The log has one "\n"-terminated line per request, as it arrives, also shown in the main window:
// "dte <command name> <command arguments>" for _DTE::ExecuteCommand, "dde <command text>" for a
// WM_DDE_EXECUTE. Exit codes of its own: 101 bad command line, 102 not under Wine, 103 setting up
// failed (a window, the type library or the automation object), 104 the child could not be started.

#include "driver/app_info.h"
#include "driver/unique_resource.h"
#include "tests/standin/dde_server.h"
#include "tests/standin/recording_dte.h"
#include "tests/standin/rot_registration.h"
#include "tests/standin/unobtainable_object.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

namespace {

const int EXIT_BAD_COMMAND_LINE = 101;
const int EXIT_NOT_WINE = 102;
const int EXIT_SET_UP_FAILED = 103;
const int EXIT_CHILD_NOT_STARTED = 104;

const char MANAGEMENT_WINDOW_TITLE[] = "Visual Studio Application Management Window";
const int FIRST_APP_WITH_MANAGEMENT_WINDOW = 6;

const char USAGE[] = "usage: standin <edition> [-solution:<name>] [-title:<text>] [-dte:on|off|unobtainable]\n"
                     "  [-management:on|off] [-dde:ack|nack|connect-only|never] [-log:<file>] [-- <program> ...]\n";

enum DteMode { DTE_OFF, DTE_ON, DTE_UNOBTAINABLE };

struct Options {
    const AppInfo* app = nullptr;
    std::string solutionName = "Game";
    std::string title;
    int dte = DTE_OFF;          // a DteMode
    int managementWindow = 0;   // 0 or 1
    int ddeAnswer = 0;          // a DdeAnswer: its names in parseOption are in its order
    std::string logPath;
    std::string childCommandLine;
};

// The index of value among names, or -1.
int indexOf(const std::string& value, std::initializer_list<const char*> names)
{
    int index = 0;
    for (const char* name : names) {
        if (value == name)
            return index;
        ++index;
    }
    return -1;
}

// One argument quoted so that the C runtime's parsing gives it back unchanged.
std::string quoteArgument(const std::string& argument)
{
    if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos)
        return argument;
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        quoted += c;
        backslashes = 0;
    }
    return quoted.append(backslashes * 2, '\\') + "\"";
}

bool parseOption(const std::string& argument, Options& options)
{
    size_t colon = argument.find(':');
    std::string name = argument.substr(0, colon);
    std::string value = colon == std::string::npos ? "" : argument.substr(colon + 1);
    if (name == "-solution")
        options.solutionName = value;
    else if (name == "-title")
        options.title = value;
    else if (name == "-log")
        options.logPath = value;
    else if (name == "-dte")  // anything but off needs an edition with an automation object
        return (options.dte = indexOf(value, {"off", "on", "unobtainable"})) == DTE_OFF ||
               (options.dte != -1 && options.app->dteProgId);
    else if (name == "-management")
        return (options.managementWindow = indexOf(value, {"off", "on"})) >= 0;
    else if (name == "-dde")
        return (options.ddeAnswer = indexOf(value, {"ack", "nack", "connect-only", "never"})) >= 0;
    else
        return false;
    return true;
}

// The edition first, as it gives the defaults; then the options; then the child after "--".
bool parseOptions(int argc, char** argv, Options& options)
{
    if (argc < 2 || !(options.app = findAppBySwitch(argv[1])))
        return false;
    options.dte = options.app->dteProgId ? DTE_ON : DTE_OFF;
    options.managementWindow = options.app->id >= FIRST_APP_WITH_MANAGEMENT_WINDOW;
    int i = 2;
    for (; i < argc && strcmp(argv[i], "--") != 0; ++i) {
        if (!parseOption(argv[i], options)) {
            fprintf(stderr, "standin: unknown or malformed argument %s\n", argv[i]);
            return false;
        }
    }
    for (++i; i < argc; ++i)
        options.childCommandLine += (options.childCommandLine.empty() ? "" : " ") + quoteArgument(argv[i]);
    if (options.title.empty())
        options.title = options.solutionName + " - " + options.app->windowTitleText;
    return true;
}

// The log file (or standard output) and the main window's view of it.
class Log {
public:
    explicit Log(std::string path) : path_(std::move(path)) {}

    void write(const std::string& line)
    {
        // Opened per line, so that a reader sees every line as soon as it is written.
        UniqueCStream file(path_.empty() ? nullptr : fopen(path_.c_str(), "ab"));
        if (FILE* out = path_.empty() ? stdout : file.get()) {
            fwrite(line.data(), 1, line.size(), out);
            fputc('\n', out);
            fflush(out);
        }
        if (!view_)
            return;
        std::string shown = line + "\r\n";
        int end = GetWindowTextLengthA(view_);
        SendMessageA(view_, EM_SETSEL, end, end);
        SendMessageA(view_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(shown.c_str()));
    }

    // From now on, lines are also shown in a read-only edit box filling mainWindow, after a greeting.
    void showIn(HWND mainWindow, const std::string& greeting)
    {
        RECT client = {};
        GetClientRect(mainWindow, &client);
        view_ = CreateWindowExA(0, "EDIT", greeting.c_str(), WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE |
                                ES_READONLY, 0, 0, client.right, client.bottom, mainWindow, nullptr, nullptr, nullptr);
    }

private:
    std::string path_;
    HWND view_ = nullptr;
};

// Registers the type library in this program's file, which declares _DTE, so that COM's
// type-library marshaller can carry calls on it from the tool's process. It stays registered:
// registering again is harmless, and only this Wine prefix sees it.
bool registerTypeLibrary()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    ComPtr<ITypeLib> library;
    return length > 0 && length < MAX_PATH && SUCCEEDED(LoadTypeLibEx(path, REGKIND_REGISTER, library.put()));
}

// Pumps messages (sent DDE messages and incoming COM calls among them) until the process ends,
// or, without a process, until the window is gone.
void pumpUntilDone(HANDLE process, HWND window)
{
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(process ? 1 : 0, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (process && result == WAIT_OBJECT_0)
            return;
        for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!process && !IsWindow(window))
            return;
    }
}

int runChild(std::string commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
        fprintf(stderr, "standin: could not start %s (error %lu)\n", commandLine.c_str(), GetLastError());
        return EXIT_CHILD_NOT_STARTED;
    }
    UniqueHandle process(started.hProcess);
    UniqueHandle thread(started.hThread);
    pumpUntilDone(process.get(), nullptr);
    DWORD exitCode = EXIT_CHILD_NOT_STARTED;
    GetExitCodeProcess(process.get(), &exitCode);
    return static_cast<int>(exitCode);
}

int serve(const Options& options)
{
    Log log(options.logPath);
    DdeServer ddeServer(options.app->ddeServiceName, static_cast<DdeAnswer>(options.ddeAnswer),
                        [&log](const std::string& command) { log.write("dde " + command); });
    HWND mainWindow = ddeServer.createWindow(options.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    if (!mainWindow || (options.managementWindow && !ddeServer.createWindow(MANAGEMENT_WINDOW_TITLE, 0)))
        return EXIT_SET_UP_FAILED;
    log.showIn(mainWindow, "Stand-in for " + std::string(options.app->displayName) + ", process " +
                               std::to_string(GetCurrentProcessId()) + "\r\n");

    ComPtr<RecordingDte> dte(new RecordingDte([&log](const std::string& name, const std::string& arguments) {
        log.write("dte " + name + " " + arguments);
    }));
    UnobtainableObject unobtainable;
    std::unique_ptr<RotRegistration> registration;
    if (options.dte != DTE_OFF) {
        IUnknown* object = options.dte == DTE_ON ? static_cast<IUnknown*>(dte.get()) : &unobtainable;
        std::string itemName = std::string(options.app->dteProgId) + ":" + std::to_string(GetCurrentProcessId());
        registration = std::make_unique<RotRegistration>(object, itemName);
        if (!registerTypeLibrary() || !registration->registered())
            return EXIT_SET_UP_FAILED;
    }
    if (options.childCommandLine.empty()) {
        pumpUntilDone(nullptr, mainWindow);
        return 0;
    }
    return runChild(options.childCommandLine);
}

}  // namespace

int main(int argc, char** argv)
{
    // Registering its type library would break a real Visual Studio installation's: Wine only.
    if (!GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")) {
        fputs("standin: runs only under Wine: it re-registers Visual Studio's automation interface\n", stderr);
        return EXIT_NOT_WINE;
    }
    Options options;
    if (!parseOptions(argc, argv, options)) {
        fputs(USAGE, stderr);
        return EXIT_BAD_COMMAND_LINE;
    }
    CoInitialize(nullptr);
    int exitCode = serve(options);
    CoUninitialize();
    return exitCode;
}
