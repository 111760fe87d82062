#include "pixel_view.h"

#include <SDL.h>

#include "gl_context.h"

namespace zarvo_test {

void SetPixelView(int* w, int* h) {
    const SDL_Surface* screen = SDL_GetVideoSurface();
    const int width = screen ? screen->w : 256;
    const int height = screen ? screen->h : 256;
    SDL_GL_SwapBuffers();
    OrthoView(width, height, 0, width, height, 0, -1, 1);
    if (w) *w = width;
    if (h) *h = height;
}

} // namespace zarvo_test
