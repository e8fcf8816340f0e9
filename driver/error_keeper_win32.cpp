#include "driver/error_keeper.h"

#include <windows.h>

ErrorKeeper::ErrorKeeper() : error_(GetLastError()) {}

ErrorKeeper::~ErrorKeeper()
{
    SetLastError(error_);
}
