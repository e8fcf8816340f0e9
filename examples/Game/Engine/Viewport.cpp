#include "Viewport.h"

namespace engine {

float Viewport::aspect() const { return height ? float(width) / float(height) : 1.0f; }

}  // namespace engine
