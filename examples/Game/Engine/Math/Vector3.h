#pragma once

namespace engine {

struct Vector3 {
    float x, y, z;
    Vector3 operator+(const Vector3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    float dot(const Vector3& o) const { return x * o.x + y * o.y + z * o.z; }
};

}  // namespace engine
