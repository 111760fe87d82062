// The five 2D demos under X: each run as the real program, and driven pass by pass in
// this process with a fake clock and pushed keys, measured in the saved frames.
#include <gtest/gtest.h>

#include "core/CommandLine.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "demos/testGameObject.h"
#include "demos/testImageFade.h"
#include "demos/testParallaxScroll.h"
#include "demos/testParticleSystem2D.h"
#include "image/CTexture.h"
#include "scene2d/CGameObject.h"
#include "scene2d/CGameObjectManager.h"
#include "scene2d/CParticle2D.h"
#include "scene2d/CPictureFade.h"
#include "support/event_driver.h"
#include "support/gl_context.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <cstdlib>
#include <string>

// llvmpipe's anisotropic filtering stalls; the demos turn it on, so hide it. Set before
// any context exists; the program runs inherit it.
static const bool kAnisotropyHidden =
    setenv("MESA_EXTENSION_OVERRIDE",
           "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic", 1) == 0;

using zarvo_test::ShotImage;

namespace {

struct Rect {
    int left, top, right, bottom; // right and bottom exclusive
};

// Pixels in r that pass the test, with a brightness floor that skips the black clear.
template <typename Test> int Count(const ShotImage& shot, Rect r, Test test, int minSum = 60) {
    int n = 0;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, shot.height); ++y)
        for (int x = std::max(r.left, 0); x < std::min(r.right, shot.width); ++x) {
            const unsigned char* p = shot.At(x, y);
            n += p[0] + p[1] + p[2] >= minSum && test(p[0], p[1], p[2]);
        }
    return n;
}
double Brightness(const ShotImage& shot, Rect r) {
    double sum = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            sum += shot.At(x, y)[0] + shot.At(x, y)[1] + shot.At(x, y)[2];
    return sum / ((r.right - r.left) * (r.bottom - r.top));
}
bool Any(int, int, int) {
    return true;
}
bool Orange(int r, int g, int b) {
    return r > g + 20 && g > b + 10;
}
bool FireColoured(int r, int g, int b) {
    return r > 120 && r > g + 30 && g >= b;
}
bool Grey(int r, int g, int b) {
    return std::abs(r - g) < 16 && std::abs(g - b) < 16;
}

// Caption lines of font 1 at (1, y); the logo in the bottom-right corner.
Rect CaptionAt(int y) {
    return {0, y - 1, 420, y + 18};
}
const Rect kLogoCorner{1024 - 330, 768 - 122, 1024 - 5, 768 - 5};

Uint32 g_TickStep = 0;
Uint32 g_Ticks = 0;
Uint32 FakeTicks() {
    return g_Ticks += g_TickStep;
}

// The demo with its frame count in reach.
template <typename Base> class Exposed : public Base {
public:
    int Frames() const { return this->GetFramesPresented(); }
};

sRunOptions Windowed() {
    sRunOptions options;
    options.windowed = true;
    return options;
}

// One demo for a whole suite, Init'd once in a window, driven by fake 20 ms frames.
template <typename Base> class Demo2DGL : public testing::Test {
protected:
    static void SetUpTestSuite() {
        CUtils::SetTickSource(FakeTicks);
        g_TickStep = 20;
        CApp::SetRunOptions(Windowed());
        testing::internal::CaptureStdout();
        demo_ = new Exposed<Base>();
        demo_->Init();
        testing::internal::GetCapturedStdout();
        zarvo_test::DrainEvents();
        Passes(2); // the first interval measures from an earlier clock
    }
    static void TearDownTestSuite() {
        // The GL context outlives the demo in this process. The 2D frame leaves one more
        // pixel view on the projection stack each frame, and the frame clock must not
        // run backwards for the next suite: leave both as a fresh process has them.
        zarvo_test::PopMatrixStacksToBase();
        g_Ticks = 0;
        g_TickStep = 0;
        g_Utils->CalculateFrameRate();
        delete demo_;
        demo_ = nullptr;
        CUtils::SetTickSource(nullptr);
        CApp::SetRunOptions(sRunOptions());
    }
    static void Passes(int count) {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(demo_->RunPass());
    }
    // One more pass, saved before its swap.
    static ShotImage CapturePass() {
        sRunOptions options = Windowed();
        options.frameLimit = demo_->Frames() + 1;
        options.screenshotFile = zarvo_test::MakeTempDir("demo2d") + "/frame.bmp";
        CApp::SetRunOptions(options);
        testing::internal::CaptureStdout();
        demo_->RunPass();
        testing::internal::GetCapturedStdout();
        CApp::SetRunOptions(Windowed());
        return zarvo_test::LoadShot(options.screenshotFile);
    }

    static Exposed<Base>* demo_;
};
template <typename Base> Exposed<Base>* Demo2DGL<Base>::demo_ = nullptr;

} // namespace

