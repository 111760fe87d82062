// The shadow-mapping demo run for real under X: the application class driven pass by
// pass with pushed SDL events, and the built program run from the command line.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/CommandLine.h"
#include "core/CGraphicsCore.h"
#include "core/Screenshot.h"
#include "core/Utils.h"
#include "image/CTexture.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"
#include "core/Engine.h"
#include "demos/testShadowMapping.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>
#include <SDL_image.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>
#include <sys/wait.h>

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

void Push(Uint8 type, SDLKey sym = SDLK_UNKNOWN) {
    SDL_Event e{};
    e.type = type;
    if (type == SDL_KEYDOWN || type == SDL_KEYUP) {
        e.key.type = type;
        e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = sym;
    } else if (type == SDL_MOUSEMOTION) {
        e.motion.type = type;
        e.motion.x = 10;
        e.motion.y = 10;
    }
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

struct Pixel {
    int r, g, b;
    int Sum() const { return r + g + b; }
};

Pixel At(const sRGBImage& image, int x, int y) {
    const unsigned char* p = &image.pixels[(size_t(y) * image.width + x) * 3];
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

// Any loaded SDL surface as tightly packed RGB rows, top row first; empty when null.
sRGBImage ToRGBImage(SDL_Surface* loaded) {
    sRGBImage image;
    if (!loaded) return image;
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 24, 0x0000ff,
                                            0x00ff00, 0xff0000, 0);
    SDL_BlitSurface(loaded, nullptr, rgb, nullptr);
    image.width = rgb->w;
    image.height = rgb->h;
    for (int y = 0; y < rgb->h; ++y) {
        const unsigned char* row = static_cast<unsigned char*>(rgb->pixels) + y * rgb->pitch;
        image.pixels.insert(image.pixels.end(), row, row + rgb->w * 3);
    }
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(loaded);
    return image;
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

int CountIn(const sRGBImage& image, const Box& box, bool (*colour)(const Pixel&), int minSum = 30) {
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
        SDL_Event drain;
        while (SDL_PollEvent(&drain)) {
        }
    }

    // Passes of Run, each taking at most one event; false as soon as one ends the run.
    static bool Passes(int count) {
        for (int i = 0; i < count; ++i)
            if (!demo_->RunPass()) return false;
        return true;
    }
    static void Press(SDLKey key) {
        Push(SDL_KEYDOWN, key);
        ASSERT_TRUE(Passes(1));
    }
    static void Release(SDLKey key) {
        Push(SDL_KEYUP, key);
        ASSERT_TRUE(Passes(1));
    }
    // One more pass, saved through the run's screenshot seam before its swap.
    static sRGBImage CapturePass() {
        sRunOptions options;
        options.frameLimit = demo_->Frames() + 1;
        options.screenshotFile = zarvo_test::MakeTempDir("shadow-demo") + "/frame.bmp";
        CApp::SetRunOptions(options);
        testing::internal::CaptureStdout();
        demo_->RunPass();
        testing::internal::GetCapturedStdout();
        CApp::SetRunOptions(sRunOptions());
        return ToRGBImage(SDL_LoadBMP(options.screenshotFile.c_str()));
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
    EXPECT_FLOAT_EQ(std::fabs(demo_->GetSpeed()), 5.0f);
    const CVector3 eye = *g_Camera->GetCameraPosition();
    EXPECT_EQ(eye.x, 68.0f);
    EXPECT_EQ(eye.y, 80.0f);
    EXPECT_EQ(eye.z, 68.0f);

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
    const sRGBImage frame = CapturePass();
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
    const sRGBImage lit = CapturePass();
    for (int i = 0; i < 2; ++i)
        objects[i]->SetCastShadow(false);
    const sRGBImage unshadowed = CapturePass();
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
    Press(SDLK_SPACE);
    EXPECT_TRUE(demo_->IsPCFOn());
    EXPECT_TRUE(g_Graphics->isPCFShadowEnabled());
    ASSERT_TRUE(Passes(3)); // no new event: no toggle
    EXPECT_TRUE(demo_->IsPCFOn());
    Push(SDL_MOUSEMOTION); // another event while Space is still held
    ASSERT_TRUE(Passes(1));
    EXPECT_FALSE(demo_->IsPCFOn());
    EXPECT_FALSE(g_Graphics->isPCFShadowEnabled());
    Release(SDLK_SPACE);
    EXPECT_FALSE(demo_->IsPCFOn());
}

TEST_F(ShadowDemoGL, QTogglesTheWireframeView) {
    ASSERT_FALSE(g_Graphics->GetWireFrameMode());
    Press(SDLK_q);
    EXPECT_TRUE(g_Graphics->GetWireFrameMode());
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_LINE);
    ASSERT_TRUE(Passes(2));
    EXPECT_TRUE(g_Graphics->GetWireFrameMode());
    Release(SDLK_q);
    Press(SDLK_q);
    EXPECT_FALSE(g_Graphics->GetWireFrameMode());
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_EQ(mode[0], GL_FILL);
    Release(SDLK_q);
}

TEST_F(ShadowDemoGL, HeldArrowKeysMoveTheLight15UnitsEveryFrame) {
    const CVector3 start = LightPosition();
    Push(SDL_KEYDOWN, SDLK_LEFT);
    ASSERT_TRUE(Passes(10));
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 150.0f);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z);
    Push(SDL_KEYDOWN, SDLK_RIGHT); // both held: they cancel out
    ASSERT_TRUE(Passes(4));
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 150.0f);
    Release(SDLK_LEFT);
    Release(SDLK_RIGHT);
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 135.0f) << "the release frame still moves";

    Push(SDL_KEYDOWN, SDLK_UP);
    ASSERT_TRUE(Passes(3));
    Release(SDLK_UP);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z + 45.0f);
    Push(SDL_KEYDOWN, SDLK_DOWN);
    ASSERT_TRUE(Passes(1));
    Release(SDLK_DOWN);
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
    Push(SDL_KEYDOWN, SDLK_ESCAPE);
    demo_->Run();
    EXPECT_EQ(demo_->Frames(), before + 1);
    Release(SDLK_ESCAPE);

    before = demo_->Frames();
    Push(SDL_QUIT);
    demo_->Run();
    EXPECT_EQ(demo_->Frames(), before + 1);
    CApp::SetRunOptions(sRunOptions());
}

