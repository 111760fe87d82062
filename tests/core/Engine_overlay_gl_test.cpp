// The FPS text step of the engine's frame: "Current FPS: %d" at (3, 5) in font 1.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "support/gl_context.h"

#include <GL/glew.h>
#include <SDL.h>

#include <memory>
#include <string>

namespace {

constexpr int kW = 640, kH = 480; // the engine tests' window, so nothing is resized

std::unique_ptr<Engine> StartEngine() {
    zarvo_test::PopMatrixStacksToBase();
    testing::internal::CaptureStdout();
    auto engine = std::make_unique<Engine>();
    try {
        engine->Initialize(kW, kH, 24, false, false);
    } catch (const std::string& e) {
        testing::internal::GetCapturedStdout();
        ADD_FAILURE() << e;
        return nullptr;
    }
    testing::internal::GetCapturedStdout();
    SDL_GL_SwapBuffers();
    return engine;
}

void ClearFrame() {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// Bounding box of the lit pixels inside [0, w) x [0, h); empty (x0 > x1) when none.
struct Box {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};
Box LitBox(int w, int h) {
    const std::vector<uint8_t> px = zarvo_test::ReadFramebufferTopDown(kW, kH);
    Box b;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t* p = &px[(size_t(y) * kW + x) * 4];
            if (p[0] > 100 || p[1] > 100 || p[2] > 100) {
                b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
                b.x1 = std::max(b.x1, x), b.y1 = std::max(b.y1, y);
            }
        }
    return b;
}

} // namespace

TEST(EngineOverlayGL, FpsTextStartsAtThreeFiveOnlyWhileCountingIsOn) {
    auto engine = StartEngine();
    ASSERT_TRUE(engine);
    ClearFrame();
    engine->MainLoop();
    Box off = LitBox(kW, 60);
    EXPECT_GT(off.x0, off.x1) << "nothing drawn without FPS counting";

    engine->EnableFPSCounting(true);
    ClearFrame();
    engine->MainLoop();
    const Box text = LitBox(kW, 60);
    ASSERT_LE(text.x0, text.x1) << "the FPS text is drawn";
    // "Current FPS: 0": glyph cells from (3, 5), 16 high, 12 apart.
    EXPECT_GE(text.x0, 3);
    EXPECT_GE(text.y0, 5);
    EXPECT_LE(text.y1, 5 + 15);
    EXPECT_LE(text.x1, 3 + 12 * 14 + 15);
    EXPECT_GT(text.x1, 3 + 12 * 10) << "the text runs over its whole length";
}
