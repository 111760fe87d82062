#include <gtest/gtest.h>

#include "scene2d/CParticle2D.h"
#include "scene2d/CParticleSystem2D.h"
#include "support/demo_fixtures.h"

#include <algorithm>
#include <cstdlib>

// The smallest and largest of one value over every particle.
template <typename Get> static std::pair<float, float> Span(const CParticleSystem2D& s, Get get) {
    std::vector<float> values;
    for (unsigned int i = 0; i < s.GetParticleCount(); ++i)
        values.push_back(get(*s.GetParticle(i)));
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return {*low, *high};
}
using P = const CParticle2D&;

TEST(ParticleSystem2D, RandomRangesFollowTheirRulesAndBadBoundsAreRefused) {
    std::srand(7);
    CParticleSystem2D fire; // the fire emitter of the particle demo
    fire.SetPosition(200.0f, 350.0f);
    fire.SetEnergyBounds(2, 12);
    fire.SetEnergyBounds(9, 4); // refused
    fire.SetGenerationBoxX(10, 50, 1.0f);
    fire.SetGenerationBoxY(0, 0, 10.0f);     // equal bounds: no divisor
    fire.SetParticleVelocityX(20, 10, 1.0f); // refused: the default 0 stays
    fire.SetParticleVelocityY(100, 180, -1.0f);
    fire.SetParticleVelocityY(100, 180, 0.0f); // refused: would divide by zero
    fire.CreateParticles(2000, sColor(0.2f, 0.3f, 0.4f, 0.5f));
    EXPECT_EQ(fire.GetParticle(2000), nullptr);
    EXPECT_EQ(Span(fire, [](P p) { return p.GetPosition().x; }), std::make_pair(211.0f, 250.0f));
    EXPECT_EQ(Span(fire, [](P p) { return p.GetPosition().y; }), std::make_pair(350.0f, 350.0f));
    EXPECT_EQ(Span(fire, [](P p) { return p.GetVelocity().x; }), std::make_pair(0.0f, 0.0f));
    EXPECT_EQ(Span(fire, [](P p) { return p.GetVelocity().y; }), std::make_pair(-180.0f, -101.0f));
    EXPECT_EQ(Span(fire, [](P p) { return p.GetEnergy(); }), std::make_pair(3.0f, 12.0f));
    EXPECT_EQ(fire.GetParticle(0)->GetColor().g, 0.3f) << "the given colour, not the system's";
    CParticleSystem2D even;
    even.SetEnergyBounds(5, 5);
    even.CreateParticles(20, sColor());
    EXPECT_EQ(Span(even, [](P p) { return p.GetEnergy(); }), std::make_pair(5.0f, 5.0f));
}

TEST(ParticleSystem2D, TransparencyFollowsTheEnergyLeftAndDeadParticlesRespawnAsFirstMade) {
    {
        zarvo_test::FrameInterval interval(100);
        CParticle2D p;
        p.SetEnergy(10.0f); // half of it left after five 0.1 s steps: alpha 0.5
        for (int i = 0; i < 5; ++i)
            p.Update(CVector2(), CVector2());
        p.UpdateWithTransparency(CVector2(), CVector2());
        const float half = p.GetColor().a;
        p.SetEnergy(0.0f);
        p.UpdateWithTransparency(CVector2(), CVector2());
        EXPECT_TRUE(std::abs(half - 0.5f) < 1e-5 && p.GetColor().a == 0.05f) << "a floor of 0.05";
    }
    zarvo_test::FrameInterval interval(500);
    CParticleSystem2D smoke;
    smoke.SetPosition(400.0f, 350.0f);
    smoke.SetEnergyBounds(3, 4); // always 4; one 0.5 s step drains 5
    smoke.SetQuadParticleSize(30.0f, 30.0f);
    smoke.setSizeIncrease(23.0f);
    smoke.setSizeIncrease(0.0f); // refused: 23 stays
    smoke.SetColor(0.35f, 0.35f, 0.35f, 0.0f);
    smoke.CreateParticles(20, sColor(1.0f, 0.0f, 0.0f, 1.0f));
    CParticle2D* p = smoke.GetParticle(0);
    smoke.UpdateParticles();
    EXPECT_TRUE(p->GetColor().r == 1.0f && std::abs(p->GetSize().x - 41.5f) < 1e-4);
    smoke.UpdateParticles(); // dead: respawned with the system colour at its first size, stepped
    EXPECT_FLOAT_EQ(p->GetEnergy(), -1.0f);
    EXPECT_TRUE(p->GetColor().r == 0.35f && std::abs(p->GetSize().x - 41.5f) < 1e-4);
    EXPECT_NEAR(p->GetPosition().x, 400.0f, 0.2f);
    smoke.setMovementSpeed(10.0f);
    smoke.Update(); // no direction: the emitter stays
    smoke.setDirection(CVector2(0.0f, -2.0f));
    smoke.Update();
    EXPECT_TRUE(smoke.GetPosition().x == 400.0f && std::abs(smoke.GetPosition().y - 345) < 1e-4);
}
