#ifndef QUORLAN_DRIVER_UNIQUE_RESOURCE_H
#define QUORLAN_DRIVER_UNIQUE_RESOURCE_H

// Move-only owners for Windows resources, on UniqueResource (unique_resource_core.h).

#include "driver/unique_resource_core.h"

#include <windows.h>

struct WindowTraits {
    using Value = HWND;
    static Value empty() { return nullptr; }
    static void close(Value window) { DestroyWindow(window); }
};

struct KernelHandleTraits {
    using Value = HANDLE;
    static Value empty() { return nullptr; }
    static void close(Value handle) { CloseHandle(handle); }
};

// Handles whose failure value is INVALID_HANDLE_VALUE: files opened by CreateFileA, tool-help snapshots.
struct HandleOrInvalidTraits {
    using Value = HANDLE;
    static Value empty() { return INVALID_HANDLE_VALUE; }
    static void close(Value handle) { CloseHandle(handle); }
};

struct GlobalMemoryTraits {
    using Value = HGLOBAL;
    static Value empty() { return nullptr; }
    static void close(Value memory) { GlobalFree(memory); }
};

struct LocalMemoryTraits {
    using Value = HLOCAL;
    static Value empty() { return nullptr; }
    static void close(Value memory) { LocalFree(memory); }
};

struct GlobalAtomTraits {
    using Value = ATOM;
    static Value empty() { return 0; }
    static void close(Value atom) { GlobalDeleteAtom(atom); }
};

struct GdiObjectTraits {
    using Value = HGDIOBJ;
    static Value empty() { return nullptr; }
    static void close(Value object) { DeleteObject(object); }
};

// An icon loaded without LR_SHARED.
struct IconTraits {
    using Value = HICON;
    static Value empty() { return nullptr; }
    static void close(Value icon) { DestroyIcon(icon); }
};

// A registered window class: unregistering needs the instance it was registered with.
struct ClassRegistration {
    ATOM atom;
    HINSTANCE instance;
    bool operator==(const ClassRegistration& other) const
    {
        return atom == other.atom && instance == other.instance;
    }
};

struct ClassRegistrationTraits {
    using Value = ClassRegistration;
    static Value empty() { return {0, nullptr}; }
    static void close(Value c) { UnregisterClassA(MAKEINTATOM(c.atom), c.instance); }
};

using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueHandle = UniqueResource<KernelHandleTraits>;
using UniqueSnapshotHandle = UniqueResource<HandleOrInvalidTraits>;
using UniqueWin32File = UniqueResource<HandleOrInvalidTraits>;
using UniqueGlobalMemory = UniqueResource<GlobalMemoryTraits>;
using UniqueLocalMemory = UniqueResource<LocalMemoryTraits>;
using UniqueGlobalAtom = UniqueResource<GlobalAtomTraits>;
using UniqueGdiObject = UniqueResource<GdiObjectTraits>;
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueClassRegistration = UniqueResource<ClassRegistrationTraits>;

#endif
