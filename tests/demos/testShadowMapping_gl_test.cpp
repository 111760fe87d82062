// The shadow-mapping demo run for real under X: the application class driven pass by
// pass with pushed SDL events, and the built program run from the command line.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/CommandLine.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "demos/testShadowMapping.h"
#include "image/CTexture.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"
#include "support/event_driver.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <GL/glu.h>

#include <algorithm>

// Mesa's software rasterizer filters anisotropically so slowly that single frames of
// the demo (which turns anisotropic texturing on) can take minutes; these tests hide the
// extension, so the demo takes its plain texture path. Set before any context exists;
// the program runs started here inherit it.
static const bool kAnisotropyHidden =
    setenv("MESA_EXTENSION_OVERRIDE",
           "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic", 1) == 0;

namespace {

const int kWidth = 1024;
const int kHeight = 768;

// Milliseconds the fake clock advances per read; 0 freezes the moving character.
Uint32 g_TickStep = 0;
Uint32 g_Ticks = 0;
Uint32 FakeTicks() {
    return g_Ticks += g_TickStep;
}

class DemoUnderTest : public testShadowMapping {
public:
    int Frames() const { return GetFramesPresented(); }
};

struct Pixel {
    int r, g, b;
    int Sum() const { return r + g + b; }
};

using zarvo_test::ShotImage;

Pixel At(const ShotImage& image, int x, int y) {
    const unsigned char* p = image.At(x, y);
    return {p[0], p[1], p[2]};
}

struct Box {
    int left, top, right, bottom; // right and bottom exclusive
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

// A line of n glyphs at (x, y): 16 units high, 12 units per glyph plus the last glyph's
// overhang of 4, times the scale; bold adds the 1-pixel second copy. One pixel of slack
// around it for filtering.
Box TextBox(int x, int y, int glyphs, float scale, bool bold) {
    return {x - 1, y - 1, x + int((12 * glyphs + 4) * scale) + (bold ? 1 : 0) + 2,
            y + int(16 * scale) + 2};
}

// The overlay's colours: white counters, the orange title and logo, the blue hints.
bool IsWhite(const Pixel& p) {
    return std::abs(p.r - p.b) < 40 && std::abs(p.g - p.b) < 40;
}
bool IsOrange(const Pixel& p) {
    return p.r > p.g + 20 && p.g > p.b + 10;
}
bool IsBlue(const Pixel& p) {
    return p.b > p.r + 20 && std::abs(p.r - p.g) < 30;
}

int CountIn(const ShotImage& image, const Box& box, bool (*colour)(const Pixel&), int minSum = 30) {
    int n = 0;
    for (int y = std::max(box.top, 0); y < std::min(box.bottom, image.height); ++y)
        for (int x = std::max(box.left, 0); x < std::min(box.right, image.width); ++x) {
            const Pixel p = At(image, x, y);
            n += p.Sum() >= minSum && colour(p);
        }
    return n;
}

} // namespace

class ShadowDemoGL : public testing::Test {
protected:
    static void SetUpTestSuite() {
        CUtils::SetTickSource(FakeTicks);
        testing::internal::CaptureStdout();
        // Windowed: a full-screen SDL window grabs pointer and keyboard for as long as
        // SDL's video lasts in this process, and the full-screen program runs below would
        // wait for that grab forever.
        sRunOptions windowed;
        windowed.windowed = true;
        CApp::SetRunOptions(windowed);
        demo_ = new DemoUnderTest();
        try {
            demo_->Init();
        } catch (const std::string& e) {
            initError_ = e;
        }
        testing::internal::GetCapturedStdout();
    }
    static void TearDownTestSuite() {
        delete demo_;
        demo_ = nullptr;
        CUtils::SetTickSource(nullptr);
        CApp::SetRunOptions(sRunOptions());
    }
    void SetUp() override {
        ASSERT_TRUE(initError_.empty()) << initError_;
        g_TickStep = 0;
        zarvo_test::DrainEvents();
    }

    // Passes of Run, each taking at most one event; false as soon as one ends the run.
    static bool Passes(int count) {
        for (int i = 0; i < count; ++i)
            if (!demo_->RunPass()) return false;
        return true;
    }
    static void Key(SDLKey key, bool down, int passes = 1) {
        ASSERT_TRUE(zarvo_test::PushKey(key, down));
        ASSERT_TRUE(Passes(passes));
    }
    // One more pass, saved through the run's screenshot seam before its swap.
    static ShotImage CapturePass() {
        sRunOptions options;
        options.frameLimit = demo_->Frames() + 1;
        options.screenshotFile = zarvo_test::MakeTempDir("shadow-demo") + "/frame.bmp";
        CApp::SetRunOptions(options);
        testing::internal::CaptureStdout();
        demo_->RunPass();
        testing::internal::GetCapturedStdout();
        CApp::SetRunOptions(sRunOptions());
        return zarvo_test::LoadShot(options.screenshotFile);
    }
    static CVector3 LightPosition() {
        const float* p = demo_->GetLight()->GetPosition();
        return CVector3(p[0], p[1], p[2]);
    }

