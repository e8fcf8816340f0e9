#ifndef QUORLAN_BENCH_MEMORY_USE_H
#define QUORLAN_BENCH_MEMORY_USE_H

// The process's committed private memory, in bytes: what the benchmarks compare before and
// after building a structure to tell its cost.

#include <windows.h>
#include <psapi.h>

#include <cstddef>

inline size_t privateBytes()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

#endif
