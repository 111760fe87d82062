#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "support/gl_context.h"
#include "math/CFrustum.h"
#include "render3d/CCamera.h"

namespace {

void LoadPerspective() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 1000.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

} // namespace

TEST(CameraGL, LookLoadsExactlyWhatGluLookAtGives) {
    ZARVO_REQUIRE_GL(64, 64);
    CCamera camera;
    camera.PositionCamera(12, -3, 40, 1, 2, -5, 0.1f, 1, 0);

    LoadPerspective();
    gluLookAt(12, -3, 40, 1, 2, -5, 0.1f, 1, 0);
    float expected[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);

    glLoadIdentity();
    camera.Look();
    float actual[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, actual);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(actual[i], expected[i]) << i;
}

TEST(CameraGL, LookRecomputesTheFrustumFromTheCurrentMatrices) {
    ZARVO_REQUIRE_GL(64, 64);
    CCamera camera;
    CFrustum* frustum = camera.GetFrustum();
    ASSERT_NE(frustum, nullptr);

    LoadPerspective();
    camera.PositionCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
    camera.Look();
    EXPECT_TRUE(frustum->PointInFrustum(0, 0, -50));
    EXPECT_FALSE(frustum->PointInFrustum(0, 0, 50));

    // Turned around, the same points swap sides; the frustum object is the same one.
    glLoadIdentity();
    camera.PositionCamera(0, 0, 0, 0, 0, 1, 0, 1, 0);
    camera.Look();
    EXPECT_EQ(camera.GetFrustum(), frustum);
    EXPECT_FALSE(frustum->PointInFrustum(0, 0, -50));
    EXPECT_TRUE(frustum->PointInFrustum(0, 0, 50));
}

TEST(CameraGL, InverseMatrixUndoesTheLoadedView) {
    ZARVO_REQUIRE_GL(64, 64);
    CCamera camera;
    camera.PositionCamera(68, 80, 68, 1, 5, 1, 0, 1, 0);
    LoadPerspective();
    camera.Look();
    float view[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    const float* inv = camera.GetInverseMatrix();
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += inv[k * 4 + row] * view[col * 4 + k];
            EXPECT_NEAR(sum, row == col ? 1.0f : 0.0f, 1e-4f) << row << "," << col;
        }
    // The inverse view carries the origin to the eye.
    EXPECT_NEAR(inv[12], 68.0f, 1e-3f);
    EXPECT_NEAR(inv[13], 80.0f, 1e-3f);
    EXPECT_NEAR(inv[14], 68.0f, 1e-3f);
}

TEST(CameraGL, MouseLookTurnsAndWarpsThePointerBackToTheCentre) {
    // The graphics core's default window is 1024 x 768, so the centre is (512, 384).
    ZARVO_REQUIRE_GL(1024, 768);
    CGraphicsCore graphics;
    CEventManager events;
    g_Graphics = &graphics;
    g_EventManager = &events;

    SDL_WarpMouse(532, 374);
    SDL_PumpEvents();
    events.PollEvents();
    if (events.GetMouseX() != 532 || events.GetMouseY() != 374) {
        g_Graphics = nullptr;
        g_EventManager = nullptr;
        GTEST_SKIP() << "this display does not move the pointer";
    }

    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);
    camera.Update();

    // 10 pixels above the centre pitch up by 0.05 rad, 20 to the right yaw by -0.1 rad.
    const float pitch = 0.05f, yaw = -0.1f;
    const CVector3 view = *camera.GetCameraView();
    EXPECT_NEAR(view.x, -std::sin(yaw) * 10 * std::cos(pitch), 1e-4f);
    EXPECT_NEAR(view.y, 10 * std::sin(pitch), 1e-4f);
    EXPECT_NEAR(view.z, -std::cos(yaw) * 10 * std::cos(pitch), 1e-4f);

    SDL_PumpEvents();
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    EXPECT_EQ(x, 512);
    EXPECT_EQ(y, 384);

    // Back at the centre: the next frame turns nothing.
    events.PollEvents();
    camera.Update();
    EXPECT_EQ(camera.GetCameraView()->x, view.x);
    EXPECT_EQ(camera.GetCameraView()->y, view.y);

    g_Graphics = nullptr;
    g_EventManager = nullptr;
}
