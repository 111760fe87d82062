#include "demos/Demo2D.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "image/CTexture.h"
#include "render3d/C3DGameObjectManager.h"

#include <GL/glew.h>

namespace {
// The cursor loaders take writable names.
char kCursor[] = "Data/MousePointer.png";
char kMoveCursor[] = "Data/moveWindow.png";
} // namespace

Demo2D::Demo2D(const char* caption, int captionX, int captionY)
    : m_pLogo(nullptr), m_sCaption(caption), m_iCaptionX(captionX), m_iCaptionY(captionY) {}

Demo2D::~Demo2D() {
    delete m_pLogo;
}

void Demo2D::Init() {
    g_Graphics->SetDepthBufferSize(16);
    g_Graphics->SetStencilBufferSize(8);
    g_Graphics->SetFOV(65.0);
    m_pEngine->Initialize(1024, 768, 24, false, true);

    g_Graphics->EnableAnistropicTexturing();
    g_Graphics->LoadCustomMouseCursor(kCursor);
    g_Graphics->LoadCustomMouseCursorOnWindowMove(kMoveCursor);
    m_pEngine->EnableFPSCounting(true);
    g_Graphics->ShowMouseCursor(false);
    g_Graphics->setWindowTitle("Zarvo Engine v0.03...");

    g_FontManager->LoadFont("Data/Font/fontDemo.tga");

    g_Graphics->EnableShadows(false);
    g_Graphics->SetActiveShadowMethod(SHADOW_MAPPING);
    g_3DGameObjectManager->DrawingShadowVolume(false);
    g_3DGameObjectManager->EnableBoundingBoxDrawing(false);

    // 5 pixels from the right and bottom edges.
    m_pLogo = new CTexture("Data/Logo/z3dlogo.png");
    m_pLogo->SetPosition(CVector2((g_Graphics->GetScreenWidth() - 5) - m_pLogo->GetWidth(),
                                  (g_Graphics->GetScreenHeight() - 5) - m_pLogo->GetHeight()));

    InitFeature();
}

bool Demo2D::RenderScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    FeatureFrame();
    m_pEngine->MainLoop();
    if (CFont* font = g_FontManager->getFont(1))
        font->PrintText(m_iCaptionX, m_iCaptionY, 0, "%s", m_sCaption);
    g_Graphics->InitGlOrthoMode();
    if (m_pLogo) m_pLogo->Draw();
    g_Graphics->ViewPerspective();
    return PresentFrame();
}

bool Demo2D::RunPass() {
    const bool more = RenderScene();
    if (g_EventManager->isKeyDown(SDLK_ESCAPE)) return false;
    if (g_EventManager->isactualEvent(EVENT_QUIT)) return false;
    HandleKeys();
    return more;
}

void Demo2D::Run() {
    while (RunPass()) {
    }
}
