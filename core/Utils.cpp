#include "core/Utils.h"

#include "core/DataPath.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "image/CTexture.h"
#include "image/ImageBuffer.h"
#include "image/ImageUpload.h"
#include "image/bmp.h"
#include "image/dds.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL_image.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

namespace {

CUtils::TickSource g_TickSource = CUtils::EngineTicks;
Uint32 g_FixedFrameStep = 0;
Uint32 g_FixedClock = 0;

// The caption starts with the application's title, which the graphics core keeps.
std::string WindowTitle() {
    return g_Graphics ? g_Graphics->getWindowTitle() : std::string();
}

} // namespace

CUtils::CUtils() {}

CUtils::~CUtils() {}

void CUtils::SetTickSource(TickSource source) {
    g_TickSource = source ? source : EngineTicks;
}

Uint32 CUtils::EngineTicks() {
    return g_FixedFrameStep ? g_FixedClock : SDL_GetTicks();
}

void CUtils::SetFixedFrameStep(Uint32 ms) {
    if (ms == g_FixedFrameStep) return; // the same options again: time goes on
    g_FixedFrameStep = ms;
    g_FixedClock = 0;
}

void CUtils::StepFixedClock() {
    g_FixedClock += g_FixedFrameStep;
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

// ---- Texture creation -------------------------------------------------------------

namespace {

bool AnisotropicGenerationOn() {
    return g_Graphics && g_Graphics->isAnisotropicTextureGenerationEnabled();
}

} // namespace

unsigned int CUtils::CreateTexture(char* file) {
    const bool anisotropic = AnisotropicGenerationOn();
    switch (ChooseImageReader(file)) {
    case eImageReader::BMP:
        return anisotropic ? CreateTextureFromBMP(file) : loadBMPTexture(file, false);
    case eImageReader::PCX:
        return loadPCXTexture(file, anisotropic);
    case eImageReader::DDS:
        return loadDDSTexture(file);
    case eImageReader::JPEG:
        return LoadJPEG(file, anisotropic);
    case eImageReader::TGA: {
        const GLuint name = tgaLoadAndBind(file, 0);
        tgaSetTexParams(GL_LINEAR, GL_LINEAR, GL_MODULATE);
        return name;
    }
    case eImageReader::ImageLibrary:
        break;
    }

    SDL_Surface* surface = file ? IMG_Load(ResolveDataPath(file).c_str()) : nullptr;
    if (!surface) {
        std::cout << "\nFailed to load the image: " << (file ? file : "") << std::endl;
        return 0;
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    SetRepeatSampling(GL_LINEAR, anisotropic);
    UploadSurfaceMipmaps(surface);
    SDL_FreeSurface(surface);
    return name;
}

SDL_Surface* CUtils::LoadBMP(const char* file) {
    SDL_RWops* rw = file ? SDL_RWFromFile(ResolveDataPath(file).c_str(), "rb") : nullptr;
    return rw ? SDL_LoadBMP_RW(rw, 1) : nullptr;
}

void CUtils::swap(unsigned char& a, unsigned char& b) {
    const unsigned char t = a;
    a = b;
    b = t;
}

unsigned int CUtils::CreateTextureFromBMP(char* file) {
    const char* name = file ? file : "";
    std::cout << "Loading Texture: " << name << std::endl;
    SDL_Surface* surface = LoadBMP(file);
    if (!surface) {
        std::cerr << " Failed loading " << name << " : " << SDL_GetError() << std::endl;
        std::cout << "Failed to load the image: " << name << ", Error: " << SDL_GetError()
                  << std::endl;
        return 0;
    }
    // Rows bottom-up, as GL counts them.
    const std::vector<unsigned char> rgb = PackSurfacePixels(surface, false, true);
    const int w = surface->w, h = surface->h;
    SDL_FreeSurface(surface);

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    {
        CScopedUnpackAlignment tightRows;
        gluBuild2DMipmaps(GL_TEXTURE_2D, 3, w, h, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    }
    SetRepeatSampling(GL_LINEAR, AnisotropicGenerationOn());
    return texture;
}
