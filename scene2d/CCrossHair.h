#pragma once
// One image (a cross-hair) drawn over the 3D scene in a temporary pixel projection.
#include "math/3DMath.h"

class CTexture;

class CCrossHair {
public:
    CCrossHair() = default;
    ~CCrossHair();
    CCrossHair(const CCrossHair&) = delete;
    CCrossHair& operator=(const CCrossHair&) = delete;

    void LoadCrossHair(char* file);
    // Each does nothing (or gives zero) before an image is loaded.
    void SetSize(float w, float h);
    float GetWidth() const;
    float GetHeight() const;
    void SetPosition(float x, float y);
    CVector2 GetPosition() const;
    // Leaves face culling off, as the scene around it expects.
    void Draw();

private:
    CTexture* m_pImage = nullptr;
};
