#pragma once
// A screen-space GUI window: a rectangle in window pixels that owns its textures and
// widgets, all placed relative to its top-left corner. A movable window is dragged by the
// header strip along its top edge with the left mouse button.
#include "math/3DMath.h"

#include <vector>

class CButton;
class CCheckBox;
class CProgressBar;
class CStaticText;
class CTexture;

class CWindow {
public:
    CWindow();
    CWindow(int left, int top, int right, int bottom, int id);
    // With an image, a background texture at (0, 0): cut to the window when larger, or
    // stretched to it.
    CWindow(int left, int top, int right, int bottom, char* image, bool stretch, float alpha,
            unsigned int headerSize, int id, bool movable);
    ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    // The window owns what it registers. Buttons and check boxes are moved left or up when
    // they would reach past the right or bottom edge.
    void RegisterButton(CButton* button);
    void RegisterButton(char* file, unsigned int frames, float x, float y, int id);
    void RegisterCheckbox(CCheckBox* checkBox);
    void RegisterCheckbox(char* offFile, unsigned int offFrames, char* onFile,
                          unsigned int onFrames, float x, float y, int id);
    void RegisterTexture(CTexture* texture);
    void RegisterTexture(char* file, unsigned int x, unsigned int y, float alpha);
    void RegisterStaticText(CStaticText* text);
    // Replaces (and deletes) an earlier bar.
    void RegisterProgressBar(CProgressBar* bar);
    void RegisterProgressBar(char* file, unsigned int x, unsigned int y, unsigned int maximum);
    CProgressBar* GetProgressBar() const { return m_pProgressBar; }

    // The offset that keeps a widget of this size within room pixels: pulled back when it
    // would reach past the end, never pushed forward, negative when it cannot fit.
    static float KeepInside(float offset, float size, float room);

    void ActivateWindow(bool active);
    bool IsActive() const { return m_bActive; }
    void SetVisible(bool visible);
    bool GetVisible() const { return m_bVisible; }
    int GetID() const { return m_iID; }
    void SetWindowRect(int left, int top, int right, int bottom);
    float GetLeft() const { return m_fLeft; }
    float GetTop() const { return m_fTop; }
    float GetRight() const { return m_fRight; }
    float GetBottom() const { return m_fBottom; }
    void SetMovable(bool movable) { m_bMovable = movable; }
    bool IsMovable() const { return m_bMovable; }
    void SetHeaderSize(unsigned int size) { m_uiHeaderSize = size; }
    unsigned int GetHeaderSize() const { return m_uiHeaderSize; }
    bool IsDragging() const { return m_bDragging; }

    // The text is the caller's and must outlive the window; the int arguments are not used
    // and the colour is only kept. (x, y) is a screen position.
    void SetToolTip(char* text, int, sColor colour, float x, float y, int);
    void EnableToolTip(bool enable) { m_bToolTip = enable; }

    // Whether (x, y) is on the header strip: every edge counts, and header size 0 leaves
    // the single row y = top.
    bool IsOnHeader(float x, float y) const;
    // The header test at the mouse position; a movable window also sets the mouse cursor.
    bool CheckMouseOnHeader();
    // Whether the last CheckMouseOnHeader of a movable window found the mouse on the header.
    bool IsMouseOnMovableHeader() const { return m_bMovable && m_bMouseOnHeader; }
    void MoveWindow();
    void DrawTooltip();

    // One frame: header dragging and the tooltip, then the textures and widgets.
    void Draw();
    // The contents only, with (x, y) as the origin.
    void Draw(float x, float y);

    const std::vector<CButton*>& GetButtons() const { return m_Buttons; }
    const std::vector<CCheckBox*>& GetCheckBoxes() const { return m_CheckBoxes; }
    const std::vector<CTexture*>& GetTextures() const { return m_Textures; }
    const std::vector<CStaticText*>& GetStaticTexts() const { return m_StaticTexts; }

private:
    void DrawContents(float x, float y);
    float Width() const { return m_fRight - m_fLeft; }
    float Height() const { return m_fBottom - m_fTop; }

    float m_fTop, m_fRight, m_fBottom, m_fLeft;
    bool m_bActive;
    bool m_bVisible;
    bool m_bMovable;
    std::vector<CButton*> m_Buttons;
    std::vector<CTexture*> m_Textures;
    std::vector<CCheckBox*> m_CheckBoxes;
    std::vector<CStaticText*> m_StaticTexts;
    CProgressBar* m_pProgressBar;
    int m_iID;
    unsigned int m_uiHeaderSize;
    bool m_bDragging;
    char* m_pToolTipText;
    bool m_bToolTip;
    CVector2 m_ToolTipPosition;
    sColor m_ToolTipColor;
    bool m_bMouseOnHeader;
};
