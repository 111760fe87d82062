#include "core/CGraphicsCore.h"

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "image/CTexture.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdio>

CGraphicsCore::CGraphicsCore()
    : m_VideoFlags(0), m_iWidth(1024), m_iHeight(768), m_iBpp(16), m_DepthBufferSize(16),
      m_StencilBufferSize(4), m_dFOV(60.0), m_bTwoSidedStencil(false),
      m_bAnisotropicSupported(false), m_bAnisotropicGeneration(false), m_bFBOSupported(false),
      m_pCursor(nullptr), m_bCustomCursor(false), m_pWindowMoveCursor(nullptr),
      m_pCurrentCursor(nullptr), m_bWindowMoveCursorLoaded(false), m_sWindowTitle("Zarvo Engine"),
      m_bWireframe(false), m_b3DEnabled(false), m_bShadows(false), m_bParallax(false),
      m_ShadowMethod(SHADOW_VOLUME), m_bPCF(false) {}

// The GL texture and frame buffer object die with the context, SDL at process exit.
CGraphicsCore::~CGraphicsCore() {
    delete m_pCursor;
    delete m_pWindowMoveCursor;
}

void CGraphicsCore::Initialize(int width, int height, int bpp, bool fullscreen, bool mode2D) {
    m_iWidth = width;
    m_iHeight = height;
    m_iBpp = bpp;
    m_b3DEnabled = !mode2D;

    if (SDL_Init(SDL_INIT_VIDEO) != 0)
        throw std::string("Error: SDL Could not be initialized: ") + SDL_GetError();

    SetVideoFlags(fullscreen);

    if (!SDL_SetVideoMode(width, height, bpp, m_VideoFlags))
        throw std::string("Error: SDL Could not create Video Surface.") + SDL_GetError();

    if (mode2D)
        InitGlOrthoMode();
    else
        Init3DScreen(m_iWidth, m_iHeight);

    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_COLOR_MATERIAL);

    const GLenum glewResult = glewInit();
    if (glewResult != GLEW_OK) std::fprintf(stderr, "Error: %s\n", glewGetErrorString(glewResult));

    CheckExtensions();
    CreateShadowMap();
}

void CGraphicsCore::SetVideoFlags(bool fullscreen) {
    m_VideoFlags = SDL_OPENGL | SDL_HWPALETTE;
    if (fullscreen) m_VideoFlags |= SDL_FULLSCREEN;

    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info) {
        std::fprintf(stderr, "Failed getting Video Info : %s\n", SDL_GetError());
        SDL_Quit();
        return;
    }
    if (info->hw_available) m_VideoFlags |= SDL_HWSURFACE;
    if (info->blit_hw) m_VideoFlags |= SDL_HWACCEL;

    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, int(m_DepthBufferSize));
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, int(m_StencilBufferSize));
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);
}

void CGraphicsCore::Init3DScreen(int width, int height) {
    if (height == 0) height = 1;
    glViewport(0, 0, width, height);

    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluMyPerspective(m_dFOV, double(width) / double(height), 1.0, 15000.0);
    glGetFloatv(GL_PROJECTION_MATRIX, static_cast<float*>(m_CameraProjectionMatrix));

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    // Becomes GL_LEQUAL at the first ViewPerspective(), which ends every 3D frame.
    glDepthFunc(GL_ALWAYS);
    glDisable(GL_LIGHTING);
}

void CGraphicsCore::CheckExtensions() {
    if (glewIsSupported("GL_EXT_stencil_two_side")) m_bTwoSidedStencil = true;
    if (glewIsSupported("GL_EXT_texture_filter_anisotropic")) m_bAnisotropicSupported = true;
    if (!glewIsSupported("GL_ARB_vertex_buffer_object")) {
        std::printf(
            "\nSorry, your video card does not support GL_ARB_vertex_buffer_object extension!");
        SDL_Quit();
    }
    if (!glewIsSupported("GL_ARB_multitexture")) {
        std::printf("\nSorry, your video card does not support GL_ARB_multitexture extension!");
        SDL_Quit();
    }
    m_bFBOSupported = glewIsSupported("GL_EXT_framebuffer_object");
}

void CGraphicsCore::CreateShadowMap() {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    m_ShadowMap.Texture = texture;
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GLsizei(m_ShadowMap.Width),
                 GLsizei(m_ShadowMap.Height), 0, GL_DEPTH_COMPONENT, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

    if (!m_bFBOSupported) return;

    GLuint fbo = 0;
    glGenFramebuffersEXT(1, &fbo);
    m_ShadowMap.FBO = fbo;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, fbo);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_TEXTURE_2D, texture,
                              0);
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    const GLenum status = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT);
    if (status == GL_FRAMEBUFFER_UNSUPPORTED_EXT) {
        std::fprintf(stderr, "FBO configuration unsupported\n");
        SDL_Quit();
    } else if (status != GL_FRAMEBUFFER_COMPLETE_EXT) {
        std::fprintf(stderr, "FBO programmer error\n");
        SDL_Quit();
    }
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
}

