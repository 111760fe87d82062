#pragma once
// The 3D test bed: the engine's own XML model with parallax mapping, an MD3 character
// with a weapon, a first-person MD2 gun in front of the camera, shadow maps, bounding
// boxes, an information window, a crosshair and a mouse-driven camera (W, A, S, D).
// Arrow keys move the light, Q toggles the wireframe view and Space the shadow-volume
// drawing, each every frame while held.
#include "core/cApp.h"

class C3DGameObject;
class CCrossHair;
class CLight;
class CParticleSystem;
class CRainParticlesystem;
class CSkyDome;
class CTexture;
class CWindow;

class EngineTestApp : public CApp {
public:
    EngineTestApp();
    ~EngineTestApp() override;

    void Init() override;
    // Frames until Escape, a window close or the run's frame limit.
    void Run() override;
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}

    // One frame: the gun, the scene, the vertex count, the logo and the crosshair, then
    // the swap. False once the run's frame limit is reached.
    bool RenderScene();
    // One pass of Run: camera update, RenderScene, then the keys. False when it ends.
    bool RunPass();

    CLight* GetLight() const { return m_pLight; }
    CWindow* GetInformationWindow() const { return m_pInformationWindow; }
    CTexture* GetLogo() const { return m_pLogo; }
    CCrossHair* GetCrossHair() const { return m_pCrossHair; }
    C3DGameObject* GetWeapon() const { return m_pWeapon; }

private:
    CWindow* m_pInformationWindow; // the window manager's once registered
    CLight* m_pLight;              // the light manager's once registered
    CTexture* m_pLogo;
    CSkyDome* m_pSkyDome;
    CParticleSystem* m_pFountain;
    CRainParticlesystem* m_pRain;
    CCrossHair* m_pCrossHair;
    C3DGameObject* m_pWeapon; // drawn by the application, not the object manager
    bool m_bMouseReady;       // mouse look waits for the pointer at the centre
};
