#include "driver/command_line.h"

#include "driver/build_info.h"
#include "driver/report_error.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>

namespace {

const char HEADER_FLIP_SWITCH[] = "-headerflip:";
const char SOLUTION_SWITCH[] = "-solution:";

bool startsWith(const char* text, const char* prefix)
{
    return strncmp(text, prefix, strlen(prefix)) == 0;
}

enum class ScanOutcome { Continue, ShowVersion, EmptyHeaderFlip };

ScanOutcome scanArgument(const char* argument, RunState& state)
{
    if (startsWith(argument, HEADER_FLIP_SWITCH)) {
        const char* path = argument + strlen(HEADER_FLIP_SWITCH);
        if (*path == '\0')
            return ScanOutcome::EmptyHeaderFlip;
        state.command = Command::HeaderFlip;
        state.headerFlipPath = path;
    } else if (strcmp(argument, "-debug") == 0) {
        state.debugMode = true;
    } else if (strcmp(argument, "-openfile") == 0) {
        state.command = Command::OpenFile;
    } else if (startsWith(argument, SOLUTION_SWITCH)) {
        const char* path = argument + strlen(SOLUTION_SWITCH);
        if (*path != '\0') {
            state.solutionPath = path;
            state.solutionName = solutionNameOf(state.solutionPath);
        }
    } else if (strcmp(argument, "-waitForDebugger") == 0) {
        state.waitForDebugger = true;
    } else if (strcmp(argument, "-version") == 0) {
        return ScanOutcome::ShowVersion;
    } else if (const AppInfo* app = findAppBySwitch(argument)) {
        state.app = app;
    }
    return ScanOutcome::Continue;
}

void waitForDebuggerToAttach()
{
    while (!IsDebuggerPresent())
        Sleep(1000);
    DebugBreak();
}

// The first failing check, in the order command, solution, application; null when all pass.
const char* argumentError(const RunState& state)
{
    if (state.command == Command::None)
        return "No command specified.";
    if (state.command == Command::OpenFile && state.solutionPath.empty())
        return "No solution filename specified.";
    if (!state.app)
        return "No app type specified.";
    return nullptr;
}

CommandLineResult endRun(int exitCode)
{
    CommandLineResult result;
    result.exitCode = exitCode;
    return result;
}

}  // namespace

std::string solutionNameOf(const std::string& solutionPath)
{
    char name[MAX_PATH];
    lstrcpynA(name, PathFindFileNameA(solutionPath.c_str()), MAX_PATH);
    if (!PathRenameExtensionA(name, ""))
        return "";
    return name;
}

std::string usageText()
{
    std::string text;
    text += std::string("quorlan ") + versionText + "\n";
    text += "usage: quorlan <app> <command> -solution:<fullSolutionPath>\n";
    text += "\n";
    text += "<app> may be one of:\n";
    for (const AppInfo& app : appTable) {
        text += std::string("    ") + app.switchName + "\n";
        text += std::string("            ") + app.displayName + "\n";
    }
    text += "\n";
    text += "<command> may be one of:\n";
    text += "    -headerflip:<fullFilePath>\n";
    text += "            Perform a header flip for <fullFilePath>\n";
    text += "    -openfile\n";
    text += "            Display the open file dialog for the specified solution\n";
    return text;
}

std::string versionBanner()
{
    return std::string("Quorlan ") + versionText + "\n" +
           "Built on " + buildDate + " " + buildTime + "\n" +
           "Revision " + revisionId + "\n";
}

CommandLineResult runCommandLine(int argumentCount, char** arguments)
{
    if (argumentCount == 1) {
        reportError("Quorlan", "%s", usageText().c_str());
        return endRun(0);
    }

    CommandLineResult result;
    RunState& state = result.state;
    for (int i = 1; i < argumentCount; ++i) {
        switch (scanArgument(arguments[i], state)) {
        case ScanOutcome::Continue:
            break;
        case ScanOutcome::ShowVersion:
            reportError("Quorlan", "%s", versionBanner().c_str());
            return endRun(0);
        case ScanOutcome::EmptyHeaderFlip:
            reportError("Quorlan", "No filename specified for header flip.");
            return endRun(1);
        }
    }

    if (state.waitForDebugger)
        waitForDebuggerToAttach();

    if (const char* error = argumentError(state)) {
        reportError("Quorlan", "%s", error);
        return endRun(1);
    }
    result.runCommand = true;
    return result;
}
