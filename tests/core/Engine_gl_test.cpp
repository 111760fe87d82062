// The engine's share of a frame with a real window: where MainLoop leaves the projection
// in 3D and in 2D mode over many frames, and its FPS text.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "support/gl_context.h"

#include <GL/glew.h>
#include <SDL.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

GLint Integer(GLenum name) {
    GLint v = 0;
    glGetIntegerv(name, &v);
    return v;
}

std::unique_ptr<Engine> StartEngine(bool mode2D) {
    zarvo_test::PopMatrixStacksToBase();
    testing::internal::CaptureStdout();
    auto engine = std::make_unique<Engine>();
    try {
        engine->Initialize(640, 480, 24, false, mode2D);
    } catch (const std::string& e) {
        testing::internal::GetCapturedStdout();
        ADD_FAILURE() << e;
        return nullptr;
    }
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("Detected Video Card Vendor: "), std::string::npos) << out;
    EXPECT_NE(out.find("\nDetected OpenGL version: "), std::string::npos) << out;
    EXPECT_EQ(out.find("Sorry"), std::string::npos) << out;
    SDL_GL_SwapBuffers(); // Mesa picks up a re-sized window's buffers at a swap
    return engine;
}

Uint32 g_FakeTicks = 0;
Uint32 FakeTicks() {
    return g_FakeTicks;
}

// Bounding box of the lit pixels in the top `h` rows; empty (x0 > x1) when none.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};
Box LitBox(int h) {
    const std::vector<uint8_t> px = zarvo_test::ReadFramebufferTopDown(640, 480);
    Box b;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 640; ++x) {
            const uint8_t* p = &px[(size_t(y) * 640 + x) * 4];
            if (p[0] > 100 || p[1] > 100 || p[2] > 100) {
                b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
            }
        }
    return b;
}

void Projection(float m[16]) {
    glGetFloatv(GL_PROJECTION_MATRIX, m);
}

} // namespace

TEST(EngineMainLoopGL, ThreeDModeEndsEachFrameInThePerspective) {
    auto engine = StartEngine(false);
    ASSERT_TRUE(engine);
    const float* perspective = *g_Graphics->GetCameraProjectionMatrix();
    for (int frame = 0; frame < 50; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        engine->MainLoop();
    }
    float m[16];
    Projection(m);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(m[i], perspective[i]) << i;
    EXPECT_EQ(Integer(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_EQ(Integer(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(Integer(GL_DEPTH_FUNC), GL_LEQUAL);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(EngineMainLoopGL, TwoDModeEndsEachFrameInThePixelViewWithoutStackErrors) {
    auto engine = StartEngine(true);
    ASSERT_TRUE(engine);
    EXPECT_FALSE(g_Graphics->Get3DEnabled());
    // More frames than any projection stack holds.
    for (int frame = 0; frame < 100; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        engine->MainLoop();
        ASSERT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR)) << "frame " << frame;
    }
    float m[16];
    Projection(m);
    EXPECT_NEAR(m[0], 2.0f / 640.0f, 1e-7);
    EXPECT_NEAR(m[5], -2.0f / 480.0f, 1e-7);
    EXPECT_NEAR(m[12], -1.0f, 1e-6);
    EXPECT_NEAR(m[13], 1.0f, 1e-6);
}

TEST(EngineMainLoopGL, FrameTimingAdvancesOnlyWhileFPSCountingIsOn) {
    auto engine = StartEngine(false);
    ASSERT_TRUE(engine);
    CUtils::SetTickSource(FakeTicks);
    g_FakeTicks = 100000;
    for (int frame = 0; frame < 5; ++frame) {
        g_FakeTicks += 16;
        engine->MainLoop();
    }
    EXPECT_EQ(g_Utils->GetFrameInterval(), 0.0);

    engine->EnableFPSCounting(true);
    engine->MainLoop(); // the first measured frame spans everything before it
    g_FakeTicks += 16;
    engine->MainLoop();
    EXPECT_NEAR(g_Utils->GetFrameInterval(), 0.016, 1e-3);

    // Switched off again, the interval keeps its last value.
    engine->EnableFPSCounting(false);
    g_FakeTicks += 500;
    engine->MainLoop();
    EXPECT_NEAR(g_Utils->GetFrameInterval(), 0.016, 1e-3);
    CUtils::SetTickSource(nullptr);
}

// "Current FPS: %d" at (3, 5) in font 1, drawn only while counting is on.
TEST(EngineMainLoopGL, FpsTextStartsAtThreeFiveOnlyWhileCountingIsOn) {
    auto engine = StartEngine(false);
    ASSERT_TRUE(engine);
    for (bool counting : {false, true}) {
        engine->EnableFPSCounting(counting);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        engine->MainLoop();
        const Box text = LitBox(60);
        if (!counting) {
            EXPECT_GT(text.x0, text.x1) << "nothing drawn without FPS counting";
            continue;
        }
        ASSERT_LE(text.x0, text.x1) << "the FPS text is drawn";
        // "Current FPS: 0": glyph cells from (3, 5), 16 high, 12 apart.
        EXPECT_GE(text.x0, 3);
        EXPECT_GE(text.y0, 5);
        EXPECT_LE(text.y1, 5 + 15);
        EXPECT_LE(text.x1, 3 + 12 * 14 + 15);
        EXPECT_GT(text.x1, 3 + 12 * 10) << "the text runs over its whole length";
    }
}
