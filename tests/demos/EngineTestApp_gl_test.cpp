// The engine test bed and the shadow demo driven by pushed keys and the pointer, frames read.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "demos/EngineTestApp.h"
#include "demos/testShadowMapping.h"
#include "math/3DMath.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "support/demo_fixtures.h"

using namespace zarvo_test;

// Pixels of the box where a and b differ: `darker` counts those darker in a by more than 90
// levels of summed channels, otherwise those whose green differs by more than 24.
static int Changed(const ShotImage& a, const ShotImage& b, Rect r, bool darker) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const unsigned char *p = a.At(x, y), *q = b.At(x, y);
            n += darker ? (q[0] + q[1] + q[2]) - (p[0] + p[1] + p[2]) > 90
                        : std::abs(p[1] - q[1]) > 24;
        }
    return n;
}
static CVector3 Ahead() {
    return *g_Camera->GetCameraView() - *g_Camera->GetCameraPosition();
}

using EngineTestGL = DemoGL<EngineTestApp>;

TEST_F(EngineTestGL, HeldKeysActEveryFrameWWalksForwardAndThePointerTurnsTheView) {
    const bool before = g_3DGameObjectManager->GetDrawingShadowVolume();
    Key(SDLK_SPACE, true); // toggles the shadow-volume drawing on each pass while held
    EXPECT_NE(g_3DGameObjectManager->GetDrawingShadowVolume(), before);
    Passes(1);
    EXPECT_EQ(g_3DGameObjectManager->GetDrawingShadowVolume(), before);
    Key(SDLK_SPACE, false);
    g_3DGameObjectManager->DrawingShadowVolume(false);
    Key(SDLK_q, true); // so does Q, the wireframe view
    GLint mode[2] = {0, 0};
    glGetIntegerv(GL_POLYGON_MODE, mode);
    EXPECT_TRUE(g_Graphics->GetWireFrameMode() && mode[0] == GL_LINE);
    Key(SDLK_q, false);
    g_Graphics->SetWireFrameMode(false);
    const float x = demo_->GetLight()->GetPosition()[0]; // 15 units along x a frame
    Key(SDLK_LEFT, true, 2);
    EXPECT_FLOAT_EQ(demo_->GetLight()->GetPosition()[0], x + 30.0f);
    Key(SDLK_LEFT, false);
    // The camera reads SDL's keyboard state, which pushed events do not reach.
    const CVector3 from = *g_Camera->GetCameraPosition(), ahead = Ahead();
    SDL_GetKeyState(nullptr)[SDLK_w] = 1;
    Passes(4);
    SDL_GetKeyState(nullptr)[SDLK_w] = 0;
    EXPECT_GT(Dot(*g_Camera->GetCameraPosition() - from, ahead), 0.0f);
    for (int i = 0; i < 3; ++i) { // mouse look, once the pointer was seen at the centre
        WarpMouse(512, 384);
        Passes(1);
    }
    const CVector3 looked = Ahead();
    WarpMouse(512 + 60, 384);
    Passes(2);
    EXPECT_GT(AngleBetweenVectors(looked, Ahead()), 0.014) << "the view did not turn";
}

TEST_F(EngineTestGL, ShadowsOnlyDarkenAndFollowTheLightTheGunStaysWhileTheViewTurnsEscapeEnds) {
    // Frames with the scene changed by `change`, which then undoes itself.
    auto captureWith = [](auto change) {
        change(1);
        const ShotImage shot = Capture();
        change(-1);
        return shot;
    };
    const ShotImage lit = Capture();
    ASSERT_TRUE(lit.Valid());
    const ShotImage plain = captureWith([](int s) { g_Graphics->EnableShadows(s < 0); });
    const int shaded = Changed(lit, plain, {0, 150, 1024, 768}, true);
    EXPECT_GT(shaded, 300) << "no shadow on the plane";
    EXPECT_LT(Changed(plain, lit, {0, 150, 1024, 768}, true), shaded / 4) << "shadows only darken";
    const ShotImage moved = captureWith([&](int s) {
        const float* p = demo_->GetLight()->GetPosition();
        demo_->GetLight()->SetPosition(p[0] + s * 150.0f, p[1], p[2], p[3]);
    });
    EXPECT_GT(Changed(lit, moved, {0, 150, 1024, 768}, false), shaded / 4) << "the shadow stayed";
    const ShotImage turned = captureWith([](int s) { g_Camera->RotateView(s * 12.0f, 0, 1, 0); });
    EXPECT_GT(Changed(lit, turned, {0, 400, 560, 768}, false), 5000) << "the view did not turn";
    // Inside the gun's body (its own animation moves it a little).
    EXPECT_LT(Changed(lit, turned, {690, 540, 770, 620}, false), 1000) << "the gun turned too";

    ASSERT_TRUE(PushKey(SDLK_ESCAPE, true)); // Escape and a window close each end the run
    EXPECT_FALSE(demo_->RunPass());
    PushKey(SDLK_ESCAPE, false);
    demo_->RunPass();
    DrainEvents();
    ASSERT_TRUE(PushQuit());
    EXPECT_FALSE(demo_->RunPass());
}

using ShadowDemoGL = DemoGL<testShadowMapping>;
TEST_F(ShadowDemoGL, SpaceTogglesPcfOnItsKeyDownAndOnLaterEventsWhileHeldAndQTheWireframe) {
    ASSERT_FALSE(demo_->IsPCFOn());
    Key(SDLK_SPACE, true);
    EXPECT_TRUE(demo_->IsPCFOn() && g_Graphics->isPCFShadowEnabled());
    Passes(3); // no new event: no toggle
    EXPECT_TRUE(demo_->IsPCFOn());
    ASSERT_TRUE(PushMouseMotion(10, 10)); // another event while Space is held
    Passes(1);
    EXPECT_FALSE(demo_->IsPCFOn() || g_Graphics->isPCFShadowEnabled());
    Key(SDLK_SPACE, false);
    Key(SDLK_q, true);
    EXPECT_TRUE(g_Graphics->GetWireFrameMode());
    Key(SDLK_q, false);
    g_Graphics->SetWireFrameMode(false);
}
