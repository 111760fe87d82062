#pragma once
// For the demo, GUI and 2D scene tests: one demo per suite driven pass by pass in this process
// on a fake clock, pixel measures over the frames it saves, and solid test images.
#include <gtest/gtest.h>

#include "core/Engine.h"
#include "core/Utils.h"
#include "core/cApp.h"
#include "support/event_driver.h"
#include "support/gl_context.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace zarvo_test {

// llvmpipe filters anisotropically so slowly that one demo frame can take minutes, and the
// demos ask for it: hidden before any context exists; the programs started inherit it.
inline const bool kAnisotropyHidden =
    setenv("MESA_EXTENSION_OVERRIDE",
           "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic", 1) == 0;

struct Rect {
    int left, top, right, bottom; // right and bottom exclusive
};
using Colour = bool (*)(const unsigned char* rgb);
inline bool Orange(const unsigned char* p) {
    return p[0] > p[1] + 20 && p[1] > p[2] + 10;
}
inline bool White(const unsigned char* p) {
    return std::abs(p[0] - p[2]) < 40 && std::abs(p[1] - p[2]) < 40;
}
inline bool Blue(const unsigned char* p) {
    return p[2] > p[0] + 20 && std::abs(p[0] - p[1]) < 30;
}
// The shadow-mapping demo's overlay texts in their colours, with a pixel of slack for
// filtering: FPS counter, title, vertex count, the Space and the light hints.
inline const std::pair<Rect, Colour> kShadowTexts[5] = {{{2, 4, 201, 23}, White},
                                                        {{359, 4, 827, 39}, Orange},
                                                        {{0, 29, 319, 48}, White},
                                                        {{0, 79, 470, 99}, Blue},
                                                        {{0, 109, 378, 129}, Blue}};
// Pixels of r whose channels sum to at least minSum and that pass `is` (if any); without
// `is` and with minSum < 0, the mean of the summed channels (0 to 765) instead.
inline double Measure(const ShotImage& s, Rect r, Colour is = nullptr, int minSum = 0) {
    double n = 0;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, s.height); ++y)
        for (int x = std::max(r.left, 0); x < std::min(r.right, s.width); ++x) {
            const unsigned char* p = s.At(x, y);
            const int sum = p[0] + p[1] + p[2];
            n += minSum < 0 ? sum : sum >= minSum && (!is || is(p));
        }
    return minSum < 0 ? n / ((r.right - r.left) * (r.bottom - r.top)) : n;
}

// Solid w x h images base1.png .. baseN.png with red 10 * k (BMP data: the image library goes
// by the content); n = 0 writes one red base.png and returns its name.
inline std::string WriteSolid(const char* tag, unsigned int n, int w, int h, Uint8 g = 0,
                              Uint8 b = 0) {
    const std::string base = MakeTempDir(tag) + "/image";
    for (unsigned int k = n ? 1 : 0; k <= n; ++k) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF, 0xFF00, 0xFF0000, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, n ? Uint8(10 * k) : 255, g, b));
        SDL_SaveBMP(s, (base + (n ? std::to_string(k) : "") + ".png").c_str());
        SDL_FreeSurface(s);
    }
    return n ? base : base + ".png";
}

// The frame clock: each read moves it on by g_TickStep milliseconds.
inline Uint32 g_TickStep = 20, g_Ticks = 0;
inline Uint32 FakeTicks() {
    return g_Ticks += g_TickStep;
}

// Windowed: a full-screen grab would hold the display the program runs need.
inline sRunOptions Windowed(int frameLimit = 0, const std::string& shot = "") {
    sRunOptions options;
    options.windowed = true;
    options.frameLimit = frameLimit;
    options.screenshotFile = shot;
    return options;
}

template <typename App> class DemoGL : public testing::Test {
protected:
    struct Exposed : App {
        int Frames() const { return this->GetFramesPresented(); }
    };
    static void SetUpTestSuite() {
        ASSERT_TRUE(kAnisotropyHidden);
        CUtils::SetTickSource(FakeTicks);
        g_TickStep = 20;
        CApp::SetRunOptions(Windowed());
        testing::internal::CaptureStdout();
        demo_ = new Exposed();
        try {
            demo_->Init();
        } catch (const std::string& e) {
            error_ = e;
        }
        testing::internal::GetCapturedStdout();
        DrainEvents();
        for (int i = 0; i < 2 && error_.empty(); ++i) // the first interval is from an earlier clock
            demo_->RunPass();
    }
    // The GL context outlives the demo: the next suite gets matrix stacks and a frame clock
    // (not running backwards) as a fresh process has them.
    static void TearDownTestSuite() {
        PopMatrixStacksToBase();
        g_Ticks = g_TickStep = 0;
        g_Utils->CalculateFrameRate();
        delete demo_;
        CUtils::SetTickSource(nullptr);
        CApp::SetRunOptions(sRunOptions());
    }
    void SetUp() override {
        ASSERT_TRUE(error_.empty()) << error_;
        DrainEvents();
    }
    static void Passes(int count) {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(demo_->RunPass());
    }
    static void Key(SDLKey key, bool down, int passes = 1) {
        ASSERT_TRUE(PushKey(key, down));
        Passes(passes);
    }
    // One more pass, saved through the run's screenshot seam before its swap.
    static ShotImage Capture() {
        const std::string file = MakeTempDir("demo-frame") + "/frame.bmp";
        CApp::SetRunOptions(Windowed(1, file));
        testing::internal::CaptureStdout();
        demo_->RunPass();
        testing::internal::GetCapturedStdout();
        CApp::SetRunOptions(Windowed());
        return LoadShot(file);
    }
    static inline Exposed* demo_ = nullptr;
    static inline std::string error_;
};

} // namespace zarvo_test
