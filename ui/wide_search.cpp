#include "ui/wide_search.h"

bool hasWideSearch()
{
    return __builtin_cpu_supports("sse2");
}
