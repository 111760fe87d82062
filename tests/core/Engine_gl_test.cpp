// The engine's frames in a real window, and the program finding its data from any folder.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "support/gl_context.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <cstdlib>
#include <memory>
#include <unistd.h>

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

void Frames(Engine& engine, int count) {
    for (int frame = 0; frame < count; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        engine.MainLoop();
        ASSERT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR)) << "frame " << frame;
    }
}

Uint32 g_FakeTicks = 0;
Uint32 FakeTicks() {
    return g_FakeTicks;
}

} // namespace

TEST(EngineMainLoopGL, FramesEndInTheModesProjectionTimeOnlyWhileCountingAndDrawTheFpsText) {
    for (const bool mode2D : {true, false}) {
        auto engine = StartEngine(mode2D);
        ASSERT_TRUE(engine);
        EXPECT_EQ(g_Graphics->Get3DEnabled(), !mode2D);
        Frames(*engine, 100); // more frames than any projection stack holds
        float m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        if (mode2D) { // the pixel view
            EXPECT_LT(std::max({std::fabs(m[0] - 2.0f / 640.0f), std::fabs(m[5] + 2.0f / 480.0f),
                                std::fabs(m[12] + 1.0f), std::fabs(m[13] - 1.0f)}),
                      1e-6f);
            continue;
        }
        EXPECT_TRUE(std::equal(
            m, m + 16, static_cast<const float*>(*g_Graphics->GetCameraProjectionMatrix())));
        EXPECT_EQ(std::make_tuple(Integer(GL_PROJECTION_STACK_DEPTH),
                                  Integer(GL_MODELVIEW_STACK_DEPTH), Integer(GL_DEPTH_FUNC)),
                  std::make_tuple(1, 1, GL_LEQUAL));

        // Frame timing advances only while FPS counting is on.
        CUtils::SetTickSource(FakeTicks);
        g_FakeTicks = 100000;
        for (int frame = 0; frame < 5; ++frame, g_FakeTicks += 16)
            engine->MainLoop();
        EXPECT_EQ(g_Utils->GetFrameInterval(), 0.0);
        engine->EnableFPSCounting(true);
        engine->MainLoop(); // the first measured frame spans everything before it
        g_FakeTicks += 16;
        engine->MainLoop();
        EXPECT_NEAR(g_Utils->GetFrameInterval(), 0.016, 1e-3);
        engine->EnableFPSCounting(false); // the interval keeps its last value
        g_FakeTicks += 500;
        engine->MainLoop();
        EXPECT_NEAR(g_Utils->GetFrameInterval(), 0.016, 1e-3);
        CUtils::SetTickSource(nullptr);

        // "Current FPS: N" only while counting: glyph cells from (3, 5), 16 high, 12 apart.
        for (bool counting : {false, true}) {
            engine->EnableFPSCounting(counting);
            glClearColor(0, 0, 0, 1);
            Frames(*engine, 1);
            const std::vector<uint8_t> px = zarvo_test::ReadFramebufferTopDown(640, 480);
            int x0 = 640, y0 = 60, x1 = -1, y1 = -1; // the lit box in the top 60 rows
            for (int i = 0; i < 640 * 60; ++i)
                if (std::max({px[4 * i], px[4 * i + 1], px[4 * i + 2]}) > 100)
                    x0 = std::min(x0, i % 640), y0 = std::min(y0, i / 640),
                    x1 = std::max(x1, i % 640), y1 = std::max(y1, i / 640);
            if (!counting) {
                EXPECT_EQ(x1, -1) << "nothing drawn without FPS counting";
                continue;
            }
            EXPECT_TRUE(x0 >= 3 && y0 >= 5 && y1 <= 5 + 15 && x1 <= 3 + 12 * 14 + 15)
                << x0 << "," << y0 << " " << x1 << "," << y1;
            EXPECT_GT(x1, 3 + 12 * 10) << "the text runs over its whole length";
        }
    }
}

// Data/ and shaders/ are found beside the executable, or through ZARVO_DATA_DIR for a copy.
TEST(DataRootGL, TheProgramRunsFromAnyFolder) {
    const std::string env = "SDL_AUDIODRIVER=dummy MESA_EXTENSION_OVERRIDE='-GL_EXT_texture_"
                            "filter_anisotropic -GL_ARB_texture_filter_anisotropic'";
    const std::string elsewhere = zarvo_test::MakeTempDir("elsewhere");
    // Far from any Data/ folder: the program looks a few folders up from itself.
    const std::string lonely = "/tmp/zarvo-lonely-" + std::to_string(::getpid());
    ASSERT_EQ(std::system(("rm -rf " + lonely + " && mkdir -p " + lonely + " && cp " +
                           ZARVO_BINARY_DIR + "/zarvo " + lonely)
                              .c_str()),
              0);
    const std::string withVariable = env + " ZARVO_DATA_DIR=" + zarvo_test::SourceDir();
    for (const auto& run : {std::make_pair(env, std::string("zarvo")),
                            std::make_pair(withVariable, lonely + "/zarvo")}) {
        const std::string shot = elsewhere + "/shot.png";
        std::remove(shot.c_str());
        const zarvo_test::ProgramRun result = zarvo_test::RunProgram(
            "--windowed --frames 5 --screenshot " + shot, elsewhere, run.first, run.second);
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(zarvo_test::FindErrorText(result.output), "") << result.output;
        const zarvo_test::ShotImage image = zarvo_test::LoadShot(shot);
        ASSERT_TRUE(image.Valid()) << result.output;
        EXPECT_GT(zarvo_test::MeasureFrame(image).colours, 200u) << "blank frame";
    }
    EXPECT_NE(
        zarvo_test::RunProgram("--windowed --frames 5", elsewhere, env, lonely + "/zarvo").status,
        0)
        << "a lonely copy finds nothing without the variable";
    std::system(("rm -rf " + lonely).c_str());
}
