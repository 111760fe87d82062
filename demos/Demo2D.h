#pragma once
// What the five 2D demos share: a 1024 x 768 window in 2D mode with the custom cursor,
// the demo font and a logo in the bottom-right corner, and one frame structure: the
// demo's own work, the engine's frame (which draws the 2D objects), a caption line, the
// logo, the swap. Escape or a window close ends the run.
#include "core/cApp.h"

class CTexture;

class Demo2D : public CApp {
public:
    ~Demo2D() override;

    void Init() override;
    void Run() override;
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}

    // One frame; false once the run's frame limit is reached.
    bool RenderScene();
    // One pass of Run: RenderScene, then the keys. False when the run ends.
    bool RunPass();

    CTexture* GetLogo() const { return m_pLogo; }

protected:
    // The caption printed with font 1, character set 0, at (x, y).
    Demo2D(const char* caption, int captionX, int captionY);

    virtual void InitFeature() = 0;
    // Drawn before the engine's frame, so the 2D objects and texts lie over it.
    virtual void FeatureFrame() {}
    virtual void HandleKeys() {}

private:
    CTexture* m_pLogo;
    const char* m_sCaption;
    int m_iCaptionX;
    int m_iCaptionY;
};