    static DemoUnderTest* demo_;
    static std::string initError_;
};

DemoUnderTest* ShadowDemoGL::demo_ = nullptr;
std::string ShadowDemoGL::initError_;

TEST_F(ShadowDemoGL, InitBuildsTheSceneTheLightAndTheLogo) {
    EXPECT_EQ(g_3DGameObjectManager->Get3DObjects().size(), 3u);
    EXPECT_GT(g_3DGameObjectManager->GetNumOfAllVertices(), 0);
    EXPECT_EQ(g_LightManager->GetLightCount(), 1u);
    EXPECT_TRUE(demo_->GetLight()->IsEnabled());
    EXPECT_TRUE(g_Graphics->isShadowEnabled());
    EXPECT_EQ(g_Graphics->GetActiveShadowMethod(), SHADOW_MAPPING);
    EXPECT_FALSE(demo_->IsPCFOn());

    CTexture* logo = demo_->GetLogo();
    ASSERT_NE(logo, nullptr);
    ASSERT_GT(logo->GetWidth(), 0.0f) << "logo not loaded";
    EXPECT_EQ(logo->GetPosition().x, kWidth - 5 - logo->GetWidth());
    EXPECT_EQ(logo->GetPosition().y, kHeight - 5 - logo->GetHeight());
}

TEST_F(ShadowDemoGL, TextsFpsCounterAndLogoAreDrawnWhereTheyBelongAndNowhereElse) {
    // Without the 3D objects only the overlay is left on the black clear colour.
    const std::vector<C3DGameObject*> objects = g_3DGameObjectManager->Get3DObjects();
    for (C3DGameObject* object : objects)
        object->SetVisible(false);
    const ShotImage frame = CapturePass();
    ASSERT_EQ(frame.width, kWidth);
    for (C3DGameObject* object : objects)
        object->SetVisible(true);

    const CTexture* logo = demo_->GetLogo();
    const int logoX = int(logo->GetPosition().x), logoY = int(logo->GetPosition().y);
    struct Region {
        const char* what;
        Box box;
        int lit = 0;
        int coloured = 0; // pixels of the text's own hue
    };
    Region regions[] = {
        {"FPS counter", TextBox(3, 5, 16, 1.0f, false)},
        {"title", TextBox(360, 5, 19, 2.0f, true)},
        {"vertex count", TextBox(1, 30, 26, 1.0f, false)},
        {"Space hint", TextBox(1, 80, 35, 1.1f, true)},
        {"light hint", TextBox(1, 110, 28, 1.1f, true)},
        {"logo", {logoX, logoY, logoX + int(logo->GetWidth()), logoY + int(logo->GetHeight())}},
    };
    int stray = 0;
    Box logoInk{kWidth, kHeight, 0, 0};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const Pixel p = At(frame, x, y);
            if (p.Sum() < 30) continue;
            bool inside = false;
            for (Region& region : regions) {
                if (!region.box.Contains(x, y)) continue;
                inside = true;
                ++region.lit;
                const bool white = IsWhite(p), orange = IsOrange(p), blue = IsBlue(p);
                const std::string what = region.what;
                if ((what == "title" && orange) ||
                    (what.find("hint") != std::string::npos && blue) ||
                    ((what == "FPS counter" || what == "vertex count") && white))
                    ++region.coloured;
                if (what == "logo") {
                    logoInk = {std::min(logoInk.left, x), std::min(logoInk.top, y),
                               std::max(logoInk.right, x + 1), std::max(logoInk.bottom, y + 1)};
                }
            }
            stray += !inside;
        }
    EXPECT_EQ(stray, 0) << "overlay pixels outside the text boxes and the logo";
    for (const Region& region : regions) {
        EXPECT_GT(region.lit, 50) << region.what;
        if (std::string(region.what) != "logo") {
            EXPECT_GT(region.coloured, region.lit / 2) << region.what << " in the wrong colour";
        }
    }
    // The logo's ink stays 5 pixels clear of the right and bottom edges of the window.
    EXPECT_LE(logoInk.right, kWidth - 5);
    EXPECT_LE(logoInk.bottom, kHeight - 5);
    EXPECT_GT(logoInk.right, kWidth - 5 - logo->GetWidth() / 2);
    EXPECT_GT(logoInk.bottom, kHeight - 5 - logo->GetHeight() / 2);
}

