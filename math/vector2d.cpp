#include "math/vector2d.h"

void VECTOR2D::Normalize() {
    const float length = GetLength();
    if (length == 1.0f || length == 0.0f) return;
    const float scale = 1.0f / length;
    x *= scale;
    y *= scale;
}
