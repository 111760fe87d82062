#pragma once
// The engine's only reader of SDL input: once per frame PollEvents() samples the mouse,
// takes at most one event from SDL's queue and folds it into plain state that
// applications and widgets query for the rest of the frame.
#include <SDL.h>

// Key codes are SDL 1.2's key symbols, so callers write isKeyDown(SDLK_ESCAPE).
using eKey = SDLKey;

enum eEvents {
    EVENT_NONE = 0,
    EVENT_KEY_DOWN = 1,
    EVENT_QUIT = 2,
    EVENT_LEFT_BUTTON_UP = 3,
    EVENT_RIGHT_BUTTON_UP = 4,
    EVENT_LEFT_BUTTON_DOWN = 5,
    EVENT_RIGHT_BUTTON_DOWN = 6
};

class CEventManager {
public:
    // Every SDL 1.2 key symbol is below this bound.
    static const int KEY_TABLE_SIZE = 400;

    CEventManager();
    ~CEventManager();

    void PollEvents();

    bool isKeyDown(eKey key) const;
    bool isactualEvent(eEvents e) const { return m_ActualEvent == e; }
    bool GetEventFlag() const { return m_bEventFlag; }
    SDL_Event GetEvent() const { return m_Event; }

    int GetMouseX() const { return m_iMouseX; }
    int GetMouseY() const { return m_iMouseY; }
    int GetMouseDiffX() const { return m_iMouseX - m_iPrevMouseX; }
    int GetMouseDiffY() const { return m_iMouseY - m_iPrevMouseY; }
    bool MouseMove() const { return m_iMouseX != m_iPrevMouseX || m_iMouseY != m_iPrevMouseY; }
    bool isLeftMouseButtonPressed() const { return m_bLeftPressed; }
    bool isRightMouseButtonPressed() const { return m_bRightPressed; }

    void SetOnClickedGuiElement(int id) { m_iClickedGuiElement = id; }
    int GetOnClickedGuiElement() const { return m_iClickedGuiElement; }

    void SetMouseCoordinates(int x, int y);

private:
    void ClassifyEvent();
    int KeySymbol() const;
    void SetKey(int sym, bool down);

    SDL_Event m_Event;
    bool m_KeyDown[KEY_TABLE_SIZE];
    eEvents m_ActualEvent;
    bool m_bEventFlag;
    int m_iMouseX, m_iMouseY;
    int m_iPrevMouseX, m_iPrevMouseY;
    bool m_bLeftPressed;
    bool m_bRightPressed;
    int m_iClickedGuiElement;
};
