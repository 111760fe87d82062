// A first game on the Zarvo Engine: a window, a model and a font from the game's own
// data folder, a camera moved with the arrow keys, and some text. Escape ends it.
//   starter [--frames N] [--screenshot FILE.png]   (for unattended runs)
#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/cApp.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"

#include <GL/glew.h>

#include <cstdlib>
#include <cstring>

class StarterGame : public CApp {
public:
    void Init() override {
        m_pEngine->Initialize(800, 600, 24, false, false);
        g_Graphics->setWindowTitle("Zarvo starter");
        char model[] = "data/crate.obj";
        char texture[] = "data/crate.tga";
        auto* crate = new C3DGameObject();
        crate->LoadOBJModel(model, texture);
        crate->SetPosition(0.0f, 0.0f, 0.0f);
        g_3DGameObjectManager->RegisterObject(crate);
        g_LightManager->RegisterLight(new CLight());
        g_LightManager->EnableLight(1);
        g_FontManager->LoadFont("data/font.tga"); // font 2; the engine's own is font 1
        g_Camera->PositionCamera(0, 2, 6, 0, 0, 0, 0, 1, 0);
    }

    void Run() override {
        for (;;) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glLoadIdentity();
            g_Camera->Look();
            m_pEngine->MainLoop();
            if (CFont* font = g_FontManager->getFont(2))
                font->PrintText(10, 40, 0, 1.0f, 0.8f, 0.2f, 1.0f, 1.5f, 1.5f,
                                "Arrow keys move the camera, Escape ends");
            g_Graphics->ViewPerspective();
            if (!PresentFrame()) return;
            if (g_EventManager->isKeyDown(SDLK_ESCAPE) ||
                g_EventManager->isactualEvent(EVENT_QUIT))
                return;
            if (g_EventManager->isKeyDown(SDLK_UP)) g_Camera->MoveCamera(0.1f);
            if (g_EventManager->isKeyDown(SDLK_DOWN)) g_Camera->MoveCamera(-0.1f);
            if (g_EventManager->isKeyDown(SDLK_LEFT)) g_Camera->StrafeCamera(-0.1f);
            if (g_EventManager->isKeyDown(SDLK_RIGHT)) g_Camera->StrafeCamera(0.1f);
        }
    }

    void Shutdown() override {}
    void ResizeWindow(int, int) override {}
    void ToggleFullscreen() override {}
};

int main(int argc, char* argv[]) {
    sRunOptions options;
    options.windowed = true;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0) options.frameLimit = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--screenshot") == 0) options.screenshotFile = argv[i + 1];
    }
    CApp::SetRunOptions(options);
    StarterGame game;
    game.Init();
    game.Run();
    game.Shutdown();
    return 0;
}
