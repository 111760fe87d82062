#pragma once
// What the windows and widgets share: the inclusive hit test, the left-click of this
// frame, and printing a caller's string with font 1.
#include "math/3DMath.h"

class CSprite;

namespace gui {

// True when (x, y) lies in the rectangle from (left, top) to (left + width, top + height).
// Every edge counts: a pointer on the last column or row is still over the rectangle.
bool InsideInclusive(float x, float y, float left, float top, float width, float height);

// Whether (x, y) is over the sprite's first frame placed at (left, top). A sprite without
// frames is never hit.
bool SpriteHit(CSprite* sprite, float x, float y, float left, float top);

// One frame of a button-like sprite at (x, y): while the mouse is over it the animation
// plays once and holds its last frame; otherwise it goes back to the first frame.
void DrawHoverSprite(CSprite* sprite, bool over, float x, float y);

// The mouse position of g_EventManager ((0, 0) without an event manager).
CVector2 MousePosition();

// True only in the frame whose event is a press of the left mouse button, so holding the
// button does not report again.
bool LeftButtonPressedThisFrame();

// Prints text with font 1 as it stands: labels and tooltips are the caller's strings, and
// a '%' in them is a character, never a directive. Nothing happens without a font or text.
void PrintUserText(CVector2 position, const char* text);
void PrintUserText(int x, int y, char set, const sColor& colour, float scaleX, float scaleY,
                   const char* text);

} // namespace gui
