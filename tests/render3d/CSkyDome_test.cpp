#include <gtest/gtest.h>

#include "render3d/CSkyDome.h"

#include <cmath>

namespace {

const double kRad = M_PI / 180.0;

TEST(SkyDomeGeometry, FifteenDegreeStepsGiveTwentyFourBySixCellsInGroupsOfFour) {
    CSkyDome dome;
    ASSERT_TRUE(dome.BuildGeometry(15.0f, 15.0f, 1000.0f));
    ASSERT_EQ(dome.GetVertexCount(), 576);
    // Group g = phi step * 24 + theta step, corners (phi, theta), (phi+15, theta),
    // (phi, theta+15), (phi+15, theta+15); (a, b) lies at r (sin a cos b, sin a sin b, cos a).
    const struct { int phi, theta; } cells[] = {{0, 0}, {2, 3}, {5, 23}};
    for (const auto& cell : cells)
        for (int corner = 0; corner < 4; ++corner) {
            const int i = (cell.phi * 24 + cell.theta) * 4 + corner;
            const double a = (cell.phi + corner % 2) * 15 * kRad;
            const double b = (cell.theta + corner / 2) * 15 * kRad;
            const float* v = dome.GetVertices() + i * 3;
            EXPECT_NEAR(v[0], 1000 * std::sin(a) * std::cos(b), 1e-2) << i;
            EXPECT_NEAR(v[1], 1000 * std::sin(a) * std::sin(b), 1e-2) << i;
            EXPECT_NEAR(v[2], 1000 * std::cos(a), 1e-2) << i;
            const double n[3] = {v[0] / 1000.0, v[1] / 1000.0, v[2] / 1000.0};
            const float* t = dome.GetTextureCoords() + i * 2;
            EXPECT_NEAR(t[0], std::atan2(n[0], n[2]) / (2 * M_PI) + 0.5, 1e-4) << i;
            EXPECT_NEAR(t[1], std::asin(n[1]) / M_PI + 0.5, 1e-4) << i;
        }
}

TEST(SkyDomeGeometry, StepsThatDoNotDivideStayInsideTheArraysAndTinyStepsAreRefused) {
    CSkyDome dome;
    ASSERT_TRUE(dome.BuildGeometry(7.0f, 7.0f, 10.0f));
    // phi 0..77 (12 rows) and theta 0..350 (51 columns), whatever the count formula says.
    EXPECT_EQ(dome.GetVertexCount(), 12 * 51 * 4);
    EXPECT_FALSE(dome.BuildGeometry(0.5f, 15.0f, 10.0f));
    EXPECT_FALSE(dome.BuildGeometry(15.0f, 0.0f, 10.0f));
    EXPECT_EQ(dome.GetVertexCount(), 0);
}

TEST(SkyDomeTurn, AngleGrowsBySpeedTimesIntervalEitherWay) {
    CSkyDome dome;
    EXPECT_EQ(dome.GetSpeed(), 1.0f);
    dome.SetSpeed(4.0f);
    dome.Advance(0.25);
    dome.Advance(0.5);
    EXPECT_FLOAT_EQ(dome.GetAngle(), 3.0f);
    dome.SetSpeed(0.0f);
    dome.Advance(1.0);
    EXPECT_FLOAT_EQ(dome.GetAngle(), 3.0f);
    dome.SetSpeed(-2.0f);
    dome.Advance(2.0);
    EXPECT_FLOAT_EQ(dome.GetAngle(), -1.0f);
}

} // namespace
