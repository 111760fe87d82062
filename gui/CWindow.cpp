#include "gui/CWindow.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "gui/CButton.h"
#include "gui/CCheckBox.h"
#include "gui/CProgressBar.h"
#include "gui/CStaticText.h"
#include "gui/GuiCommon.h"
#include "image/CTexture.h"

CWindow::CWindow()
    : m_fTop(0.0f), m_fRight(0.0f), m_fBottom(0.0f), m_fLeft(0.0f), m_bActive(false),
      m_bVisible(false), m_bMovable(false), m_pProgressBar(nullptr), m_iID(-1), m_uiHeaderSize(15),
      m_bDragging(false), m_pToolTipText(nullptr),
      m_bToolTip(false), m_ToolTipColor{1.0f, 1.0f, 1.0f, 1.0f}, m_bMouseOnHeader(false) {}

CWindow::CWindow(int left, int top, int right, int bottom, int id) : CWindow() {
    SetWindowRect(left, top, right, bottom);
    m_iID = id;
    m_uiHeaderSize = 0;
}

CWindow::CWindow(int left, int top, int right, int bottom, char* image, bool stretch, float alpha,
                 unsigned int headerSize, int id, bool movable)
    : CWindow(left, top, right, bottom, id) {
    m_uiHeaderSize = headerSize;
    m_bMovable = movable;
    if (!image) return;
    CTexture* background = new CTexture(image, alpha);
    if (background->GetWidth() > Width()) background->SetWidth(Width());
    if (background->GetHeight() > Height()) background->SetHeight(Height());
    if (stretch) {
        background->SetWidth(Width());
        background->SetHeight(Height());
    }
    m_Textures.push_back(background);
}

CWindow::~CWindow() {
    // A window that showed the move cursor hands the normal one back, or the cursor would
    // stay the move cursor with no window under it.
    if (IsMouseOnMovableHeader() && g_Graphics) g_Graphics->setActualCursorToWindowMove(false);
    for (CButton* button : m_Buttons)
        delete button;
    for (CTexture* texture : m_Textures)
        delete texture;
    for (CCheckBox* checkBox : m_CheckBoxes)
        delete checkBox;
    for (CStaticText* text : m_StaticTexts)
        delete text;
    delete m_pProgressBar;
}

float CWindow::KeepInside(float offset, float size, float room) {
    return offset + size > room ? room - size : offset;
}

void CWindow::RegisterButton(CButton* button) {
    if (!button) return;
    button->SetPositionX(KeepInside(button->GetButtonPosX(), button->GetWidth(), Width()));
    button->SetPositionY(KeepInside(button->GetButtonPosY(), button->GetHeight(), Height()));
    m_Buttons.push_back(button);
}

void CWindow::RegisterButton(char* file, unsigned int frames, float x, float y, int id) {
    RegisterButton(new CButton(file, frames, x, y, id));
}

void CWindow::RegisterCheckbox(CCheckBox* checkBox) {
    if (!checkBox) return;
    checkBox->SetPosition(KeepInside(checkBox->GetX(), checkBox->GetWidth(), Width()),
                          KeepInside(checkBox->GetY(), checkBox->GetHeight(), Height()));
    m_CheckBoxes.push_back(checkBox);
}

void CWindow::RegisterCheckbox(char* offFile, unsigned int offFrames, char* onFile,
                               unsigned int onFrames, float x, float y, int id) {
    RegisterCheckbox(new CCheckBox(offFile, offFrames, onFile, onFrames, x, y, id));
}

void CWindow::RegisterTexture(CTexture* texture) {
    if (texture) m_Textures.push_back(texture);
}

void CWindow::RegisterTexture(char* file, unsigned int x, unsigned int y, float alpha) {
    CTexture* texture = new CTexture(file ? file : "", alpha);
    texture->SetPosition(CVector2(float(x), float(y)));
    m_Textures.push_back(texture);
}

void CWindow::RegisterStaticText(CStaticText* text) {
    if (text) m_StaticTexts.push_back(text);
}

void CWindow::RegisterProgressBar(CProgressBar* bar) {
    if (bar == m_pProgressBar) return;
    delete m_pProgressBar;
    m_pProgressBar = bar;
}

void CWindow::RegisterProgressBar(char* file, unsigned int x, unsigned int y,
                                  unsigned int maximum) {
    RegisterProgressBar(new CProgressBar(file, x, y, maximum));
}

void CWindow::ActivateWindow(bool active) {
    m_bActive = active;
    if (active) m_bVisible = true;
}

void CWindow::SetVisible(bool visible) {
    m_bVisible = visible;
    if (!visible) m_bActive = false;
}

void CWindow::SetWindowRect(int left, int top, int right, int bottom) {
    m_fLeft = float(left);
    m_fTop = float(top);
    m_fRight = float(right);
    m_fBottom = float(bottom);
}

void CWindow::SetToolTip(char* text, int, sColor colour, float x, float y, int) {
    m_pToolTipText = text;
    m_ToolTipColor = colour;
    m_ToolTipPosition = CVector2(x, y);
    m_bToolTip = true;
}

bool CWindow::IsOnHeader(float x, float y) const {
    return gui::InsideInclusive(x, y, m_fLeft, m_fTop, Width(), float(m_uiHeaderSize));
}

bool CWindow::CheckMouseOnHeader() {
    const CVector2 mouse = gui::MousePosition();
    m_bMouseOnHeader = IsOnHeader(mouse.x, mouse.y);
    if (m_bMovable && g_Graphics) g_Graphics->setActualCursorToWindowMove(m_bMouseOnHeader);
    return m_bMouseOnHeader;
}

void CWindow::MoveWindow() {
    if (!g_EventManager) return;
    const float dx = float(g_EventManager->GetMouseDiffX());
    const float dy = float(g_EventManager->GetMouseDiffY());
    m_fLeft += dx;
    m_fRight += dx;
    m_fTop += dy;
    m_fBottom += dy;
}

void CWindow::DrawTooltip() {
    if (m_bToolTip && m_pToolTipText) gui::PrintUserText(m_ToolTipPosition, m_pToolTipText);
}

void CWindow::Draw() {
    if (!m_bVisible) return;
    if (m_bMovable) {
        if (CheckMouseOnHeader()) {
            if (g_EventManager && g_EventManager->GetEventFlag()) {
                const SDL_Event event = g_EventManager->GetEvent();
                const bool press = event.type == SDL_MOUSEBUTTONDOWN;
                if ((press || event.type == SDL_MOUSEBUTTONUP) &&
                    event.button.button == SDL_BUTTON_LEFT)
                    m_bDragging = press;
            }
            DrawTooltip();
        }
        // The drag goes on when the mouse outruns the header; only a release over it ends.
        if (m_bDragging) MoveWindow();
    }
    DrawContents(m_fLeft, m_fTop);
}

void CWindow::Draw(float x, float y) {
    DrawContents(x, y);
}

void CWindow::DrawContents(float x, float y) {
    for (CTexture* texture : m_Textures) {
        const CVector2 offset = texture->GetPosition();
        texture->Draw(x + offset.x, y + offset.y, 1.0f, 0.0f, 1.0f, 1.0f, 1.0f);
    }
    for (CButton* button : m_Buttons)
        button->InDraw(x, y);
    for (CCheckBox* checkBox : m_CheckBoxes)
        checkBox->InDraw(x, y);
    for (CStaticText* text : m_StaticTexts)
        text->InDraw(x, y);
    if (m_pProgressBar) m_pProgressBar->InDraw(x, y);
}