TEST_F(ShadowDemoGL, ShadowsDarkenTheGroundNearBothCharacters) {
    // The same frame with the characters casting no shadow: the same shader path and
    // lighting, so only the shadows differ.
    const std::vector<C3DGameObject*> objects = g_3DGameObjectManager->Get3DObjects();
    const ShotImage lit = CapturePass();
    for (int i = 0; i < 2; ++i)
        objects[i]->SetCastShadow(false);
    const ShotImage unshadowed = CapturePass();
    for (int i = 0; i < 2; ++i)
        objects[i]->SetCastShadow(true);
    ASSERT_EQ(lit.width, kWidth);
    ASSERT_EQ(unshadowed.width, kWidth);
    g_Graphics->EnableShadows(true);

    // Where the characters stand on screen.
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    g_Camera->Look();
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPopMatrix();

    int darkened = 0, brightened = 0;
    std::vector<int> nearCharacter(2, 0);
    for (int y = 150; y < kHeight; ++y) // below the texts
        for (int x = 0; x < kWidth; ++x) {
            const int on = At(lit, x, y).Sum(), off = At(unshadowed, x, y).Sum();
            if (off > 60 && on < off * 0.75) {
                ++darkened;
                for (int i = 0; i < 2; ++i) {
                    const CVector3 p = *objects[i]->GetPosition();
                    GLdouble sx, sy, sz;
                    gluProject(p.x, p.y, p.z, model, projection, viewport, &sx, &sy, &sz);
                    const double dx = x - sx, dy = y - (kHeight - sy);
                    nearCharacter[i] += dx * dx + dy * dy < 250.0 * 250.0;
                }
            }
            brightened += on > off * 1.25 + 30;
        }
    EXPECT_GT(darkened, 1500) << "no shadow to speak of";
    EXPECT_GT(nearCharacter[0], 300) << "no shadow near the first character";
    EXPECT_GT(nearCharacter[1], 100) << "no shadow near the moving character";
    EXPECT_LT(brightened, darkened / 4) << "shadows should only darken";
}

TEST_F(ShadowDemoGL, SpaceTogglesPcfOnItsKeyDownAndOnLaterEventsWhileHeld) {
    ASSERT_FALSE(demo_->IsPCFOn());
    Key(SDLK_SPACE, true);
    EXPECT_TRUE(demo_->IsPCFOn());
    EXPECT_TRUE(g_Graphics->isPCFShadowEnabled());
    ASSERT_TRUE(Passes(3)); // no new event: no toggle
    EXPECT_TRUE(demo_->IsPCFOn());
    ASSERT_TRUE(zarvo_test::PushMouseMotion(10, 10)); // another event while Space is held
    ASSERT_TRUE(Passes(1));
    EXPECT_FALSE(demo_->IsPCFOn());
    EXPECT_FALSE(g_Graphics->isPCFShadowEnabled());
    Key(SDLK_SPACE, false);
    EXPECT_FALSE(demo_->IsPCFOn());
}

TEST_F(ShadowDemoGL, QTogglesTheWireframeView) {
    ASSERT_FALSE(g_Graphics->GetWireFrameMode());
    Key(SDLK_q, true);
    EXPECT_TRUE(g_Graphics->GetWireFrameMode());
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    ASSERT_TRUE(Passes(2));
    EXPECT_TRUE(g_Graphics->GetWireFrameMode());
    Key(SDLK_q, false);
    Key(SDLK_q, true);
    EXPECT_FALSE(g_Graphics->GetWireFrameMode());
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    Key(SDLK_q, false);
}

TEST_F(ShadowDemoGL, HeldArrowKeysMoveTheLight15UnitsEveryFrame) {
    const CVector3 start = LightPosition();
    Key(SDLK_LEFT, true, 10);
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 150.0f);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z);
    Key(SDLK_RIGHT, true, 4); // both held: they cancel out
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 150.0f);
    Key(SDLK_LEFT, false);
    Key(SDLK_RIGHT, false);
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 135.0f) << "the release frame still moves";

    Key(SDLK_UP, true, 3);
    Key(SDLK_UP, false);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z + 45.0f);
    Key(SDLK_DOWN, true);
    Key(SDLK_DOWN, false);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z + 30.0f);
    EXPECT_FLOAT_EQ(LightPosition().y, start.y);

    // The light's matrices follow it: the shadow pass sees the new place.
    const MATRIX4X4 view = demo_->GetLight()->GetLightViewMatrix();
    demo_->GetLight()->SetPosition(start.x, start.y, start.z, 1.0f);
    const MATRIX4X4 back = demo_->GetLight()->GetLightViewMatrix();
    EXPECT_NE(view.entries[12], back.entries[12]);
}

