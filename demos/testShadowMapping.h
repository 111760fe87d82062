#pragma once
// The program's main demo: two animated MD2 characters in a 3DS scene under one light,
// with shadow maps. Arrow keys move the light, Space switches PCF filtering, Q the
// wireframe view; four lines of text, the FPS counter and a logo sit on top.
#include "core/cApp.h"
#include "demos/DemoControls.h"

class C3DGameObject;
class CLight;
class CTexture;

class testShadowMapping : public CApp {
public:
    // The moving character turns back when it passes these z values.
    static constexpr float PATH_NEAR_Z = -10.0f;
    static constexpr float PATH_FAR_Z = 50.0f;
    // World units the light moves per frame while an arrow key is held.
    static constexpr float LIGHT_STEP = kLightStepPerFrame;

    testShadowMapping();
    ~testShadowMapping() override;

    void Init() override;
    // Frames until Escape, a window close or the run's frame limit.
    void Run() override;
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}

    // One frame: the moving character, the scene, the texts and the logo, then the swap.
    // False once the run's frame limit is reached.
    bool RenderScene();
    // One pass of Run: RenderScene, then the keys. False when the run ends.
    bool RunPass();

    // One frame's step of the moving character along z: turns it back at the ends of
    // the path, then moves it by speed x interval. Returns the new z.
    static float StepAlongPath(float z, float& speed, double interval);

    bool IsPCFOn() const { return m_bPCF; }
    float GetSpeed() const { return m_fSpeed; }
    CLight* GetLight() const { return m_pLight; }
    CTexture* GetLogo() const { return m_pLogo; }
    C3DGameObject* GetMovingCharacter() const { return m_pMovingCharacter; }

private:
    CTexture* m_pLogo;
    CLight* m_pLight;
    bool m_bPCF;
    float m_fSpeed;
    C3DGameObject* m_pMovingCharacter;
};
