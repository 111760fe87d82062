#include "render3d/CRainParticlesystem.h"

#include "core/Engine.h"
#include "core/Utils.h"
#include "render3d/CParticle.h"
#include "render3d/CShaderManager.h"

#include <GL/glew.h>

#include <cmath>
#include <cstdlib>

float WrapRainDrop(float y, float emitterY, float top, float bottom) {
    if (y > bottom) return y;
    return (emitterY + top) - std::fabs(bottom - y);
}

float RandomDropHeight(float top, float bottom) {
    const int band = int(top - bottom);
    if (band <= 0) return top;
    return float((std::rand() % band) + 1) + bottom;
}

CRainParticlesystem::CRainParticlesystem()
    : m_Size(0.1f, 2.0f, 0.1f), m_Color{1.0f, 1.0f, 1.0f, 0.5f}, m_fTop(30.0f),
      m_fBottom(0.0f), m_ViewMatrix{},
      m_Texture(0), m_Box{{0, 0, 1.0f}, {0, 0, 1.0f}, {0, 0, 1.0f}} {}

CRainParticlesystem::~CRainParticlesystem() {
    for (CParticle* p : m_Particles)
        delete p;
}

bool CRainParticlesystem::SetGenerationBoxX(int min, int max, float d) {
    return SetRandomRange(m_Box[0], min, max, d);
}
bool CRainParticlesystem::SetGenerationBoxY(int min, int max, float d) {
    return SetRandomRange(m_Box[1], min, max, d);
}
bool CRainParticlesystem::SetGenerationBoxZ(int min, int max, float d) {
    return SetRandomRange(m_Box[2], min, max, d);
}

void CRainParticlesystem::SetColor(float r, float g, float b, float a) {
    m_Color = sColor(r, g, b, a);
}

CParticle* CRainParticlesystem::GetParticle(unsigned int i) {
    return i < m_Particles.size() ? m_Particles[i] : nullptr;
}

void CRainParticlesystem::InitParticle(int count, float top, float bottom, char* textureFile) {
    m_fTop = top;
    m_fBottom = bottom;
    for (int i = 0; i < count; ++i) {
        const float x = RandomBoxValue(m_Box[0].min, m_Box[0].max, m_Box[0].divisor);
        const float z = RandomBoxValue(m_Box[2].min, m_Box[2].max, m_Box[2].divisor);
        const float y = RandomDropHeight(top, bottom);
        CParticle* drop = new CParticle();
        drop->SetPosition(m_Position.x + x, m_Position.y + y, m_Position.z + z);
        drop->SetVelocity(m_Velocity.x, m_Velocity.y, m_Velocity.z);
        drop->SetColor(m_Color);
        drop->SetSize(m_Size);
        m_Particles.push_back(drop);
    }
    m_Texture = g_Utils ? g_Utils->CreateTexture(textureFile) : 0;
}

void CRainParticlesystem::AdvanceDrop(CParticle& drop) {
    const CVector3 p = drop.GetPosition();
    drop.SetPosition(p.x, WrapRainDrop(p.y, m_Position.y, m_fTop, m_fBottom), p.z);
    drop.Update(m_Wind, m_Acceleration);
}

void CRainParticlesystem::RenderParticles() {
    DrawParticleQuads(m_Particles, m_Texture, GL_ONE, m_ViewMatrix,
                      [this](CParticle& drop) { AdvanceDrop(drop); });
}
