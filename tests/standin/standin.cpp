// The stand-in Visual Studio: what the tool meets on a user's desktop, for tests and demos under
// Wine. It imitates one edition of Visual Studio with a solution open, starts a program as its
// own child (as Visual Studio starts an external tool), serves it and logs what it was asked to
// open.
//
//   standin <edition> [options] [-- <program> [<argument>...]]
//
//   <edition>             an edition switch of the tool (-vs2022, -vs2008, ...): it gives the
//                         automation ProgID, the DDE service name and the title text
//   -solution:<name>      the solution name in the main window's title (default Game)
//   -title:<text>         the main window's whole title (default "<name> - <title text>")
//   -dte:on|off           register the automation object in the Running Object Table as
//                         "!<ProgID>:<own process id>" (default: on when the edition has a ProgID)
//   -management:on|off    own a hidden "Visual Studio Application Management Window" (default:
//                         on for the editions from Visual Studio 2010 on)
//   -dde:ack|nack|connect-only|never
//                         how DDE requests are answered (default ack)
//   -log:<file>           the log file, appended to (default: standard output)
//   -- <program> ...      the child: the stand-in waits for it, pumping messages, and exits with
//                         its exit code. Without one it serves until its main window is closed.
//
// The log has one line per open request, in arrival order, each ending in "\n" (no "\r"):
//   dte <command name> <command arguments>   a call of _DTE::ExecuteCommand
//   dde <command text>                       the text of a WM_DDE_EXECUTE
// The main window shows the same lines.
//
// Exit codes of its own: 101 bad command line, 102 not running under Wine, 103 setting up failed
// (a window, the type library or the automation object), 104 the child could not be started.

#include "driver/app_info.h"
#include "driver/unique_resource.h"
#include "tests/standin/dde_server.h"
#include "tests/standin/recording_dte.h"
#include "tests/standin/rot_registration.h"
#include "vslink/com_owners.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

const int EXIT_BAD_COMMAND_LINE = 101;
const int EXIT_NOT_WINE = 102;
const int EXIT_SET_UP_FAILED = 103;
const int EXIT_CHILD_NOT_STARTED = 104;

const char MANAGEMENT_WINDOW_TITLE[] = "Visual Studio Application Management Window";
const int FIRST_APP_WITH_MANAGEMENT_WINDOW = 6;

const char USAGE[] =
    "usage: standin <edition> [-solution:<name>] [-title:<text>] [-dte:on|off] [-management:on|off]\n"
    "               [-dde:ack|nack|connect-only|never] [-log:<file>] [-- <program> [<argument>...]]\n";

struct Options {
    const AppInfo* app = nullptr;
    std::string solutionName = "Game";
    std::string title;
    int registerDte = -1;       // -1: the edition's default
    int managementWindow = -1;  // -1: the edition's default
    DdeAnswer ddeAnswer = DdeAnswer::Ack;
    std::string logPath;
    std::string childCommandLine;
};

// Registering its type library would break a real Visual Studio installation's: Wine only.
bool runningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

bool startsWith(const char* text, const char* prefix, const char** rest)
{
    size_t length = strlen(prefix);
    if (strncmp(text, prefix, length) != 0)
        return false;
    *rest = text + length;
    return true;
}

bool parseSwitch(const char* value, int& result)
{
    if (strcmp(value, "on") == 0 || strcmp(value, "off") == 0) {
        result = strcmp(value, "on") == 0;
        return true;
    }
    return false;
}

