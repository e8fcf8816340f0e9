#pragma once

class GameLoop {
public:
    int run();
};
