#pragma once
// A fountain-like 3D emitter: a fixed pool of particles spawned at random inside a box
// around the emitter with random velocities and lifetimes, respawned while the system is
// rendered, drawn as textured point sprites or as textured camera-facing quads.
#include "math/3DMath.h"

#include <functional>
#include <vector>

class CParticle;

// Random values of one axis from the C library's rand(). Equal bounds give the minimum
// itself, undivided; otherwise (rand() mod (max - min)) + 1 + min, divided by the divisor
// (a divisor of 0 leaves the value undivided).
float RandomBoxValue(int min, int max, float divisor);
float RandomVelocityValue(unsigned min, unsigned max, float divisor);
// min + (rand() mod (max - min)) + 1; equal bounds give min.
unsigned RandomEnergy(unsigned min, unsigned max);

// One axis of the generation box or of the velocity range.
template <class T> struct sRandomRange {
    T min;
    T max;
    float divisor;
};

// Stores the bounds unless max is below min; returns whether it did.
template <class T> bool SetRandomRange(sRandomRange<T>& range, T min, T max, float divisor) {
    if (max < min) return false;
    range = sRandomRange<T>{min, max, divisor};
    return true;
}

class CParticleSystem {
public:
    // Smallest point size of a sprite far from the camera.
    static constexpr float FAR_POINT_SIZE = 12.0f;

    CParticleSystem();
    ~CParticleSystem();
    CParticleSystem(const CParticleSystem&) = delete;
    CParticleSystem& operator=(const CParticleSystem&) = delete;

    // Creates count particles (the pool never grows later) and loads the texture. The
    // form with a colour tints the first generation only.
    void InitParticle(int count, char* textureFile, bool pointSprites, bool blendFlag);
    void InitParticle(int count, sColor colour, char* textureFile, bool pointSprites,
                      bool blendFlag);

    // Moves, respawns and draws every particle; nothing moves between calls.
    void RenderParticles();
    void RenderParticlesAsQuads();
    void RenderParticlesAsPointSprite();
    // Moves the emitter by its direction and speed.
    void Update();

    // One particle's frame step as the renders do it: respawn when spent, then integrate.
    void AdvanceParticle(CParticle& particle);
    // Places a particle anew at the emitter with fresh random values.
    void Spawn(CParticle& particle);
    // GL_POINT_SIZE_MIN_ARB for an emitter at `distance` from the camera.
    float MinimumPointSize(float distance) const;

    CParticle* GetParticle(unsigned int i);
    size_t GetParticleCount() const { return m_Particles.size(); }

    void SetPosition(CVector3 p) { m_Position = p; }
    void SetPosition(float x, float y, float z) { m_Position = CVector3(x, y, z); }
    CVector3 GetPosition() const { return m_Position; }
    void SetDirection(CVector3 d) { m_Direction = d; }
    void SetDirection(float x, float y, float z) { m_Direction = CVector3(x, y, z); }
    CVector3 GetDirection() const { return m_Direction; }
    void SetWind(float x, float y, float z) { m_Wind = CVector3(x, y, z); }
    CVector3 GetWind() const { return m_Wind; }
    void EnableGravity(float g);
    CVector3 GetGravity() const { return m_Gravity; }
    // Bounds with max below min are refused (the old ones stay); the return says which.
    bool SetEnergyBounds(unsigned min, unsigned max);
    void SetColor(sColor colour) { m_Color = colour; }
    void SetColor(float r, float g, float b, float a);
    bool SetGenerationBoxX(int min, int max, float divisor);
    bool SetGenerationBoxY(int min, int max, float divisor);
    bool SetGenerationBoxZ(int min, int max, float divisor);
    bool SetParticleVelocityX(unsigned min, unsigned max, float divisor);
    bool SetParticleVelocityY(unsigned min, unsigned max, float divisor);
    bool SetParticleVelocityZ(unsigned min, unsigned max, float divisor);
    void SetParticleSize(float size) { m_fPointSize = size; }
    void EnableTransparencyInFunctionOfEnergy(bool on) { m_bTransparency = on; }
    void SetQuadParticleSize(float x, float y, float z) { m_QuadSize = CVector3(x, y, z); }
    void SetParticleSystemSpeed(float speed) { m_fSpeed = speed; }
    float GetParticleSystemSpeed() const { return m_fSpeed; }
    void EnableEmitterMotion(bool on) { m_bMoveEmitter = on; }
    float GetLargestPointSize() const { return m_fLargestPointSize; }
    unsigned int GetTexture() const { return m_Texture; }

private:
    std::vector<CParticle*> m_Particles;
    CVector3 m_Position;
    CVector3 m_Direction;
    float m_fPointSize;
    bool m_bTransparency;
    bool m_bPointSprites;
    bool m_bMoveEmitter;
    float m_fGravityStrength;
    CVector3 m_Gravity;
    CVector3 m_Wind;
    float m_fSpeed;
    sRandomRange<unsigned> m_Velocity[3];
    unsigned m_EnergyMin;
    unsigned m_EnergyMax;
    sRandomRange<int> m_Box[3];
    sColor m_Color;
    unsigned int m_Texture;
    float m_fLargestPointSize;
    CVector3 m_QuadSize;
    float m_ViewMatrix[16];
    bool m_bBlend;
};

// Camera right and up vectors from a column-major modelview matrix: its first two rows.
void BillboardAxes(const float* modelview, CVector3& right, CVector3& up);

// Draws the particles as textured quads facing the camera through the colour-with-texture
// program, blended over the scene by (source alpha, blendDestination) without writing
// depth; `advance` moves each particle just before it is drawn. `modelview` receives the
// matrix the quads were turned by.
void DrawParticleQuads(const std::vector<CParticle*>& particles, unsigned int texture,
                       unsigned int blendDestination, float modelview[16],
                       const std::function<void(CParticle&)>& advance);