bool parseDdeAnswer(const char* value, DdeAnswer& result)
{
    static const struct {
        const char* name;
        DdeAnswer answer;
    } answers[] = {{"ack", DdeAnswer::Ack},
                   {"nack", DdeAnswer::Nack},
                   {"connect-only", DdeAnswer::ConnectOnly},
                   {"never", DdeAnswer::Never}};
    for (const auto& entry : answers) {
        if (strcmp(value, entry.name) == 0) {
            result = entry.answer;
            return true;
        }
    }
    return false;
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
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

bool parseOption(const char* argument, Options& options)
{
    const char* value = nullptr;
    if (startsWith(argument, "-solution:", &value))
        options.solutionName = value;
    else if (startsWith(argument, "-title:", &value))
        options.title = value;
    else if (startsWith(argument, "-dte:", &value))
        return parseSwitch(value, options.registerDte);
    else if (startsWith(argument, "-management:", &value))
        return parseSwitch(value, options.managementWindow);
    else if (startsWith(argument, "-dde:", &value))
        return parseDdeAnswer(value, options.ddeAnswer);
    else if (startsWith(argument, "-log:", &value))
        options.logPath = value;
    else if (const AppInfo* app = findAppBySwitch(argument))
        options.app = app;
    else
        return false;
    return true;
}

bool parseOptions(int argc, char** argv, Options& options)
{
    int i = 1;
    for (; i < argc && strcmp(argv[i], "--") != 0; ++i) {
        if (!parseOption(argv[i], options)) {
            fprintf(stderr, "standin: unknown or malformed argument %s\n", argv[i]);
            return false;
        }
    }
    for (++i; i < argc; ++i)
        options.childCommandLine += (options.childCommandLine.empty() ? "" : " ") + quoteArgument(argv[i]);

    if (!options.app)
        return false;
    if (options.title.empty())
        options.title = options.solutionName + " - " + options.app->windowTitleText;
    if (options.registerDte < 0)
        options.registerDte = options.app->dteProgId != nullptr;
    if (options.managementWindow < 0)
        options.managementWindow = options.app->id >= FIRST_APP_WITH_MANAGEMENT_WINDOW;
    if (options.registerDte && !options.app->dteProgId) {
        fprintf(stderr, "standin: %s has no automation object\n", options.app->switchName);
        return false;
    }
    return true;
}

// The log file (or standard output) and the main window's view of it.
class Log {
public:
    explicit Log(std::string path) : path_(std::move(path)) {}

    void showIn(HWND view) { view_ = view; }

    void write(const std::string& line)
    {
        // Opened per line, so that a reader sees every line as soon as it is written.
        if (path_.empty()) {
            fwrite(line.data(), 1, line.size(), stdout);
            fputc('\n', stdout);
            fflush(stdout);
        } else {
            UniqueCStream file(fopen(path_.c_str(), "ab"));
            if (file) {
                fwrite(line.data(), 1, line.size(), file.get());
                fputc('\n', file.get());
            }
        }
        appendToView(line + "\r\n");
    }

    void appendToView(const std::string& text)
    {
        if (!view_)
            return;
        int end = GetWindowTextLengthA(view_);
        SendMessageA(view_, EM_SETSEL, end, end);
        SendMessageA(view_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
    }

private:
    std::string path_;
    HWND view_ = nullptr;
};

HWND createLogView(HWND mainWindow)
{
    RECT client;
    GetClientRect(mainWindow, &client);
    return CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY, 0, 0,
                           client.right, client.bottom, mainWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
}

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
    DWORD handleCount = process ? 1 : 0;
    for (;;) {
        DWORD result = MsgWaitForMultipleObjects(handleCount, &process, FALSE, INFINITE, QS_ALLINPUT);
        if (process && result == WAIT_OBJECT_0)
            return;
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (!process && !IsWindow(window))
            return;
    }
}

int runChild(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started = {};
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back('\0');
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
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
    DdeServer ddeServer(options.app->ddeServiceName, options.ddeAnswer,
                        [&log](const std::string& command) { log.write("dde " + command); });
    HWND mainWindow = ddeServer.createWindow(options.title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    if (!mainWindow || (options.managementWindow && !ddeServer.createWindow(MANAGEMENT_WINDOW_TITLE, 0)))
        return EXIT_SET_UP_FAILED;
    log.showIn(createLogView(mainWindow));
    log.appendToView("Stand-in for " + std::string(options.app->displayName) + ", process " +
                     std::to_string(GetCurrentProcessId()) + "\r\n");

    ComPtr<RecordingDte> dte;
    std::unique_ptr<RotRegistration> registration;
    if (options.registerDte) {
        dte = ComPtr<RecordingDte>(new RecordingDte([&log](const std::string& name, const std::string& arguments) {
            log.write("dte " + name + " " + arguments);
        }));
        std::string itemName = std::string(options.app->dteProgId) + ":" + std::to_string(GetCurrentProcessId());
        registration = std::make_unique<RotRegistration>(dte.get(), itemName);
        if (!registerTypeLibrary() || !registration->registered())
            return EXIT_SET_UP_FAILED;
    }

    if (options.childCommandLine.empty()) {
        pumpUntilDone(nullptr, mainWindow);
        return 0;
    }
    return runChild(options.childCommandLine);
}

class ComApartment {
public:
    ComApartment() { CoInitialize(nullptr); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!runningUnderWine()) {
        fputs("standin: runs only under Wine: it re-registers Visual Studio's automation interface\n", stderr);
        return EXIT_NOT_WINE;
    }
    Options options;
    if (!parseOptions(argc, argv, options)) {
        fputs(USAGE, stderr);
        return EXIT_BAD_COMMAND_LINE;
    }
    ComApartment apartment;
    return serve(options);
}
