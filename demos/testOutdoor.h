#pragma once
// Outdoors: a shader-mode terrain with three ground textures and a light map under the
// turning sky dome, a fountain of point sprites, rain drawn as quads, the first-person
// camera (mouse look, W/A/S/D), the FPS text and the logo.
#include "core/cApp.h"

class CHeightField;
class CParticleSystem;
class CRainParticlesystem;
class CSkyDome;
class CTexture;

class testOutdoor : public CApp {
public:
    // Eye height above the ground where the camera starts.
    static constexpr float EYE_HEIGHT = 12.0f;

    testOutdoor();
    ~testOutdoor() override;

    void Init() override;
    // Frames until Escape, a window close or the run's frame limit.
    void Run() override;
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}

    // One frame; false once the run's frame limit is reached.
    bool RenderScene();
    // RenderScene, then the keys; false when the run ends.
    bool RunPass();

    CHeightField* GetTerrain() const { return m_pTerrain; }
    CSkyDome* GetSkyDome() const { return m_pSkyDome; }
    CParticleSystem* GetFountain() const { return m_pFountain; }
    CRainParticlesystem* GetRain() const { return m_pRain; }

private:
    void UpdateCamera();

    CTexture* m_pLogo;
    CHeightField* m_pTerrain;
    CSkyDome* m_pSkyDome;
    CParticleSystem* m_pFountain;
    CRainParticlesystem* m_pRain;
    bool m_bMouseReady;
};
