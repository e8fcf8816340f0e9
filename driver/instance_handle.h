#ifndef QUORLAN_DRIVER_INSTANCE_HANDLE_H
#define QUORLAN_DRIVER_INSTANCE_HANDLE_H

#include <windows.h>

// The program module's instance handle, recorded at start-up; window classes are registered
// and resources loaded with it. Null before start-up and after shut-down.
extern HINSTANCE instanceHandle;

#endif
