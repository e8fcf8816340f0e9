#pragma once

#include "Math/Vector3.h"

class Player {
public:
    void update(float seconds);
    engine::Vector3 position{0, 0, 0};
};
