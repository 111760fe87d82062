#pragma once
// The view frustum as six planes (a, b, c, d) with a*x + b*y + c*z + d = 0 on the plane
// and the inside on the positive side. The planes are in the space of the modelview
// matrix at the time of the last calculation.

class CFrustum {
public:
    // Plane order; FAR_PLANE and NEAR_PLANE avoid the old far/near macros of windows.h.
    enum Side { RIGHT = 0, LEFT = 1, BOTTOM = 2, TOP = 3, FAR_PLANE = 4, NEAR_PLANE = 5 };

    CFrustum();

    // Reads the current GL projection and modelview matrices.
    void CalculateFrustum();
    // The same from given column-major matrices; needs no GL context.
    void CalculateFrustum(const float projection[16], const float modelview[16]);

    // Note the boundary rules: a distance of exactly 0 is outside for points and cubes but
    // inside for boxes.
    bool PointInFrustum(float x, float y, float z) const;
    bool SphereInFrustum(float x, float y, float z, float radius) const;
    bool CubeInFrustum(float x, float y, float z, float size) const;
    enum { BOX_OUTSIDE = 0, BOX_INTERSECTS = 1, BOX_INSIDE = 2 };
    int BoxInFrustum(float x1, float y1, float z1, float x2, float y2, float z2) const;

    const float (*GetPlanes() const)[4] { return m_Frustum; }

private:
    float m_Frustum[6][4];
    float m_Modelview[16];
    float m_Projection[16];
    float m_Clip[16];
};

// Scales plane `side` so that its (a, b, c) has unit length.
void NormalizePlane(float planes[6][4], int side);
