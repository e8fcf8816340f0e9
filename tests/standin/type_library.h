#ifndef QUORLAN_TESTS_STANDIN_TYPE_LIBRARY_H
#define QUORLAN_TESTS_STANDIN_TYPE_LIBRARY_H

// The registration of the stand-in's own type library, which declares _DTE so that COM's
// type-library marshaller can carry calls on it between processes.
//
// Registering it points the system-wide entry of the real _DTE interface id at this library:
// only ever do it under Wine, in a prefix made for testing. Stand-ins running side by side share
// the registration; the last one to end removes it.

#include "driver/unique_resource.h"

#include <windows.h>
#include <oaidl.h>

#include <string>

class TypeLibraryRegistration {
public:
    // Registers the type library in modulePath (a file holding a TYPELIB resource 1).
    explicit TypeLibraryRegistration(const std::string& modulePath);
    ~TypeLibraryRegistration();
    TypeLibraryRegistration(const TypeLibraryRegistration&) = delete;
    TypeLibraryRegistration& operator=(const TypeLibraryRegistration&) = delete;

    bool registered() const { return registered_; }

private:
    LONG* users() const { return static_cast<LONG*>(usersView_.get()); }

    struct MappedViewTraits {
        using Value = void*;
        static Value empty() { return nullptr; }
        static void close(Value view) { UnmapViewOfFile(view); }
    };

    UniqueHandle lock_;
    UniqueHandle usersMapping_;
    UniqueResource<MappedViewTraits> usersView_;
    bool registered_ = false;
    TLIBATTR library_ = {};
};

#endif
