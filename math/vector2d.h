#pragma once
// 2D vector of the shadow-mapping family.
#include <cmath>

class VECTOR2D {
public:
    float x, y;

    VECTOR2D(float newX, float newY) : x(newX), y(newY) {}
    VECTOR2D(const VECTOR2D& rhs) = default;
    VECTOR2D& operator=(const VECTOR2D& rhs) = default;

    float GetLength() const { return std::sqrt(x * x + y * y); }
    // Leaves zero and already-unit vectors exactly as they are.
    void Normalize();
    VECTOR2D GetNormalized() const {
        VECTOR2D result(*this);
        result.Normalize();
        return result;
    }

    VECTOR2D operator*(float s) const { return VECTOR2D(x * s, y * s); }
    bool operator==(const VECTOR2D& rhs) const { return x == rhs.x && y == rhs.y; }
    bool operator!=(const VECTOR2D& rhs) const { return !(*this == rhs); }
};

inline VECTOR2D operator*(float s, const VECTOR2D& v) {
    return v * s;
}
