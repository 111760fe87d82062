#pragma once
// The engine life cycle: the fourteen process-wide managers, the window start-up and the
// engine's share of every frame.

class CEventManager;
class CGraphicsCore;
class CTextureManager;
class CWindowManager;
class CFontManager;
class CUtils;
class CSoundManager;
class CShaderManager;
class CCamera;
class CCameraManager;
class CLogger;
class CLightManager;
class C3DGameObjectManager;
class CGameObjectManager;

extern CEventManager* g_EventManager;
extern CGraphicsCore* g_Graphics;
extern CTextureManager* g_TextureManager;
extern CWindowManager* g_Windowmanager;
extern CFontManager* g_FontManager;
extern CUtils* g_Utils;
extern CSoundManager* g_SoundManager;
extern CShaderManager* g_ShaderManager;
extern CCamera* g_Camera;
extern CCameraManager* g_CameraManager;
extern CLogger* g_Logger;
extern CLightManager* g_LightManager;
extern C3DGameObjectManager* g_3DGameObjectManager;
extern CGameObjectManager* g_2DGameObjectManager;

class Engine {
public:
    // Creates a complete set of managers. A set left by an earlier engine is deleted
    // first, so only one set (and one log file writer) exists at a time.
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    void Initalize();
    void Initialize(int width, int height, int bpp, bool fullscreen, bool mode2D);
    void MainLoop();
    void EnableFPSCounting(bool enable) { m_bFPSCounting = enable; }
    bool IsFPSCountingEnabled() const { return m_bFPSCounting; }
    // Deletes the current managers and nulls the globals; does nothing when they are null.
    void Shutdown();
    // Throws a std::string when SDL's event thread cannot be started.
    void InitSDLEventSubsystem();

private:
    bool m_bFPSCounting;
};
