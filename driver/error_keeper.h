#ifndef QUORLAN_DRIVER_ERROR_KEEPER_H
#define QUORLAN_DRIVER_ERROR_KEEPER_H

// Keeps the thread's error value across cleanup (the system's last-error value on Windows, errno
// elsewhere): saved when constructed, put back when destroyed. So releasing a resource on an
// early return never hides the error that is about to be reported.
//
// Portable: error_keeper_win32.cpp in the program, error_keeper_posix.cpp in native builds.

class ErrorKeeper {
public:
    ErrorKeeper();
    ~ErrorKeeper();
    ErrorKeeper(const ErrorKeeper&) = delete;
    ErrorKeeper& operator=(const ErrorKeeper&) = delete;

private:
    unsigned long error_;
};

#endif
