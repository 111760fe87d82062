#include "core/CEventManager.h"

#include <cstring>

CEventManager::CEventManager()
    : m_ActualEvent(EVENT_NONE), m_bEventFlag(false), m_iMouseX(0), m_iMouseY(0), m_iPrevMouseX(0),
      m_iPrevMouseY(0), m_bLeftPressed(false), m_bRightPressed(false), m_iClickedGuiElement(-1) {
    std::memset(&m_Event, 0, sizeof(m_Event));
    std::memset(m_KeyDown, 0, sizeof(m_KeyDown));
}

CEventManager::~CEventManager() {}

void CEventManager::PollEvents() {
    m_iPrevMouseX = m_iMouseX;
    m_iPrevMouseY = m_iMouseY;
    SDL_GetMouseState(&m_iMouseX, &m_iMouseY);
    m_iClickedGuiElement = -1;
    m_bEventFlag = SDL_PollEvent(&m_Event) == 1;
    m_ActualEvent = EVENT_NONE;
    // The last event is classified again in frames without a new one, which keeps the
    // actual event (and a pending quit) visible until something else arrives.
    ClassifyEvent();
}

void CEventManager::ClassifyEvent() {
    switch (m_Event.type) {
    case SDL_KEYDOWN:
        SetKey(KeySymbol(), true);
        m_ActualEvent = EVENT_KEY_DOWN;
        break;
    case SDL_KEYUP:
        SetKey(KeySymbol(), false);
        break;
    case SDL_MOUSEBUTTONDOWN:
        if (m_Event.button.button == SDL_BUTTON_LEFT) {
            m_bLeftPressed = true;
            m_ActualEvent = EVENT_LEFT_BUTTON_DOWN;
        } else if (m_Event.button.button == SDL_BUTTON_RIGHT) {
            m_bRightPressed = true;
            m_ActualEvent = EVENT_RIGHT_BUTTON_DOWN;
        }
        break;
    case SDL_MOUSEBUTTONUP:
        if (m_Event.button.button == SDL_BUTTON_LEFT) {
            m_bLeftPressed = false;
            m_ActualEvent = EVENT_LEFT_BUTTON_UP;
        } else if (m_Event.button.button == SDL_BUTTON_RIGHT) {
            m_bRightPressed = false;
            m_ActualEvent = EVENT_RIGHT_BUTTON_UP;
        }
        break;
    case SDL_QUIT:
        m_ActualEvent = EVENT_QUIT;
        break;
    default:
        break;
    }
}

int CEventManager::KeySymbol() const {
    // Read as a plain integer: a pushed event may hold a value no key symbol has.
    int sym = 0;
    static_assert(sizeof(sym) == sizeof(m_Event.key.keysym.sym), "key symbols are int-sized");
    std::memcpy(&sym, &m_Event.key.keysym.sym, sizeof(sym));
    return sym;
}

void CEventManager::SetKey(int sym, bool down) {
    // A pushed or foreign event may carry any value; only real key symbols index the table.
    if (sym >= 0 && sym < KEY_TABLE_SIZE) m_KeyDown[sym] = down;
}

bool CEventManager::isKeyDown(eKey key) const {
    const int sym = static_cast<int>(key);
    return sym >= 0 && sym < KEY_TABLE_SIZE && m_KeyDown[sym];
}

void CEventManager::SetMouseCoordinates(int x, int y) {
    SDL_WarpMouse(static_cast<Uint16>(x), static_cast<Uint16>(y));
}
