#include "demos/EngineTestApp.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "demos/DemoControls.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "image/CTexture.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"
#include "render3d/CParticleSystem.h"
#include "render3d/CRainParticlesystem.h"
#include "render3d/CSkyDome.h"
#include "scene2d/CCrossHair.h"

#include <GL/glew.h>

namespace {

// The loaders take writable names; the paths stay in these buffers.
char kPlaneModel[] = "Data/TModel/planeParralax.xml";
char kCharacterName[] = "lara";
char kCharacterFolder[] = "Data/Models/MD3/lara";
char kCharacterWeapon[] = "Railgun";
char kWeaponModel[] = "Data/Models/MD2/fegyver/OwnGun.md2";
char kWeaponSkin[] = "Data/Models/MD2/fegyver/OwnGun.bmp";
char kSkyTexture[] = "Data/SkyDome/clouds2.png";
char kFountainTexture[] = "Data/Particle/texture.png";
char kRainTexture[] = "Data/Particle/rain.PNG";
char kInformationImage[] = "Data/informationConsol2.png";
char kCrossHairImage[] = "Data/Crosshair/CrossHairPoint.png";

const int kInformationWindowId = 123;

} // namespace

EngineTestApp::EngineTestApp()
    : m_pInformationWindow(nullptr), m_pLight(nullptr), m_pLogo(nullptr), m_pSkyDome(nullptr),
      m_pFountain(nullptr), m_pRain(nullptr), m_pCrossHair(nullptr), m_pWeapon(nullptr), m_bMouseReady(false) {}

EngineTestApp::~EngineTestApp() {
    delete m_pLogo;
    delete m_pSkyDome;
    delete m_pFountain;
    delete m_pRain;
    delete m_pCrossHair;
    delete m_pWeapon;
}

