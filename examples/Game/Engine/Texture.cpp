#include "Texture.hpp"

namespace engine {

bool Texture::load(const std::string& path) { return !path.empty(); }

}  // namespace engine
