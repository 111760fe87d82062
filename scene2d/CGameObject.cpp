#include "scene2d/CGameObject.h"

#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTexture.h"
#include "scene2d/CGameObjectManager.h"
#include "scene2d/CSprite.h"

namespace {

// The size of a sprite's first image; zero when it has none.
CVector2 FirstImageSize(CSprite* sprite) {
    CTexture* texture = sprite ? sprite->GetTexture(0) : nullptr;
    return texture ? CVector2(texture->GetWidth(), texture->GetHeight()) : CVector2();
}

} // namespace

CGameObject2D::CGameObject2D() = default;

CGameObject2D::CGameObject2D(char* file, unsigned int frames, unsigned int) {
    LoadFirstAnimation(file, frames, 0.0f, 0.0f);
    m_Animations[0]->SetAnimationSpeed(5);
}

CGameObject2D::CGameObject2D(char* file, unsigned int frames, float x, float y, unsigned int)
    : m_vPosition(x, y), m_vNewPosition(x, y) {
    LoadFirstAnimation(file, frames, x, y);
    m_Animations[0]->SetAnimationSpeed(7);
}

CGameObject2D::~CGameObject2D() {
    for (CSprite* sprite : m_Animations)
        delete sprite;
}

void CGameObject2D::LoadFirstAnimation(char* file, unsigned int frames, float x, float y) {
    m_Animations.push_back(new CSprite(file, frames, x, y));
    m_uiAnimationCount = 1;
    m_uiCurrentAnimation = 0;
    const CVector2 size = FirstImageSize(m_Animations[0]);
    m_BoundingBox.SetPoints(CVector2(), size);
    m_BoundingBox.SetBoxParameters(size.x, size.y);
}

void CGameObject2D::addFrame(CSprite* sprite) {
    if (!sprite) return;
    m_Animations.push_back(sprite);
    ++m_uiAnimationCount;
    const CVector2 size = FirstImageSize(sprite);
    m_BoundingBox.SetPoints(m_vPosition, m_vPosition + size);
    m_BoundingBox.SetBoxParameters(size.x, size.y);
}

void CGameObject2D::addFrame(char* file, unsigned int frames) {
    addFrame(new CSprite(file, frames, m_vPosition.x, m_vPosition.y));
}

void CGameObject2D::SetPosition(CVector2 p) {
    m_vPosition = p;
    m_vNewPosition = p;
}

void CGameObject2D::MoveInDirection(CVector2 v, float d) {
    v.normalize();
    m_vNewPosition = m_vNewPosition + v * d;
}

void CGameObject2D::Move() {
    const float interval = g_Utils ? float(g_Utils->GetFrameInterval()) : 0.0f;
    m_vNewPosition = m_vNewPosition + m_vDirection * (m_fSpeed * interval);
}

void CGameObject2D::SetDirection(CVector2 v) {
    v.normalize();
    m_vDirection = v;
}

void CGameObject2D::SetCurrentFrame(unsigned int i) {
    if (i < m_uiAnimationCount) m_uiCurrentAnimation = i;
}

CSprite* CGameObject2D::GetAnimation(unsigned int i) const {
    return i < m_uiAnimationCount ? m_Animations[i] : nullptr;
}

void CGameObject2D::ResetCurrentFrame() {
    if (CSprite* sprite = GetAnimation(m_uiCurrentAnimation)) sprite->Reset();
}

void CGameObject2D::ResetFrame(unsigned int i) {
    if (CSprite* sprite = GetAnimation(i)) sprite->Reset();
}

void CGameObject2D::SetAnimationSpeed(unsigned int fps, int i) {
    if (i == -1) {
        for (CSprite* sprite : m_Animations)
            sprite->SetAnimationSpeed(fps);
    } else if (i >= 0) {
        if (CSprite* sprite = GetAnimation(unsigned(i))) sprite->SetAnimationSpeed(fps);
    }
}

void CGameObject2D::Draw() {
    if (m_uiAnimationCount > 0 && m_bVisible) m_Animations[m_uiCurrentAnimation]->Draw(m_vPosition);
    if (g_2DGameObjectManager && g_2DGameObjectManager->isDrawBoundingBoxEnabled())
        DrawBoundingBox();
}

void CGameObject2D::DrawOne() {
    DrawOne(m_vPosition.x, m_vPosition.y);
}

void CGameObject2D::DrawOne(float x, float y) {
    if (m_uiAnimationCount > 0 && m_bVisible) m_Animations[m_uiCurrentAnimation]->DrawOne(x, y);
}

void CGameObject2D::SetRotate(float degrees) {
    m_fRotation = degrees;
    for (CSprite* sprite : m_Animations)
        sprite->SetRotationValue(degrees);
}

CBoundingBox2D CGameObject2D::RebuildBox(CVector2 p) {
    // Measured before the corners are set, so corners and size always agree.
    const CVector2 size = FirstImageSize(m_uiAnimationCount > 0 ? m_Animations[0] : nullptr);
    m_BoundingBox.SetBoxParameters(size.x, size.y);
    m_BoundingBox.SetPoints(p, p + size);
    return m_BoundingBox;
}

CBoundingBox2D CGameObject2D::GetBoundingBox() {
    return RebuildBox(m_vPosition);
}

CBoundingBox2D CGameObject2D::GetBoundingBoxInNewPosition() {
    return RebuildBox(m_vNewPosition);
}

void CGameObject2D::DrawBoundingBox() {
    m_BoundingBox.Draw(m_vPosition);
}
