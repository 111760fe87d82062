#include "gui/CCheckBox.h"

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "gui/GuiCommon.h"
#include "image/CTexture.h"
#include "scene2d/CSprite.h"

#include <cmath>

CCheckBox::CCheckBox()
    : m_bEnabled(true), m_bMouseOn(false), m_bVisible(true), m_pOffSprite(nullptr),
      m_pOnSprite(nullptr), m_bChecked(false),
      m_bToolTip(false), m_ToolTipColor{1.0f, 1.0f, 1.0f, 1.0f}, m_iID(-1) {}

CCheckBox::CCheckBox(char* offFile, unsigned int offFrames, char* onFile, unsigned int onFrames,
                     float x, float y, int id)
    : CCheckBox() {
    m_pOffSprite = new CSprite(offFile, offFrames, x, y);
    m_pOnSprite = new CSprite(onFile, onFrames, x, y);
    m_iID = id;
}

CCheckBox::~CCheckBox() {
    delete m_pOffSprite;
    delete m_pOnSprite;
}

void CCheckBox::SetToolTip(std::string text, int, sColor colour, float x, float y, int) {
    m_sToolTip = std::move(text);
    m_ToolTipPosition = CVector2(x, y);
    m_ToolTipColor = colour;
    m_bToolTip = true;
}

void CCheckBox::SetPosition(float x, float y) {
    for (CSprite* sprite : {m_pOffSprite, m_pOnSprite})
        if (sprite) sprite->SetPosition(x, y);
}

void CCheckBox::SetPositionX(float x) {
    SetPosition(std::trunc(x), GetY());
}

void CCheckBox::SetPositionY(float y) {
    SetPosition(GetX(), std::trunc(y));
}

float CCheckBox::GetX() const {
    return m_pOffSprite ? m_pOffSprite->GetSpritePosX() : 0.0f;
}

float CCheckBox::GetY() const {
    return m_pOffSprite ? m_pOffSprite->GetSpritePosY() : 0.0f;
}

float CCheckBox::GetWidth() const {
    CTexture* first = m_pOffSprite ? m_pOffSprite->GetTexture(0) : nullptr;
    return first ? first->GetWidth() : 0.0f;
}

float CCheckBox::GetHeight() const {
    CTexture* first = m_pOffSprite ? m_pOffSprite->GetTexture(0) : nullptr;
    return first ? first->GetHeight() : 0.0f;
}

void CCheckBox::SetCheckboxSize(int w, int h) {
    for (CSprite* sprite : {m_pOffSprite, m_pOnSprite}) {
        if (!sprite) continue;
        for (unsigned int i = 0; CTexture* frame = sprite->GetTexture(i); ++i) {
            frame->SetWidth(float(w));
            frame->SetHeight(float(h));
        }
    }
}

bool CCheckBox::HitTest(float x, float y, float ox, float oy) {
    return gui::SpriteHit(m_pOffSprite, x, y, GetX() + ox, GetY() + oy);
}

bool CCheckBox::OnMouseOn(float ox, float oy) {
    const CVector2 mouse = gui::MousePosition();
    const bool over = HitTest(mouse.x, mouse.y, ox, oy);
    if (over && m_bEnabled && gui::LeftButtonPressedThisFrame()) {
        g_EventManager->SetOnClickedGuiElement(m_iID);
        m_bChecked = !m_bChecked;
    }
    return over;
}

void CCheckBox::Draw() {
    InDraw(0.0f, 0.0f);
}

void CCheckBox::Draw(float x, float y) {
    InDraw(x - GetX(), y - GetY());
}

void CCheckBox::InDraw(float wx, float wy) {
    if (!m_bVisible) return;
    // Chosen before the hit test, so a click shows the other image from the next frame.
    CSprite* sprite = GetSprite(m_bChecked);
    m_bMouseOn = OnMouseOn(wx, wy);
    gui::DrawHoverSprite(sprite, m_bMouseOn, GetX() + wx, GetY() + wy);
    if (m_bMouseOn && m_bToolTip) gui::PrintUserText(m_ToolTipPosition, m_sToolTip.c_str());
}
