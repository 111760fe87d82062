#pragma once
// One particle of a 2D emitter: a textured quad whose top-left corner is its position,
// moving under wind and gravity and losing 10 units of energy per second.
#include "math/3DMath.h"
#include "math/sColor.h"

class CParticle2D {
public:
    void SetPosition(float x, float y) { m_vPosition = CVector2(x, y); }
    CVector2 GetPosition() const { return m_vPosition; }
    void SetVelocity(float x, float y) { m_vVelocity = CVector2(x, y); }
    CVector2 GetVelocity() const { return m_vVelocity; }
    // Also remembers 1/e, so the alpha can follow the fraction of energy left.
    void SetEnergy(float e);
    float GetEnergy() const { return m_fEnergy; }
    void SetSize(float w, float h) { SetSize(CVector2(w, h)); }
    void SetSize(CVector2 size) { m_vSize = m_vInitialSize = size; }
    CVector2 GetSize() const { return m_vSize; }
    void ResetSize() { m_vSize = m_vInitialSize; }
    void SetColor(sColor color) { m_Color = color; }
    void SetColor(float r, float g, float b, float a) { m_Color = sColor(r, g, b, a); }
    sColor GetColor() const { return m_Color; }
    void setSizeIncrease(float v) {
        m_fSizeIncrease = v;
        m_bSizeIncrease = true;
    }

    // One motion step over the frame interval.
    void Update(CVector2 wind, CVector2 gravity);
    // Alpha from the energy left, then the motion step.
    void UpdateWithTransparency(CVector2 wind, CVector2 gravity);

    // Colour and vertex, inside the caller's glBegin(GL_POINTS).
    void Draw();
    void Render();
    void DrawAsQuad();

private:
    CVector2 m_vPosition;
    CVector2 m_vSecondPosition;
    CVector2 m_vVelocity;
    sColor m_Color{1.0f, 0.4f, 0.5f, 1.0f};
    float m_fEnergy = 300.0f;
    float m_fInverseInitialEnergy = 1.0f / 300.0f;
    CVector2 m_vSize{1.0f, 1.0f};
    CVector2 m_vInitialSize{1.0f, 1.0f};
    float m_fSizeIncrease = 0.0f;
    bool m_bSizeIncrease = false;
};
