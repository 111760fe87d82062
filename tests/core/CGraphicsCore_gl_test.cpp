// The graphics core opening real windows under X: video modes, extension flags, the
// shadow-map texture and frame buffer object, and the projections, all read back from GL.
#include <gtest/gtest.h>

#include "core/CFrameBuffer.h"
#include "core/CGraphicsCore.h"
#include "support/gl_context.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

GLint Integer(GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

// Opens the window through the core; a failure to start SDL or the mode fails the test.
std::unique_ptr<CGraphicsCore> Open(int w, int h, bool fullscreen, bool mode2D,
                                    void (*configure)(CGraphicsCore&) = nullptr) {
    zarvo_test::PopMatrixStacksToBase();
    auto core = std::make_unique<CGraphicsCore>();
    if (configure) configure(*core);
    try {
        core->Initialize(w, h, 24, fullscreen, mode2D);
    } catch (const std::string& e) {
        ADD_FAILURE() << e;
        return nullptr;
    }
    return core;
}

void Projection(float m[16]) {
    glGetFloatv(GL_PROJECTION_MATRIX, m);
}

void ExpectDepthTextureSize(GLuint texture, int w, int h) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint tw = 0, th = 0, format = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &tw);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &th);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_DEPTH_SIZE, &format);
    EXPECT_EQ(tw, w);
    EXPECT_EQ(th, h);
    EXPECT_GT(format, 0) << "not a depth texture";
}

} // namespace

TEST(GraphicsCoreGL, Windowed3DOpensTheModeChecksExtensionsAndBuildsTheShadowMap) {
    auto core = Open(1024, 768, false, false);
    ASSERT_TRUE(core);
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_EQ(screen->h, 768);
    EXPECT_TRUE(screen->flags & SDL_OPENGL);
    EXPECT_FALSE(screen->flags & SDL_FULLSCREEN);
    EXPECT_TRUE(core->Get3DEnabled());

    // Anisotropic generation turns on only where the card filters anisotropically.
    core->EnableAnistropicTexturing();
    EXPECT_EQ(core->isAnisotropicTextureGenerationEnabled(),
              core->GetSupportAnisotropicTextureFiltering());
    core->DisableAnistropicTexturing();
    EXPECT_FALSE(core->isAnisotropicTextureGenerationEnabled());

    ASSERT_NE(core->GetShadowMapTexture(), 0u);
    ExpectDepthTextureSize(core->GetShadowMapTexture(), 1024, 1024);
    ASSERT_TRUE(core->isFBOSupported());
    ASSERT_NE(core->GetShadowMapFBO(), 0u);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, core->GetShadowMapFBO());
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    EXPECT_EQ(Integer(GL_FRAMEBUFFER_BINDING_EXT), 0);

    // The perspective for 60 degrees at 4:3, also kept as the camera projection.
    float m[16];
    Projection(m);
    const float f = float(1.0 / std::tan(30.0 * M_PI / 180.0));
    EXPECT_NEAR(m[5], f, 1e-5);
    EXPECT_NEAR(m[0], f * 768.0f / 1024.0f, 1e-5);
    EXPECT_NEAR(m[11], -1.0f, 1e-6);
    const float* stored = *core->GetCameraProjectionMatrix();
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(stored[i], m[i]) << i;
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_ALWAYS);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(GraphicsCoreGL, Fullscreen2DAndARequestedShadowMapSize) {
    auto core = Open(1024, 768, true, true, [](CGraphicsCore& c) {
        c.SetShadowMapSize(2048, 512);
        c.SetDepthBufferSize(24);
        c.SetStencilBufferSize(8);
    });
    ASSERT_TRUE(core);
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(screen->flags & SDL_FULLSCREEN);
    EXPECT_EQ(screen->w, 1024);
    EXPECT_FALSE(core->Get3DEnabled());
    int depthBits = 0, stencilBits = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencilBits);
    EXPECT_GE(depthBits, 24);
    EXPECT_GE(stencilBits, 8);

    EXPECT_EQ(core->GetShadowMapSizeX(), 2048u);
    EXPECT_EQ(core->GetShadowMapSizeY(), 512u);
    ExpectDepthTextureSize(core->GetShadowMapTexture(), 2048, 512);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, core->GetShadowMapFBO());
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);

    // 2D mode starts in the pixel view.
    float m[16];
    Projection(m);
    EXPECT_NEAR(m[0], 2.0f / 1024.0f, 1e-7);
    EXPECT_NEAR(m[5], -2.0f / 768.0f, 1e-7);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(GraphicsCoreGL, PixelViewPutsTheOriginTopLeft) {
    auto core = Open(320, 200, false, false);
    ASSERT_TRUE(core);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    core->InitGlOrthoMode();
    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glPointSize(1.0f);
    // Points at pixel centres: pixel (0, 0) and pixel (width - 1, height - 1).
    glBegin(GL_POINTS);
    glColor3f(1, 0, 0);
    glVertex2f(0.5f, 0.5f);
    glColor3f(0, 1, 0);
    glVertex2f(320 - 0.5f, 200 - 0.5f);
    glEnd();
    core->ViewPerspective();

    const auto topLeft = zarvo_test::ReadPixelTopDown(0, 0);
    const auto bottomRight = zarvo_test::ReadPixelTopDown(319, 199);
    EXPECT_EQ(topLeft.r, 255);
    EXPECT_EQ(topLeft.g, 0);
    EXPECT_EQ(bottomRight.g, 255);
    EXPECT_EQ(bottomRight.r, 0);
    EXPECT_EQ(zarvo_test::ReadPixelTopDown(319, 0).r, 0);
    EXPECT_EQ(zarvo_test::ReadPixelTopDown(0, 199).g, 0);
}

