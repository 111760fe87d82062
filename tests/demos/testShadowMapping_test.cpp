// The moving character's path along z, without a display.
#include <gtest/gtest.h>

#include "demos/testShadowMapping.h"

#include <algorithm>

TEST(ShadowDemoPath, BouncesBetweenStrictEndsKeepingTheSpeedsSizeAndAHitchDoesNotTrapIt) {
    float z = 20.0f, speed = 5.0f, lowest = z, highest = z;
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
    // {z, speed, interval, z after, speed after}: the ends are strict.
    const float steps[][5] = {
        {50, 5, 0.1f, 50.5f, 5}, {-10, -5, 0.1f, -10.5f, -5}, {-10.5f, -5, 0.1f, -10, 5}};
    for (const auto& s : steps) {
        speed = s[1];
        EXPECT_FLOAT_EQ(testShadowMapping::StepAlongPath(s[0], speed, s[2]), s[3]) << s[0];
        EXPECT_FLOAT_EQ(speed, s[4]) << s[0];
    }
    // One long frame carries it 4.9 units past an end; it must walk back on the short frames
    // that follow, not turn on the spot on every one.
    for (float end : {50.0f, -10.0f}) {
        speed = end > 0 ? 5.0f : -5.0f;
        z = testShadowMapping::StepAlongPath(end - speed * 0.02f, speed, 1.0);
        ASSERT_GT(std::abs(z - end), 4.8f);
        for (int frame = 0; frame < 200; ++frame)
            z = testShadowMapping::StepAlongPath(z, speed, 0.01);
        EXPECT_TRUE(end > 0 ? z < 50.0f && speed < 0.0f : z > -10.0f && speed > 0.0f) << end;
    }
}
