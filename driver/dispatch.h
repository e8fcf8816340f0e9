#ifndef QUORLAN_DRIVER_DISPATCH_H
#define QUORLAN_DRIVER_DISPATCH_H

// The command dispatch: locates the Visual Studio instance that has the solution open and runs
// the one command of this run against it.
//
// A second open-file run for a solution of the same name, while the first one's window is open,
// brings that window to the front instead of opening another (a named mutex per solution name,
// "<solutionName>.quorlan.mutex", and the window class "OpenFileWindow").

#include "driver/command_line.h"

// Runs the command of a run state that passed the checks; returns the exit code, always 0.
int dispatchCommand(const RunState& state);

#endif
