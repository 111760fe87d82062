// The moving character's path along z, without a display.
#include <gtest/gtest.h>

#include "demos/testShadowMapping.h"

#include <algorithm>

TEST(ShadowDemoPath, BouncesBetweenTheEndsAtOrdinaryFrameTimes) {
    float z = 20.0f, speed = 5.0f;
    float lowest = z, highest = z;
    int turns = 0;
    for (int frame = 0; frame < 6000; ++frame) { // 100 s at 60 frames per second
        const float before = speed;
        z = testShadowMapping::StepAlongPath(z, speed, 1.0 / 60.0);
        turns += before != speed;
        lowest = std::min(lowest, z);
        highest = std::max(highest, z);
    }
    EXPECT_NEAR(highest, 50.0f, 0.2f);
    EXPECT_NEAR(lowest, -10.0f, 0.2f);
    EXPECT_EQ(turns, 8); // 30 units out, then 60 units per leg at 5 units per second
}

TEST(ShadowDemoPath, LimitsAreStrictAndTheSpeedKeepsItsSize) {
    float speed = 5.0f;
    EXPECT_FLOAT_EQ(testShadowMapping::StepAlongPath(50.0f, speed, 0.1), 50.5f);
    EXPECT_FLOAT_EQ(speed, 5.0f);
    speed = -5.0f;
    EXPECT_FLOAT_EQ(testShadowMapping::StepAlongPath(-10.0f, speed, 0.1), -10.5f);
    EXPECT_FLOAT_EQ(speed, -5.0f);
    EXPECT_FLOAT_EQ(testShadowMapping::StepAlongPath(-10.5f, speed, 0.1), -10.0f);
    EXPECT_FLOAT_EQ(speed, 5.0f);
    EXPECT_FLOAT_EQ(testShadowMapping::StepAlongPath(30.0f, speed, 0.0), 30.0f)
        << "no time, no move";
}

TEST(ShadowDemoPath, AFrameHitchBeyondAnEndDoesNotTrapTheCharacterThere) {
    // One long frame carries the character 4.9 units past the far end; short frames
    // follow. It must walk back, not turn on every frame on the spot.
    float z = 49.9f, speed = 5.0f;
    z = testShadowMapping::StepAlongPath(z, speed, 1.0);
    ASSERT_GT(z, 54.0f);
    for (int frame = 0; frame < 200; ++frame)
        z = testShadowMapping::StepAlongPath(z, speed, 0.01);
    EXPECT_LT(z, 50.0f);
    EXPECT_LT(speed, 0.0f);

    z = -14.0f;
    speed = -5.0f;
    for (int frame = 0; frame < 200; ++frame)
        z = testShadowMapping::StepAlongPath(z, speed, 0.01);
    EXPECT_GT(z, -10.0f);
    EXPECT_GT(speed, 0.0f);
}
