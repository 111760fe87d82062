#include "core/cApp.h"

#include "core/Engine.h"
#include "core/Screenshot.h"
#include "core/Utils.h"

#include <SDL.h>

#include <cstdio>

namespace {
sRunOptions g_RunOptions;
bool g_bScreenshotFailed = false;
} // namespace

void CApp::SetRunOptions(const sRunOptions& options) {
    g_RunOptions = options;
    CUtils::SetFixedFrameStep(Uint32(options.frameStepMs));
}

const sRunOptions& CApp::GetRunOptions() {
    return g_RunOptions;
}

bool CApp::ScreenshotFailed() {
    return g_bScreenshotFailed;
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
        if (screen && SaveBackBuffer(options.screenshotFile, screen->w, screen->h))
            std::printf("Saved frame %d as %s\n", m_iFramesPresented,
                        options.screenshotFile.c_str());
        else {
            std::fprintf(stderr, "Cannot save screenshot %s\n", options.screenshotFile.c_str());
            g_bScreenshotFailed = true;
        }
    }
    SDL_GL_SwapBuffers();
    CUtils::StepFixedClock();
    return !last;
}
