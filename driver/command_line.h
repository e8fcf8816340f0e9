#ifndef QUORLAN_DRIVER_COMMAND_LINE_H
#define QUORLAN_DRIVER_COMMAND_LINE_H

// The front of one run: the scan of the command line into a run state, its checks, the usage
// text and the version banner.
//
//   usage: quorlan <app> <command> -solution:<fullSolutionPath>
//
// Arguments come in any order and are matched case-sensitively; unknown ones are ignored.
// A later argument of the same kind wins.

#include "driver/app_info.h"

#include <string>

enum class Command { None, HeaderFlip, OpenFile };

struct RunState {
    Command command = Command::None;
    std::string headerFlipPath;
    std::string solutionPath;
    std::string solutionName;     // file name of solutionPath without its extension
    const AppInfo* app = nullptr;  // the selected Visual Studio edition
    bool debugMode = false;
    bool waitForDebugger = false;
};

// Either the run ends now with exitCode (usage text, version banner, argument errors, each
// already shown), or the run state passed every check and goes to the command dispatch.
struct CommandLineResult {
    bool runCommand = false;
    int exitCode = 0;
    RunState state;
};

CommandLineResult runCommandLine(int argumentCount, char** arguments);

std::string usageText();
std::string versionBanner();

// The file name of a solution path without its extension ("C:\s\Game.sln" gives "Game").
std::string solutionNameOf(const std::string& solutionPath);

#endif
