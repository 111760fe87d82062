#pragma once
// Demo, GUI and 2D scene tests: a demo per suite driven pass by pass on the engine clock at 20 ms a
// frame, pixel measures over saved frames, and solid test images.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "core/cApp.h"
#include "gui/CFontManager.h"
#include "image/CTextureManager.h"
#include "scene2d/CSprite.h"
#include "support/event_driver.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace zarvo_test {

// llvmpipe's anisotropic filtering can make a frame take minutes: hidden before any context
// exists; the programs started inherit it.
inline const bool kAnisotropyHidden =
    setenv("MESA_EXTENSION_OVERRIDE",
           "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic", 1) == 0;

struct Rect {
    int left, top, right, bottom;
}; // right and bottom exclusive
using Colour = bool (*)(const unsigned char* rgb);
// Pixels of r whose channels sum to at least minSum and that pass `is` (if any); with minSum
// below 0, the mean of the summed channels (0 to 765) instead.
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

// Solid w x h images base1.png .. baseN.png with red 10 * k; n = 0 writes one red base.png and
// returns its name.
inline std::string WriteSolid(const char* tag, unsigned int n, int w, int h, Uint8 g = 0,
                              Uint8 b = 0) {
    const std::string base = MakeTempDir(tag) + "/image";
    for (unsigned int k = n ? 1 : 0; k <= n; ++k)
        SaveBmp(w, h, {{0, 0, Uint8(n ? 10 * k : 255), g, b}},
                base + (n ? std::to_string(k) : "") + ".png");
    return n ? base : base + ".png";
}

// A black Size x Size pixel view with the texture, event and font managers, and a sprite clock
// that moves only when a test moves g_SpriteNow. A graphics core a test sets up is its own.
inline unsigned int g_SpriteNow = 1000;
template <int Size, typename Base = testing::Test> class PixelViewGL : public Base {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(Size, Size);
        DrainEvents();
        g_SpriteNow = 1000;
        CSprite::SetTickSource([] { return g_SpriteNow; });
        Clear();
    }
    void TearDown() override {
        CSprite::SetTickSource(nullptr);
        g_Graphics = nullptr;
    }
    static void Clear() {
        SetPixelView();
        for (GLenum cap : {GL_SCISSOR_TEST, GL_DEPTH_TEST, GL_BLEND, GL_LIGHTING})
            glDisable(cap);
        glEnable(GL_TEXTURE_2D);
        glBlendFunc(GL_ONE, GL_ZERO);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    static Rgba At(int x, int y) { return ReadPixelTopDown(x, y); }
    // Which of WriteSolid's frames (red 10 * k) is drawn at (x, y); 0 where nothing is.
    static int SolidFrameAt(int x, int y) { return (At(x, y).r + 5) / 10; }
    CTextureManager m_Textures;
    CEventManager m_Events;
    CFontManager m_Fonts;
    ScopedGlobal<CTextureManager> m_TexturesGlobal{g_TextureManager, &m_Textures};
    ScopedGlobal<CEventManager> m_EventsGlobal{g_EventManager, &m_Events};
    ScopedGlobal<CFontManager> m_FontsGlobal{g_FontManager, &m_Fonts};
};

// The engine's frame interval fixed at ms while the object lives: the engine clock restarts
// from 0 (where single-precision seconds hold whole milliseconds) and moves ms a frame.
class FrameInterval {
public:
    explicit FrameInterval(Uint32 ms) : previous_(g_Utils) {
        g_Utils = &utils_;
        CUtils::SetFixedFrameStep(0);
        CUtils::SetFixedFrameStep(ms);
        utils_.CalculateFrameRate(); // the first reading has no interval before it
        CUtils::StepFixedClock();
        utils_.CalculateFrameRate();
    }
    ~FrameInterval() {
        CUtils::SetFixedFrameStep(0);
        g_Utils = previous_;
    }

private:
    CUtils utils_;
    CUtils* previous_;
};

// Windowed, since a full-screen grab would hold the display the program runs need, on an
// engine clock of 20 ms a frame; with a frame limit of 1 the next pass saves its frame as `shot`.
inline void RunWindowed(const std::string& shot = "") {
    CApp::SetRunOptions(sRunOptions{shot.empty() ? 0 : 1, shot, true, 20});
}

template <typename App> class DemoGL : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(kAnisotropyHidden);
        RunWindowed();
        testing::internal::CaptureStdout();
        demo_ = new App();
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
    // The GL context outlives the demo: the next suite gets matrix stacks as a fresh process
    // has them.
    static void TearDownTestSuite() {
        PopMatrixStacksToBase();
        delete demo_;
        CApp::SetRunOptions(sRunOptions());
    }
    void SetUp() override {
        DrainEvents();
        ASSERT_TRUE(error_.empty()) << error_;
    }
    static void Passes(int n) {
        for (int i = 0; i < n; ++i)
            ASSERT_TRUE(demo_->RunPass());
    }
    static void Key(SDLKey k, bool down, int n = 1) {
        ASSERT_TRUE(PushKey(k, down));
        Passes(n);
    }
    // One more pass, saved through the run's screenshot seam before its swap.
    static ShotImage Capture() {
        const std::string file = MakeTempDir("demo-frame") + "/frame.bmp";
        RunWindowed(file);
        testing::internal::CaptureStdout();
        demo_->RunPass();
        testing::internal::GetCapturedStdout();
        RunWindowed();
        return LoadShot(file);
    }
    static inline App* demo_ = nullptr;
    static inline std::string error_;
};

} // namespace zarvo_test
