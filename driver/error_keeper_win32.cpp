#include "driver/error_keeper.h"

#include <windows.h>

#include <cerrno>

ErrorKeeper::ErrorKeeper() : errno_(errno), lastError_(GetLastError()) {}

ErrorKeeper::~ErrorKeeper()
{
    SetLastError(lastError_);
    errno = errno_;
}
