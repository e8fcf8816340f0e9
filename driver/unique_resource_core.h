#ifndef QUORLAN_DRIVER_UNIQUE_RESOURCE_CORE_H
#define QUORLAN_DRIVER_UNIQUE_RESOURCE_CORE_H

// The one owner template, and the owner of a C stream; portable, for the code that also builds
// natively. unique_resource.h adds the owners of Windows resources.
//
// UniqueResource<Traits> holds one value and releases it exactly once, on reset or destruction.
// Traits supplies the value type, what "empty" is, and how to release a value. Releasing keeps
// the thread's error state (ErrorKeeper), so cleanup on an early return never hides the error
// that is about to be reported.

#include "driver/error_keeper.h"

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
            ErrorKeeper keeper;
            Traits::close(value_);
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

struct CStreamTraits {
    using Value = FILE*;
    static Value empty() { return nullptr; }
    static void close(Value stream) { fclose(stream); }
};

using UniqueCStream = UniqueResource<CStreamTraits>;

#endif