using zarvo_test::RunProgram;
using zarvo_test::ProgramRun;

namespace {
size_t Count(const std::string& text, const std::string& what) {
    return zarvo_test::CountOccurrences(text, what);
}
} // namespace

TEST(ShadowDemoProgramGL, AFullScreenRunOfThreeHundredFramesRendersTheSceneAndSavesIt) {
    const std::string shot = zarvo_test::MakeTempDir("zarvo-shot") + "/frame.png";
    const ProgramRun run = RunProgram("--frames 300 --screenshot " + shot);
    EXPECT_EQ(run.status, 0) << run.output;
    for (const char* bad : {"Error", "Sorry", "Unable", "Failed", "Cannot", "Warnig"})
        EXPECT_EQ(run.output.find(bad), std::string::npos) << bad << " in:\n" << run.output;
    EXPECT_EQ(Count(run.output, "Zarvo Engine version 0.02..."), size_t(DEMO_COUNT))
        << "every application";
    EXPECT_NE(run.output.find("Saved frame 300 as " + shot), std::string::npos) << run.output;

    const sRGBImage image = ToRGBImage(IMG_Load(shot.c_str()));
    ASSERT_EQ(image.width, kWidth) << IMG_GetError();
    EXPECT_EQ(image.height, kHeight);
    std::set<Uint32> colours;
    double brightness = 0;
    int samples = 0;
    for (int y = 0; y < image.height; y += 4)
        for (int x = 0; x < image.width; x += 4) {
            const Pixel p = At(image, x, y);
            colours.insert(Uint32(p.r) | Uint32(p.g) << 8 | Uint32(p.b) << 16);
            brightness += p.Sum() / 3.0;
            ++samples;
        }
    EXPECT_GT(colours.size(), 1000u) << "the frame looks blank";
    EXPECT_GT(brightness / samples, 40.0) << "the frame is nearly black";

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
