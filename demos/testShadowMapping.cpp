#include "demos/testShadowMapping.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "demos/DemoControls.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "image/CTexture.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"

#include <GL/glew.h>

#include <cmath>

namespace {

// The loaders take writable names; the paths stay in these buffers.
char kMcClaneModel[] = "Data/Models/MD2/McClane/tris.MD2";
char kMcClaneSkin[] = "Data/Models/MD2/McClane/nakatomi1.pcx";
char kR2D2Model[] = "Data/Models/MD2/r2d2/tris.md2";
char kR2D2Skin[] = "Data/Models/MD2/r2d2/r2d2.pcx";
char kSceneFolder[] = "Data/Models/demo/";
char kSceneModel[] = "Data/Models/demo/26_okolie.3DS";

const float kMovingSpeed = 5.0f;

} // namespace

testShadowMapping::testShadowMapping()
    : m_pLogo(nullptr), m_pLight(nullptr), m_bPCF(false), m_fSpeed(0.0f),
      m_pMovingCharacter(nullptr) {}

testShadowMapping::~testShadowMapping() {
    delete m_pLogo;
}

void testShadowMapping::Init() {
    g_Graphics->SetDepthBufferSize(24);
    g_Graphics->SetStencilBufferSize(4);
    g_Graphics->SetFOV(65.0);
    m_pEngine->Initialize(1024, 768, 24, true, false);

    g_Graphics->EnableAnistropicTexturing();
    m_pEngine->EnableFPSCounting(true);
    g_Graphics->ShowMouseCursor(false);
    g_Graphics->setWindowTitle("Shadow Mapping Demo...");

    g_FontManager->LoadFont("Data/Font/fontDemo.tga");

    C3DGameObject* mcClane = new C3DGameObject();
    mcClane->LoadMD2Model(kMcClaneModel, kMcClaneSkin);
    mcClane->SetAnimationSpeed(5.0f);
    mcClane->SetPosition(-35.0f, 24.0f, 20.0f);
    mcClane->SetAngle(0.0f);
    mcClane->SetCastShadow(true);
    mcClane->SetSize(1.0f, 1.0f, 1.0f);
    g_3DGameObjectManager->RegisterObject(mcClane);

    m_pMovingCharacter = new C3DGameObject();
    m_pMovingCharacter->LoadMD2Model(kR2D2Model, kR2D2Skin);
    m_pMovingCharacter->SetPosition(20.0f, 10.0f, 20.0f);
    m_pMovingCharacter->SetAngle(270.0f);
    m_pMovingCharacter->SetCastShadow(true);
    m_pMovingCharacter->SetSize(0.4f, 0.4f, 0.4f);
    g_3DGameObjectManager->RegisterObject(m_pMovingCharacter);

    C3DGameObject* scene = new C3DGameObject();
    scene->Load3DS(kSceneFolder, kSceneModel, false);
    scene->SetCastShadow(false);
    scene->SetPosition(0.0f, 51.0f, 0.0f);
    scene->SetSize(7.0f, 15.0f, 7.0f);
    g_3DGameObjectManager->RegisterObject(scene);

    g_Graphics->EnableShadows(true);
    g_Graphics->SetActiveShadowMethod(SHADOW_MAPPING);
    g_Graphics->EnableParallaxMappping(false);
    g_Graphics->EnablePCFShadow(false);
    g_3DGameObjectManager->DrawingShadowVolume(false);
    g_3DGameObjectManager->EnableBoundingBoxDrawing(false);

    m_pLight = new CLight();
    g_LightManager->RegisterLight(m_pLight);
    g_LightManager->EnableLight(1);

    // 5 pixels from the right and bottom edges of the pixel view.
    m_pLogo = new CTexture("Data/Logo/z3dlogo.png");
    m_pLogo->SetPosition(CVector2((g_Graphics->GetScreenWidth() - 5) - m_pLogo->GetWidth(),
                                  (g_Graphics->GetScreenHeight() - 5) - m_pLogo->GetHeight()));

    g_Camera->SetPosition(68.0f, 80.0f, 68.0f);
    g_Graphics->SetMouseToCenter();
    m_fSpeed = kMovingSpeed;
}

float testShadowMapping::StepAlongPath(float z, float& speed, double interval) {
    // The direction follows from the side the character is on, not from a flip: after a
    // long frame it may be far beyond an end, and flipping every frame there would hold
    // it outside the path for good.
    if (z > PATH_FAR_Z) speed = -std::fabs(speed);
    if (z < PATH_NEAR_Z) speed = std::fabs(speed);
    return float(z + speed * interval);
}

bool testShadowMapping::RenderScene() {
    const CVector3 position = *m_pMovingCharacter->GetPosition();
    const float z = StepAlongPath(position.z, m_fSpeed, g_Utils->GetFrameInterval());
    m_pMovingCharacter->SetPosition(position.x, position.y, z);

    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    g_Camera->Look();

    m_pEngine->MainLoop();

    CFont* font = g_FontManager->getFont(1);
    font->PrintText(360, 5, 2, 0.8f, 0.4f, 0.2f, 1.0f, 2.0f, 2.0f, "Shadow Mapping Demo");
    font->PrintText(1, 30, 0, "Number of vertices: %d",
                    g_3DGameObjectManager->GetNumOfAllVertices());
    font->PrintText(1, 80, 2, 0.4f, 0.4f, 0.8f, 1.0f, 1.1f, 1.1f,
                    "Press Space to enable PCF filtering");
    font->PrintText(1, 110, 2, 0.4f, 0.4f, 0.8f, 1.0f, 1.1f, 1.1f, "Move light width cursor keys");

    g_Graphics->InitGlOrthoMode();
    m_pLogo->Draw();
    g_Graphics->ViewPerspective();

    return PresentFrame();
}

bool testShadowMapping::RunPass() {
    const bool more = RenderScene();
    if (g_EventManager->GetEventFlag()) {
        if (g_EventManager->isKeyDown(SDLK_ESCAPE)) return false;
        if (g_EventManager->isactualEvent(EVENT_QUIT)) return false;
        if (g_EventManager->isKeyDown(SDLK_SPACE)) {
            m_bPCF = !m_bPCF;
            g_Graphics->EnablePCFShadow(m_bPCF);
        }
        if (g_EventManager->isKeyDown(SDLK_q))
            g_Graphics->SetWireFrameMode(!g_Graphics->GetWireFrameMode());
    }
    MoveLightByArrowKeys(*m_pLight, LIGHT_STEP);
    return more;
}

void testShadowMapping::Run() {
    while (RunPass()) {
    }
}
