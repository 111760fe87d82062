#include "math/CFrustum.h"

#include <GL/glew.h>

#include <cmath>

namespace {

inline float PlaneDist(const float plane[4], float x, float y, float z) {
    return plane[0] * x + plane[1] * y + plane[2] * z + plane[3];
}

} // namespace

void NormalizePlane(float planes[6][4], int side) {
    float* p = planes[side];
    const float inverseLength = 1.0f / std::sqrt(p[0] * p[0] + p[1] * p[1] + p[2] * p[2]);
    for (int i = 0; i < 4; ++i)
        p[i] *= inverseLength;
}

CFrustum::CFrustum() : m_Frustum{}, m_Modelview{}, m_Projection{}, m_Clip{} {}

void CFrustum::CalculateFrustum() {
    float projection[16], modelview[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    CalculateFrustum(projection, modelview);
}

void CFrustum::CalculateFrustum(const float projection[16], const float modelview[16]) {
    for (int i = 0; i < 16; ++i) {
        m_Projection[i] = projection[i];
        m_Modelview[i] = modelview[i];
    }
    // clip = projection * modelview; a clip-space point is inside when -w <= x, y, z <= w,
    // so each plane is the bottom row plus or minus another row.
    for (int c = 0; c < 4; ++c)
        for (int r = 0; r < 4; ++r)
            m_Clip[c * 4 + r] = m_Modelview[c * 4] * m_Projection[r] +
                                m_Modelview[c * 4 + 1] * m_Projection[4 + r] +
                                m_Modelview[c * 4 + 2] * m_Projection[8 + r] +
                                m_Modelview[c * 4 + 3] * m_Projection[12 + r];

    struct PlaneRecipe {
        int side, row;
        float sign;
    };
    static const PlaneRecipe kRecipes[6] = {{RIGHT, 0, -1.0f},     {LEFT, 0, 1.0f},
                                            {BOTTOM, 1, 1.0f},     {TOP, 1, -1.0f},
                                            {FAR_PLANE, 2, -1.0f}, {NEAR_PLANE, 2, 1.0f}};
    for (const PlaneRecipe& recipe : kRecipes) {
        for (int i = 0; i < 4; ++i)
            m_Frustum[recipe.side][i] =
                m_Clip[i * 4 + 3] + recipe.sign * m_Clip[i * 4 + recipe.row];
        NormalizePlane(m_Frustum, recipe.side);
    }
}

bool CFrustum::PointInFrustum(float x, float y, float z) const {
    for (const float* plane : m_Frustum)
        if (PlaneDist(plane, x, y, z) <= 0.0f) return false;
    return true;
}

bool CFrustum::SphereInFrustum(float x, float y, float z, float radius) const {
    for (const float* plane : m_Frustum)
        if (PlaneDist(plane, x, y, z) <= -radius) return false;
    return true;
}

bool CFrustum::CubeInFrustum(float x, float y, float z, float size) const {
    for (const float* plane : m_Frustum) {
        bool anyInside = false;
        for (int corner = 0; corner < 8 && !anyInside; ++corner) {
            const float cx = (corner & 1) ? x + size : x - size;
            const float cy = (corner & 2) ? y + size : y - size;
            const float cz = (corner & 4) ? z + size : z - size;
            anyInside = PlaneDist(plane, cx, cy, cz) > 0.0f;
        }
        if (!anyInside) return false;
    }
    return true;
}

int CFrustum::BoxInFrustum(float x1, float y1, float z1, float x2, float y2, float z2) const {
    bool anyCornerOutside = false;
    for (const float* plane : m_Frustum) {
        int inside = 0, outside = 0;
        // Corner order: x varies fastest, then y, then z.
        for (int corner = 0; corner < 8 && (inside == 0 || outside == 0); ++corner) {
            const float cx = (corner & 1) ? x2 : x1;
            const float cy = (corner & 2) ? y2 : y1;
            const float cz = (corner & 4) ? z2 : z1;
            if (PlaneDist(plane, cx, cy, cz) < 0.0f)
                ++outside;
            else
                ++inside;
        }
        if (inside == 0) return BOX_OUTSIDE;
        if (outside > 0) anyCornerOutside = true;
    }
    return anyCornerOutside ? BOX_INTERSECTS : BOX_INSIDE;
}
