#include "demos/testParticleSystem2D.h"

namespace {
char kFireTexture[] = "Data/Particle/particle.png";
char kSmokeTexture[] = "Data/Particle/texture.png";

// What both emitters share: wind to the right, a spawn strip right of the emitter and
// upward velocities.
void CommonSetUp(CParticleSystem2D& system) {
    system.SetWind(100.0f, 0.0f);
    system.SetGenerationBoxX(10, 50, 1.0f);
    system.SetGenerationBoxY(0, 0, 10.0f);
    system.SetParticleVelocityY(100, 180, -1.0f);
}
} // namespace

// The caption is the parallax demo's, as this demo has always shown it.
testParticleSystem2D::testParticleSystem2D() : Demo2D("Parallax scroll demo...", 1, 50) {}

testParticleSystem2D::~testParticleSystem2D() {}

void testParticleSystem2D::InitFeature() {
    CommonSetUp(m_Fire);
    m_Fire.SetPosition(200.0f, 350.0f);
    m_Fire.SetEnergyBounds(2, 12);
    m_Fire.SetColor(1.0f, 0.4f, 0.0f, 0.0f);
    m_Fire.SetQuadParticleSize(40.0f, 40.0f);
    m_Fire.InitParticle(200, kFireTexture, false);

    CommonSetUp(m_Smoke);
    m_Smoke.SetPosition(400.0f, 350.0f);
    m_Smoke.SetEnergyBounds(3, 17);
    m_Smoke.SetColor(0.35f, 0.35f, 0.35f, 0.0f);
    m_Smoke.SetQuadParticleSize(30.0f, 30.0f);
    m_Smoke.setSizeIncrease(23.0f);
    m_Smoke.InitParticle(200, kSmokeTexture, true);
}

void testParticleSystem2D::FeatureFrame() {
    m_Fire.RenderParticles();
    m_Smoke.RenderParticles();
}
