#include "scene2d/CSprite.h"

#include "core/Utils.h"
#include "image/CTexture.h"

#include <cstdio>

namespace {

SpriteTickSource g_TickSource = &CUtils::EngineTicks;

} // namespace

bool SpriteTiming::PeriodElapsed(unsigned int elapsedMs, unsigned int framesPerSecond) {
    if (framesPerSecond == 0) return false;
    const double period = 1000.0 / framesPerSecond;
    return elapsedMs > period;
}

unsigned int SpriteTiming::NextLooping(unsigned int current, unsigned int count) {
    return current + 1 > count ? 1 : current + 1;
}

unsigned int SpriteTiming::NextOnce(unsigned int current, unsigned int count) {
    return current < count ? current + 1 : current;
}

std::string SpriteFrameFileName(const char* base, unsigned int k) {
    char number[16];
    std::snprintf(number, sizeof number, "%u", k);
    return std::string(base ? base : "") + number + ".png";
}

void CSprite::SetTickSource(SpriteTickSource source) {
    g_TickSource = source ? source : &CUtils::EngineTicks;
}

CSprite::CSprite() {
    RestartClock();
}

CSprite::CSprite(char* file, unsigned int frames, float x, float y)
    : m_FrameCount(frames), m_CurrentFrame(1), m_Position(x, y) {
    RestartClock();
    LoadTextures(file, frames);
}

CSprite::~CSprite() {
    // The frames belong to the sprite; deleting them also takes them out of the texture
    // manager's list.
    for (CTexture* texture : m_Frames)
        delete texture;
}

void CSprite::RestartClock() {
    m_LastTick = g_TickSource();
}

void CSprite::LoadTextures(char* file, unsigned int n) {
    for (unsigned int k = 1; k <= n; ++k)
        m_Frames.push_back(new CTexture(SpriteFrameFileName(file, k)));
}

CTexture* CSprite::CurrentTexture() {
    if (m_CurrentFrame == 0 || m_CurrentFrame > m_Frames.size()) return nullptr;
    return m_Frames[m_CurrentFrame - 1];
}

CTexture* CSprite::GetTexture(unsigned int i) {
    return i < m_Frames.size() ? m_Frames[i] : nullptr;
}

void CSprite::DrawTexture(CTexture* texture, float x, float y) {
    if (texture) texture->Draw(x, y, 1.0f, m_Rotation, 1.0f, 1.0f, 1.0f, 1.0f);
}

void CSprite::Draw() {
    Draw(m_Position);
}

void CSprite::Draw(CVector2 p) {
    DrawTexture(CurrentTexture(), p.x, p.y);
    Update();
}

void CSprite::Update() {
    const unsigned int now = g_TickSource();
    if (!SpriteTiming::PeriodElapsed(now - m_LastTick, m_AnimationSpeed)) return;
    m_LastTick = now;
    m_CurrentFrame = SpriteTiming::NextLooping(m_CurrentFrame, m_FrameCount);
}

void CSprite::AdvanceOnce() {
    const unsigned int now = g_TickSource();
    if (!SpriteTiming::PeriodElapsed(now - m_LastTick, m_AnimationSpeed)) return;
    m_LastTick = now;
    m_CurrentFrame = SpriteTiming::NextOnce(m_CurrentFrame, m_FrameCount);
}

void CSprite::DrawOne() {
    DrawOne(m_Position);
}

void CSprite::DrawOne(CVector2 p) {
    DrawOne(p.x, p.y);
}

void CSprite::DrawOne(float x, float y) {
    DrawTexture(CurrentTexture(), x, y);
    AdvanceOnce();
}

void CSprite::DrawFrame(unsigned int i) {
    DrawFrame(i, m_Position);
}

void CSprite::DrawFrame(unsigned int i, float x, float y) {
    DrawTexture(GetTexture(i), x, y);
}

void CSprite::DrawFrame(unsigned int i, CVector2 p) {
    DrawTexture(GetTexture(i), p.x, p.y);
}
