#include <gtest/gtest.h>

#include "scene2d/CSprite.h"

TEST(SpriteTiming, OnlyMoreThanAPeriodAdvances) {
    EXPECT_FALSE(SpriteTiming::PeriodElapsed(50, 20)); // period 50 ms: strictly more
    EXPECT_TRUE(SpriteTiming::PeriodElapsed(51, 20));
    EXPECT_TRUE(SpriteTiming::PeriodElapsed(34, 30)); // 33.3 ms in floating point
    EXPECT_FALSE(SpriteTiming::PeriodElapsed(33, 30));
    EXPECT_FALSE(SpriteTiming::PeriodElapsed(4000000000u, 0)); // speed 0 never changes
}

TEST(SpriteTiming, LoopWrapsAndPlayOnceHolds) {
    EXPECT_EQ(SpriteTiming::NextLooping(7, 8), 8u);
    EXPECT_EQ(SpriteTiming::NextLooping(8, 8), 1u);
    EXPECT_EQ(SpriteTiming::NextLooping(1, 1), 1u);
    EXPECT_EQ(SpriteTiming::NextOnce(7, 8), 8u);
    EXPECT_EQ(SpriteTiming::NextOnce(8, 8), 8u);
    EXPECT_EQ(SpriteTiming::NextOnce(1, 1), 1u);
}

TEST(SpriteFiles, BasePlusUnpaddedNumberFromOnePlusPng) {
    EXPECT_EQ(SpriteFrameFileName("Data/Flame/flame", 1), "Data/Flame/flame1.png");
    EXPECT_EQ(SpriteFrameFileName("Data/Flame/flame", 8), "Data/Flame/flame8.png");
    EXPECT_EQ(SpriteFrameFileName("Data/checkIn", 10), "Data/checkIn10.png");
}
