#include "math/vector4d.h"

VECTOR4D::operator VECTOR3D() const {
    if (w == 0.0f || w == 1.0f) return VECTOR3D(x, y, z);
    return VECTOR3D(x / w, y / w, z / w);
}
