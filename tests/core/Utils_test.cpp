#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"

#include <SDL.h>

#include <cmath>
#include <cstdlib>

namespace {

// The timing state is shared by every CUtils in the process, so each test starts a
// fresh measuring period well after anything an earlier test did.
Uint32 g_Now = 0;
Uint32 FakeTicks() {
    return g_Now;
}

class FrameTimingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1); // window-less, yet the caption can be read back
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
    void SetUp() override {
        CUtils::SetTickSource(FakeTicks);
        g_Now += 10000;
        CUtils().CalculateFrameRate(); // closes any period left open; the next starts now
    }
    void TearDown() override { CUtils::SetTickSource(nullptr); }
    // Advances the clock to `at` and measures a frame.
    void FrameAt(Uint32 at) {
        g_Now = at;
        utils.CalculateFrameRate();
    }
    CUtils utils;
};

TEST_F(FrameTimingTest, IntervalIsTheTimeBetweenCallsLimitedToOneSecondAndNeverNegative) {
    EXPECT_EQ(utils.GetFrameInterval(), 0.0);
    utils.CalculateFrameRate();
    const std::pair<int, double> steps[] = {{16, 0.016}, {3000, 1.0}, {20, 0.020}, {-5000, 0.0}};
    for (const auto& step : steps) { // the last: a clock that goes back (a replaced source)
        FrameAt(g_Now + Uint32(step.first));
        EXPECT_NEAR(utils.GetFrameInterval(), step.second, 1e-4) << step.first;
    }
}

TEST_F(FrameTimingTest, RateCountsTheFramesOfEachPeriodOfOverOneSecond) {
    CGraphicsCore graphics;
    graphics.setWindowTitle("Demo");
    g_Graphics = &graphics;
    const Uint32 start = g_Now;
    for (int frame = 1; frame <= 59; ++frame) {
        FrameAt(start + Uint32(frame) * 16);
        ASSERT_EQ(utils.GetFPS(), 0) << "frame " << frame;
    }
    FrameAt(start + 1001);
    EXPECT_EQ(utils.GetFPS(), 60);
    EXPECT_STREQ(utils.GetFPString(), " Current FPS: 60");
    char *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Demo Current FPS: 60");
    // The value holds between updates; exactly one second later is not yet "over".
    const Uint32 second = g_Now;
    for (int frame = 1; frame < 30; ++frame) {
        FrameAt(second + Uint32(frame) * 33);
        ASSERT_EQ(utils.GetFPS(), 60);
    }
    FrameAt(second + 1000);
    EXPECT_EQ(utils.GetFPS(), 60);
    FrameAt(second + 1002);
    EXPECT_EQ(utils.GetFPS(), 31);
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Demo Current FPS: 31");
    g_Graphics = nullptr;
}

float Gap(const CVector3& a, const CVector3& b) {
    return std::fabs(a.x - b.x) + std::fabs(a.y - b.y) + std::fabs(a.z - b.z);
}

TEST(TangentBasis, TangentFollowsUBitangentPointsAgainstVAndADegenerateMappingLeavesBoth) {
    struct Case {
        CVector3 p1, p2;
        CVector2 uv1, uv2;
        CVector3 tangent, bitangent;
    };
    // Unequal edge lengths still give unit vectors; texture coordinates on one line give
    // no basis, and the outputs keep what they held.
    const Case cases[] = {{{1, 0, 0}, {0, 1, 0}, {1, 0}, {0, 1}, {1, 0, 0}, {0, -1, 0}},
                          {{0, 0, 2}, {3, 0, 0}, {1, 0}, {0, 1}, {0, 0, 1}, {-1, 0, 0}},
                          {{1, 0, 0}, {0, 1, 0}, {1, 1}, {2, 2}, {7, 8, 9}, {-7, -8, -9}}};
    for (const Case& c : cases) {
        CVector3 tangent(7, 8, 9), bitangent(-7, -8, -9);
        CUtils().ComputeTangentBasis(CVector3(0, 0, 0), c.p1, c.p2, CVector2(0, 0), c.uv1, c.uv2,
                                     tangent, bitangent);
        EXPECT_LT(Gap(tangent, c.tangent), 1e-5f) << &c - cases;
        EXPECT_LT(Gap(bitangent, c.bitangent), 1e-5f) << &c - cases;
    }
}

} // namespace
