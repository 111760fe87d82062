#include <gtest/gtest.h>

#include "scene2d/CParticle2D.h"
#include "scene2d/CParticleSystem2D.h"
#include "scene2d/frame_interval.h"

#include <cstdlib>

using scene2d_test::FrameIntervalFixture;

namespace {
struct Span {
    float low = 1e30f, high = -1e30f;
    void Add(float v) {
        low = std::min(low, v);
        high = std::max(high, v);
    }
};
} // namespace

TEST(ParticleSystem2D, SpawnsWithinTheRangesOfTheFireEmitter) {
    std::srand(7);
    CParticleSystem2D fire;
    fire.SetPosition(200.0f, 350.0f);
    fire.SetEnergyBounds(2, 12);
    fire.SetGenerationBoxX(10, 50, 1.0f);
    fire.SetGenerationBoxY(0, 0, 10.0f); // equal bounds: no divisor
    fire.SetParticleVelocityY(100, 180, -1.0f);
    fire.SetQuadParticleSize(40.0f, 40.0f);
    fire.SetColor(1.0f, 0.4f, 0.0f, 0.0f);
    fire.CreateParticles(2000, sColor(0.2f, 0.3f, 0.4f, 0.5f));
    ASSERT_EQ(fire.GetParticleCount(), 2000u);
    EXPECT_EQ(fire.GetParticle(2000), nullptr);

    Span x, y, vy, energy;
    for (unsigned int i = 0; i < 2000; ++i) {
        const CParticle2D* p = fire.GetParticle(i);
        x.Add(p->GetPosition().x);
        y.Add(p->GetPosition().y);
        vy.Add(p->GetVelocity().y);
        energy.Add(p->GetEnergy());
        EXPECT_EQ(p->GetVelocity().x, 0.0f);
        EXPECT_EQ(p->GetSize().x, 40.0f);
        EXPECT_EQ(p->GetColor().g, 0.3f) << "the given colour, not the system's";
    }
    EXPECT_EQ(x.low, 211.0f);
    EXPECT_EQ(x.high, 250.0f);
    EXPECT_EQ(y.low, 350.0f);
    EXPECT_EQ(y.high, 350.0f);
    EXPECT_EQ(vy.low, -180.0f);
    EXPECT_EQ(vy.high, -101.0f);
    EXPECT_EQ(energy.low, 3.0f);
    EXPECT_EQ(energy.high, 12.0f);
}

TEST(ParticleSystem2D, EqualBoundsGiveTheValueAndInvertedOnesAreRefused) {
    std::srand(3);
    CParticleSystem2D system;
    system.SetEnergyBounds(5, 5);
    system.SetParticleVelocityX(20, 10, 1.0f); // refused: the default 0 stays
    system.SetParticleVelocityY(-5, -5, 0.0f); // equal: the divisor does not matter
    system.SetGenerationBoxX(3, 8, 0.0f);      // refused: would divide by zero
    system.SetEnergyBounds(9, 4);              // refused: 5 stays
    system.CreateParticles(50, sColor());
    for (unsigned int i = 0; i < 50; ++i) {
        const CParticle2D* p = system.GetParticle(i);
        EXPECT_EQ(p->GetEnergy(), 5.0f);
        EXPECT_EQ(p->GetVelocity().x, 0.0f);
        EXPECT_EQ(p->GetVelocity().y, -5.0f);
        EXPECT_GE(p->GetPosition().x, -0.09f); // the default box (-10, 10) / 100
        EXPECT_LE(p->GetPosition().x, 0.1f);
    }
}

TEST(Particle2D, MotionStepFadeAndGrowth) {
    FrameIntervalFixture timing;
    timing.SetInterval(100);
    CParticle2D p;
    p.SetEnergy(10.0f);
    p.SetVelocity(0.0f, -100.0f);
    p.SetSize(30.0f, 30.0f);
    p.setSizeIncrease(23.0f);
    p.Update(CVector2(100.0f, 0.0f), CVector2(0.0f, -1.0f));
    EXPECT_NEAR(p.GetVelocity().x, 10.0f, 1e-5);
    EXPECT_NEAR(p.GetVelocity().y, -100.1f, 1e-4);
    EXPECT_NEAR(p.GetPosition().x, 1.0f, 1e-5);
    EXPECT_NEAR(p.GetPosition().y, -10.01f, 1e-4);
    EXPECT_NEAR(p.GetEnergy(), 9.0f, 1e-5);
    EXPECT_NEAR(p.GetSize().x, 32.3f, 1e-4);

    // Half the spawn energy left: alpha 0.5, set before the step.
    p.SetEnergy(10.0f);
    for (int i = 0; i < 5; ++i)
        p.Update(CVector2(), CVector2());
    p.UpdateWithTransparency(CVector2(), CVector2());
    EXPECT_NEAR(p.GetColor().a, 0.5f, 1e-5);
    p.SetEnergy(0.0f);
    p.UpdateWithTransparency(CVector2(), CVector2());
    EXPECT_EQ(p.GetColor().a, 0.05f);
    p.ResetSize();
    EXPECT_EQ(p.GetSize().x, 30.0f);
}

TEST(ParticleSystem2D, DeadParticlesRespawnWithTheSystemColourAndTheirFirstSize) {
    FrameIntervalFixture timing;
    timing.SetInterval(500);
    std::srand(11);
    CParticleSystem2D smoke;
    smoke.SetPosition(400.0f, 350.0f);
    smoke.SetEnergyBounds(3, 4); // always 4; one 0.5 s step drains 5
    smoke.SetQuadParticleSize(30.0f, 30.0f);
    smoke.setSizeIncrease(23.0f);
    smoke.setSizeIncrease(0.0f); // leaves 23
    smoke.SetColor(0.35f, 0.35f, 0.35f, 0.0f);
    smoke.EnableTransparencyInFunctionOfEnergy(false);
    smoke.CreateParticles(20, sColor(1.0f, 0.0f, 0.0f, 1.0f));
    CParticle2D* p = smoke.GetParticle(0);
    smoke.UpdateParticles();
    EXPECT_FLOAT_EQ(p->GetEnergy(), -1.0f);
    EXPECT_EQ(p->GetColor().r, 1.0f);
    EXPECT_NEAR(p->GetSize().x, 30.0f + 11.5f, 1e-4);
    smoke.UpdateParticles(); // dead: respawned at its first size, then one step
    EXPECT_FLOAT_EQ(p->GetEnergy(), -1.0f);
    EXPECT_EQ(p->GetColor().r, 0.35f);
    EXPECT_NEAR(p->GetSize().x, 30.0f + 11.5f, 1e-4);
    EXPECT_NEAR(p->GetPosition().x, 400.0f, 0.2f);

    // The emitter moves only with a direction.
    smoke.setMovementSpeed(10.0f);
    smoke.Update();
    EXPECT_EQ(smoke.GetPosition().x, 400.0f);
    smoke.setDirection(CVector2(0.0f, -2.0f));
    smoke.Update();
    EXPECT_NEAR(smoke.GetPosition().y, 345.0f, 1e-4);
}
