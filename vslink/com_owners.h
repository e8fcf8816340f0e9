#ifndef QUORLAN_VSLINK_COM_OWNERS_H
#define QUORLAN_VSLINK_COM_OWNERS_H

// Owners of COM resources: interface pointers, BSTRs and strings from the COM task allocator.
//
// ComPtr<T> holds one reference: a copy AddRefs, a move steals, and the holder releases exactly
// once. Declared in the order of acquisition, holders release in reverse order on every return.

#include "driver/unique_resource.h"

#include <objbase.h>
#include <oleauto.h>

#include <string>
#include <utility>

template <typename T>
class ComPtr {
public:
    ComPtr() noexcept = default;
    // Adopts a reference the caller already owns (no AddRef).
    explicit ComPtr(T* pointer) noexcept : pointer_(pointer) {}
    ComPtr(const ComPtr& other) noexcept : pointer_(other.pointer_)
    {
        if (pointer_)
            pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() { reset(); }

    T* get() const noexcept { return pointer_; }
    T* operator->() const noexcept { return pointer_; }
    explicit operator bool() const noexcept { return pointer_ != nullptr; }

    void reset() noexcept
    {
        // Cleared before Release, which may call back into code that looks at this holder.
        if (T* old = std::exchange(pointer_, nullptr))
            old->Release();
    }

    // For out-parameters: releases the current reference first, so nothing leaks.
    T** put() noexcept
    {
        reset();
        return &pointer_;
    }
    void** putVoid() noexcept { return reinterpret_cast<void**>(put()); }

private:
    T* pointer_ = nullptr;
};

struct BstrTraits {
    using Value = BSTR;
    static Value empty() { return nullptr; }
    static void close(Value text) { SysFreeString(text); }
};
using UniqueBstr = UniqueResource<BstrTraits>;

// Memory handed out by COM (for example IMoniker::GetDisplayName), freed with CoTaskMemFree.
struct CoTaskMemoryTraits {
    using Value = void*;
    static Value empty() { return nullptr; }
    static void close(Value memory) { CoTaskMemFree(memory); }
};
using UniqueCoTaskMemory = UniqueResource<CoTaskMemoryTraits>;

// A BSTR of an 8-bit text converted from the thread's ANSI code page; empty when the conversion
// or the allocation fails. The BSTR's length is exactly that of the converted text.
UniqueBstr makeBstr(const std::string& text);

// A wide text converted to the thread's ANSI code page; "" when the conversion fails.
std::string ansiText(const wchar_t* text);

#endif