TEST_F(ShadowDemoGL, TheMovingCharacterBouncesBetweenAboutMinus10And50) {
    g_TickStep = 1000; // the longest frame counted: 5 units per frame
    float lowest = 1e9f, highest = -1e9f;
    for (int frame = 0; frame < 24; ++frame) {
        ASSERT_TRUE(Passes(1));
        const float z = demo_->GetMovingCharacter()->GetPosition()->z;
        lowest = std::min(lowest, z);
        highest = std::max(highest, z);
    }
    g_TickStep = 0;
    EXPECT_GT(highest, 50.0f);
    EXPECT_LE(highest, 55.0f + 0.01f);
    EXPECT_LT(lowest, -10.0f);
    EXPECT_GE(lowest, -15.0f - 0.01f);
    EXPECT_FLOAT_EQ(demo_->GetMovingCharacter()->GetPosition()->x, 20.0f);
    EXPECT_FLOAT_EQ(demo_->GetMovingCharacter()->GetPosition()->y, 10.0f);
}

// Last in the suite: each ends the run.
TEST_F(ShadowDemoGL, EscapeAndAWindowCloseEndTheRunInThePassThatTakesThem) {
    sRunOptions safety;
    safety.frameLimit = demo_->Frames() + 50;
    CApp::SetRunOptions(safety);
    int before = demo_->Frames();
    ASSERT_TRUE(zarvo_test::PushKey(SDLK_ESCAPE, true));
    demo_->Run();
    EXPECT_EQ(demo_->Frames(), before + 1);
    Key(SDLK_ESCAPE, false);

    before = demo_->Frames();
    ASSERT_TRUE(zarvo_test::PushQuit());
    demo_->Run();
    EXPECT_EQ(demo_->Frames(), before + 1);
    CApp::SetRunOptions(sRunOptions());
}

TEST(ShadowDemoProgramGL, AFullScreenRunOfThreeHundredFramesRendersTheSceneAndSavesIt) {
    const std::string shot = zarvo_test::MakeTempDir("zarvo-shot") + "/frame.png";
    const auto run = zarvo_test::RunProgram("--frames 300 --screenshot " + shot);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(zarvo_test::FindErrorText(run.output), "") << run.output;
    EXPECT_EQ(zarvo_test::CountOccurrences(run.output, "Zarvo Engine version 0.02..."),
              size_t(DEMO_COUNT))
        << "every application";
    EXPECT_NE(run.output.find("Saved frame 300 as " + shot), std::string::npos) << run.output;

    const ShotImage image = zarvo_test::LoadShot(shot);
    ASSERT_EQ(image.width, kWidth);
    EXPECT_EQ(image.height, kHeight);
    const zarvo_test::FrameStats stats = zarvo_test::MeasureFrame(image);
    EXPECT_GT(stats.colours, 1000u) << "the frame looks blank";
    EXPECT_GT(stats.brightness, 40.0) << "the frame is nearly black";

    // The overlay over the scene after three hundred frames: each text in its own colour
    // inside its box, and the orange logo in the bottom-right corner, 5 pixels clear of
    // the edges.
    EXPECT_GT(CountIn(image, TextBox(3, 5, 16, 1.0f, false), IsWhite, 300), 100) << "FPS counter";
    EXPECT_GT(CountIn(image, TextBox(360, 5, 19, 2.0f, true), IsOrange), 300) << "title";
    EXPECT_GT(CountIn(image, TextBox(1, 80, 35, 1.1f, true), IsBlue), 200) << "Space hint";
    EXPECT_GT(CountIn(image, TextBox(1, 110, 28, 1.1f, true), IsBlue), 200) << "light hint";
    const Box corner{kWidth - 320, kHeight - 120, kWidth - 5, kHeight - 5};
    EXPECT_GT(CountIn(image, corner, IsOrange, 200), 1000) << "logo";
    const Box margin[2] = {{kWidth - 5, kHeight - 120, kWidth, kHeight},
                           {kWidth - 320, kHeight - 5, kWidth, kHeight}};
    for (const Box& strip : margin)
        EXPECT_EQ(CountIn(image, strip, IsOrange, 200), 0) << "logo ink in the 5-pixel margin";
}
