// The process entry point: start-up, one command, shut-down.

#include "driver/command_line.h"
#include "driver/crash_filter.h"
#include "driver/dispatch.h"
#include "driver/instance_handle.h"
#include "driver/report_error.h"

#include <windows.h>
#include <objbase.h>

#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    SetUnhandledExceptionFilter(crashFilter);
    instanceHandle = GetModuleHandleA(nullptr);
    defaultCaption = "Quorlan";
    CoInitialize(nullptr);

    CommandLineResult commandLine = runCommandLine(__argc, __argv);
    int exitCode = commandLine.runCommand ? dispatchCommand(commandLine.state) : commandLine.exitCode;

    instanceHandle = nullptr;
    CoUninitialize();
    return exitCode;
}
