#include "driver/error_keeper.h"

#include <cerrno>

ErrorKeeper::ErrorKeeper() : errno_(errno) {}

ErrorKeeper::~ErrorKeeper()
{
    errno = errno_;
}