TEST(GraphicsCoreGL, ReturningFromThePixelViewRestoresTheProjectionWithoutGLErrors) {
    auto core = Open(320, 200, false, false);
    ASSERT_TRUE(core);
    float before[16], after[16], modelview[16], modelviewAfter[16];
    Projection(before);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);

    for (int frame = 0; frame < 3; ++frame) {
        core->InitGlOrthoMode();
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        core->ViewPerspective();
    }
    Projection(after);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], before[i]) << i;
        EXPECT_EQ(modelviewAfter[i], modelview[i]) << i;
    }
    EXPECT_EQ(Integer(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));

    // SetOrthoMode: the given box, model-view reset.
    core->SetOrthoMode(0, 0, 100, 50);
    Projection(after);
    EXPECT_NEAR(after[0], 2.0f / 100.0f, 1e-7);
    EXPECT_NEAR(after[5], -2.0f / 50.0f, 1e-7); // top at 0: y grows downwards
    glGetFloatv(GL_MODELVIEW_MATRIX, modelviewAfter);
    EXPECT_EQ(modelviewAfter[12], 0.0f);
    core->ViewPerspective();
    Projection(after);
    EXPECT_EQ(after[5], before[5]);
}

TEST(GraphicsCoreGL, HeightZeroCountsAsOne) {
    auto core = Open(320, 200, false, false);
    ASSERT_TRUE(core);
    core->Init3DScreen(320, 0);
    float m[16];
    Projection(m);
    for (float v : m)
        EXPECT_TRUE(std::isfinite(v));
    const float f = float(1.0 / std::tan(30.0 * M_PI / 180.0));
    EXPECT_NEAR(m[0], f / 320.0f, 1e-6);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);
    core->Init3DScreen(320, 200);
}

TEST(GraphicsCoreGL, WireframeAndWindowTitleReachGLAndSDL) {
    auto core = Open(320, 200, false, false);
    ASSERT_TRUE(core);
    core->SetWireFrameMode(true);
    GLint modes[2];
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_LINE);
    EXPECT_TRUE(core->GetWireFrameMode());
    core->SetWireFrameMode(false);
    glGetIntegerv(GL_POLYGON_MODE, modes);
    EXPECT_EQ(modes[0], GL_FILL);

    core->setWindowTitle("Title Check");
    char* title = nullptr;
    char* icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Title Check");
}

TEST(FrameBufferGL, DrawsRowsBottomToTop) {
    auto core = Open(320, 200, false, true);
    ASSERT_TRUE(core);
    glClear(GL_COLOR_BUFFER_BIT);
    CFrameBuffer image(4, 2);
    image.SetPixelColor(0, 0, 1, 0, 0); // first row: the bottom one on screen
    image.SetPixelColor(3, 1, 0, 0, 1);
    image.SetPixelColor(4, 0, 1, 1, 1); // outside: ignored
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glWindowPos2i(0, 0);
    image.DrawFrameBuffer();
    EXPECT_EQ(zarvo_test::ReadPixelTopDown(0, 199).r, 255);
    EXPECT_EQ(zarvo_test::ReadPixelTopDown(3, 198).b, 255);
    EXPECT_EQ(zarvo_test::ReadPixelTopDown(1, 199).r, 0); // zeroed, not garbage
    EXPECT_EQ(zarvo_test::ReadPixelTopDown(4, 199).r, 0);
}
