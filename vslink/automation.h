#ifndef QUORLAN_VSLINK_AUTOMATION_H
#define QUORLAN_VSLINK_AUTOMATION_H

#include <windows.h>

#include <string>

// Opens path in the Visual Studio instance whose automation object is registered in the Running
// Object Table as "!" + progId + ":" + parentProcessId (compared case-sensitively), by
// _DTE::ExecuteCommand("File.OpenFile", the path in double quotes). Reports every failure to find
// the object; an object without _DTE, or a failing command, is passed over in silence.
// COM must be initialised on the calling thread.
void openThroughAutomation(const char* progId, const std::string& path, DWORD parentProcessId);

#endif
