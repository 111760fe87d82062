#include "render3d/CParticleSystem.h"

#include "core/Engine.h"
#include "core/Utils.h"
#include "render3d/CCamera.h"
#include "render3d/CParticle.h"
#include "render3d/CShaderManager.h"

#include <GL/glew.h>

#include <cstdlib>

namespace {

float Divide(float value, float divisor) {
    return divisor != 0.0f ? value / divisor : value;
}

} // namespace

float RandomBoxValue(int min, int max, float divisor) {
    if (max == min) return float(min);
    return Divide(float((std::rand() % (max - min)) + 1 + min), divisor);
}

float RandomVelocityValue(unsigned min, unsigned max, float divisor) {
    if (max == min) return float(min);
    return Divide(float((unsigned(std::rand()) % (max - min)) + 1u + min), divisor);
}

unsigned RandomEnergy(unsigned min, unsigned max) {
    if (max <= min) return min;
    return min + (unsigned(std::rand()) % (max - min)) + 1u;
}

void BillboardAxes(const float* m, CVector3& right, CVector3& up) {
    right = CVector3(m[0], m[4], m[8]);
    up = CVector3(m[1], m[5], m[9]);
}

CParticleSystem::CParticleSystem()
    : m_fPointSize(10.0f), m_bTransparency(true), m_bPointSprites(true), m_bMoveEmitter(true),
      m_fGravityStrength(0.1f),
      m_fSpeed(0.0f), m_Velocity{{0, 0, 0.0f}, {0, 30, 1000.0f}, {0, 0, 0.0f}}, m_EnergyMin(1),
      m_EnergyMax(300), m_Box{{-10, 10, 100.0f}, {0, 0, 1.0f}, {-10, 10, 100.0f}}, m_Color{1.0f,
                                                                                           1.0f,
                                                                                           1.0f,
                                                                                           1.0f},
      m_Texture(0), m_fLargestPointSize(0.0f), m_QuadSize(1.0f, 1.0f, 1.0f), m_ViewMatrix{},
      m_bBlend(false) {}

CParticleSystem::~CParticleSystem() {
    for (CParticle* p : m_Particles)
        delete p;
}

void CParticleSystem::EnableGravity(float g) {
    m_fGravityStrength = g;
    m_Gravity = CVector3(0.0f, -g, 0.0f);
}

bool CParticleSystem::SetEnergyBounds(unsigned min, unsigned max) {
    if (max < min) return false;
    m_EnergyMin = min;
    m_EnergyMax = max;
    return true;
}

void CParticleSystem::SetColor(float r, float g, float b, float a) {
    m_Color = sColor(r, g, b, a);
}

bool CParticleSystem::SetGenerationBoxX(int min, int max, float d) {
    return SetRandomRange(m_Box[0], min, max, d);
}
bool CParticleSystem::SetGenerationBoxY(int min, int max, float d) {
    return SetRandomRange(m_Box[1], min, max, d);
}
bool CParticleSystem::SetGenerationBoxZ(int min, int max, float d) {
    return SetRandomRange(m_Box[2], min, max, d);
}
bool CParticleSystem::SetParticleVelocityX(unsigned min, unsigned max, float d) {
    return SetRandomRange(m_Velocity[0], min, max, d);
}
bool CParticleSystem::SetParticleVelocityY(unsigned min, unsigned max, float d) {
    return SetRandomRange(m_Velocity[1], min, max, d);
}
bool CParticleSystem::SetParticleVelocityZ(unsigned min, unsigned max, float d) {
    return SetRandomRange(m_Velocity[2], min, max, d);
}

CParticle* CParticleSystem::GetParticle(unsigned int i) {
    return i < m_Particles.size() ? m_Particles[i] : nullptr;
}

void CParticleSystem::Spawn(CParticle& p) {
    float box[3], velocity[3];
    for (int axis = 0; axis < 3; ++axis)
        box[axis] = RandomBoxValue(m_Box[axis].min, m_Box[axis].max, m_Box[axis].divisor);
    for (int axis = 0; axis < 3; ++axis)
        velocity[axis] = RandomVelocityValue(m_Velocity[axis].min, m_Velocity[axis].max,
                                             m_Velocity[axis].divisor);
    p.SetPosition(m_Position.x + box[0], m_Position.y + box[1], m_Position.z + box[2]);
    p.SetVelocity(velocity[0], velocity[1], velocity[2]);
    p.SetEnergy(float(RandomEnergy(m_EnergyMin, m_EnergyMax)));
    p.SetColor(m_Color);
}

