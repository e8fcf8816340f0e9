#ifndef QUORLAN_VSLINK_PARENT_PROCESS_H
#define QUORLAN_VSLINK_PARENT_PROCESS_H

#include <windows.h>

// The id of the process that started this one, from a snapshot of all processes; 0 when it
// can't be found. Visual Studio 2013 and later start the tool themselves, so for them this is
// the instance to talk to.
DWORD getParentProcessId();

#endif
