#include "core/Utils.h"

#include <GL/glew.h>

#include <cstdio>
#include <string>

namespace {

CUtils::TickSource g_TickSource = SDL_GetTicks;

// The caption starts with the application's title, which the graphics core keeps.
std::string WindowTitle() {
    return std::string();
}

} // namespace

CUtils::CUtils() {}

CUtils::~CUtils() {}

void CUtils::SetTickSource(TickSource source) {
    g_TickSource = source ? source : SDL_GetTicks;
}

void CUtils::CalculateFrameRate() {
    static float frameTime = 0.0f;
    static float framesPerSecond = 0.0f;
    static float lastTime = 0.0f;

    const float currentTime = float(g_TickSource() * 0.001);
    m_FrameInterval = currentTime - frameTime;
    frameTime = currentTime;
    ++framesPerSecond;
    if (currentTime - lastTime > 1.0f) {
        lastTime = currentTime;
        m_FPS = int(framesPerSecond);
        std::snprintf(m_FPSText, sizeof m_FPSText, " Current FPS: %d", m_FPS);
        SDL_WM_SetCaption((WindowTitle() + m_FPSText).c_str(), nullptr);
        framesPerSecond = 0.0f;
    }
}

void CUtils::ComputeTangentBasis(CVector3 p0, CVector3 p1, CVector3 p2, CVector2 uv0, CVector2 uv1,
                                 CVector2 uv2, CVector3& tangent, CVector3& bitangent) {
    const CVector3 e1 = p1 - p0;
    const CVector3 e2 = p2 - p0;
    const CVector2 d1 = uv1 - uv0;
    const CVector2 d2 = uv2 - uv0;
    const float d = d1.y * d2.x - d1.x * d2.y;
    if (d == 0.0f) return;
    const float r = 1.0f / d;
    tangent = (e2 * d1.y - e1 * d2.y) * r;
    bitangent = (e2 * d1.x - e1 * d2.x) * r;
    tangent.normalize();
    bitangent.normalize();
}

void CUtils::DrawCube(CVector3 position) {
    glDisable(GL_TEXTURE_2D);
    glTranslatef(position.x, position.y, position.z);
    glBegin(GL_QUADS);
    glColor3f(0.0f, 1.0f, 0.0f); // top
    glVertex3f(1.0f, 1.0f, -1.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glColor3f(1.0f, 0.5f, 0.0f); // bottom
    glVertex3f(1.0f, -1.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, -1.0f);
    glVertex3f(1.0f, -1.0f, -1.0f);
    glColor3f(1.0f, 0.0f, 0.0f); // front
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);
    glColor3f(1.0f, 1.0f, 0.0f); // back
    glVertex3f(1.0f, -1.0f, -1.0f);
    glVertex3f(-1.0f, -1.0f, -1.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);
    glVertex3f(1.0f, 1.0f, -1.0f);
    glColor3f(0.0f, 0.0f, 1.0f); // left
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, -1.0f);
    glVertex3f(-1.0f, -1.0f, -1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glColor3f(1.0f, 0.0f, 1.0f); // right
    glVertex3f(1.0f, 1.0f, -1.0f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, -1.0f);
    glEnd();
    glTranslatef(-position.x, -position.y, -position.z);
    glColor3f(1.0f, 1.0f, 1.0f);
}

void CUtils::DrawBaseGrid(CVector3 position, unsigned int /*size*/) {
    // The grid keeps its fixed extent whatever size is asked for.
    glDisable(GL_TEXTURE_2D);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_LINES);
    for (int i = -30; i <= 30; ++i) {
        const float f = float(i);
        glVertex3f(f, 0.0f, -30.0f);
        glVertex3f(f, 0.0f, 30.0f);
        glVertex3f(30.0f, 0.0f, f);
        glVertex3f(-30.0f, 0.0f, f);
    }
    glEnd();
    glPopMatrix();
}

void CUtils::DrawSimpleQuad(CVector3 position) {
    glDisable(GL_TEXTURE_2D);
    glTranslatef(position.x, position.y, position.z);
    glBegin(GL_QUADS);
    glColor3f(0.3f, 1.0f, 0.2f);
    glVertex3f(1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, 1.0f, 1.0f);
    glVertex3f(-1.0f, -1.0f, 1.0f);
    glVertex3f(1.0f, -1.0f, 1.0f);
    glEnd();
    glTranslatef(-position.x, -position.y, -position.z);
}

void CUtils::DrawCoordinateSystem() {
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    glColor3f(1.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(10.0f, 0.0f, 0.0f);
    glColor3f(0.0f, 1.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 10.0f, 0.0f);
    glColor3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.0f, 10.0f);
    glEnd();
}

// --- Texture creation (owned by the texture subsystem) ---------------------------------

unsigned int CUtils::CreateTexture(char* /*file*/) {
    return 0;
}

unsigned int CUtils::CreateTextureFromBMP(char* /*file*/) {
    return 0;
}
