// Display-free parts of the sky dome and the particle systems.
#include <gtest/gtest.h>

#include "render3d/CParticle.h"
#include "render3d/CParticleSystem.h"
#include "render3d/CRainParticlesystem.h"
#include "render3d/CSkyDome.h"

#include <cstdlib>
#include <set>

namespace {

// Steps that do not divide stay in the arrays: phi 0..77 in 12 rows, theta 0..350 in 51.
TEST(SkyDomeGeometry, CellsStayInsideTheArraysAndTinyStepsAreRefused) {
    CSkyDome dome;
    ASSERT_TRUE(dome.BuildGeometry(7.0f, 7.0f, 10.0f));
    EXPECT_EQ(dome.GetVertexCount(), 12 * 51 * 4);
    EXPECT_FALSE(dome.BuildGeometry(0.5f, 15.0f, 10.0f));
    EXPECT_FALSE(dome.BuildGeometry(15.0f, 0.0f, 10.0f));
    EXPECT_EQ(dome.GetVertexCount(), 0);
}

template <class F> std::set<float> Draw(int n, F draw) {
    std::set<float> seen;
    for (int i = 0; i < n; ++i)
        seen.insert(draw());
    return seen;
}

TEST(ParticleRandom, EqualBoundsGiveTheMinimumOtherwiseMinPlusOneToMaxDividedAndSpawnsUseThem) {
    std::srand(17);
    EXPECT_TRUE(RandomBoxValue(5, 5, 100.0f) == 5.0f &&
                RandomVelocityValue(30, 30, 1000.0f) == 30 && RandomEnergy(40, 40) == 40u);
    EXPECT_GE(RandomBoxValue(2, 4, 0.0f), 3.0f) << "a divisor of 0 leaves the value whole";
    const struct {
        std::set<float> seen;
        float min, max;
    } rows[] = {{Draw(2000, [] { return RandomBoxValue(-10, 10, 100.0f); }), -0.09f, 0.1f},
                {Draw(2000, [] { return RandomVelocityValue(0, 30, 10.0f); }), 0.1f, 3.0f},
                {Draw(2000, [] { return float(RandomEnergy(1, 300)); }), 2.0f, 300.0f}};
    for (const auto& row : rows) {
        EXPECT_FLOAT_EQ(*row.seen.begin(), row.min);
        EXPECT_FLOAT_EQ(*row.seen.rbegin(), row.max);
    }
    EXPECT_EQ(rows[0].seen.size(), 20u);
    CParticleSystem system;
    EXPECT_FALSE(system.SetParticleVelocityY(50, 10, 1.0f) || system.SetGenerationBoxX(3, -3, 1) ||
                 system.SetEnergyBounds(9, 8));
    EXPECT_TRUE(system.SetEnergyBounds(7, 7) && system.SetGenerationBoxY(2, 2, 1.0f));
    system.SetPosition(1.0f, 2.0f, 3.0f);
    std::srand(3);
    for (int i = 0; i < 200; ++i) {
        CParticle p;
        system.Spawn(p);
        // Defaults: box x, z in (-0.09 .. 0.1), velocity y in (0.001 .. 0.03).
        const CVector3 at = p.GetPosition(), v = p.GetVelocity();
        ASSERT_TRUE(at.x >= 0.9099f && at.x <= 1.1001f && at.y == 4.0f && p.GetEnergy() == 7.0f);
        ASSERT_TRUE(v.y > 0.0f && v.y <= 0.0301f) << v.y;
    }
}

TEST(ParticleStep, IntegratesWindAndGravityAndFadesWithEnergy) {
    CParticle p;
    p.SetPosition(0, 10, 0);
    p.SetVelocity(1, 0, 0);
    p.SetEnergy(100.0f);
    p.Step(CVector3(0, 0, 2), CVector3(0, -4, 0), 0.5f);
    EXPECT_TRUE(p.GetVelocity().y == -2 && p.GetVelocity().z == 1) << "wind along z, gravity";
    EXPECT_TRUE(p.GetPosition().x == 0.5f && p.GetPosition().y == 9 && p.GetEnergy() == 95);
    p.FadeByEnergy();
    EXPECT_FLOAT_EQ(p.GetColor().a, 0.95f);
    p.Step(CVector3(), CVector3(), 9.5f); // exactly spent
    p.FadeByEnergy();
    EXPECT_FLOAT_EQ(p.GetColor().a, 0.1f);
}

TEST(RainWrap, DropsBelowTheBottomReappearAsFarBelowTheTop) {
    EXPECT_FLOAT_EQ(WrapRainDrop(-3.0f, 0.0f, 30.0f, 0.0f), 27.0f);
    EXPECT_FLOAT_EQ(WrapRainDrop(7.0f, 5.0f, 30.0f, 10.0f), 32.0f);
    EXPECT_FLOAT_EQ(WrapRainDrop(10.0f, 0.0f, 30.0f, 10.0f), 30.0f) << "at the bottom wraps";
    EXPECT_FLOAT_EQ(WrapRainDrop(10.5f, 0.0f, 30.0f, 10.0f), 10.5f);
    // A band less than a unit high, or upside down, starts every drop at the top.
    std::srand(1);
    EXPECT_TRUE(RandomDropHeight(30.0f, 30.0f) == 30.0f &&
                RandomDropHeight(30.0f, 29.5f) == 30.0f && RandomDropHeight(0.0f, 10.0f) == 0.0f);
    EXPECT_EQ(Draw(500, [] { return RandomDropHeight(5.0f, 0.0f); }),
              (std::set<float>{1, 2, 3, 4, 5}));
}

} // namespace
