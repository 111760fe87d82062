#pragma once
// Owns the SDL video surface and the OpenGL context, holds the engine's render settings
// and switches the projection between the 3D view and the 2D pixel view.
#include "math/matrix4.h"

#include <SDL.h>

#include <string>

class CTexture;

enum sShadowTypes { SHADOW_VOLUME = 0, SHADOW_MAPPING = 1 };

// The depth texture (and its frame buffer object) the shadow-map pass renders into.
struct ShadowMap {
    unsigned int Texture = 0;
    unsigned int FBO = 0;
    unsigned int Width = 1024;
    unsigned int Height = 1024;
    // Maps clip coordinates -1..1 to texture coordinates 0..1.
    MATRIX4X4 BiasMatrix{0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 0.0f, 0.0f,
                         0.0f, 0.0f, 0.5f, 0.0f, 0.5f, 0.5f, 0.5f, 1.0f};
};

class CGraphicsCore {
public:
    CGraphicsCore();
    ~CGraphicsCore();
    CGraphicsCore(const CGraphicsCore&) = delete;
    CGraphicsCore& operator=(const CGraphicsCore&) = delete;

    // Throws a std::string when SDL cannot start or the video mode cannot be set.
    void Initialize(int width, int height, int bpp, bool fullscreen, bool mode2D);

    // Only effective before Initialize.
    void SetDepthBufferSize(unsigned int bits) { m_DepthBufferSize = bits; }
    void SetStencilBufferSize(unsigned int bits) { m_StencilBufferSize = bits; }
    unsigned int GetDepthBufferSize() const { return m_DepthBufferSize; }
    unsigned int GetStencilBufferSize() const { return m_StencilBufferSize; }
    void SetFOV(double degrees) { m_dFOV = degrees; }
    double GetFOV() const { return m_dFOV; }

    void gluMyPerspective(double fovY, double aspect, double zNear, double zFar);
    // The 3D view for a w x h window: viewport, perspective (read back into the camera
    // projection matrix), identity model-view. A height of 0 counts as 1.
    void Init3DScreen(int width, int height);
    void InitGlOrthoMode();
    void ViewPerspective();
    void SetOrthoMode(int left, int top, int right, int bottom);

    void SetWireFrameMode(bool on);
    bool GetWireFrameMode() const { return m_bWireframe; }
    bool Get3DEnabled() const { return m_b3DEnabled; }
    float GetScreenWidth() const { return float(m_iWidth); }
    float GetScreenHeight() const { return float(m_iHeight); }

    void setWindowTitle(const char* title);
    std::string getWindowTitle() const { return m_sWindowTitle; }

    const char* DetectVideoCardVendor() const;
    const char* DetectRender() const;
    const char* DetectOpengGLVersion() const;

    void EnableShadows(bool enable) { m_bShadows = enable; }
    bool isShadowEnabled() const { return m_bShadows; }
    void SetActiveShadowMethod(sShadowTypes method) { m_ShadowMethod = method; }
    sShadowTypes GetActiveShadowMethod() const { return m_ShadowMethod; }
    void EnablePCFShadow(bool enable) { m_bPCF = enable; }
    bool isPCFShadowEnabled() const { return m_bPCF; }
    void EnableParallaxMappping(bool enable) { m_bParallax = enable; }
    bool isParallaxMappingEnabled() const { return m_bParallax; }

    bool GetSupportTwoSidedStencilBuffer() const { return m_bTwoSidedStencil; }
    bool GetSupportAnisotropicTextureFiltering() const { return m_bAnisotropicSupported; }
    bool isFBOSupported() const { return m_bFBOSupported; }
    // Generation can only be on where the card filters anisotropically.
    void EnableAnistropicTexturing() { m_bAnisotropicGeneration = m_bAnisotropicSupported; }
    void DisableAnistropicTexturing() { m_bAnisotropicGeneration = false; }
    bool isAnisotropicTextureGenerationEnabled() const { return m_bAnisotropicGeneration; }

    unsigned int GetShadowMapTexture() const { return m_ShadowMap.Texture; }
    unsigned int GetShadowMapFBO() const { return m_ShadowMap.FBO; }
    unsigned int GetShadowMapSizeX() const { return m_ShadowMap.Width; }
    unsigned int GetShadowMapSizeY() const { return m_ShadowMap.Height; }
    MATRIX4X4* GetShadowMapBiasMatrix() { return &m_ShadowMap.BiasMatrix; }
    MATRIX4X4* GetCameraProjectionMatrix() { return &m_CameraProjectionMatrix; }
    // Only effective before Initialize, which creates the texture.
    void SetShadowMapSize(unsigned int x, unsigned int y);

    void ShowMouseCursor(bool show);
    bool IsCustomCursorActive() const { return m_bCustomCursor; }
    void SetMouseToCenter();

    // Custom cursors: textures drawn by the engine's frame with their top-left corner at
    // the mouse position, in place of the hidden system cursor.
    void LoadCustomMouseCursor(char* file);
    void LoadCustomMouseCursorOnWindowMove(char* file);
    void LoadCustomMouseCursors(char* normal, char* windowMove);
    // Movable windows call this every frame: true while the mouse is over a header.
    void setActualCursorToWindowMove(bool moving);
    void DrawCustomCursor();
    CTexture* GetCurrentCursor() const { return m_pCurrentCursor; }

    Uint32 GetVideoFlags() const { return m_VideoFlags; }

private:
    void SetVideoFlags(bool fullscreen);
    void CheckExtensions();
    void CreateShadowMap();

    Uint32 m_VideoFlags;
    int m_iWidth;
    int m_iHeight;
    int m_iBpp;
    unsigned int m_DepthBufferSize;
    unsigned int m_StencilBufferSize;
    double m_dFOV;
    bool m_bTwoSidedStencil;
    bool m_bAnisotropicSupported;
    bool m_bAnisotropicGeneration;
    bool m_bFBOSupported;
    CTexture* m_pCursor;
    bool m_bCustomCursor;
    CTexture* m_pWindowMoveCursor;
    CTexture* m_pCurrentCursor;
    bool m_bWindowMoveCursorLoaded;
    std::string m_sWindowTitle;
    bool m_bWireframe;
    bool m_b3DEnabled;
    bool m_bShadows;
    MATRIX4X4 m_CameraProjectionMatrix;
    ShadowMap m_ShadowMap;
    bool m_bParallax;
    sShadowTypes m_ShadowMethod;
    bool m_bPCF;
};
