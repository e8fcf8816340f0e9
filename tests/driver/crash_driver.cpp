// A program that crashes on purpose with the real crash filter installed, for the crash-report
// end-to-end test.
//
//   crash_driver <depth>   recurses depth calls deep, then writes through a null pointer

#include "driver/crash_filter.h"

#include <cstdlib>

namespace {

volatile int* volatile nowhere = nullptr;

int recurse(int depth);

// Calling through a volatile pointer keeps the compiler from turning the recursion into a loop,
// so every level keeps a stack frame.
int (*volatile nextLevel)(int) = recurse;

int recurse(int depth)
{
    if (depth <= 0) {
        *nowhere = 1;
        return 0;
    }
    return nextLevel(depth - 1) + 1;
}

}  // namespace

int main(int argc, char** argv)
{
    SetUnhandledExceptionFilter(crashFilter);
    int depth = argc > 1 ? atoi(argv[1]) : 100;
    return recurse(depth);
}
