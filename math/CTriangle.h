#pragma once
#include "math/3DMath.h"

// Three points, kept contiguous so that the triangle can be passed where a polygon is taken.
class CTriangle {
public:
    CVector3 points[3];

    CTriangle() = default;
    CTriangle(CVector3 a, CVector3 b, CVector3 c) { SetPoints(a, b, c); }

    void SetPoints(CVector3 a, CVector3 b, CVector3 c);
    // Unit normal by the engine's winding (see Normal); zero when degenerate.
    CVector3 GetNormal() const { return Normal(points); }
};
