#pragma once

namespace engine {

struct Viewport {
    int x = 0, y = 0, width = 1280, height = 720;
    float aspect() const;
};

}  // namespace engine