using FadeDemoGL = Demo2DGL<testImageFade>;

TEST_F(FadeDemoGL, ThePictureFadesOutThenInAgain) {
    CPictureFade* fade = demo_->GetPictureFade();
    const CTexture* picture = fade->GetPicture();
    ASSERT_GT(picture->GetWidth(), 0.0f) << "picture not loaded";
    const Rect area{300, 300, 300 + int(picture->GetWidth()), 300 + int(picture->GetHeight())};

    // 0.3 per second at 20 ms a frame: about 160 frames down and as many up. The light
    // of the picture's place follows the fade's alpha down to its turn, then up again.
    std::vector<float> alphas;
    std::vector<double> light;
    for (int sample = 0; sample < 16; ++sample, Passes(21)) {
        light.push_back(Brightness(CapturePass(), area));
        alphas.push_back(fade->GetAlpha());
    }
    const size_t turn = std::min_element(alphas.begin(), alphas.end()) - alphas.begin();
    ASSERT_GT(turn, 2u);
    ASSERT_LT(turn, alphas.size() - 3);
    EXPECT_LT(alphas[turn], 0.15f);
    EXPECT_LT(light[turn], light[0] * 0.2);
    for (size_t i = 1; i < alphas.size(); ++i)
        EXPECT_EQ(light[i] < light[i - 1], i <= turn) << "sample " << i;
}

using GameObjectDemoGL = Demo2DGL<testGameObject>;

TEST_F(GameObjectDemoGL, TheObjectMovesAlongItsDirectionAndRTurnsIt) {
    CGameObject2D* ship = demo_->GetGameObject();
    ASSERT_EQ(g_2DGameObjectManager->GetObjectCount(), 1u);
    EXPECT_EQ(ship->GetSpeed(), 100.0f);
    EXPECT_EQ(ship->GetPosition().y, 200.0f);

    // 100 px/s along (0, 1): 2 pixels a 20 ms frame, drawn there by the engine's pass.
    ship->SetDirection(CVector2(0.0f, 3.0f));
    Passes(50);
    EXPECT_NEAR(ship->GetPosition().y, 300.0f, 1e-3);
    EXPECT_EQ(ship->GetPosition().x, 200.0f);
    const ShotImage shot = CapturePass();
    EXPECT_NEAR(ship->GetPosition().y, 302.0f, 1e-3);
    EXPECT_LT(Count(shot, {200, 200, 264, 290}, Any), 20) << "nothing left at the old place";
    EXPECT_GT(Count(shot, {200, 302, 264, 366}, Any), 500);

    ship->SetDirection(CVector2());
    zarvo_test::PushKey(SDLK_r, true);
    Passes(10);
    EXPECT_EQ(ship->GetRotate(), 10.0f);
    zarvo_test::PushKey(SDLK_r, false);
    Passes(1);
}

using ParallaxDemoGL = Demo2DGL<testParallaxScroll>;

