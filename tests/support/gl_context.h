#pragma once
// A real OpenGL context for tests that read results back from GL. Tests run under
// Xvfb (Mesa llvmpipe); one SDL window is opened per test process and reused.
#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

class CShaderManager;

namespace zarvo_test {

// Opens (or re-opens with a new size) a double-buffered window with a 24-bit depth
// buffer and an 8-bit stencil buffer, and initialises GLEW. Returns false with a
// message when no display is available.
bool EnsureGLContext(int width = 256, int height = 256, std::string* error = nullptr);

// Reads one RGBA pixel of the back buffer; y counts from the top row of the window.
struct Rgba {
    uint8_t r, g, b, a;
};
Rgba ReadPixelTopDown(int x, int y);
// Reads the whole back buffer as RGBA, top row first.
std::vector<uint8_t> ReadFramebufferTopDown(int width, int height);
// Reads the whole stencil buffer, one byte per pixel, top row first.
std::vector<uint8_t> ReadStencilTopDown(int width, int height);
// Drains and returns every pending glGetError code (0 when none).
GLenum TakeGLError();

// SDL keeps the context across video modes: pops what earlier tests left on the
// projection and modelview stacks of an open window.
void PopMatrixStacksToBase();

// A square viewport of `size` pixels cleared to `clear`, a 45-degree perspective out to
// `farPlane`, and the modelview looking from `eye` at `centre` with y up.
void LookAt(int size, double farPlane, const float clear[3], const double eye[3],
            const double centre[3]);

// A w x h viewport with glOrtho(left, right, bottom, top, zNear, zFar) and an identity modelview.
void OrthoView(int w, int h, double left, double right, double bottom, double top, double zNear,
               double zFar);

// Points an engine global (g_Graphics, g_Camera, ...) at `value` for the object's lifetime, then
// back at what it pointed at before.
template <typename T> class ScopedGlobal {
public:
    ScopedGlobal(T*& global, T* value) : global_(global), previous_(global) { global = value; }
    ~ScopedGlobal() { global_ = previous_; }

private:
    T*& global_;
    T* previous_;
};

// One default shader table per test process, loaded on first use and kept (shaders
// outlive any single test's objects).
CShaderManager* BuiltInShaders();

} // namespace zarvo_test

// Skips the current test when no GL context can be opened.
#define ZARVO_REQUIRE_GL(w, h)                                                                     \
    do {                                                                                           \
        std::string gl_error_;                                                                     \
        if (!zarvo_test::EnsureGLContext((w), (h), &gl_error_)) GTEST_FAIL() << gl_error_;         \
    } while (0)
