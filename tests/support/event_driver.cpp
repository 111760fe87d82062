#include "event_driver.h"

namespace zarvo_test {

bool PushKey(SDLKey key, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    return SDL_PushEvent(&e) == 0;
}

bool PushMouseMotion(int x, int y) {
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = Uint16(x);
    e.motion.y = Uint16(y);
    return SDL_PushEvent(&e) == 0;
}

bool PushMouseButton(Uint8 button, bool down, int x, int y) {
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.button = button;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = Uint16(x);
    e.button.y = Uint16(y);
    return SDL_PushEvent(&e) == 0;
}

bool PushQuit() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    return SDL_PushEvent(&e) == 0;
}

void DrainEvents() {
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
    }
}

bool WarpMouse(int x, int y) {
    SDL_WarpMouse(Uint16(x), Uint16(y));
    for (int i = 0; i < 200; ++i) {
        SDL_PumpEvents();
        int mx = -1, my = -1;
        SDL_GetMouseState(&mx, &my);
        if (mx == x && my == y) {
            // The server may still report the move a moment later.
            SDL_Delay(5);
            DrainEvents();
            return true;
        }
        SDL_Delay(5);
    }
    return false;
}

} // namespace zarvo_test
