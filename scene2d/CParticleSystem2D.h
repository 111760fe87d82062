#pragma once
// A screen-space emitter of textured quads (fire, smoke) with a fixed pool of particles.
// A particle whose energy runs out is spawned again at the emitter when the system is
// next drawn, so a system that is not drawn does not advance. Randomness comes from rand().
#include "math/3DMath.h"
#include "math/sColor.h"

#include <vector>

class CParticle2D;
class CTexture;

// A random range: low = high gives low; otherwise (low + rand() % (high - low) + 1) /
// divisor, an integer draw in low + 1 ... high, then divided.
struct sRandomRange {
    int low = 0;
    int high = 0;
    float divisor = 1.0f;
    float Draw() const;
};

class CParticleSystem2D {
public:
    CParticleSystem2D() = default;
    // The system owns its particles and its texture.
    ~CParticleSystem2D();
    CParticleSystem2D(const CParticleSystem2D&) = delete;
    CParticleSystem2D& operator=(const CParticleSystem2D&) = delete;

    void InitParticle(int count, char* texture, bool alphaBlend);
    // The first particles get the given colour; respawned ones the system's.
    void InitParticle(int count, sColor colour, char* texture, bool alphaBlend);
    // The pool part of InitParticle, without GL: count particles spawned at the emitter.
    void CreateParticles(int count, sColor colour);

    void RenderParticles();
    void RenderParticlesAsQuads();
    // The particle part of one drawn frame: respawns the dead, then moves every particle.
    void UpdateParticles();
    // Moves the emitter along its direction.
    void Update();

    CParticle2D* GetParticle(unsigned int i) const;
    unsigned int GetParticleCount() const { return m_uiCount; }
    void SetPosition(float x, float y) { m_vPosition = CVector2(x, y); }
    CVector2 GetPosition() const { return m_vPosition; }
    void SetWind(float x, float y) { m_vWind = CVector2(x, y); }
    CVector2 GetWind() const { return m_vWind; }
    // Gravity (0, -g) points up the screen.
    void EnableGravity(float g);

    // The range setters refuse high < low (and a zero divisor for an uneven range),
    // keeping the old values.
    void SetEnergyBounds(int low, int high);
    void SetGenerationBoxX(int low, int high, float divisor);
    void SetGenerationBoxY(int low, int high, float divisor);
    void SetParticleVelocityX(int low, int high, float divisor);
    void SetParticleVelocityY(int low, int high, float divisor);

    void SetColor(sColor colour) { m_Color = colour; }
    void SetColor(float r, float g, float b, float a) { m_Color = sColor(r, g, b, a); }
    void SetParticleSize(float size) { m_fParticleSize = size; }
    void SetQuadParticleSize(float w, float h) { m_vQuadSize = CVector2(w, h); }
    void EnableTransparencyInFunctionOfEnergy(bool on) { m_bTransparency = on; }
    bool isVisible() const { return m_bVisible; }
    void setVisible(bool visible) { m_bVisible = visible; }
    float getMovementSpeed() const { return m_fMovementSpeed; }
    void setMovementSpeed(float speed) { m_fMovementSpeed = speed; }
    CVector2 getDirection() const { return m_vDirection; }
    void setDirection(CVector2 d);
    // 0 leaves the previous setting.
    void setSizeIncrease(float v);
    bool isAlphaBlending() const { return m_bAlphaBlending; }
    unsigned int GetTextureName() const { return m_uiTexture; }

private:
    void Spawn(CParticle2D& particle, const sColor& colour);
    float DrawEnergy() const;

    std::vector<CParticle2D*> m_Particles;
    unsigned int m_uiCount = 0;
    CVector2 m_vPosition;
    CVector2 m_vDirection;
    float m_fMovementSpeed = 0.0f;
    float m_fParticleSize = 10.0f;
    bool m_bVisible = true;
    bool m_bTransparency = true;
    float m_fGravityStrength = 0.1f;
    CVector2 m_vGravity;
    CVector2 m_vWind;
    sRandomRange m_VelocityX{0, 0, 0.0f};
    sRandomRange m_VelocityY{0, 30, 1000.0f};
    int m_iEnergyLow = 1;
    int m_iEnergyHigh = 300;
    sRandomRange m_BoxX{-10, 10, 100.0f};
    sRandomRange m_BoxY{0, 0, 1.0f};
    sColor m_Color;
    unsigned int m_uiTexture = 0;
    CTexture* m_pTexture = nullptr;
    float m_fMaxPointSize = 0.0f;
    CVector2 m_vQuadSize{1.0f, 1.0f};
    bool m_bAlphaBlending = false;
    bool m_bSizeIncrease = false;
    float m_fSizeIncrease = 0.0f;
};
