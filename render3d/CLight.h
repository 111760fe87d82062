#pragma once
// A fixed-function light that also carries the projection and view matrices for
// rendering the scene from its point of view (shadow maps). The engine drives a single
// GL light: every enabled CLight writes GL_LIGHT0.
#include "math/3DMath.h"
#include "math/matrix4.h"

class CLight {
public:
    CLight();
    // Each array holds four floats. Creating or re-initialising a light computes its
    // matrices, which needs a GL context and the graphics core (g_Graphics).
    CLight(const float* position, const float* diffuse, const float* ambient,
           const float* specular);

    void Init(const float* position, const float* diffuse, const float* ambient,
              const float* specular);

    void Enable();
    void Disable();
    bool IsEnabled() const { return m_bEnabled; }

    float* GetPosition() { return m_Position; }
    const float* GetPosition() const { return m_Position; }
    float* GetDiffuse() { return m_Diffuse; }
    float* GetAmbient() { return m_Ambient; }
    float* GetSpecular() { return m_Specular; }
    // Stores the position, hands it to GL_LIGHT0 at once (through the current
    // modelview matrix), marks shadow volumes out of date and recomputes the matrices.
    void SetPosition(float x, float y, float z, float w);

    MATRIX4X4 GetLightProjMatrix() const { return m_ProjMatrix; }
    MATRIX4X4 GetLightViewMatrix() const { return m_ViewMatrix; }

    // Plain accessors: a change takes effect at the next SetPosition or Init.
    void SetLightFovY(float fovY) { m_fFovY = fovY; }
    float GetLightFovY() const { return m_fFovY; }
    void SetLightAspect(float aspect) { m_fAspect = aspect; }
    float GetLightAspect() const { return m_fAspect; }
    void SetLightZNear(float zNear) { m_fZNear = zNear; }
    float GetLightZNear() const { return m_fZNear; }
    void SetLightZFar(float zFar) { m_fZFar = zFar; }
    float GetLightZFar() const { return m_fZFar; }
    void SetLightViewVector(CVector3 view) { m_vView = view; }
    void SetLightViewVector(float x, float y, float z) { m_vView = CVector3(x, y, z); }
    void SetLightUPVector(CVector3 up) { m_vUp = up; }
    void SetLightUPVector(float x, float y, float z) { m_vUp = CVector3(x, y, z); }
    CVector3* GetLightViewVector() { return &m_vView; }
    CVector3* GetLightUPVector() { return &m_vUp; }

private:
    void CopyParameters(const float* position, const float* diffuse, const float* ambient,
                        const float* specular);
    void ComputeMatrices();

    float m_Position[4];
    float m_Diffuse[4];
    float m_Ambient[4];
    float m_Specular[4];
    MATRIX4X4 m_ProjMatrix;
    MATRIX4X4 m_ViewMatrix;
    bool m_bEnabled;
    float m_fFovY;
    float m_fAspect;
    float m_fZNear;
    float m_fZFar;
    CVector3 m_vView;
    CVector3 m_vUp;
};
