#pragma once
// The engine's one first-person 3D camera: eye, look-at point and up vector, turned by
// the mouse, moved with W/A/S/D, applied with gluLookAt. It owns the view frustum that
// every 3D part culls against.
#include <SDL.h>

#include "math/3DMath.h"

class CFrustum;

class CCamera {
public:
    // Radians of turn per pixel the mouse moved away from the window centre.
    static constexpr float MOUSE_SENSITIVITY = 0.005f;

    CCamera();
    ~CCamera();
    CCamera(const CCamera&) = delete;
    CCamera& operator=(const CCamera&) = delete;

    void PositionCamera(float posX, float posY, float posZ, float viewX, float viewY, float viewZ,
                        float upX, float upY, float upZ);
    void SetPosition(float x, float y, float z);
    void SetCameraView(float x, float y, float z);

    CVector3* GetCameraPosition() { return &m_vPosition; }
    CVector3* GetCameraView() { return &m_vView; }
    CVector3* GetUpVector() { return &m_vUpVector; }
    CVector3* GetStrafeVector() { return &m_vStrafe; }
    CVector3* GetLookDirection() { return &m_vLookDirection; }

    void SetCameraSpeed(float speed) { m_fSpeed = speed; }
    float GetCameraSpeed() const { return m_fSpeed; }

    CFrustum* GetFrustum() { return m_pFrustum; }

    // gluLookAt on the current matrix, then the frustum from the GL matrices.
    void Look();

    // Per-frame input: strafe vector, mouse look, W/A/S/D.
    void Update();

    void SetViewByMouse();
    // The mouse-look step for a sampled pointer position; returns true when the
    // pointer is off centre, i.e. the camera turned and the pointer must be warped back.
    bool TurnByMouse(int mouseX, int mouseY, unsigned int centreX, unsigned int centreY);
    void RotateView(float angle, float x, float y, float z);
    void MoveCamera(float distance);
    void StrafeCamera(float distance);
    void MoveTo(CVector3& point);

    void CheckForMovement();
    // The keyboard step for an SDL key-state array (indexed by SDLKey) and a step length.
    void MoveByKeys(const Uint8* keys, float step);

    // Recomputes the inverse of the current GL modelview matrix (rigid views only).
    float* GetInverseMatrix();
    // Inverse of a column-major rotation-plus-translation matrix.
    static void InvertRigidMatrix(const float* m, float* inverse);

    // Collision hooks; nothing calls them yet.
    void Gravity() {}
    void ResolveCollisions() {}
    bool TryStepUpAndSlide() { return true; }
    bool TrySlide(CVector3) { return false; }

private:
    void UpdateStrafeVector();

    CVector3 m_vLookDirection;
    CVector3 m_vPosition;
    CVector3 m_vView;
    CVector3 m_vUpVector;
    CVector3 m_vStrafe;
    float m_fSpeed;
    CFrustum* m_pFrustum;
    float m_InverseMatrix[16];
};
