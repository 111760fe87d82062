#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

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
        // A window-less video driver, so the caption can be set and read back.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
    void SetUp() override {
        CUtils::SetTickSource(FakeTicks);
        g_Now += 10000;
        CUtils().CalculateFrameRate(); // closes any period left open; the next starts now
    }
    void TearDown() override { CUtils::SetTickSource(nullptr); }

    static std::string Caption() {
        char* title = nullptr;
        char* icon = nullptr;
        SDL_WM_GetCaption(&title, &icon);
        return title ? title : "";
    }
};

TEST_F(FrameTimingTest, IntervalIsTheTimeBetweenCallsLimitedToOneSecond) {
    CUtils utils;
    EXPECT_EQ(utils.GetFrameInterval(), 0.0);
    utils.CalculateFrameRate();
    g_Now += 16;
    utils.CalculateFrameRate();
    EXPECT_NEAR(utils.GetFrameInterval(), 0.016, 1e-4);
    g_Now += 3000;
    utils.CalculateFrameRate();
    EXPECT_EQ(utils.GetFrameInterval(), 1.0);
    g_Now += 20;
    utils.CalculateFrameRate();
    EXPECT_NEAR(utils.GetFrameInterval(), 0.020, 1e-4);
    // A clock that goes back (a replaced tick source) gives no negative step.
    g_Now -= 5000;
    utils.CalculateFrameRate();
    EXPECT_EQ(utils.GetFrameInterval(), 0.0);
}

TEST_F(FrameTimingTest, RateCountsTheFramesOfEachPeriodOfOverOneSecond) {
    CGraphicsCore graphics;
    graphics.setWindowTitle("Demo");
    g_Graphics = &graphics;
    CUtils utils;
    const Uint32 start = g_Now;
    for (int frame = 1; frame <= 59; ++frame) {
        g_Now = start + Uint32(frame) * 16;
        utils.CalculateFrameRate();
        ASSERT_EQ(utils.GetFPS(), 0) << "frame " << frame;
    }
    g_Now = start + 1001;
    utils.CalculateFrameRate();
    EXPECT_EQ(utils.GetFPS(), 60);
    EXPECT_STREQ(utils.GetFPString(), " Current FPS: 60");
    EXPECT_EQ(Caption(), "Demo Current FPS: 60");

    // The value holds between updates; exactly one second later is not yet "over".
    const Uint32 second = g_Now;
    for (int frame = 1; frame < 30; ++frame) {
        g_Now = second + Uint32(frame) * 33;
        utils.CalculateFrameRate();
        ASSERT_EQ(utils.GetFPS(), 60);
    }
    g_Now = second + 1000;
    utils.CalculateFrameRate();
    EXPECT_EQ(utils.GetFPS(), 60);
    g_Now = second + 1002;
    utils.CalculateFrameRate();
    EXPECT_EQ(utils.GetFPS(), 31);
    EXPECT_EQ(Caption(), "Demo Current FPS: 31");
    g_Graphics = nullptr;
}

void ExpectVector(const CVector3& v, float x, float y, float z) {
    EXPECT_NEAR(v.x, x, 1e-6f);
    EXPECT_NEAR(v.y, y, 1e-6f);
    EXPECT_NEAR(v.z, z, 1e-6f);
}

TEST(TangentBasis, TangentFollowsUAndBitangentPointsAgainstV) {
    CUtils utils;
    CVector3 tangent, bitangent;
    utils.ComputeTangentBasis(CVector3(0, 0, 0), CVector3(1, 0, 0), CVector3(0, 1, 0),
                              CVector2(0, 0), CVector2(1, 0), CVector2(0, 1), tangent, bitangent);
    ExpectVector(tangent, 1, 0, 0);
    ExpectVector(bitangent, 0, -1, 0);

    // Unequal edge lengths in another plane: the results are still unit vectors.
    utils.ComputeTangentBasis(CVector3(0, 0, 0), CVector3(0, 0, 2), CVector3(3, 0, 0),
                              CVector2(0, 0), CVector2(1, 0), CVector2(0, 1), tangent, bitangent);
    ExpectVector(tangent, 0, 0, 1);
    ExpectVector(bitangent, -1, 0, 0);
}

TEST(TangentBasis, DegenerateMappingLeavesTheOutputsAlone) {
    CUtils utils;
    CVector3 tangent(7, 8, 9), bitangent(-7, -8, -9);
    // All three texture coordinates on one line: no texture-space basis exists.
    utils.ComputeTangentBasis(CVector3(0, 0, 0), CVector3(1, 0, 0), CVector3(0, 1, 0),
                              CVector2(0, 0), CVector2(1, 1), CVector2(2, 2), tangent, bitangent);
    ExpectVector(tangent, 7, 8, 9);
    ExpectVector(bitangent, -7, -8, -9);
}

} // namespace
