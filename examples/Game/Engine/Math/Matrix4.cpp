#include "Matrix4.h"

namespace engine {

Matrix4 Matrix4::identity()
{
    Matrix4 r{};
    r.m[0] = r.m[5] = r.m[10] = r.m[15] = 1;
    return r;
}

Vector3 Matrix4::transform(const Vector3& v) const
{
    return {m[0] * v.x + m[4] * v.y + m[8] * v.z + m[12], m[1] * v.x + m[5] * v.y + m[9] * v.z + m[13],
            m[2] * v.x + m[6] * v.y + m[10] * v.z + m[14]};
}

}  // namespace engine
