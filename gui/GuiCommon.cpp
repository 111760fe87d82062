#include "gui/GuiCommon.h"

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "image/CTexture.h"
#include "scene2d/CSprite.h"

namespace gui {

namespace {
CFont* DefaultFont() {
    return g_FontManager ? g_FontManager->getFont(1) : nullptr;
}
} // namespace

bool InsideInclusive(float x, float y, float left, float top, float width, float height) {
    return x >= left && x <= left + width && y >= top && y <= top + height;
}

bool SpriteHit(CSprite* sprite, float x, float y, float left, float top) {
    CTexture* first = sprite ? sprite->GetTexture(0) : nullptr;
    return first && InsideInclusive(x, y, left, top, first->GetWidth(), first->GetHeight());
}

void DrawHoverSprite(CSprite* sprite, bool over, float x, float y) {
    if (!sprite) return;
    if (over) {
        sprite->DrawOne(x, y);
    } else {
        sprite->Reset();
        sprite->DrawFrame(0, x, y);
    }
}

CVector2 MousePosition() {
    if (!g_EventManager) return CVector2();
    return CVector2(float(g_EventManager->GetMouseX()), float(g_EventManager->GetMouseY()));
}

bool LeftButtonPressedThisFrame() {
    if (!g_EventManager || !g_EventManager->GetEventFlag()) return false;
    const SDL_Event event = g_EventManager->GetEvent();
    return event.type == SDL_MOUSEBUTTONDOWN && event.button.button == SDL_BUTTON_LEFT;
}

void PrintUserText(CVector2 position, const char* text) {
    CFont* font = DefaultFont();
    if (font && text) font->PrintText(position, 0, "%s", text);
}

void PrintUserText(int x, int y, char set, const sColor& colour, float scaleX, float scaleY,
                   const char* text) {
    CFont* font = DefaultFont();
    if (font && text)
        font->PrintText(x, y, set, colour.r, colour.g, colour.b, colour.a, scaleX, scaleY, "%s",
                        text);
}

} // namespace gui