void CParticleSystem::InitParticle(int count, char* textureFile, bool pointSprites,
                                   bool blendFlag) {
    InitParticle(count, m_Color, textureFile, pointSprites, blendFlag);
}

void CParticleSystem::InitParticle(int count, sColor colour, char* textureFile, bool pointSprites,
                                   bool blendFlag) {
    m_bPointSprites = pointSprites;
    m_bBlend = blendFlag;
    glGetFloatv(GL_POINT_SIZE_MAX_ARB, &m_fLargestPointSize);
    for (int i = 0; i < count; ++i) {
        CParticle* p = new CParticle();
        Spawn(*p);
        p->SetColor(colour);
        if (!pointSprites) p->SetSize(m_QuadSize);
        m_Particles.push_back(p);
    }
    m_Texture = g_Utils ? g_Utils->CreateTexture(textureFile) : 0;
}

void CParticleSystem::AdvanceParticle(CParticle& p) {
    if (p.GetEnergy() <= 0.0f) Spawn(p);
    if (m_bTransparency)
        p.UpdateWithTransparency(m_Wind, m_Gravity);
    else
        p.Update(m_Wind, m_Gravity);
}

void CParticleSystem::RenderParticles() {
    if (m_bPointSprites)
        RenderParticlesAsPointSprite();
    else
        RenderParticlesAsQuads();
}

void DrawParticleQuads(const std::vector<CParticle*>& particles, unsigned int texture,
                       unsigned int blendDestination, float modelview[16],
                       const std::function<void(CParticle&)>& advance) {
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    CVector3 right, up;
    BillboardAxes(modelview, right, up);

    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, blendDestination);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    CShader* program =
        g_ShaderManager ? g_ShaderManager->getDefaultShaders(SHADER_COLOR_WITH_TEX) : nullptr;
    if (program) program->Begin();
    glBegin(GL_QUADS);
    for (CParticle* p : particles) {
        advance(*p);
        p->DrawAsQuad(right, up);
    }
    glEnd();
    if (program) program->End();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}

void CParticleSystem::RenderParticlesAsQuads() {
    DrawParticleQuads(m_Particles, m_Texture, GL_ONE_MINUS_SRC_ALPHA, m_ViewMatrix,
                      [this](CParticle& p) { AdvanceParticle(p); });
}

float CParticleSystem::MinimumPointSize(float distance) const {
    const float near = m_fPointSize - distance / 4.0f;
    return near > 10.0f ? near : FAR_POINT_SIZE;
}

void CParticleSystem::RenderParticlesAsPointSprite() {
    float distance = 0.0f;
    if (g_Camera) distance = Distance(*g_Camera->GetCameraPosition(), m_Position);

    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_Texture);
    glEnable(GL_DEPTH_TEST);
    glDepthMask(GL_FALSE);

    const float attenuation[3] = {0.01f, 0.002f, 0.01f};
    glPointParameterfvARB(GL_POINT_DISTANCE_ATTENUATION_ARB, attenuation);
    glPointParameterfARB(GL_POINT_FADE_THRESHOLD_SIZE_ARB, 120.0f);
    glPointParameterfARB(GL_POINT_SIZE_MIN_ARB, MinimumPointSize(distance));
    // The size the attenuation scales; without it every sprite would start from GL's 1.
    glPointSize(m_fPointSize);

    glTexEnvf(GL_POINT_SPRITE_ARB, GL_COORD_REPLACE_ARB, GL_TRUE);
    glEnable(GL_POINT_SPRITE_ARB);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, m_bBlend ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
    glPointParameterfARB(GL_POINT_SIZE_MAX_ARB, m_fLargestPointSize);

    glBegin(GL_POINTS);
    for (CParticle* p : m_Particles) {
        AdvanceParticle(*p);
        p->Draw();
    }
    glEnd();

    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_POINT_SPRITE_ARB);
    glDepthMask(GL_TRUE);
}

void CParticleSystem::Update() {
    if (!m_bMoveEmitter || m_Direction.length() == 0.0f) return;
    m_Position = m_Position + m_Direction * (ParticleFrameInterval() * m_fSpeed);
}
