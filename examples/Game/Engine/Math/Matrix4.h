#pragma once

#include "Vector3.h"

namespace engine {

struct Matrix4 {
    float m[16];
    static Matrix4 identity();
    Vector3 transform(const Vector3& v) const;
};

}  // namespace engine
