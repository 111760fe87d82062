#include "scene2d/CCrossHair.h"

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "image/CTexture.h"

#include <GL/glew.h>

CCrossHair::~CCrossHair() {
    delete m_pImage;
}

void CCrossHair::LoadCrossHair(char* file) {
    delete m_pImage;
    m_pImage = new CTexture(file ? file : "");
}

void CCrossHair::SetSize(float w, float h) {
    if (!m_pImage) return;
    m_pImage->SetWidth(w);
    m_pImage->SetHeight(h);
}

float CCrossHair::GetWidth() const {
    return m_pImage ? m_pImage->GetWidth() : 0.0f;
}

float CCrossHair::GetHeight() const {
    return m_pImage ? m_pImage->GetHeight() : 0.0f;
}

void CCrossHair::SetPosition(float x, float y) {
    if (m_pImage) m_pImage->SetPosition(CVector2(x, y));
}

CVector2 CCrossHair::GetPosition() const {
    return m_pImage ? m_pImage->GetPosition() : CVector2();
}

void CCrossHair::Draw() {
    if (!m_pImage || !g_Graphics) return;
    glDisable(GL_CULL_FACE);
    g_Graphics->SetOrthoMode(0, 0, int(g_Graphics->GetScreenWidth()),
                             int(g_Graphics->GetScreenHeight()));
    glDisable(GL_DEPTH_TEST);
    m_pImage->Draw();
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
