#include "driver/crash_filter.h"

#include "driver/unique_resource.h"

#include <dbghelp.h>
#include <psapi.h>

#include <cstdint>
#include <cstdio>

namespace {

// Where the walk starts: the registers of the faulting processor, and the machine type DbgHelp
// walks frames for. The only difference between the 32-bit product and the 64-bit test variant.
#if defined(_M_X64) || defined(__x86_64__)
const DWORD MACHINE_TYPE = IMAGE_FILE_MACHINE_AMD64;
DWORD64 programCounter(const CONTEXT& context) { return context.Rip; }
DWORD64 framePointer(const CONTEXT& context) { return context.Rbp; }
DWORD64 stackPointer(const CONTEXT& context) { return context.Rsp; }

// An x64 stack is unwound with the function tables of the modules, not along a chain of frame
// pointers, and DbgHelp's own lookups of the tables and module bases need a symbol handler, which
// the filter doesn't set up: with them the walk finds no frame at all. The system's lookups need
// none.
PVOID CALLBACK functionTableEntry(HANDLE, DWORD64 address)
{
    DWORD64 imageBase;
    return RtlLookupFunctionEntry(address, &imageBase, nullptr);
}

DWORD64 CALLBACK moduleBase(HANDLE, DWORD64 address)
{
    HMODULE module;
    DWORD flags = GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, reinterpret_cast<const char*>(address), &module))
        return 0;
    return reinterpret_cast<DWORD64>(module);
}

const PFUNCTION_TABLE_ACCESS_ROUTINE64 FUNCTION_TABLE_ACCESS = functionTableEntry;
const PGET_MODULE_BASE_ROUTINE64 GET_MODULE_BASE = moduleBase;
#else
const DWORD MACHINE_TYPE = IMAGE_FILE_MACHINE_I386;
DWORD64 programCounter(const CONTEXT& context) { return context.Eip; }
DWORD64 framePointer(const CONTEXT& context) { return context.Ebp; }
DWORD64 stackPointer(const CONTEXT& context) { return context.Esp; }

const PFUNCTION_TABLE_ACCESS_ROUTINE64 FUNCTION_TABLE_ACCESS = SymFunctionTableAccess64;
const PGET_MODULE_BASE_ROUTINE64 GET_MODULE_BASE = SymGetModuleBase64;
#endif

// Walks the stack from the context; returns the number of program counters stored.
int walkStack(CONTEXT context, DWORD64 (&frames)[MAX_FRAMES])
{
    STACKFRAME64 frame = {};
    frame.AddrPC.Offset = programCounter(context);
    frame.AddrPC.Mode = AddrModeFlat;
    frame.AddrFrame.Offset = framePointer(context);
    frame.AddrFrame.Mode = AddrModeFlat;
    frame.AddrStack.Offset = stackPointer(context);
    frame.AddrStack.Mode = AddrModeFlat;

    int count = 0;
    while (count < MAX_FRAMES &&
           StackWalk64(MACHINE_TYPE, GetCurrentProcess(), GetCurrentThread(), &frame, &context, nullptr,
                       FUNCTION_TABLE_ACCESS, GET_MODULE_BASE, nullptr)) {
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
