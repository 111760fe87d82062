#pragma once
// 3D vector of the shadow-mapping family. Rotation angles are in degrees.
#include <cmath>

class VECTOR3D {
public:
    float x, y, z;

    VECTOR3D() : x(0.0f), y(0.0f), z(0.0f) {}
    VECTOR3D(float newX, float newY, float newZ) : x(newX), y(newY), z(newZ) {}
    VECTOR3D(const VECTOR3D& rhs) = default;
    VECTOR3D& operator=(const VECTOR3D& rhs) = default;

    float GetLength() const { return std::sqrt(x * x + y * y + z * z); }
    // Leaves zero and already-unit vectors exactly as they are.
    void Normalize();
    VECTOR3D GetNormalized() const {
        VECTOR3D result(*this);
        result.Normalize();
        return result;
    }
    float DotProduct(const VECTOR3D& rhs) const { return x * rhs.x + y * rhs.y + z * rhs.z; }

    // Right-handed rotations, as glRotatef; an angle of exactly 0 returns an unchanged copy.
    VECTOR3D GetRotatedX(double angle) const;
    VECTOR3D GetRotatedY(double angle) const;
    VECTOR3D GetRotatedZ(double angle) const;
    VECTOR3D GetRotatedAxis(double angle, const VECTOR3D& axis) const;
    void RotateX(double angle) { *this = GetRotatedX(angle); }
    void RotateY(double angle) { *this = GetRotatedY(angle); }
    void RotateZ(double angle) { *this = GetRotatedZ(angle); }
    void RotateAxis(double angle, const VECTOR3D& axis) { *this = GetRotatedAxis(angle, axis); }

    // Maps a direction into [0, 1]^3 so that it can be stored as a colour.
    VECTOR3D GetPackedTo01() const;
    void PackTo01() { *this = GetPackedTo01(); }

    VECTOR3D operator+(const VECTOR3D& rhs) const {
        return VECTOR3D(x + rhs.x, y + rhs.y, z + rhs.z);
    }
    VECTOR3D operator-(const VECTOR3D& rhs) const {
        return VECTOR3D(x - rhs.x, y - rhs.y, z - rhs.z);
    }
    VECTOR3D operator*(float s) const { return VECTOR3D(x * s, y * s, z * s); }
    bool operator==(const VECTOR3D& rhs) const { return x == rhs.x && y == rhs.y && z == rhs.z; }
    bool operator!=(const VECTOR3D& rhs) const { return !(*this == rhs); }
};

inline VECTOR3D operator*(float s, const VECTOR3D& v) {
    return v * s;
}
