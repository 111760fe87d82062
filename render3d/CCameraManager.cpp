#include "render3d/CCameraManager.h"

#include "scene2d/CCamera2D.h"

#include <GL/glew.h>

CCameraManager::CCameraManager() = default;

CCameraManager::~CCameraManager() {
    for (CCamera2D* camera : m_Cameras)
        delete camera;
}

void CCameraManager::RegisterCamera(CCamera2D* camera) {
    if (!camera) return;
    m_Cameras.push_back(camera);
    m_CameraCount = static_cast<unsigned int>(m_Cameras.size());
    m_ActualCamera = m_CameraCount - 1;
}

void CCameraManager::setActualCamera(unsigned int index) {
    if (index < m_CameraCount) m_ActualCamera = index;
}

CCamera2D* CCameraManager::Actual() {
    return m_CameraCount == 0 ? nullptr : m_Cameras[m_ActualCamera];
}

void CCameraManager::Look() {
    if (CCamera2D* camera = Actual()) {
        const CVector2 p = camera->getPosition();
        glTranslatef(p.x, p.y, 0.0f);
    }
}

void CCameraManager::MoveLeft(float d) {
    if (CCamera2D* camera = Actual()) camera->MoveLeft(d);
}

void CCameraManager::MoveRight(float d) {
    if (CCamera2D* camera = Actual()) camera->MoveRight(d);
}

void CCameraManager::MoveUp(float d) {
    if (CCamera2D* camera = Actual()) camera->MoveUp(d);
}

void CCameraManager::MoveDown(float d) {
    if (CCamera2D* camera = Actual()) camera->MoveDown(d);
}

void CCameraManager::MoveRelative(float dx, float dy) {
    if (CCamera2D* camera = Actual()) camera->MoveRelative(dx, dy);
}

CVector2* CCameraManager::GetActualCameraPosition() {
    CCamera2D* camera = Actual();
    return camera ? camera->GetPositionPointer() : nullptr;
}

CVector2* CCameraManager::GetCameraPosition(unsigned int index) {
    if (index < m_CameraCount) return m_Cameras[index]->GetPositionPointer();
    return GetActualCameraPosition();
}
