#include "render3d/CParticle.h"

#include "core/Engine.h"
#include "core/Utils.h"

#include <GL/glew.h>

float ParticleFrameInterval() {
    return g_Utils ? float(g_Utils->GetFrameInterval()) : 0.0f;
}

CParticle::CParticle()
    : m_Color(1.0f, 0.4f, 0.0f, 0.5f), m_fEnergy(300.0f), m_fInverseEnergy(1.0f / 300.0f),
      m_Size(1.0f, 2.0f, 1.0f) {}

void CParticle::SetEnergy(float e) {
    m_fEnergy = e;
    m_fInverseEnergy = e != 0.0f ? 1.0f / e : 0.0f;
}

void CParticle::SetColor(float r, float g, float b, float a) {
    m_Color = sColor(r, g, b, a);
}

void CParticle::Draw() {
    glColor4f(m_Color.r, m_Color.g, m_Color.b, m_Color.a);
    glVertex3f(m_Position.x, m_Position.y, m_Position.z);
}

void CParticle::Render() {
    glBegin(GL_POINTS);
    Draw();
    glEnd();
}

void CParticle::QuadCorners(const CVector3& right, const CVector3& up, CVector3 out[4]) const {
    CVector3 a = right + up, b = right - up, c = up - right;
    a.mul(m_Size);
    b.mul(m_Size);
    c.mul(m_Size);
    out[0] = m_Position - a;
    out[1] = m_Position + b;
    out[2] = m_Position + a;
    out[3] = m_Position + c;
}

void CParticle::DrawAsQuad(CVector3& right, CVector3& up) {
    static const float kTex[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    CVector3 corners[4];
    QuadCorners(right, up, corners);
    glColor4f(m_Color.r, m_Color.g, m_Color.b, m_Color.a);
    for (int i = 0; i < 4; ++i) {
        glTexCoord2f(kTex[i][0], kTex[i][1]);
        glVertex3f(corners[i].x, corners[i].y, corners[i].z);
    }
}

void CParticle::Step(const CVector3& a, const CVector3& b, float dt) {
    m_Velocity = m_Velocity + b * dt;
    m_Velocity = m_Velocity + a * dt;
    m_Position = m_Position + m_Velocity * dt;
    m_fEnergy -= ENERGY_LOSS * dt;
}

void CParticle::FadeByEnergy() {
    m_Color.a = m_fEnergy != 0.0f ? m_fEnergy * m_fInverseEnergy : 0.1f;
}

void CParticle::Update(CVector3& a, CVector3& b) {
    Step(a, b, ParticleFrameInterval());
}

void CParticle::UpdateWithTransparency(CVector3& a, CVector3& b) {
    FadeByEnergy();
    Step(a, b, ParticleFrameInterval());
}
