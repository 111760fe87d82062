// The moving character's path along z, without a display.
#include <gtest/gtest.h>

#include "demos/testShadowMapping.h"

#include <algorithm>

namespace {
float Step(float z, float& speed, double interval) {
    return testShadowMapping::StepAlongPath(z, speed, interval);
}
} // namespace

TEST(ShadowDemoPath, BouncesBetweenStrictEndsAtOrdinaryFrameTimesKeepingTheSpeedsSize) {
    float z = 20.0f, speed = 5.0f, lowest = z, highest = z;
    int turns = 0;
    for (int frame = 0; frame < 6000; ++frame) { // 100 s at 60 frames per second
        const float before = speed;
        z = Step(z, speed, 1.0 / 60.0);
        turns += before != speed;
        lowest = std::min(lowest, z);
        highest = std::max(highest, z);
    }
    EXPECT_NEAR(highest, 50.0f, 0.2f);
    EXPECT_NEAR(lowest, -10.0f, 0.2f);
    EXPECT_EQ(turns, 8); // 30 units out, then 60 units per leg at 5 units per second

    const struct {
        float z, speed;
        double interval;
        float after, speedAfter;
    } steps[] = {{50.0f, 5.0f, 0.1, 50.5f, 5.0f},
                 {-10.0f, -5.0f, 0.1, -10.5f, -5.0f},
                 {-10.5f, -5.0f, 0.1, -10.0f, 5.0f},
                 {30.0f, 5.0f, 0.0, 30.0f, 5.0f}};
    for (const auto& s : steps) {
        speed = s.speed;
        EXPECT_FLOAT_EQ(Step(s.z, speed, s.interval), s.after) << s.z;
        EXPECT_FLOAT_EQ(speed, s.speedAfter) << s.z;
    }
}

TEST(ShadowDemoPath, AFrameHitchBeyondAnEndDoesNotTrapTheCharacterThere) {
    // One long frame carries it 4.9 units past an end; it must walk back on the short frames
    // that follow, not turn on the spot on every one.
    for (float start : {49.9f, -14.0f}) {
        float speed = start > 0 ? 5.0f : -5.0f;
        float z = start > 0 ? Step(start, speed, 1.0) : start;
        ASSERT_TRUE(start < 0 || z > 54.0f);
        for (int frame = 0; frame < 200; ++frame)
            z = Step(z, speed, 0.01);
        EXPECT_TRUE(start > 0 ? z < 50.0f && speed < 0.0f : z > -10.0f && speed > 0.0f) << start;
    }
}
