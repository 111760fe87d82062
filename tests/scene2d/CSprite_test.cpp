#include <gtest/gtest.h>

#include "scene2d/CSprite.h"

TEST(SpriteTiming, OnlyMoreThanAPeriodAdvancesAndFramesAreNumberedFromOneUnpadded) {
    // Periods of 50 ms and (in floating point) 33.3 ms.
    EXPECT_TRUE(!SpriteTiming::PeriodElapsed(50, 20) && SpriteTiming::PeriodElapsed(51, 20));
    EXPECT_TRUE(!SpriteTiming::PeriodElapsed(33, 30) && SpriteTiming::PeriodElapsed(34, 30));
    EXPECT_FALSE(SpriteTiming::PeriodElapsed(4000000000u, 0)); // speed 0 never changes
    EXPECT_EQ(SpriteFrameFileName("Data/checkIn", 10), "Data/checkIn10.png");
}
