#pragma once
// Homogeneous 4D vector of the shadow-mapping family; rotations turn (x, y, z) and keep w.
#include "math/vector3d.h"

class VECTOR4D {
public:
    float x, y, z, w;

    VECTOR4D(float newX, float newY, float newZ, float newW) : x(newX), y(newY), z(newZ), w(newW) {}
    VECTOR4D(const VECTOR4D& rhs) = default;
    VECTOR4D& operator=(const VECTOR4D& rhs) = default;

    VECTOR4D GetRotatedX(double angle) const { return WithXYZ(XYZ().GetRotatedX(angle)); }
    VECTOR4D GetRotatedY(double angle) const { return WithXYZ(XYZ().GetRotatedY(angle)); }
    VECTOR4D GetRotatedZ(double angle) const { return WithXYZ(XYZ().GetRotatedZ(angle)); }
    VECTOR4D GetRotatedAxis(double angle, const VECTOR3D& axis) const {
        return WithXYZ(XYZ().GetRotatedAxis(angle, axis));
    }
    void RotateX(double angle) { *this = GetRotatedX(angle); }
    void RotateY(double angle) { *this = GetRotatedY(angle); }
    void RotateZ(double angle) { *this = GetRotatedZ(angle); }
    void RotateAxis(double angle, const VECTOR3D& axis) { *this = GetRotatedAxis(angle, axis); }

    VECTOR4D operator*(float s) const { return VECTOR4D(x * s, y * s, z * s, w * s); }
    bool operator==(const VECTOR4D& rhs) const {
        return x == rhs.x && y == rhs.y && z == rhs.z && w == rhs.w;
    }
    bool operator!=(const VECTOR4D& rhs) const { return !(*this == rhs); }

    // The projected point; a w of exactly 0 (a direction) or 1 needs no division.
    operator VECTOR3D() const;

private:
    VECTOR3D XYZ() const { return VECTOR3D(x, y, z); }
    VECTOR4D WithXYZ(const VECTOR3D& v) const { return VECTOR4D(v.x, v.y, v.z, w); }
};

inline VECTOR4D operator*(float s, const VECTOR4D& v) {
    return v * s;
}
