#pragma once
#include "math/3DMath.h"

// A ray that remembers its nearest hit: models offer hit points through
// SetDistanceFromOriginToaPoint and colour the ray only when it accepts them.
class CRay {
public:
    CRay() { ResetRay(); }

    void ResetRay();

    void SetOrigin(float x, float y, float z) { m_Origin = CVector3(x, y, z); }
    CVector3 GetOrigin() const { return m_Origin; }
    void SetDirection(float x, float y, float z) { m_Direction = CVector3(x, y, z); }
    CVector3 GetDirection() const { return m_Direction; }

    void SetColor(float r, float g, float b) {
        m_Color[0] = r;
        m_Color[1] = g;
        m_Color[2] = b;
    }
    float GetColorR() const { return m_Color[0]; }
    float GetColorG() const { return m_Color[1]; }
    float GetColorB() const { return m_Color[2]; }

    void SetHit(bool hit) { m_Hit = hit; }
    bool isHit() const { return m_Hit; }
    float GetDistance() const { return m_Distance; }

    // True, and the distance is kept, when p is nearer to the origin than the nearest hit
    // so far; false, changing nothing, otherwise.
    bool SetDistanceFromOriginToaPoint(CVector3 p);

private:
    CVector3 m_Origin;
    CVector3 m_Direction;
    bool m_Hit;
    float m_Distance;
    float m_Color[3];
};
