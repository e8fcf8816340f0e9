#include "driver/error_keeper.h"

#include <cerrno>

ErrorKeeper::ErrorKeeper() : error_(static_cast<unsigned long>(errno)) {}

ErrorKeeper::~ErrorKeeper()
{
    errno = static_cast<int>(error_);
}
