#include "GameLoop.h"

int main()
{
    GameLoop loop;
    return loop.run();
}
