#pragma once
// A push button: an animated sprite that plays its frames once while the mouse is over it
// and reports a left click to the event manager as a click on its ID.
#include "math/3DMath.h"

#include <string>

class CSprite;
class CTexture;

class CButton {
public:
    CButton();
    // Loads the frames file + "1.png" ... file + frames + ".png" at (x, y).
    CButton(char* file, unsigned int frames, float x, float y, int id);
    ~CButton();
    CButton(const CButton&) = delete;
    CButton& operator=(const CButton&) = delete;

    // Replaces the sprite (the old one is deleted) with one at (0, 0).
    void LoadTextures(char* file, unsigned int frames);

    void Enable(bool enable) { m_bEnabled = enable; }
    bool IsEnabled() const { return m_bEnabled; }
    void SetVisible(bool visible) { m_bVisible = visible; }
    bool GetVisible() const { return m_bVisible; }
    void SetMouseOn(bool on) { m_bMouseOn = on; }
    bool IsMouseOn() const { return m_bMouseOn; }
    void EnableToolTip(bool enable) { m_bToolTip = enable; }
    bool IsToolTipEnabled() const { return m_bToolTip; }
    // The two int arguments are not used; the colour is kept but the text is drawn with
    // the font's own colour.
    void SetToolTip(std::string text, int, sColor colour, float x, float y, int);
    const std::string& GetToolTip() const { return m_sToolTip; }

    CTexture* GetButtonTexture(unsigned int i);
    CSprite* GetSprite() const { return m_pSprite; }

    void SetPositionX(float x) { m_Position.x = x; }
    void SetPositionY(float y) { m_Position.y = y; }
    void SetPosition(CVector2 p) { m_Position = p; }
    float GetButtonPosX() const { return m_Position.x; }
    float GetButtonPosY() const { return m_Position.y; }
    float GetWidth() const { return m_fWidth; }
    float GetHeight() const { return m_fHeight; }
    int GetID() const { return m_iID; }

    // Sets the stored size and the draw size of every frame.
    void SetButtonSize(int w, int h);
    void SetAnimationSpeed(unsigned int fps);

    // Whether the point (x, y) is over the button when its window's origin is (ox, oy);
    // the size is that of the first frame. A button without frames is never hit.
    bool HitTest(float x, float y, float ox, float oy);
    // The hit test at the mouse position; reports a left click of this frame when enabled.
    bool OnMouseOn(float ox, float oy);
    bool CheckMouseLeftButtonClick();

    void Draw();
    void Draw(float x, float y);
    // Draws at the position plus the window origin (wx, wy).
    void InDraw(float wx, float wy);

private:
    void TakeSizeFromSprite();

    CVector2 m_Position;
    bool m_bEnabled;
    bool m_bVisible;
    bool m_bMouseOn;
    CSprite* m_pSprite;
    std::string m_sToolTip;
    bool m_bToolTip;
    CVector2 m_ToolTipPosition;
    sColor m_ToolTipColor;
    float m_fWidth;
    float m_fHeight;
    int m_iID;
};
