#ifndef QUORLAN_DRIVER_UNIQUE_RESOURCE_H
#define QUORLAN_DRIVER_UNIQUE_RESOURCE_H

// Move-only owners for Windows resources.
//
// UniqueResource<Traits> holds one value and releases it exactly once, on reset or destruction.
// Traits supplies the value type, what "empty" is, and how to release a value. Releasing keeps
// the thread's last-error value, so cleanup on an early return never hides the error that is
// about to be reported.

#include <windows.h>

#include <cstdio>

template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept : value_(Traits::empty()) {}
    explicit UniqueResource(Value value) noexcept : value_(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(UniqueResource&& other) noexcept : value_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;

    Value get() const noexcept { return value_; }
    explicit operator bool() const noexcept { return !(value_ == Traits::empty()); }

    // Gives up ownership without releasing.
    Value release() noexcept
    {
        Value value = value_;
        value_ = Traits::empty();
        return value;
    }

    void reset(Value value = Traits::empty()) noexcept
    {
        if (!(value_ == Traits::empty())) {
            DWORD lastError = GetLastError();
            Traits::close(value_);
            SetLastError(lastError);
        }
        value_ = value;
    }

    // For out-parameters: releases the current value first, so nothing leaks.
    Value* put() noexcept
    {
        reset();
        return &value_;
    }

private:
    Value value_;
};

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

struct CStreamTraits {
    using Value = FILE*;
    static Value empty() { return nullptr; }
    static void close(Value stream) { fclose(stream); }
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
using UniqueCStream = UniqueResource<CStreamTraits>;
using UniqueClassRegistration = UniqueResource<ClassRegistrationTraits>;

#endif
