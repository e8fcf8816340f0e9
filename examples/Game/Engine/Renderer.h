#pragma once

#include "Viewport.h"

namespace engine {

class Renderer {
public:
    explicit Renderer(const Viewport& viewport);
    void beginFrame();
    void endFrame();

private:
    Viewport viewport_;
    unsigned frameCount_ = 0;
};

}  // namespace engine
