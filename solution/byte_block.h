#ifndef QUORLAN_SOLUTION_BYTE_BLOCK_H
#define QUORLAN_SOLUTION_BYTE_BLOCK_H

// ByteBlock: a growable block of bytes (or other plain values) that grows without filling what it
// adds: the text of a million file names is appended name by name, and a block sized up front is
// filled by its owner. A std::vector in everything else.

#include <memory>
#include <new>
#include <utility>
#include <vector>

// std::allocator, but a value made without an initial value is left as it is.
template <typename T>
class UninitializedAllocator : public std::allocator<T> {
public:
    template <typename U>
    struct rebind {
        using other = UninitializedAllocator<U>;
    };

    UninitializedAllocator() = default;
    template <typename U>
    UninitializedAllocator(const UninitializedAllocator<U>&) noexcept
    {
    }

    template <typename U>
    void construct(U* place) noexcept
    {
        ::new (static_cast<void*>(place)) U;
    }
    template <typename U, typename... Arguments>
    void construct(U* place, Arguments&&... arguments)
    {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }
};

template <typename T>
using UninitializedVector = std::vector<T, UninitializedAllocator<T>>;
using ByteBlock = UninitializedVector<char>;

#endif
