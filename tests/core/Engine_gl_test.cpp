// The engine's share of a frame with a real window: where MainLoop leaves the projection
// in 3D and in 2D mode, over many frames.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "support/gl_context.h"

#include <GL/glew.h>
#include <SDL.h>

#include <memory>
#include <string>

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
    return engine;
}

Uint32 g_FakeTicks = 0;
Uint32 FakeTicks() {
    return g_FakeTicks;
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
