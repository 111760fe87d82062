#include "demos/testOutdoor.h"

#include "demos/DemoControls.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "demos/DemoControls.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "image/CTexture.h"
#include "render3d/CCamera.h"
#include "render3d/CHeightfield.h"
#include "render3d/CParticleSystem.h"
#include "render3d/CRainParticlesystem.h"
#include "render3d/CSkyDome.h"

#include <GL/glew.h>

namespace {

// The loaders take writable names; the paths stay in these buffers.
char kSkyTexture[] = "Data/SkyDome/clouds2.png";
char kSpriteTexture[] = "Data/Particle/particle.png";
char kRainTexture[] = "Data/Particle/rain.PNG";
const char kHeightImage[] = "Data/Terrain/heightmap.bmp";
const char kSand[] = "Data/Terrain/sand_1.png";
const char kGrass[] = "Data/Terrain/grass_1.png";
const char kRock[] = "Data/Terrain/rock_1.png";

// The fountain stands in the basin in front of the camera.
const float kFountainX = 128.0f, kFountainZ = 120.0f;
const float kCameraX = 128.0f, kCameraZ = 175.0f;

} // namespace

testOutdoor::testOutdoor()
    : m_pLogo(nullptr), m_pTerrain(nullptr), m_pSkyDome(nullptr), m_pFountain(nullptr),
      m_pRain(nullptr), m_bMouseReady(false) {}

testOutdoor::~testOutdoor() {
    delete m_pRain;
    delete m_pFountain;
    delete m_pSkyDome;
    delete m_pTerrain;
    delete m_pLogo;
}

void testOutdoor::Init() {
    g_Graphics->SetDepthBufferSize(24);
    g_Graphics->SetFOV(65.0);
    m_pEngine->Initialize(1024, 768, 24, true, false);
    m_pEngine->EnableFPSCounting(true);
    g_Graphics->ShowMouseCursor(false);
    g_Graphics->setWindowTitle("Outdoor Demo...");
    g_FontManager->LoadFont("Data/Font/fontDemo.tga");

    m_pTerrain = new CHeightField();
    m_pTerrain->CreateFromImage(kHeightImage, kSand, kGrass, kRock, 1);

    m_pSkyDome = new CSkyDome();
    m_pSkyDome->Initialize(15.0f, 15.0f, 1000.0f, kSkyTexture);
    m_pSkyDome->SetPosition(128.0f, 60.0f, 128.0f);
    m_pSkyDome->SetSpeed(2.0f);

    const float ground = m_pTerrain->height(kFountainX, kFountainZ);
    m_pFountain = new CParticleSystem();
    m_pFountain->SetPosition(kFountainX, ground, kFountainZ);
    m_pFountain->SetGenerationBoxX(-50, 50, 100.0f);
    m_pFountain->SetGenerationBoxZ(-50, 50, 100.0f);
    m_pFountain->SetParticleVelocityX(0, 40, 10.0f);
    m_pFountain->SetParticleVelocityY(180, 260, 10.0f);
    m_pFountain->SetParticleVelocityZ(0, 40, 10.0f);
    m_pFountain->SetEnergyBounds(15, 35);
    m_pFountain->EnableGravity(14.0f);
    // The velocities only point to +x and +z; the wind bends the spray back over the
    // emitter, so the fountain falls on every side.
    m_pFountain->SetWind(-3.5f, 0.0f, -3.5f);
    m_pFountain->SetColor(0.25f, 0.45f, 0.8f, 1.0f);
    m_pFountain->SetParticleSize(24.0f);
    m_pFountain->InitParticle(700, kSpriteTexture, true, false);

    m_pRain = new CRainParticlesystem();
    m_pRain->SetPosition(kCameraX, 0.0f, kCameraZ - 40.0f);
    m_pRain->SetGenerationBoxX(-70, 70, 1.0f);
    m_pRain->SetGenerationBoxZ(-70, 70, 1.0f);
    m_pRain->SetParticleVelocity(0.0f, -45.0f, 0.0f);
    m_pRain->SetParticleSize(0.04f, 1.2f, 0.04f);
    m_pRain->SetWind(0.5f, 0.0f, 0.0f);
    m_pRain->SetColor(0.8f, 0.85f, 1.0f, 0.7f);
    m_pRain->InitParticle(4000, 260.0f, 120.0f, kRainTexture);

    // 5 pixels from the right and bottom edges of the pixel view.
    m_pLogo = new CTexture("Data/Logo/z3dlogo.png");
    m_pLogo->SetPosition(CVector2((g_Graphics->GetScreenWidth() - 5) - m_pLogo->GetWidth(),
                                  (g_Graphics->GetScreenHeight() - 5) - m_pLogo->GetHeight()));

    const float eye = m_pTerrain->height(kCameraX, kCameraZ) + EYE_HEIGHT;
    g_Camera->PositionCamera(kCameraX, eye, kCameraZ, kFountainX, eye, kFountainZ, 0.0f, 1.0f,
                             0.0f);
    g_Camera->SetCameraSpeed(25.0f);
    g_Graphics->SetMouseToCenter();
    glClearColor(0.62f, 0.72f, 0.84f, 1.0f);
}

bool testOutdoor::RenderScene() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    UpdateCamera();
    g_Camera->Look();

    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    m_pSkyDome->Draw();
    m_pTerrain->Draw();
    m_pFountain->RenderParticles();
    m_pRain->RenderParticles();
    glDisable(GL_TEXTURE_2D);

    m_pEngine->MainLoop();

    CFont* font = g_FontManager->getFont(1);
    font->PrintText(400, 5, 2, 0.9f, 0.9f, 1.0f, 1.0f, 2.0f, 2.0f, "Outdoor Demo");
    font->PrintText(1, 80, 2, 0.2f, 0.2f, 0.4f, 1.0f, 1.1f, 1.1f,
                    "Mouse looks around, W A S D walk");

    g_Graphics->InitGlOrthoMode();
    m_pLogo->Draw();
    g_Graphics->ViewPerspective();
    return PresentFrame();
}

void testOutdoor::UpdateCamera() {
    UpdateFirstPersonCamera(m_bMouseReady);
}

bool testOutdoor::RunPass() {
    const bool more = RenderScene();
    if (g_EventManager->GetEventFlag()) {
        if (g_EventManager->isKeyDown(SDLK_ESCAPE)) return false;
        if (g_EventManager->isactualEvent(EVENT_QUIT)) return false;
    }
    return more;
}

void testOutdoor::Run() {
    while (RunPass()) {
    }
}
