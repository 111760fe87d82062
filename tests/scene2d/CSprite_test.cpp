#include <gtest/gtest.h>

#include "scene2d/CSprite.h"

TEST(SpriteTiming, OnlyMoreThanAPeriodAdvancesAndFramesAreNumberedFromOneUnpadded) {
    EXPECT_FALSE(SpriteTiming::PeriodElapsed(50, 20)); // period 50 ms: strictly more
    EXPECT_TRUE(SpriteTiming::PeriodElapsed(51, 20));
    EXPECT_TRUE(SpriteTiming::PeriodElapsed(34, 30)); // 33.3 ms in floating point
    EXPECT_FALSE(SpriteTiming::PeriodElapsed(33, 30));
    EXPECT_FALSE(SpriteTiming::PeriodElapsed(4000000000u, 0)); // speed 0 never changes
    EXPECT_EQ(SpriteFrameFileName("Data/checkIn", 10), "Data/checkIn10.png");
}
