#pragma once
// A check box: an unchecked and a checked sprite at one position. A left click reports its
// ID to the event manager and toggles it; otherwise it behaves like a button.
#include "math/3DMath.h"

#include <string>

class CSprite;

class CCheckBox {
public:
    CCheckBox();
    CCheckBox(char* offFile, unsigned int offFrames, char* onFile, unsigned int onFrames, float x,
              float y, int id);
    ~CCheckBox();
    CCheckBox(const CCheckBox&) = delete;
    CCheckBox& operator=(const CCheckBox&) = delete;

    void CheckIt(bool checked) { m_bChecked = checked; }
    bool IsChecked() const { return m_bChecked; }
    void Enable(bool enable) { m_bEnabled = enable; }
    bool IsEnabled() const { return m_bEnabled; }
    void SetVisible(bool visible) { m_bVisible = visible; }
    bool GetVisible() const { return m_bVisible; }
    void SetMouseOn(bool on) { m_bMouseOn = on; }
    bool IsMouseOn() const { return m_bMouseOn; }
    void EnableToolTip(bool enable) { m_bToolTip = enable; }
    // As for the button: the int arguments are not used, the colour is only kept.
    void SetToolTip(std::string text, int, sColor colour, float x, float y, int);

    // Both sprites always share the position.
    void SetPosition(float x, float y);
    void SetPosition(CVector2 p) { SetPosition(p.x, p.y); }
    // These drop the fraction (towards zero) first.
    void SetPositionX(float x);
    void SetPositionY(float y);
    float GetX() const;
    float GetY() const;
    // The size of the unchecked sprite's first frame.
    float GetWidth() const;
    float GetHeight() const;
    int GetID() const { return m_iID; }
    CSprite* GetSprite(bool checked) const { return checked ? m_pOnSprite : m_pOffSprite; }

    // Sets the draw size of every frame of both sprites.
    void SetCheckboxSize(int w, int h);

    bool HitTest(float x, float y, float ox, float oy);
    // The hit test at the mouse position; a left click of this frame on an enabled box
    // reports its ID and toggles it.
    bool OnMouseOn(float ox, float oy);

    void Draw();
    void Draw(float x, float y);
    void InDraw(float wx, float wy);

private:
    bool m_bEnabled;
    bool m_bMouseOn;
    bool m_bVisible;
    CSprite* m_pOffSprite;
    CSprite* m_pOnSprite;
    bool m_bChecked;
    std::string m_sToolTip;
    bool m_bToolTip;
    CVector2 m_ToolTipPosition;
    sColor m_ToolTipColor;
    int m_iID;
};
