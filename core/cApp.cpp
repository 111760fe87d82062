#include "core/cApp.h"

#include "core/Engine.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
sRunOptions g_RunOptions;

bool ParseFrameCount(const char* text, int& out) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > INT_MAX) return false;
    out = int(value);
    return true;
}
} // namespace

bool ParseRunOptions(int argc, const char* const* argv, sRunOptions& options, std::string& error) {
    sRunOptions parsed;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(arg, "--frames") == 0) {
            if (!hasValue || !ParseFrameCount(argv[i + 1], parsed.frameLimit)) {
                error = "--frames needs a whole number of frames (1 or more)";
                return false;
            }
            ++i;
        } else if (std::strcmp(arg, "--screenshot") == 0) {
            if (!hasValue || argv[i + 1][0] == '\0') {
                error = "--screenshot needs a file name";
                return false;
            }
            parsed.screenshotFile = argv[++i];
        } else {
            error = std::string("unknown argument: ") + arg;
            return false;
        }
    }
    options = parsed;
    return true;
}

void CApp::SetRunOptions(const sRunOptions& options) {
    g_RunOptions = options;
}

const sRunOptions& CApp::GetRunOptions() {
    return g_RunOptions;
}

CApp::CApp()
    : m_iWidth(1024), m_iHeight(768), m_iBpp(16), m_sTitle("Engine Demo"), m_bFlag(true),
      m_pEngine(nullptr), m_iFramesPresented(0) {
    m_pEngine = new Engine();
}

CApp::~CApp() {
    delete m_pEngine;
}

bool CApp::PresentFrame() {
    ++m_iFramesPresented;
    const sRunOptions& options = g_RunOptions;
    const bool last = options.frameLimit > 0 && m_iFramesPresented >= options.frameLimit;
    // Without a frame limit the screenshot is the first frame, so it exists however the
    // run ends.
    const bool capture = !options.screenshotFile.empty() &&
                         (last || (options.frameLimit == 0 && m_iFramesPresented == 1));
    if (capture) {
        const SDL_Surface* screen = SDL_GetVideoSurface();
        if (screen && !SaveBackBufferBMP(options.screenshotFile, screen->w, screen->h))
            std::fprintf(stderr, "Cannot save screenshot %s\n", options.screenshotFile.c_str());
    }
    SDL_GL_SwapBuffers();
    return !last;
}

bool SaveBackBufferBMP(const std::string& file, int width, int height) {
    if (width <= 0 || height <= 0) return false;
    const size_t row = size_t(width) * 3;
    std::vector<unsigned char> pixels(row * size_t(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());

    SDL_Surface* image =
        SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, 24, 0x0000ff, 0x00ff00, 0xff0000, 0);
    if (!image) return false;
    // OpenGL rows run bottom to top, image rows top to bottom.
    SDL_LockSurface(image);
    for (int y = 0; y < height; ++y)
        std::memcpy(static_cast<unsigned char*>(image->pixels) + size_t(y) * image->pitch,
                    pixels.data() + size_t(height - 1 - y) * row, row);
    SDL_UnlockSurface(image);
    const bool ok = SDL_SaveBMP(image, file.c_str()) == 0;
    SDL_FreeSurface(image);
    return ok;
}
