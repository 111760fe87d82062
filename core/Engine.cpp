#include "core/Engine.h"

#include "core/CEventManager.h"
#include "core/cApp.h"
#include "core/CGraphicsCore.h"
#include "core/CLogger.h"
#include "core/Utils.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "gui/CWindowManager.h"
#include "image/CTextureManager.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CCameraManager.h"
#include "render3d/CLightManager.h"
#include "render3d/CShaderManager.h"
#include "scene2d/CGameObjectManager.h"
#include "sound/CSoundManager.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <string>

CEventManager* g_EventManager = nullptr;
CGraphicsCore* g_Graphics = nullptr;
CTextureManager* g_TextureManager = nullptr;
CWindowManager* g_Windowmanager = nullptr;
CFontManager* g_FontManager = nullptr;
CUtils* g_Utils = nullptr;
CSoundManager* g_SoundManager = nullptr;
CShaderManager* g_ShaderManager = nullptr;
CCamera* g_Camera = nullptr;
CCameraManager* g_CameraManager = nullptr;
CLogger* g_Logger = nullptr;
CLightManager* g_LightManager = nullptr;
C3DGameObjectManager* g_3DGameObjectManager = nullptr;
CGameObjectManager* g_2DGameObjectManager = nullptr;

namespace {

// "done" after a created manager; otherwise its failure line, and SDL shut down where
// the manager is essential.
template <typename T> void ReportCreated(T* manager, const char* failure, bool quitSDL) {
    if (manager) {
        std::printf("done\n");
        return;
    }
    std::printf("%s\n", failure);
    if (quitSDL) SDL_Quit();
}

// Progress first, then the manager.
template <typename T>
void Create(T*& global, const char* progress, const char* failure, bool quitSDL = true) {
    std::printf("%s", progress);
    std::fflush(stdout);
    global = new T();
    ReportCreated(global, failure, quitSDL);
}

// The manager first, so whatever its constructor prints comes ahead of its progress text.
template <typename T>
void CreateBeforeProgress(T*& global, const char* progress, const char* failure) {
    global = new T();
    std::printf("%s", progress);
    ReportCreated(global, failure, true);
}

template <typename T> void Destroy(T*& global) {
    delete global;
    global = nullptr;
}

} // namespace

Engine::Engine() : m_bFPSCounting(false) {
    // The previous engine's set is replaced here; deleting it keeps its memory, its audio
    // device and its log file writer from outliving it. The device itself stays open
    // across the swap, so the program's start-up does not wait for it once per engine.
    CAudioDeviceHold keepAudioOpen;
    Shutdown();
    Initalize();
}

Engine::~Engine() {
    Shutdown();
}

void Engine::Initalize() {
    std::printf("\nZarvo Engine version 0.02...\n\n");

    Create(g_Graphics, "Initialize Graphics Core...", "Unable to initialize Graphics Core!");
    Create(g_TextureManager, "Initialize Texture Manager...",
           "Unable to initialize Texture Manager Core!");
    Create(g_Windowmanager, "Initialize Window Manager...",
           "Unable to initialize Window Manager Core!");

    std::printf("Initialize Event Manager...");
    std::fflush(stdout);
    InitSDLEventSubsystem();
    g_EventManager = new CEventManager();
    ReportCreated(g_EventManager, "Unable to initialize Event Manager!", true);

    Create(g_Utils, "Initialize Utils...", "Unable to initialize Utils!");
    CreateBeforeProgress(g_SoundManager, "Initialize Sound Manager...",
                         "Unable to initialize Sound Manager!");
    CreateBeforeProgress(g_ShaderManager, "Initialize Shader Manager...",
                         "Unable to initialize Shader Unit!");
    CreateBeforeProgress(g_Camera, "Initialize the Camera...",
                         "Unable to initialize the Camera Unit!");
    Create(g_CameraManager, "Initialize the Camera Manager...",
           "Unable to initialize the Camera Manager Core!");
    Create(g_FontManager, "Initialize the Font Manager...",
           "Unable to initialize the Font Manager Core!");
    Create(g_Logger, "Initialize the Logger...", "Warnig: Unable to initialize the Logger!", false);
    Create(g_LightManager, "Initialize the Light Manager...",
           "Warnig: Unable to initialize the Light Manager!");
    Create(g_3DGameObjectManager, "Initialize the 3D Game Object Manager...",
           "Warnig: Unable to initialize the 3D Game Object Manager!");
    Create(g_2DGameObjectManager, "Initialize the 2D Game Object Manager...",
           "Warnig: Unable to initialize the 2D Game Object Manager!");
    std::fflush(stdout);
}

void Engine::InitSDLEventSubsystem() {
    if (SDL_InitSubSystem(SDL_INIT_EVENTTHREAD) != 0)
        throw std::string("Error: SDL Eventhread cannot not be initialized: ") + SDL_GetError();
}

void Engine::Initialize(int width, int height, int bpp, bool fullscreen, bool mode2D) {
    // Every application asks here, so the command line's --windowed is honoured once.
    if (CApp::GetRunOptions().windowed) fullscreen = false;
    g_Graphics->Initialize(width, height, bpp, fullscreen, mode2D);

    std::printf("\nDetected Video Card Vendor: %s\n", g_Graphics->DetectVideoCardVendor());
    std::printf("Detected Renderer: %s\n", g_Graphics->DetectRender());
    std::printf("Detected OpenGL version: %s\n", g_Graphics->DetectOpengGLVersion());
    std::fflush(stdout);

    g_ShaderManager->LoadDefaultShaders();
    g_FontManager->LoadFont("Data/Font/font.tga");
}

void Engine::MainLoop() {
    g_EventManager->PollEvents();
    g_3DGameObjectManager->Render();
    g_Graphics->InitGlOrthoMode();
    glLoadIdentity();
    g_Windowmanager->MainLoop();
    if (g_Graphics->IsCustomCursorActive()) g_Graphics->DrawCustomCursor();
    if (m_bFPSCounting) {
        g_Utils->CalculateFrameRate();
        if (CFont* font = g_FontManager->getFont(1))
            font->PrintText(3, 5, 0, "Current FPS: %d", g_Utils->GetFPS());
    }
    if (g_Graphics->Get3DEnabled()) {
        g_Graphics->ViewPerspective();
    } else {
        g_CameraManager->Look();
        g_2DGameObjectManager->Render();
    }
}

void Engine::Shutdown() {
    Destroy(g_Graphics);
    Destroy(g_FontManager);
    Destroy(g_Utils);
    Destroy(g_TextureManager);
    Destroy(g_Windowmanager);
    Destroy(g_EventManager);
    Destroy(g_SoundManager);
    Destroy(g_ShaderManager);
    Destroy(g_Camera);
    Destroy(g_CameraManager);
    Destroy(g_Logger); // writes the log file's closing line
    Destroy(g_LightManager);
    Destroy(g_3DGameObjectManager);
    Destroy(g_2DGameObjectManager);
}
