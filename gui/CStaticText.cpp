#include "gui/CStaticText.h"

#include "gui/GuiCommon.h"

CStaticText::CStaticText() : CStaticText("Static Text") {}

CStaticText::CStaticText(std::string text)
    : m_Color{1.0f, 1.0f, 1.0f, 1.0f}, m_sText(std::move(text)), m_Type(FONT_NORMAL),
      m_fSizeX(1.0f), m_fSizeY(1.0f) {}

CStaticText::CStaticText(std::string text, CVector2 position) : CStaticText(std::move(text)) {
    m_Position = position;
}

CStaticText::CStaticText(std::string text, float x, float y)
    : CStaticText(std::move(text), CVector2(x, y)) {}

CStaticText::CStaticText(std::string text, float x, float y, sColor colour)
    : CStaticText(std::move(text), CVector2(x, y)) {
    m_Color = colour;
}

CStaticText::CStaticText(std::string text, float x, float y, float r, float g, float b, float a)
    : CStaticText(std::move(text), CVector2(x, y)) {
    SetColor(r, g, b, a);
}

void CStaticText::SetColor(float r, float g, float b, float a) {
    m_Color = sColor(r, g, b, a);
}

void CStaticText::SetSize(float x, float y) {
    m_fSizeX = x;
    m_fSizeY = y;
}

void CStaticText::Draw() {
    Draw(m_Position.x, m_Position.y);
}

void CStaticText::InDraw(float wx, float wy) {
    Draw(m_Position.x + wx, m_Position.y + wy);
}

void CStaticText::Draw(float x, float y) {
    gui::PrintUserText(int(x), int(y), char(m_Type), m_Color, m_fSizeX, m_fSizeY, m_sText.c_str());
}