void EngineTestApp::Init() {
    g_Graphics->SetDepthBufferSize(16);
    g_Graphics->SetStencilBufferSize(8);
    g_Graphics->SetFOV(65.0);
    m_pEngine->Initialize(1024, 768, 24, false, false);

    g_Graphics->EnableAnistropicTexturing();
    m_pEngine->EnableFPSCounting(true);
    g_Graphics->ShowMouseCursor(false);
    g_Graphics->setWindowTitle("Zarvo Engine v0.02...");
    g_FontManager->LoadFont("Data/Font/fontDemo.tga");

    C3DGameObject* plane = new C3DGameObject();
    plane->LoadZarvoModel(kPlaneModel);
    plane->SetCastShadow(false);
    plane->SetPosition(0.0f, 0.0f, 0.0f);
    g_3DGameObjectManager->RegisterObject(plane);

    C3DGameObject* character = new C3DGameObject();
    character->LoadMD3Model(kCharacterName, kCharacterFolder, kCharacterWeapon);
    character->SetPosition(0.0f, 24.0f, 0.0f);
    character->SetAngle(0.0f);
    character->SetCastShadow(true);
    character->SetSize(1.0f, 1.0f, 1.0f);
    g_3DGameObjectManager->RegisterObject(character);

    m_pWeapon = new C3DGameObject();
    m_pWeapon->LoadMD2Model(kWeaponModel, kWeaponSkin);
    m_pWeapon->SetAnimation(2);
    m_pWeapon->SetAnimationSpeed(4.0f);
    m_pWeapon->SetPosition(-0.1f, 0.0f, -0.6f);
    m_pWeapon->SetAngle(100.0f);
    m_pWeapon->SetCastShadow(false);
    m_pWeapon->SetSize(1.0f, 1.0f, 1.0f);

    g_Graphics->EnableShadows(true);
    g_Graphics->SetActiveShadowMethod(SHADOW_MAPPING);
    g_3DGameObjectManager->DrawingShadowVolume(false);
    g_3DGameObjectManager->EnableBoundingBoxDrawing(true);

    m_pLight = new CLight();
    g_LightManager->RegisterLight(m_pLight);
    g_LightManager->EnableLight(1);

    // 2 pixels from the right and bottom edges of the 1024 x 768 window.
    m_pLogo = new CTexture("Data/Logo/z3dlogo.png");
    m_pLogo->SetPosition(CVector2(1022.0f - m_pLogo->GetWidth(), 766.0f - m_pLogo->GetHeight()));

    m_pSkyDome = new CSkyDome();
    m_pSkyDome->Initialize(15, 15, 1000, kSkyTexture);
    m_pSkyDome->SetPosition(0.0f, -400.0f, 0.0f);

    m_pFountain = new CParticleSystem();
    m_pFountain->SetWind(0.0f, 0.0f, 0.0f);
    m_pFountain->SetPosition(0.0f, 50.0f, 40.0f);
    m_pFountain->SetEnergyBounds(1, 10);
    m_pFountain->SetColor(0.1f, 0.1f, 0.1f, 0.0f);
    m_pFountain->SetGenerationBoxX(0, 15, 15);
    m_pFountain->SetGenerationBoxZ(0, 15, 15);
    m_pFountain->SetParticleVelocityY(100, 180, 10);
    m_pFountain->EnableGravity(0.00025f);
    m_pFountain->SetQuadParticleSize(1.0f, 1.0f, 1.0f);
    m_pFountain->InitParticle(50, kFountainTexture, false, true);

    m_pRain = new CRainParticlesystem();
    m_pRain->SetPosition(0.0f, 0.0f, 0.0f);
    m_pRain->SetColor(0.7f, 0.7f, 0.7f, 1.0f);
    m_pRain->SetGenerationBoxX(0, 150, 1);
    m_pRain->SetGenerationBoxZ(0, 150, 1);
    m_pRain->SetParticleVelocity(0.0f, -60.08f, 0.0f);
    m_pRain->InitParticle(300, 150, 0, kRainTexture);

    m_pInformationWindow = new CWindow(2, 2, 402, 302, kInformationImage, false, 1.0f, 0,
                                       kInformationWindowId, false);
    m_pInformationWindow->SetVisible(true);
    g_Windowmanager->RegisterWindow(m_pInformationWindow);

    m_pCrossHair = new CCrossHair();
    m_pCrossHair->LoadCrossHair(kCrossHairImage);
    m_pCrossHair->SetPosition(g_Graphics->GetScreenWidth() / 2, g_Graphics->GetScreenHeight() / 2);

    g_Graphics->SetMouseToCenter();
}

bool EngineTestApp::RenderScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glLoadIdentity();
    glLoadIdentity();
    // Drawn before the camera is applied, so it stays fixed in front of the viewer.
    m_pWeapon->Draw(true);

    g_Camera->Look();
    glDisable(GL_CULL_FACE);
    m_pEngine->MainLoop();

    if (CFont* font = g_FontManager->getFont(1))
        font->PrintText(1, 110, 0, "Number of vertices: %d",
                        g_3DGameObjectManager->GetNumOfAllVertices());

    g_Graphics->InitGlOrthoMode();
    m_pLogo->Draw();
    g_Graphics->ViewPerspective();
    m_pCrossHair->Draw();
    g_Graphics->InitGlOrthoMode();
    g_Graphics->ViewPerspective();
    return PresentFrame();
}

bool EngineTestApp::RunPass() {
    UpdateFirstPersonCamera(m_bMouseReady);
    const bool more = RenderScene();
    if (g_EventManager->isKeyDown(SDLK_ESCAPE) || g_EventManager->isactualEvent(EVENT_QUIT))
        return false;
    // Held keys act on every pass, not only on the pass of their event.
    if (g_EventManager->isKeyDown(SDLK_q))
        g_Graphics->SetWireFrameMode(!g_Graphics->GetWireFrameMode());
    MoveLightByArrowKeys(*m_pLight);
    if (g_EventManager->isKeyDown(SDLK_SPACE))
        g_3DGameObjectManager->DrawingShadowVolume(
            !g_3DGameObjectManager->GetDrawingShadowVolume());
    return more;
}

void EngineTestApp::Run() {
    while (RunPass()) {
    }
}
