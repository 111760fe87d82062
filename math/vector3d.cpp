#include "math/vector3d.h"

#include "math/matrix4.h"

void VECTOR3D::Normalize() {
    const float length = GetLength();
    if (length == 1.0f || length == 0.0f) return;
    const float scale = 1.0f / length;
    x *= scale;
    y *= scale;
    z *= scale;
}

VECTOR3D VECTOR3D::GetRotatedX(double angle) const {
    if (angle == 0.0) return *this;
    float s, c;
    SinCosDegrees(angle, s, c);
    return VECTOR3D(x, y * c - z * s, y * s + z * c);
}

VECTOR3D VECTOR3D::GetRotatedY(double angle) const {
    if (angle == 0.0) return *this;
    float s, c;
    SinCosDegrees(angle, s, c);
    return VECTOR3D(x * c + z * s, y, -x * s + z * c);
}

VECTOR3D VECTOR3D::GetRotatedZ(double angle) const {
    if (angle == 0.0) return *this;
    float s, c;
    SinCosDegrees(angle, s, c);
    return VECTOR3D(x * c - y * s, x * s + y * c, z);
}

VECTOR3D VECTOR3D::GetRotatedAxis(double angle, const VECTOR3D& axis) const {
    if (angle == 0.0) return *this;
    MATRIX4X4 rotation;
    rotation.SetRotationAxis(angle, axis);
    return rotation.GetRotatedVector3D(*this);
}

VECTOR3D VECTOR3D::GetPackedTo01() const {
    return GetNormalized() * 0.5f + VECTOR3D(0.5f, 0.5f, 0.5f);
}
