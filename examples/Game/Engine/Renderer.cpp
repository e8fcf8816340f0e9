#include "Renderer.h"

namespace engine {

Renderer::Renderer(const Viewport& viewport) : viewport_(viewport) {}

void Renderer::beginFrame() {}

void Renderer::endFrame() { ++frameCount_; }

}  // namespace engine
