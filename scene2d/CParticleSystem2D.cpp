#include "scene2d/CParticleSystem2D.h"

#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTexture.h"
#include "render3d/CShader.h"
#include "render3d/CShaderManager.h"
#include "scene2d/CParticle2D.h"

#include <GL/glew.h>

#include <cstdlib>

namespace {

// An uneven range takes a remainder modulo high - low and divides by the divisor, so
// both must be usable.
bool UsableRange(int low, int high, float divisor) {
    return low == high || (high > low && divisor != 0.0f);
}

bool SetRange(sRandomRange& range, int low, int high, float divisor) {
    if (!UsableRange(low, high, divisor)) return false;
    range = {low, high, divisor};
    return true;
}

int DrawInteger(int low, int high) {
    if (high <= low) return low;
    return low + std::rand() % (high - low) + 1;
}

} // namespace

float sRandomRange::Draw() const {
    if (low == high) return float(low);
    return float(DrawInteger(low, high)) / divisor;
}

CParticleSystem2D::~CParticleSystem2D() {
    for (CParticle2D* particle : m_Particles)
        delete particle;
    delete m_pTexture;
}

float CParticleSystem2D::DrawEnergy() const {
    return float(DrawInteger(m_iEnergyLow, m_iEnergyHigh));
}

void CParticleSystem2D::Spawn(CParticle2D& particle, const sColor& colour) {
    particle.SetPosition(m_vPosition.x + m_BoxX.Draw(), m_vPosition.y + m_BoxY.Draw());
    const float vx = m_VelocityX.Draw();
    particle.SetVelocity(vx, m_VelocityY.Draw());
    particle.SetEnergy(DrawEnergy());
    particle.SetColor(colour);
}

void CParticleSystem2D::CreateParticles(int count, sColor colour) {
    for (int i = 0; i < count; ++i) {
        CParticle2D* particle = new CParticle2D();
        Spawn(*particle, colour);
        particle->SetSize(m_vQuadSize);
        particle->setSizeIncrease(m_fSizeIncrease);
        m_Particles.push_back(particle);
        ++m_uiCount;
    }
}

void CParticleSystem2D::InitParticle(int count, char* texture, bool alphaBlend) {
    InitParticle(count, m_Color, texture, alphaBlend);
}

void CParticleSystem2D::InitParticle(int count, sColor colour, char* texture, bool alphaBlend) {
    m_bAlphaBlending = alphaBlend;
    glGetFloatv(GL_POINT_SIZE_MAX, &m_fMaxPointSize);
    CreateParticles(count, colour);
    delete m_pTexture;
    m_pTexture = new CTexture(texture ? texture : "");
    m_uiTexture = m_pTexture->GetTextureName();
}

CParticle2D* CParticleSystem2D::GetParticle(unsigned int i) const {
    return i < m_uiCount ? m_Particles[i] : nullptr;
}

void CParticleSystem2D::EnableGravity(float g) {
    m_fGravityStrength = g;
    m_vGravity = CVector2(0.0f, -g);
}

void CParticleSystem2D::SetEnergyBounds(int low, int high) {
    if (high < low) return;
    m_iEnergyLow = low;
    m_iEnergyHigh = high;
}

void CParticleSystem2D::SetGenerationBoxX(int low, int high, float divisor) {
    SetRange(m_BoxX, low, high, divisor);
}

void CParticleSystem2D::SetGenerationBoxY(int low, int high, float divisor) {
    SetRange(m_BoxY, low, high, divisor);
}

void CParticleSystem2D::SetParticleVelocityX(int low, int high, float divisor) {
    SetRange(m_VelocityX, low, high, divisor);
}

void CParticleSystem2D::SetParticleVelocityY(int low, int high, float divisor) {
    SetRange(m_VelocityY, low, high, divisor);
}

void CParticleSystem2D::setDirection(CVector2 d) {
    d.normalize();
    m_vDirection = d;
}

void CParticleSystem2D::setSizeIncrease(float v) {
    if (v == 0.0f) return;
    m_bSizeIncrease = true;
    m_fSizeIncrease = v;
}

void CParticleSystem2D::Update() {
    if (!m_bVisible || m_vDirection.length() == 0.0f) return;
    const float dt = g_Utils ? float(g_Utils->GetFrameInterval()) : 0.0f;
    m_vPosition = m_vPosition + m_vDirection * (dt * m_fMovementSpeed);
}

void CParticleSystem2D::UpdateParticles() {
    for (CParticle2D* particle : m_Particles) {
        if (particle->GetEnergy() <= 0.0f) {
            Spawn(*particle, m_Color);
            if (m_bSizeIncrease) particle->ResetSize();
        }
        if (m_bTransparency)
            particle->UpdateWithTransparency(m_vWind, m_vGravity);
        else
            particle->Update(m_vWind, m_vGravity);
    }
}

void CParticleSystem2D::RenderParticles() {
    if (m_bVisible) RenderParticlesAsQuads();
}

void CParticleSystem2D::RenderParticlesAsQuads() {
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, m_bAlphaBlending ? GL_ONE_MINUS_SRC_ALPHA : GL_ONE);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_uiTexture);
    CShader* shader =
        g_ShaderManager ? g_ShaderManager->getDefaultShaders(SHADER_COLOR_WITH_TEX) : nullptr;
    if (shader) shader->Begin();
    // Moving every particle before drawing any gives the same picture as drawing each
    // as it moves: no particle's step depends on another.
    UpdateParticles();
    for (CParticle2D* particle : m_Particles)
        particle->DrawAsQuad();
    if (shader) shader->End();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
}
