#pragma once

class Level;

class Spawner {
public:
    void spawnAll(Level& level);
};
