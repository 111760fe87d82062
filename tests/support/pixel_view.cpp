#include "pixel_view.h"

#include <GL/glew.h>
#include <SDL.h>

namespace zarvo_test {

void SetPixelView(int* w, int* h) {
    const SDL_Surface* screen = SDL_GetVideoSurface();
    const int width = screen ? screen->w : 256;
    const int height = screen ? screen->h : 256;
    SDL_GL_SwapBuffers();
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (w) *w = width;
    if (h) *h = height;
}

} // namespace zarvo_test