void CGraphicsCore::gluMyPerspective(double fovY, double aspect, double zNear, double zFar) {
    const double ymax = zNear * std::tan(fovY * M_PI / 360.0);
    glFrustum(-ymax * aspect, ymax * aspect, -ymax, ymax, zNear, zFar);
}

namespace {
// In 2D mode nothing pops what every frame pushes; once the stack is full OpenGL ignores
// the push but leaves GL_STACK_OVERFLOW pending. Skipping it gives the same matrices.
void PushProjectionIfRoom() {
    GLint depth = 0, maxDepth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    glGetIntegerv(GL_MAX_PROJECTION_STACK_DEPTH, &maxDepth);
    if (depth < maxDepth) glPushMatrix();
}
} // namespace

void CGraphicsCore::InitGlOrthoMode() {
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_ALWAYS);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_SCISSOR_TEST);

    glMatrixMode(GL_PROJECTION);
    PushProjectionIfRoom();
    glLoadIdentity();
    glOrtho(0.0, m_iWidth, m_iHeight, 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
}

namespace {
// OpenGL ignores a pop of a one-deep stack but leaves GL_STACK_UNDERFLOW pending, which
// later code would take for its own error; skipping that pop gives the same matrices.
void PopMatrixIfPushed(GLenum mode, GLenum depthQuery) {
    glMatrixMode(mode);
    GLint depth = 0;
    glGetIntegerv(depthQuery, &depth);
    if (depth > 1) glPopMatrix();
}
} // namespace

void CGraphicsCore::ViewPerspective() {
    PopMatrixIfPushed(GL_PROJECTION, GL_PROJECTION_STACK_DEPTH);
    PopMatrixIfPushed(GL_MODELVIEW, GL_MODELVIEW_STACK_DEPTH);
    glDepthFunc(GL_LEQUAL);
}

void CGraphicsCore::SetOrthoMode(int left, int top, int right, int bottom) {
    glMatrixMode(GL_PROJECTION);
    PushProjectionIfRoom();
    glLoadIdentity();
    glOrtho(left, right, bottom, top, 0.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void CGraphicsCore::SetWireFrameMode(bool on) {
    m_bWireframe = on;
    glPolygonMode(GL_FRONT_AND_BACK, on ? GL_LINE : GL_FILL);
}

void CGraphicsCore::setWindowTitle(const char* title) {
    m_sWindowTitle = title ? title : "";
    SDL_WM_SetCaption(m_sWindowTitle.c_str(), "");
}

namespace {
const char* GLString(GLenum name) {
    const GLubyte* text = glGetString(name);
    return text ? reinterpret_cast<const char*>(text) : "";
}
} // namespace

const char* CGraphicsCore::DetectVideoCardVendor() const {
    return GLString(GL_VENDOR);
}
const char* CGraphicsCore::DetectRender() const {
    return GLString(GL_RENDERER);
}
const char* CGraphicsCore::DetectOpengGLVersion() const {
    return GLString(GL_VERSION);
}

void CGraphicsCore::SetShadowMapSize(unsigned int x, unsigned int y) {
    m_ShadowMap.Width = x;
    m_ShadowMap.Height = y;
}

void CGraphicsCore::ShowMouseCursor(bool show) {
    SDL_ShowCursor(show ? 1 : 0);
}

void CGraphicsCore::SetMouseToCenter() {
    const int x = int(float(m_iWidth) / 2.0f);
    const int y = int(float(m_iHeight) / 2.0f);
    if (g_EventManager) g_EventManager->SetMouseCoordinates(x, y);
}

void CGraphicsCore::LoadCustomMouseCursor(char* file) {
    delete m_pCursor; // a second load replaces the first instead of leaking it
    m_pCursor = new CTexture(file ? file : "");
    m_bCustomCursor = true;
    m_pCurrentCursor = m_pCursor;
    SDL_ShowCursor(0);
}

void CGraphicsCore::LoadCustomMouseCursorOnWindowMove(char* file) {
    const bool wasCurrent = m_pCurrentCursor && m_pCurrentCursor == m_pWindowMoveCursor;
    delete m_pWindowMoveCursor;
    m_pWindowMoveCursor = new CTexture(file ? file : "");
    if (wasCurrent) m_pCurrentCursor = m_pWindowMoveCursor;
    m_bWindowMoveCursorLoaded = true;
}

void CGraphicsCore::LoadCustomMouseCursors(char* normal, char* windowMove) {
    LoadCustomMouseCursor(normal);
    LoadCustomMouseCursorOnWindowMove(windowMove);
    m_pCurrentCursor = m_pCursor;
}

void CGraphicsCore::setActualCursorToWindowMove(bool moving) {
    m_pCurrentCursor = moving ? m_pWindowMoveCursor : m_pCursor;
}

void CGraphicsCore::DrawCustomCursor() {
    // Until a window-move cursor exists the normal one is drawn whatever is current.
    CTexture* cursor = m_bWindowMoveCursorLoaded ? m_pCurrentCursor : m_pCursor;
    if (!cursor || !g_EventManager) return;
    cursor->Draw(float(g_EventManager->GetMouseX()), float(g_EventManager->GetMouseY()), 1.0f, 0.0f,
                 1.0f, 1.0f, 1.0f, 1.0f);
}
