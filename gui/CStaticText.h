#pragma once
// A line of text printed with font 1 at a position, in a colour, style and scale.
#include "math/3DMath.h"

#include <string>

// The character set and style of a text: the set argument of the font's PrintText.
enum FONT_TYPE { FONT_NORMAL = 0, FONT_SECOND_SET = 1, FONT_BOLD = 2, FONT_SECOND_SET_BOLD = 3 };

class CStaticText {
public:
    CStaticText();
    explicit CStaticText(std::string text);
    CStaticText(std::string text, CVector2 position);
    CStaticText(std::string text, float x, float y);
    CStaticText(std::string text, float x, float y, sColor colour);
    CStaticText(std::string text, float x, float y, float r, float g, float b, float a);

    const std::string& GetStaticText() const { return m_sText; }
    void SetStaticText(std::string text) { m_sText = std::move(text); }
    void SetColor(sColor colour) { m_Color = colour; }
    void SetColor(float r, float g, float b, float a);
    sColor GetColor() const { return m_Color; }
    void SetType(FONT_TYPE type) { m_Type = type; }
    FONT_TYPE GetType() const { return m_Type; }
    void SetSize(float x, float y);
    float GetX() const { return m_Position.x; }
    float GetY() const { return m_Position.y; }

    void Draw();
    void Draw(float x, float y);
    // Prints at the position plus the window origin (wx, wy).
    void InDraw(float wx, float wy);

private:
    CVector2 m_Position;
    sColor m_Color;
    std::string m_sText;
    FONT_TYPE m_Type;
    float m_fSizeX;
    float m_fSizeY;
};