TEST_F(ParallaxDemoGL, ArrowKeysScrollLayersTwoAndThreeAtTheirSpeedsOnly) {
    CParallaxScroll& scroll = demo_->GetScroll();
    ASSERT_EQ(scroll.GetLayer(2)->size(), 5u);
    auto at = [&](unsigned int layer) { return (*scroll.GetLayer(layer))[0]->GetPosition(); };

    zarvo_test::PushKey(SDLK_RIGHT, true);
    Passes(10);
    EXPECT_NEAR(at(2).x, -71.0f, 1e-3);
    EXPECT_NEAR(at(3).x, -19.0f, 1e-3);
    EXPECT_EQ(at(1).x, 0.0f);
    zarvo_test::PushKey(SDLK_DOWN, true); // both held: both apply
    Passes(10);
    EXPECT_NEAR(at(2).x, -142.0f, 1e-3);
    EXPECT_NEAR(at(2).y, 71.0f, 1e-3);
    EXPECT_EQ(at(1).y, 0.0f);
    zarvo_test::PushKey(SDLK_RIGHT, false);
    zarvo_test::PushKey(SDLK_DOWN, false);
    Passes(2); // the release frames still move
    const CVector2 held = at(2);
    Passes(5);
    EXPECT_EQ(at(2).x, held.x);
    EXPECT_NEAR((*scroll.GetLayer(2))[1]->GetPosition().x - held.x, 1024.0f, 1e-3);
}

using ParticlesDemoGL = Demo2DGL<testParticleSystem2D>;

TEST_F(ParticlesDemoGL, FireAndGreySmokeRiseAboveTheirEmittersAndTheSmokeGrows) {
    Passes(60);
    const ShotImage shot = CapturePass();
    const Rect aboveFire{190, 80, 390, 400}, aboveSmoke{400, 40, 700, 400};
    EXPECT_GT(Count(shot, aboveFire, FireColoured), 2000) << "fire";
    EXPECT_LT(Count(shot, aboveFire, Grey, 90), Count(shot, aboveFire, FireColoured) / 10);
    EXPECT_GT(Count(shot, aboveSmoke, Grey, 30), 2000) << "smoke";
    EXPECT_EQ(Count(shot, aboveSmoke, FireColoured), 0);
    EXPECT_LT(Count(shot, {0, 420, 1024, 620}, Any), 50) << "nothing below the emitters";

    int grown = 0;
    for (unsigned int i = 0; i < demo_->GetSmoke().GetParticleCount(); ++i)
        grown += demo_->GetSmoke().GetParticle(i)->GetSize().x > 31.0f;
    EXPECT_GT(grown, 150);
    EXPECT_EQ(demo_->GetFire().GetParticle(0)->GetSize().x, 40.0f);
}

// The real program, once per demo: it runs, saves its last frame and reports nothing
// wrong.
TEST(Demos2DProgramGL, EachDemoRunsAndDrawsItsScene) {
    struct Run {
        const char* name;
        int frames;
        Rect feature; // where the demo's own drawing must show
        int captionY;
    };
    const Run runs[] = {
        {"fade", 5, {300, 300, 620, 412}, 110},       {"kavrix", 5, {300, 300, 620, 412}, 110},
        {"gameobject", 5, {200, 200, 264, 264}, 110}, {"parallax", 5, {0, 150, 1024, 600}, 50},
        {"particles2d", 30, {190, 80, 700, 400}, 50},
    };
    for (const Run& r : runs) {
        const std::string shot = zarvo_test::MakeTempDir("demo2d-run") + "/frame.png";
        const zarvo_test::ProgramRun run =
            zarvo_test::RunProgram(std::string("--demo ") + r.name + " --windowed --frames " +
                                   std::to_string(r.frames) + " --screenshot " + shot);
        EXPECT_EQ(run.status, 0) << r.name << ":\n" << run.output;
        EXPECT_EQ(zarvo_test::FindErrorText(run.output), "") << r.name << ":\n" << run.output;
        EXPECT_EQ(zarvo_test::CountOccurrences(run.output, "Zarvo Engine version 0.02..."),
                  size_t(DEMO_COUNT))
            << r.name << ": every application is constructed";
        const ShotImage image = zarvo_test::LoadShot(shot);
        ASSERT_TRUE(image.Valid()) << r.name << ": no screenshot";
        EXPECT_GT(Count(image, r.feature, Any), 1000) << r.name;
        EXPECT_GT(Count(image, CaptionAt(r.captionY), Any), 150) << r.name << " caption";
        EXPECT_GT(Count(image, kLogoCorner, Orange, 200), 1000) << r.name << " logo";
    }
}
