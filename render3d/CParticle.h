#pragma once
// One 3D particle: position, velocity, colour, energy and size. It integrates itself with
// the frame time and draws itself as a point (inside the caller's GL_POINTS) or as a
// camera-facing quad (inside the caller's GL_QUADS).
#include "math/3DMath.h"

class CParticle {
public:
    // Energy a particle loses per second.
    static constexpr float ENERGY_LOSS = 10.0f;

    CParticle();

    void SetPosition(float x, float y, float z) { m_Position = CVector3(x, y, z); }
    CVector3 GetPosition() const { return m_Position; }
    void SetVelocity(float x, float y, float z) { m_Velocity = CVector3(x, y, z); }
    CVector3 GetVelocity() const { return m_Velocity; }
    // Also keeps 1 / e, the scale of the alpha that fades with the energy; 0 keeps none.
    void SetEnergy(float e);
    float GetEnergy() const { return m_fEnergy; }
    void SetSize(float x, float y, float z) { m_Size = CVector3(x, y, z); }
    void SetSize(CVector3& size) { m_Size = size; }
    CVector3 GetSize() const { return m_Size; }
    void SetColor(sColor color) { m_Color = color; }
    void SetColor(float r, float g, float b, float a);
    sColor GetColor() const { return m_Color; }

    // Colour and one vertex, inside the caller's glBegin(GL_POINTS).
    void Draw();
    // Draw wrapped in its own glBegin(GL_POINTS) / glEnd().
    void Render();
    // Half-extents along right and up scaled by the size, inside the caller's
    // glBegin(GL_QUADS).
    void DrawAsQuad(CVector3& right, CVector3& up);
    // The four corners DrawAsQuad sends, in order (texture coordinates (0,0), (1,0),
    // (1,1), (0,1)).
    void QuadCorners(const CVector3& right, const CVector3& up, CVector3 out[4]) const;

    // One frame step with the frame interval: a (wind) and b (gravity) accelerate the
    // particle, it moves and loses energy.
    void Update(CVector3& a, CVector3& b);
    // Alpha from the energy first (0.1 at exactly no energy), then as Update.
    void UpdateWithTransparency(CVector3& a, CVector3& b);
    // The same steps for an explicit interval in seconds.
    void Step(const CVector3& a, const CVector3& b, float dt);
    void FadeByEnergy();

private:
    CVector3 m_Position;
    CVector3 m_Unused;
    CVector3 m_Velocity;
    sColor m_Color;
    float m_fEnergy;
    float m_fInverseEnergy;
    CVector3 m_Size;
};

// Seconds of the last frame from the global frame timer (0 without one).
float ParticleFrameInterval();
