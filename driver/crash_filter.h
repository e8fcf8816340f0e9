#ifndef QUORLAN_DRIVER_CRASH_FILTER_H
#define QUORLAN_DRIVER_CRASH_FILTER_H

// The crash report: when an exception escapes every handler, crashFilter leaves a short trace in
// "quorlan.log" in the current directory before the system ends the process:
//
//   line 1: "%08x %08x\n"  the program module's base address and image size
//   line 2: "%08x" per stack frame, innermost first, separated by single spaces, no newline
//
// With the base, the addresses become offsets into the program that can be looked up in its
// symbols. The walk starts from the x86 registers of the exception context.

#include <windows.h>

constexpr int MAX_FRAMES = 32;

// Install with SetUnhandledExceptionFilter. Always returns EXCEPTION_CONTINUE_SEARCH, so the
// system's normal handling of the crash follows.
LONG WINAPI crashFilter(EXCEPTION_POINTERS* exceptionPointers);

#endif
