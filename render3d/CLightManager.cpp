#include "render3d/CLightManager.h"

#include "render3d/CLight.h"

CLightManager::CLightManager() : m_iLightCount(0) {}

CLightManager::~CLightManager() {
    for (CLight* light : m_Lights)
        delete light;
}

void CLightManager::RegisterLight(CLight* light) {
    m_Lights.push_back(light);
    m_iLightCount = static_cast<unsigned int>(m_Lights.size());
}

CLight* CLightManager::GetLight(unsigned int n) {
    // Light 0 is not a light either: numbers start at 1.
    if (n == 0 || n > m_iLightCount) return nullptr;
    return m_Lights[n - 1];
}

void CLightManager::EnableLight(unsigned int n) {
    if (CLight* light = GetLight(n)) light->Enable();
}

void CLightManager::DisableLight(unsigned int n) {
    if (CLight* light = GetLight(n)) light->Disable();
}

CVector3 CLightManager::getLightPos(unsigned int n) {
    const CLight* light = GetLight(n);
    if (light == nullptr) return CVector3(0.0f, 100.0f, 0.0f);
    const float* p = light->GetPosition();
    return CVector3(p[0], p[1], p[2]);
}

MATRIX4X4 CLightManager::GetLightProjMatrix(unsigned int n) {
    const CLight* light = GetLight(n);
    return light != nullptr ? light->GetLightProjMatrix() : MATRIX4X4();
}

MATRIX4X4 CLightManager::GetLightViewMatrix(unsigned int n) {
    const CLight* light = GetLight(n);
    return light != nullptr ? light->GetLightViewMatrix() : MATRIX4X4();
}
