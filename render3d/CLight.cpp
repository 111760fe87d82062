#include "render3d/CLight.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "render3d/C3DGameObjectManager.h"

namespace {
const float DEFAULT_POSITION[4] = {-120.0f, 190.0f, 20.0f, 1.0f};
const float DEFAULT_DIFFUSE[4] = {0.5f, 0.5f, 0.5f, 0.4f};
const float DEFAULT_AMBIENT[4] = {0.4f, 0.4f, 0.4f, 0.4f};
const float DEFAULT_SPECULAR[4] = {0.4f, 0.4f, 0.4f, 0.4f};
} // namespace

CLight::CLight() : CLight(DEFAULT_POSITION, DEFAULT_DIFFUSE, DEFAULT_AMBIENT, DEFAULT_SPECULAR) {}

CLight::CLight(const float* position, const float* diffuse, const float* ambient,
               const float* specular)
    : m_bEnabled(false), m_fFovY(45.0f), m_fAspect(1.0f), m_fZNear(1.0f), m_fZFar(1500.0f),
      m_vView(0.0f, 0.0f, 0.0f), m_vUp(0.0f, 1.0f, 0.0f) {
    CopyParameters(position, diffuse, ambient, specular);
    ComputeMatrices();
}

void CLight::Init(const float* position, const float* diffuse, const float* ambient,
                  const float* specular) {
    CopyParameters(position, diffuse, ambient, specular);
    m_bEnabled = false;
    ComputeMatrices();
}

void CLight::CopyParameters(const float* position, const float* diffuse, const float* ambient,
                            const float* specular) {
    std::copy(position, position + 4, m_Position);
    std::copy(diffuse, diffuse + 4, m_Diffuse);
    std::copy(ambient, ambient + 4, m_Ambient);
    std::copy(specular, specular + 4, m_Specular);
}

void CLight::Enable() {
    m_bEnabled = true;
    glLightfv(GL_LIGHT0, GL_SPECULAR, m_Specular);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, m_Diffuse);
    glLightfv(GL_LIGHT0, GL_AMBIENT, m_Ambient);
    glLightfv(GL_LIGHT0, GL_POSITION, m_Position);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
}

void CLight::Disable() {
    m_bEnabled = false;
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
}

void CLight::SetPosition(float x, float y, float z, float w) {
    m_Position[0] = x;
    m_Position[1] = y;
    m_Position[2] = z;
    m_Position[3] = w;
    glLightfv(GL_LIGHT0, GL_POSITION, m_Position);
    if (g_3DGameObjectManager != nullptr) g_3DGameObjectManager->SetRegenerateShadowVolume(true);
    ComputeMatrices();
}

void CLight::ComputeMatrices() {
    // GL builds both matrices on the modelview stack; the caller's matrix is restored.
    glPushMatrix();
    glLoadIdentity();
    if (g_Graphics != nullptr) g_Graphics->gluMyPerspective(m_fFovY, m_fAspect, m_fZNear, m_fZFar);
    glGetFloatv(GL_MODELVIEW_MATRIX, static_cast<float*>(m_ProjMatrix));

    glLoadIdentity();
    gluLookAt(m_Position[0], m_Position[1], m_Position[2], m_vView.x, m_vView.y, m_vView.z, m_vUp.x,
              m_vUp.y, m_vUp.z);
    glGetFloatv(GL_MODELVIEW_MATRIX, static_cast<float*>(m_ViewMatrix));
    glPopMatrix();
}
