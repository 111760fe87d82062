// The engine test application under X: driven pass by pass in the process with pushed
// key events, and run as the real program with its frame read back.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "demos/EngineTestApp.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "support/event_driver.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <cstdlib>
#include <cmath>
#include <string>

namespace {

// Mesa's software anisotropic filtering stalls frames for minutes; the demo asks for it.
const bool kAnisotropyHidden =
    setenv("MESA_EXTENSION_OVERRIDE",
           "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic", 1) == 0;

class EngineTestGL : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_TRUE(kAnisotropyHidden);
        sRunOptions windowed;
        windowed.windowed = true;
        CApp::SetRunOptions(windowed);
        testing::internal::CaptureStdout();
        app_ = new EngineTestApp();
        app_->Init();
        testing::internal::GetCapturedStdout();
    }
    static void TearDownTestSuite() {
        delete app_;
        app_ = nullptr;
        CApp::SetRunOptions(sRunOptions());
    }
    void SetUp() override { zarvo_test::DrainEvents(); }

    // One pass with `key` held down from its start (the key-up comes after).
    static bool PassHolding(SDLKey key) {
        zarvo_test::PushKey(key, true);
        return app_->RunPass();
    }
    static void Release(SDLKey key) {
        zarvo_test::PushKey(key, false);
        app_->RunPass();
    }
    // One more pass, saved through the run's screenshot seam before its swap.
    static zarvo_test::ShotImage Capture() {
        static int frame = 0;
        sRunOptions options;
        options.windowed = true;
        options.frameLimit = 1;
        options.screenshotFile =
            zarvo_test::MakeTempDir("enginetest") + "/f" + std::to_string(frame++) + ".bmp";
        CApp::SetRunOptions(options);
        testing::internal::CaptureStdout();
        app_->RunPass();
        testing::internal::GetCapturedStdout();
        sRunOptions windowed;
        windowed.windowed = true;
        CApp::SetRunOptions(windowed);
        return zarvo_test::LoadShot(options.screenshotFile);
    }
    static EngineTestApp* app_;
};
EngineTestApp* EngineTestGL::app_ = nullptr;

// Pixels of the box darker in `a` than in `b` by more than 30 levels (summed channels).
int DarkerIn(const zarvo_test::ShotImage& a, const zarvo_test::ShotImage& b, int x0, int y0,
             int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char *p = a.At(x, y), *q = b.At(x, y);
            n += (q[0] + q[1] + q[2]) - (p[0] + p[1] + p[2]) > 90;
        }
    return n;
}

int Differing(const zarvo_test::ShotImage& a, const zarvo_test::ShotImage& b, int x0, int y0,
              int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += std::abs(a.At(x, y)[1] - b.At(x, y)[1]) > 24;
    return n;
}

TEST_F(EngineTestGL, HeldKeysActEveryFrameAndWMovesTheCameraForward) {
    // Space toggles the shadow-volume drawing on each pass while it is held.
    const bool before = g_3DGameObjectManager->GetDrawingShadowVolume();
    ASSERT_TRUE(PassHolding(SDLK_SPACE));
    EXPECT_NE(g_3DGameObjectManager->GetDrawingShadowVolume(), before);
    ASSERT_TRUE(app_->RunPass());
    EXPECT_EQ(g_3DGameObjectManager->GetDrawingShadowVolume(), before);
    Release(SDLK_SPACE);
    const bool settled = g_3DGameObjectManager->GetDrawingShadowVolume();
    ASSERT_TRUE(app_->RunPass());
    EXPECT_EQ(g_3DGameObjectManager->GetDrawingShadowVolume(), settled);
    g_3DGameObjectManager->DrawingShadowVolume(false);

    // The left arrow moves the light 15 units along x per frame.
    const float x = app_->GetLight()->GetPosition()[0];
    ASSERT_TRUE(PassHolding(SDLK_LEFT));
    ASSERT_TRUE(app_->RunPass());
    EXPECT_FLOAT_EQ(app_->GetLight()->GetPosition()[0], x + 30.0f);
    Release(SDLK_LEFT);

    // W walks the camera towards where it looks. The camera reads SDL's keyboard state,
    // which pushed events do not reach, so the key is held there.
    const CVector3 from = *g_Camera->GetCameraPosition();
    const CVector3 view = *g_Camera->GetCameraView();
    SDL_GetKeyState(nullptr)[SDLK_w] = 1;
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(app_->RunPass());
    SDL_GetKeyState(nullptr)[SDLK_w] = 0;
    const CVector3 to = *g_Camera->GetCameraPosition();
    const CVector3 walked = to - from, ahead = view - from;
    EXPECT_GT(walked.x * ahead.x + walked.y * ahead.y + walked.z * ahead.z, 0.0f);

    // The pointer moved off the centre turns the view (mouse look), once it has been seen
    // at the centre.
    for (int i = 0; i < 3; ++i) {
        zarvo_test::WarpMouse(512, 384);
        ASSERT_TRUE(app_->RunPass());
    }
    const CVector3 looked = *g_Camera->GetCameraView() - *g_Camera->GetCameraPosition();
    zarvo_test::WarpMouse(512 + 60, 384);
    ASSERT_TRUE(app_->RunPass());
    ASSERT_TRUE(app_->RunPass());
    const CVector3 after = *g_Camera->GetCameraView() - *g_Camera->GetCameraPosition();
    const float cosine = (looked.x * after.x + looked.y * after.y + looked.z * after.z) /
                         (looked.length() * after.length());
    EXPECT_LT(cosine, 0.9999f) << "the view did not turn";
}

