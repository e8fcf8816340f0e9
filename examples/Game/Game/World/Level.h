#pragma once

class Level {
public:
    bool load(const char* name);
};
