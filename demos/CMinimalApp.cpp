#include "demos/CMinimalApp.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"

#include <GL/glew.h>

CMinimalApp::CMinimalApp() {}

CMinimalApp::~CMinimalApp() {}

void CMinimalApp::Init() {
    g_Graphics->SetDepthBufferSize(24);
    g_Graphics->SetStencilBufferSize(8);
    g_Graphics->SetFOV(65.0);
    m_pEngine->Initialize(1024, 768, 24, false, false);
    m_pEngine->EnableFPSCounting(true);
    g_Graphics->setWindowTitle("Zarvo Engine");
}

bool CMinimalApp::RenderScene() {
    glClearColor(0.08f, 0.10f, 0.16f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    // Turns by frame rather than by clock, so a saved frame is the same on every machine.
    glDisable(GL_TEXTURE_2D);
    glTranslatef(0.0f, 0.0f, -4.0f);
    glRotatef(float(GetFramesPresented() % 360), 0.0f, 1.0f, 0.0f);
    glBegin(GL_TRIANGLES);
    glColor3f(1.0f, 0.3f, 0.2f);
    glVertex3f(-1.0f, -0.8f, 0.0f);
    glColor3f(0.2f, 1.0f, 0.3f);
    glVertex3f(1.0f, -0.8f, 0.0f);
    glColor3f(0.2f, 0.4f, 1.0f);
    glVertex3f(0.0f, 1.0f, 0.0f);
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);

    m_pEngine->MainLoop();
    return PresentFrame();
}

void CMinimalApp::Run() {
    for (;;) {
        const bool more = RenderScene();
        if (g_EventManager->isKeyDown(SDLK_ESCAPE) || g_EventManager->isactualEvent(EVENT_QUIT))
            break;
        if (!more) break;
    }
}
