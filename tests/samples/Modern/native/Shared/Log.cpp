#include "Log.h"

#include <cstdio>

void log(const char* text)
{
    std::puts(text);
}
