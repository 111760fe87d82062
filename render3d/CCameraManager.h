#pragma once
#include "math/3DMath.h"

#include <vector>

class CCamera2D;

// The list of 2D cameras; the actual one shifts the 2D scene. Owns its cameras.
class CCameraManager {
public:
    CCameraManager();
    ~CCameraManager();
    CCameraManager(const CCameraManager&) = delete;
    CCameraManager& operator=(const CCameraManager&) = delete;

    // Takes ownership and makes the new camera the actual one.
    void RegisterCamera(CCamera2D* camera);
    // An index at or beyond the count is ignored.
    void setActualCamera(unsigned int index);
    unsigned int GetActualCameraIndex() const { return m_ActualCamera; }
    unsigned int GetCameraCount() const { return m_CameraCount; }

    // glTranslatef by the actual camera's position; nothing without a camera.
    void Look();

    void MoveLeft(float d);
    void MoveRight(float d);
    void MoveUp(float d);
    void MoveDown(float d);
    void MoveRelative(float dx, float dy);

    // Null when there is no camera.
    CVector2* GetActualCameraPosition();
    // The actual camera's position when the index is out of range.
    CVector2* GetCameraPosition(unsigned int index);

private:
    CCamera2D* Actual();

    std::vector<CCamera2D*> m_Cameras;
    unsigned int m_CameraCount = 0;
    unsigned int m_ActualCamera = 0;
};
