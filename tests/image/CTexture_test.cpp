#include <gtest/gtest.h>

#include "image/CTexture.h"

TEST(TextureQuad, WholeImageAndSectionCorners) {
    sQuadCorner c[4];
    TextureQuadCorners(64, 32, {1, 1, 0, 0}, true, c);
    EXPECT_FLOAT_EQ(c[0].v, 1.0f);
    EXPECT_FLOAT_EQ(c[0].y, 32.0f);
    EXPECT_FLOAT_EQ(c[1].x, 64.0f);
    EXPECT_FLOAT_EQ(c[3].u, 0.0f);

    // {top 0.5, right 1, bottom 0, left 0.5}: u 0.5..1, t 0.5..1, half size.
    TextureQuadCorners(64, 32, {0.5f, 1.0f, 0.0f, 0.5f}, false, c);
    EXPECT_FLOAT_EQ(c[0].u, 0.5f);
    EXPECT_FLOAT_EQ(c[0].v, 0.5f);
    EXPECT_FLOAT_EQ(c[2].u, 1.0f);
    EXPECT_FLOAT_EQ(c[2].v, 1.0f);
    EXPECT_FLOAT_EQ(c[2].x, 32.0f);
    EXPECT_FLOAT_EQ(c[2].y, 16.0f);
}
