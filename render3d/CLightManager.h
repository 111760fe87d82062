#pragma once
// The registered lights, numbered from 1 in registration order. Owns them.
#include <vector>

#include "math/3DMath.h"
#include "math/matrix4.h"

class CLight;

class CLightManager {
public:
    CLightManager();
    ~CLightManager();
    CLightManager(const CLightManager&) = delete;
    CLightManager& operator=(const CLightManager&) = delete;

    void RegisterLight(CLight* light);
    unsigned int GetLightCount() const { return m_iLightCount; }

    // Numbers outside 1..count are ignored.
    void EnableLight(unsigned int n);
    void DisableLight(unsigned int n);

    // (0, 100, 0) for a number that is not registered.
    CVector3 getLightPos(unsigned int n);
    // The identity for a number that is not registered.
    MATRIX4X4 GetLightProjMatrix(unsigned int n);
    MATRIX4X4 GetLightViewMatrix(unsigned int n);
    // Null for a number that is not registered.
    CLight* GetLight(unsigned int n);

private:
    std::vector<CLight*> m_Lights;
    unsigned int m_iLightCount;
};
