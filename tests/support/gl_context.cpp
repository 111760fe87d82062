#include "gl_context.h"

#include <GL/glu.h>
#include <SDL.h>

#include "render3d/CShaderManager.h"

namespace zarvo_test {

void PopMatrixStacksToBase() {
    if (!SDL_GetVideoSurface()) return;
    GLint depth = 0;
    glMatrixMode(GL_PROJECTION);
    for (glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth); depth > 1; --depth)
        glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    for (glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth); depth > 1; --depth)
        glPopMatrix();
}

void LookAt(int size, double farPlane, const float clear[3], const double eye[3],
            const double centre[3]) {
    glViewport(0, 0, size, size);
    glClearColor(clear[0], clear[1], clear[2], 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(eye[0], eye[1], eye[2], centre[0], centre[1], centre[2], 0, 1, 0);
}

void OrthoView(int w, int h, double left, double right, double bottom, double top, double zNear,
               double zFar) {
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(left, right, bottom, top, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

CShaderManager* BuiltInShaders() {
    static CShaderManager* shaders = [] {
        auto* s = new CShaderManager();
        s->LoadDefaultShaders();
        return s;
    }();
    return shaders;
}

bool EnsureGLContext(int width, int height, std::string* error) {
    static int openWidth = 0, openHeight = 0;
    if (openWidth == width && openHeight == height && SDL_GetVideoSurface()) return true;
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_Init(SDL_INIT_VIDEO) != 0) {
        if (error) *error = std::string("SDL_Init failed: ") + SDL_GetError();
        return false;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
    if (!SDL_SetVideoMode(width, height, 24, SDL_OPENGL)) {
        if (error) *error = std::string("SDL_SetVideoMode failed: ") + SDL_GetError();
        return false;
    }
    if (glewInit() != GLEW_OK) {
        if (error) *error = "glewInit failed";
        return false;
    }
    openWidth = width;
    openHeight = height;
    // Mesa picks up a re-sized window's buffers at the next swap.
    SDL_GL_SwapBuffers();
    glViewport(0, 0, width, height);
    TakeGLError();
    return true;
}

Rgba ReadPixelTopDown(int x, int y) {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const SDL_Surface* screen = SDL_GetVideoSurface();
    const int windowHeight = screen ? screen->h : viewport[3];
    Rgba px{0, 0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(x, windowHeight - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, &px);
    return px;
}

static std::vector<uint8_t> ReadTopDown(int width, int height, GLenum format, int bytes) {
    std::vector<uint8_t> bottomUp(size_t(width) * height * bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, format, GL_UNSIGNED_BYTE, bottomUp.data());
    std::vector<uint8_t> topDown(bottomUp.size());
    const size_t row = size_t(width) * bytes;
    for (int y = 0; y < height; ++y)
        std::copy(bottomUp.begin() + (height - 1 - y) * row, bottomUp.begin() + (height - y) * row,
                  topDown.begin() + y * row);
    return topDown;
}

std::vector<uint8_t> ReadFramebufferTopDown(int width, int height) {
    return ReadTopDown(width, height, GL_RGBA, 4);
}

std::vector<uint8_t> ReadStencilTopDown(int width, int height) {
    return ReadTopDown(width, height, GL_STENCIL_INDEX, 1);
}

GLenum TakeGLError() {
    GLenum first = GL_NO_ERROR;
    for (int i = 0; i < 32; ++i) {
        const GLenum e = glGetError();
        if (e == GL_NO_ERROR) break;
        if (first == GL_NO_ERROR) first = e;
    }
    return first;
}

} // namespace zarvo_test
