#pragma once
// Rain: drops fall with one fixed velocity (plus wind) and wrap from the bottom height back
// to the top, drawn as additive camera-facing quads. Drops never die.
#include "math/3DMath.h"
#include "render3d/CParticleSystem.h"

#include <vector>

class CParticle;

// Where a drop at y goes once it is at or below the bottom: as far below the top
// (emitter y + top) as it was below the bottom. Above the bottom it stays.
float WrapRainDrop(float y, float emitterY, float top, float bottom);
// The starting height of a drop above the bottom, from rand(); top when the band between
// bottom and top is less than one unit high (or upside down).
float RandomDropHeight(float top, float bottom);

class CRainParticlesystem {
public:
    CRainParticlesystem();
    ~CRainParticlesystem();
    CRainParticlesystem(const CRainParticlesystem&) = delete;
    CRainParticlesystem& operator=(const CRainParticlesystem&) = delete;

    void InitParticle(int count, float top, float bottom, char* textureFile);
    // Wraps, moves and draws every drop.
    void RenderParticles();
    // One drop's frame step as the render does it.
    void AdvanceDrop(CParticle& drop);

    void SetPosition(float x, float y, float z) { m_Position = CVector3(x, y, z); }
    CVector3 GetPosition() const { return m_Position; }
    bool SetGenerationBoxX(int min, int max, float divisor);
    bool SetGenerationBoxY(int min, int max, float divisor);
    bool SetGenerationBoxZ(int min, int max, float divisor);
    void SetColor(sColor colour) { m_Color = colour; }
    void SetColor(float r, float g, float b, float a);
    void SetParticleVelocity(float x, float y, float z) { m_Velocity = CVector3(x, y, z); }
    void SetParticleSize(float x, float y, float z) { m_Size = CVector3(x, y, z); }
    void SetWind(float x, float y, float z) { m_Wind = CVector3(x, y, z); }
    CVector3 GetWind() const { return m_Wind; }

    CParticle* GetParticle(unsigned int i);
    size_t GetParticleCount() const { return m_Particles.size(); }
    float GetTop() const { return m_fTop; }
    float GetBottom() const { return m_fBottom; }

private:
    std::vector<CParticle*> m_Particles;
    CVector3 m_Position;
    CVector3 m_Velocity;
    CVector3 m_Size;
    sColor m_Color;
    CVector3 m_Acceleration;
    CVector3 m_Wind;
    float m_fTop;
    float m_fBottom;
    float m_ViewMatrix[16];
    unsigned int m_Texture;
    sRandomRange<int> m_Box[3];
};
