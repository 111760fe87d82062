#pragma once
// Two 2D emitters side by side: additive fire and alpha-blended, growing smoke.
#include "demos/Demo2D.h"
#include "scene2d/CParticleSystem2D.h"

class testParticleSystem2D : public Demo2D {
public:
    testParticleSystem2D();
    ~testParticleSystem2D() override;

    CParticleSystem2D& GetFire() { return m_Fire; }
    CParticleSystem2D& GetSmoke() { return m_Smoke; }

protected:
    void InitFeature() override;
    void FeatureFrame() override;

private:
    CParticleSystem2D m_Fire;
    CParticleSystem2D m_Smoke;
};
