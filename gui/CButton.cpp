#include "gui/CButton.h"

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "gui/GuiCommon.h"
#include "image/CTexture.h"
#include "scene2d/CSprite.h"

CButton::CButton()
    : m_bEnabled(true), m_bVisible(true), m_bMouseOn(false), m_pSprite(nullptr),
      m_bToolTip(false), m_ToolTipColor{1.0f, 1.0f, 1.0f, 1.0f}, m_fWidth(0.0f), m_fHeight(0.0f),
      m_iID(-1) {}

CButton::CButton(char* file, unsigned int frames, float x, float y, int id) : CButton() {
    m_pSprite = new CSprite(file, frames, x, y);
    TakeSizeFromSprite();
    m_Position = CVector2(x, y);
    m_iID = id;
}

CButton::~CButton() {
    delete m_pSprite;
}

void CButton::TakeSizeFromSprite() {
    CTexture* first = m_pSprite ? m_pSprite->GetTexture(0) : nullptr;
    m_fWidth = first ? first->GetWidth() : 0.0f;
    m_fHeight = first ? first->GetHeight() : 0.0f;
}

void CButton::LoadTextures(char* file, unsigned int frames) {
    m_bEnabled = true;
    m_bMouseOn = false;
    delete m_pSprite;
    m_pSprite = new CSprite(file, frames, 0.0f, 0.0f);
    TakeSizeFromSprite();
}

void CButton::SetToolTip(std::string text, int, sColor colour, float x, float y, int) {
    m_sToolTip = std::move(text);
    m_ToolTipPosition = CVector2(x, y);
    m_ToolTipColor = colour;
    m_bToolTip = true;
}

CTexture* CButton::GetButtonTexture(unsigned int i) {
    return m_pSprite ? m_pSprite->GetTexture(i) : nullptr;
}

void CButton::SetButtonSize(int w, int h) {
    m_fWidth = float(w);
    m_fHeight = float(h);
    if (!m_pSprite) return;
    for (unsigned int i = 0; CTexture* frame = m_pSprite->GetTexture(i); ++i) {
        frame->SetWidth(float(w));
        frame->SetHeight(float(h));
    }
}

void CButton::SetAnimationSpeed(unsigned int fps) {
    if (m_pSprite) m_pSprite->SetAnimationSpeed(fps);
}

bool CButton::HitTest(float x, float y, float ox, float oy) {
    return gui::SpriteHit(m_pSprite, x, y, m_Position.x + ox, m_Position.y + oy);
}

bool CButton::CheckMouseLeftButtonClick() {
    return gui::LeftButtonPressedThisFrame();
}

bool CButton::OnMouseOn(float ox, float oy) {
    const CVector2 mouse = gui::MousePosition();
    const bool over = HitTest(mouse.x, mouse.y, ox, oy);
    if (over && m_bEnabled && CheckMouseLeftButtonClick())
        g_EventManager->SetOnClickedGuiElement(m_iID);
    return over;
}

void CButton::Draw() {
    InDraw(0.0f, 0.0f);
}

void CButton::Draw(float x, float y) {
    InDraw(x - m_Position.x, y - m_Position.y);
}

void CButton::InDraw(float wx, float wy) {
    if (!m_bVisible || !m_pSprite) return;
    m_bMouseOn = OnMouseOn(wx, wy);
    gui::DrawHoverSprite(m_pSprite, m_bMouseOn, m_Position.x + wx, m_Position.y + wy);
    if (m_bMouseOn && m_bToolTip) gui::PrintUserText(m_ToolTipPosition, m_sToolTip.c_str());
}
