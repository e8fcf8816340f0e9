#pragma once

#include <string>

namespace engine {

class Texture {
public:
    bool load(const std::string& path);
    int width() const { return width_; }

private:
    int width_ = 0;
};

}  // namespace engine
