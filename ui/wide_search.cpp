#include "ui/wide_search.h"

#include "solution/text.h"

bool hasWideSearch()
{
    return hasSse2();
}
