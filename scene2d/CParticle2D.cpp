#include "scene2d/CParticle2D.h"

#include "core/Engine.h"
#include "core/Utils.h"

#include <GL/glew.h>

void CParticle2D::SetEnergy(float e) {
    m_fEnergy = e;
    m_fInverseInitialEnergy = e != 0.0f ? 1.0f / e : 0.0f;
}

void CParticle2D::Update(CVector2 wind, CVector2 gravity) {
    const float dt = g_Utils ? float(g_Utils->GetFrameInterval()) : 0.0f;
    m_vVelocity = m_vVelocity + gravity * dt;
    m_vVelocity = m_vVelocity + wind * dt;
    m_vPosition = m_vPosition + m_vVelocity * dt;
    m_fEnergy -= 10.0f * dt;
    if (m_bSizeIncrease) {
        m_vSize.x += m_fSizeIncrease * dt;
        m_vSize.y += m_fSizeIncrease * dt;
    }
}

void CParticle2D::UpdateWithTransparency(CVector2 wind, CVector2 gravity) {
    m_Color.a = m_fEnergy == 0.0f ? 0.05f : m_fEnergy * m_fInverseInitialEnergy;
    Update(wind, gravity);
}

void CParticle2D::Draw() {
    glColor4f(m_Color.r, m_Color.g, m_Color.b, m_Color.a);
    glVertex2f(m_vPosition.x, m_vPosition.y);
}

void CParticle2D::Render() {
    glBegin(GL_POINTS);
    Draw();
    glEnd();
}

void CParticle2D::DrawAsQuad() {
    glColor4f(m_Color.r, m_Color.g, m_Color.b, m_Color.a);
    glPushMatrix();
    glTranslatef(m_vPosition.x, m_vPosition.y, 0.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(0.0f, m_vSize.y);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(m_vSize.x, m_vSize.y);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(m_vSize.x, 0.0f);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glEnd();
    glPopMatrix();
}
