#include "render3d/CCamera.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <cmath>

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "math/CFrustum.h"

CCamera::CCamera()
    : m_vLookDirection(0.0f, 0.0f, 0.0f), m_vPosition(150.0f, 110.0f, 150.0f),
      m_vView(1.0f, 5.0f, 1.0f), m_vUpVector(0.0f, 1.0f, 0.0f), m_vStrafe(0.0f, 0.0f, 0.0f),
      m_fSpeed(200.0f), m_pFrustum(new CFrustum()), m_InverseMatrix{} {}

CCamera::~CCamera() {
    delete m_pFrustum;
}

void CCamera::PositionCamera(float posX, float posY, float posZ, float viewX, float viewY,
                             float viewZ, float upX, float upY, float upZ) {
    m_vPosition = CVector3(posX, posY, posZ);
    m_vView = CVector3(viewX, viewY, viewZ);
    m_vUpVector = CVector3(upX, upY, upZ);
}

void CCamera::SetPosition(float x, float y, float z) {
    m_vPosition = CVector3(x, y, z);
}

void CCamera::SetCameraView(float x, float y, float z) {
    m_vView = CVector3(x, y, z);
}

void CCamera::Look() {
    gluLookAt(m_vPosition.x, m_vPosition.y, m_vPosition.z, m_vView.x, m_vView.y, m_vView.z,
              m_vUpVector.x, m_vUpVector.y, m_vUpVector.z);
    m_pFrustum->CalculateFrustum();
}

void CCamera::UpdateStrafeVector() {
    // The member normalize leaves a zero vector alone: looking straight along the up
    // vector gives no strafe direction rather than a NaN one that would poison the eye.
    m_vStrafe = Cross(m_vView - m_vPosition, m_vUpVector);
    m_vStrafe.normalize();
}

void CCamera::Update() {
    UpdateStrafeVector();
    SetViewByMouse();
    CheckForMovement();
}

void CCamera::SetViewByMouse() {
    if (g_Graphics == nullptr || g_EventManager == nullptr) return;
    const unsigned int centreX = static_cast<unsigned int>(g_Graphics->GetScreenWidth()) / 2;
    const unsigned int centreY = static_cast<unsigned int>(g_Graphics->GetScreenHeight()) / 2;
    if (TurnByMouse(g_EventManager->GetMouseX(), g_EventManager->GetMouseY(), centreX, centreY))
        g_EventManager->SetMouseCoordinates(static_cast<int>(centreX), static_cast<int>(centreY));
}

bool CCamera::TurnByMouse(int mouseX, int mouseY, unsigned int centreX, unsigned int centreY) {
    const int cx = static_cast<int>(centreX);
    const int cy = static_cast<int>(centreY);
    if (mouseX == cx && mouseY == cy) return false;

    const float yaw = static_cast<float>(cx - mouseX) * MOUSE_SENSITIVITY;
    const float pitch = static_cast<float>(cy - mouseY) * MOUSE_SENSITIVITY;

    // Looking along the up vector leaves no pitch axis; skip the pitch rather than
    // rotating about a NaN axis, which would ruin the camera for good.
    CVector3 axis = Cross(m_vView - m_vPosition, m_vUpVector);
    if (axis.length() > 0.0f) {
        axis.normalize();
        RotateView(pitch, axis.x, axis.y, axis.z);
    }
    RotateView(yaw, 0.0f, 1.0f, 0.0f);
    return true;
}

void CCamera::RotateView(float angle, float x, float y, float z) {
    const CVector3 v = m_vView - m_vPosition;
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    const float t = 1.0f - c;

    CVector3 rotated;
    rotated.x = (c + t * x * x) * v.x + (t * x * y - z * s) * v.y + (t * x * z + y * s) * v.z;
    rotated.y = (t * x * y + z * s) * v.x + (c + t * y * y) * v.y + (t * y * z - x * s) * v.z;
    rotated.z = (t * x * z - y * s) * v.x + (t * y * z + x * s) * v.y + (c + t * z * z) * v.z;

    m_vLookDirection = rotated;
    m_vLookDirection.normalize();
    // The unnormalised vector keeps the eye-to-view distance.
    m_vView = m_vPosition + rotated;
}

void CCamera::MoveCamera(float distance) {
    // Before the first turn there is no look direction yet; walking then goes where the
    // camera looks instead of not at all.
    CVector3 direction = m_vLookDirection;
    if (direction.length() == 0.0f) {
        direction = m_vView - m_vPosition;
        direction.normalize();
    }
    const CVector3 step = direction * distance;
    m_vPosition = m_vPosition + step;
    m_vView = m_vView + step;
}

void CCamera::StrafeCamera(float distance) {
    // Strafing stays on the ground plane.
    m_vPosition.x += m_vStrafe.x * distance;
    m_vPosition.z += m_vStrafe.z * distance;
    m_vView.x += m_vStrafe.x * distance;
    m_vView.z += m_vStrafe.z * distance;
}

void CCamera::MoveTo(CVector3& point) {
    m_vView = m_vView + (point - m_vPosition);
    m_vPosition = point;
}

void CCamera::CheckForMovement() {
    if (g_Utils == nullptr) return;
    const float step = m_fSpeed * static_cast<float>(g_Utils->GetFrameInterval());
    MoveByKeys(SDL_GetKeyState(nullptr), step);
}

void CCamera::MoveByKeys(const Uint8* keys, float step) {
    if (keys == nullptr) return;
    // Independent tests in this order, so opposite keys cancel.
    if (keys[SDLK_w]) MoveCamera(step);
    if (keys[SDLK_s]) MoveCamera(-step);
    if (keys[SDLK_a]) StrafeCamera(-step);
    if (keys[SDLK_d]) StrafeCamera(step);
}

float* CCamera::GetInverseMatrix() {
    float modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    InvertRigidMatrix(modelview, m_InverseMatrix);
    return m_InverseMatrix;
}

void CCamera::InvertRigidMatrix(const float* m, float* inverse) {
    // Transpose the rotation, rotate the negated translation back.
    inverse[0] = m[0];
    inverse[1] = m[4];
    inverse[2] = m[8];
    inverse[3] = 0.0f;
    inverse[4] = m[1];
    inverse[5] = m[5];
    inverse[6] = m[9];
    inverse[7] = 0.0f;
    inverse[8] = m[2];
    inverse[9] = m[6];
    inverse[10] = m[10];
    inverse[11] = 0.0f;
    inverse[12] = -(m[12] * m[0] + m[13] * m[1] + m[14] * m[2]);
    inverse[13] = -(m[12] * m[4] + m[13] * m[5] + m[14] * m[6]);
    inverse[14] = -(m[12] * m[8] + m[13] * m[9] + m[14] * m[10]);
    inverse[15] = 1.0f;
}