TEST_F(EngineTestGL, ShadowsFollowTheLightBoxesAreWhiteAndTheGunStaysWhileTheViewTurns) {
    const zarvo_test::ShotImage lit = Capture();
    ASSERT_TRUE(lit.Valid());
    // The character's shadow on the plane: darker pixels that go with the shadows.
    g_Graphics->EnableShadows(false);
    const zarvo_test::ShotImage plain = Capture();
    g_Graphics->EnableShadows(true);
    const int shaded = DarkerIn(lit, plain, 0, 150, 1024, 768);
    EXPECT_GT(shaded, 300) << "no shadow on the plane";

    // A light moved along x throws the shadow elsewhere.
    CLight* light = app_->GetLight();
    const float* p = light->GetPosition();
    const float was[4] = {p[0], p[1], p[2], p[3]};
    light->SetPosition(was[0] + 150.0f, was[1], was[2], was[3]);
    const zarvo_test::ShotImage moved = Capture();
    light->SetPosition(was[0], was[1], was[2], was[3]);
    EXPECT_GT(Differing(lit, moved, 0, 150, 1024, 768), shaded / 4) << "the shadow stayed";

    // Bounding boxes as white lines: the plane's outline over the far cobbles.
    int white = 0;
    for (int y = 150; y < 600; ++y)
        for (int x = 420; x < 1024; ++x) {
            const unsigned char* q = lit.At(x, y);
            white += q[0] > 235 && q[1] > 235 && q[2] > 235;
        }
    EXPECT_GT(white, 40) << "no bounding-box lines";

    // Turning the camera changes the scene but not the gun held in front of it.
    g_Camera->RotateView(12.0f, 0, 1, 0);
    const zarvo_test::ShotImage turned = Capture();
    g_Camera->RotateView(-12.0f, 0, 1, 0);
    EXPECT_GT(Differing(lit, turned, 0, 400, 560, 768), 5000) << "the view did not turn";
    // Inside the gun's body (its own animation moves it a little).
    EXPECT_LT(Differing(lit, turned, 690, 540, 770, 620), 1000) << "the gun moved with the view";
}

// Last in the suite: each ends the run.
TEST_F(EngineTestGL, EscapeAndAWindowCloseEndTheRun) {
    EXPECT_FALSE(PassHolding(SDLK_ESCAPE));
    Release(SDLK_ESCAPE);
    zarvo_test::DrainEvents();
    zarvo_test::PushQuit();
    EXPECT_FALSE(app_->RunPass());
}

bool Greenish(const unsigned char* p) {
    return p[1] > p[0] + 40 && p[1] > p[2] + 20;
}
bool Orange(const unsigned char* p) {
    return p[0] > p[1] + 20 && p[1] > p[2] + 10 && p[0] > 120;
}
bool Bluish(const unsigned char* p) {
    return p[2] > p[0] + 15;
}

int Count(const zarvo_test::ShotImage& image, int x0, int y0, int x1, int y1,
          bool (*is)(const unsigned char*)) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += is(image.At(x, y));
    return n;
}

double Brightness(const zarvo_test::ShotImage& image, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const unsigned char* p = image.At(x, y);
            sum += p[0] + p[1] + p[2];
        }
    return sum / (3.0 * (x1 - x0) * (y1 - y0));
}

} // namespace

TEST(EngineTestProgramGL, TheFrameShowsTheSceneWindowCrosshairGunAndLogo) {
    const std::string shot = zarvo_test::MakeTempDir("enginetest") + "/frame.png";
    const auto run = zarvo_test::RunProgram("--demo enginetest --windowed --frames 40 "
                                            "--screenshot " + shot);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(zarvo_test::FindErrorText(run.output), "") << run.output;
    const zarvo_test::ShotImage image = zarvo_test::LoadShot(shot);
    ASSERT_EQ(image.width, 1024) << run.output;
    ASSERT_EQ(image.height, 768);
    EXPECT_GT(zarvo_test::MeasureFrame(image).colours, 2000u) << "blank frame";

    // The information window fills (2, 2)-(402, 302) with its blue background; nothing of
    // it shows past its right edge above the plane's horizon.
    EXPECT_GT(Count(image, 10, 40, 390, 290, Bluish), 50000);
    EXPECT_EQ(Count(image, 410, 40, 600, 200, Bluish), 0);
    // The crosshair's green rings around the centre.
    EXPECT_GT(Count(image, 482, 354, 582, 454, Greenish), 40);
    // The logo in the bottom-right corner, 2 pixels from the edges.
    EXPECT_GT(Count(image, 700, 640, 1022, 766, Orange), 1000);
    // The lit cobbled plane fills the lower left of the view; the sky above it is black.
    EXPECT_GT(Brightness(image, 40, 600, 400, 700), 60.0);
    EXPECT_LT(Brightness(image, 500, 40, 1000, 120), 5.0);
    // The first-person gun stands in the lower part of the view, right of the centre.
    EXPECT_GT(Brightness(image, 620, 480, 760, 560), 40.0);
    // The vertex count in the default font, over the window.
    EXPECT_NE(run.output.find("Saved frame 40"), std::string::npos);
}
