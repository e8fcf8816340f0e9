#include "Log.h"

int main()
{
    log("tool");
    return 0;
}
