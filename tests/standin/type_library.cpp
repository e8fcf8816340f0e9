#include "tests/standin/type_library.h"

#include "vslink/com_owners.h"

#include <vector>

namespace {

// Named objects shared by every stand-in of the Wine prefix: a lock around registering and
// unregistering, and the count of stand-ins using the registration.
const char LOCK_NAME[] = "QuorlanStandInTypeLibraryLock";
const char USERS_NAME[] = "QuorlanStandInTypeLibraryUsers";

class LockGuard {
public:
    explicit LockGuard(HANDLE mutex) : mutex_(mutex) { WaitForSingleObject(mutex_, INFINITE); }
    ~LockGuard() { ReleaseMutex(mutex_); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    HANDLE mutex_;
};

}  // namespace

TypeLibraryRegistration::TypeLibraryRegistration(const std::string& modulePath)
{
    lock_.reset(CreateMutexA(nullptr, FALSE, LOCK_NAME));
    usersMapping_.reset(
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(LONG), USERS_NAME));
    if (!lock_ || !usersMapping_)
        return;
    usersView_.reset(MapViewOfFile(usersMapping_.get(), FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
    if (!usersView_)
        return;

    std::vector<wchar_t> path(modulePath.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, modulePath.c_str(), -1, path.data(), static_cast<int>(path.size()));
    LockGuard guard(lock_.get());
    ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(path.data(), REGKIND_REGISTER, library.put())) || !library)
        return;
    TLIBATTR* attributes = nullptr;
    if (FAILED(library->GetLibAttr(&attributes)))
        return;
    library_ = *attributes;
    library->ReleaseTLibAttr(attributes);
    ++*users();
    registered_ = true;
}

TypeLibraryRegistration::~TypeLibraryRegistration()
{
    if (!registered_)
        return;
    LockGuard guard(lock_.get());
    if (--*users() == 0)
        UnRegisterTypeLib(library_.guid, library_.wMajorVerNum, library_.wMinorVerNum, library_.lcid, library_.syskind);
}
