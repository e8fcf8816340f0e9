#include "driver/crash_filter.h"

#include "driver/unique_resource.h"

#include <dbghelp.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>

namespace {

// Walks the stack from the context; returns the number of program counters stored.
int walkStack(CONTEXT context, DWORD64 (&frames)[MAX_FRAMES])
{
    STACKFRAME64 frame = {};
    frame.AddrPC.Offset = context.Eip;
    frame.AddrPC.Mode = AddrModeFlat;
    frame.AddrFrame.Offset = context.Ebp;
    frame.AddrFrame.Mode = AddrModeFlat;
    frame.AddrStack.Offset = context.Esp;
    frame.AddrStack.Mode = AddrModeFlat;

    int count = 0;
    while (count < MAX_FRAMES &&
           StackWalk64(IMAGE_FILE_MACHINE_I386, GetCurrentProcess(), GetCurrentThread(), &frame, &context,
                       nullptr, SymFunctionTableAccess64, SymGetModuleBase64, nullptr)) {
        frames[count++] = frame.AddrPC.Offset;
    }
    return count;
}

}  // namespace

LONG WINAPI crashFilter(EXCEPTION_POINTERS* exceptionPointers)
{
    if (!exceptionPointers || !exceptionPointers->ContextRecord)
        return EXCEPTION_CONTINUE_SEARCH;

    // The walk changes the context it is given, so it works on a copy.
    DWORD64 frames[MAX_FRAMES];
    int frameCount = walkStack(*exceptionPointers->ContextRecord, frames);

    MODULEINFO module = {};
    K32GetModuleInformation(GetCurrentProcess(), GetModuleHandleA(nullptr), &module, sizeof module);

    FILE* opened = nullptr;
    if (fopen_s(&opened, "quorlan.log", "w") != 0 || !opened)
        return EXCEPTION_CONTINUE_SEARCH;
    UniqueCStream log(opened);
    fprintf(log.get(), "%08x %08x\n", static_cast<unsigned>(reinterpret_cast<uintptr_t>(module.lpBaseOfDll)),
            static_cast<unsigned>(module.SizeOfImage));
    for (int i = 0; i < frameCount; ++i)
        fprintf(log.get(), i == 0 ? "%08x" : " %08x", static_cast<unsigned>(frames[i]));
    return EXCEPTION_CONTINUE_SEARCH;
}
