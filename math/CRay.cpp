#include "math/CRay.h"

namespace {
// Farther than anything in a scene, so the first hit is always accepted.
const float kNoHitDistance = 100000.0f;
} // namespace

void CRay::ResetRay() {
    m_Hit = false;
    m_Distance = kNoHitDistance;
    SetColor(0.0f, 0.0f, 0.0f);
    m_Origin = CVector3();
    m_Direction = CVector3();
}

bool CRay::SetDistanceFromOriginToaPoint(CVector3 p) {
    const float d = Distance(m_Origin, p);
    if (m_Distance <= d) return false;
    m_Distance = d;
    return true;
}
