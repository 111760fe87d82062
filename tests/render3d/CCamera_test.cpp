#include "render3d/CCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "render3d/CCameraManager.h"
#include "scene2d/CCamera2D.h"

namespace {

void ExpectNear(const CVector3& v, float x, float y, float z, float eps = 1e-4f) {
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

void Keys(CCamera& camera, std::initializer_list<SDLKey> keys, float speed) {
    std::vector<Uint8> state(SDLK_LAST, 0);
    for (SDLKey k : keys)
        state[k] = 1;
    camera.MoveByKeys(state.data(), speed);
}

struct AheadCamera : CCamera {
    AheadCamera() { PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0); }
};

} // namespace

TEST(CameraMouseLook, ViewAlongTheUpVectorSkipsThePitchAndStaysFinite) {
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 10, 0, 0, 1, 0);
    EXPECT_TRUE(camera.TurnByMouse(390, 280, 400, 300));
    ExpectNear(*camera.GetCameraView(), 0, 10, 0); // the yaw about y leaves it straight up
    // Neither has the strafe vector; strafing must not poison the eye.
    camera.Update();
    camera.StrafeCamera(5);
    const CVector3 eye = *camera.GetCameraPosition();
    EXPECT_TRUE(std::isfinite(eye.x) && std::isfinite(eye.y) && std::isfinite(eye.z));
}

TEST(CameraKeys, MovesFollowTheViewBeforeTheFirstTurnAndTheLookDirectionAfter) {
    AheadCamera camera, turned;
    camera.Update(); // strafe vector only: no graphics core or input in this test
    ExpectNear(*camera.GetStrafeVector(), 1, 0, 0);
    Keys(camera, {SDLK_w}, 4);
    Keys(camera, {SDLK_s}, 2);
    Keys(camera, {SDLK_d}, 3);
    ExpectNear(*camera.GetLookDirection(), 0, 0, 0, 0); // still no turn recorded
    ExpectNear(*camera.GetCameraView(), 3, 0, -12);
    Keys(camera, {SDLK_a}, 1);
    ExpectNear(*camera.GetCameraPosition(), 2, 0, -2);
    turned.RotateView(0.0f, 0, 1, 0); // sets the look direction to -z
    Keys(turned, {SDLK_w}, 4);
    Keys(turned, {SDLK_w, SDLK_s, SDLK_a, SDLK_d}, 4); // opposite keys cancel
    ExpectNear(*turned.GetCameraView(), 0, 0, -14);
    // Strafing keeps the height even with a tilted strafe vector.
    turned.PositionCamera(0, 0, 0, 10, 0, 0, 0, 1, 1);
    turned.Update();
    turned.StrafeCamera(2);
    EXPECT_FLOAT_EQ(turned.GetCameraPosition()->y, 0.0f);
}

TEST(CameraManager, TheNewestCameraIsActualMovesGoToItAndOutOfRangeIsIgnored) {
    CCameraManager manager;
    manager.MoveLeft(3); // without cameras everything is a no-op
    EXPECT_TRUE(manager.GetActualCameraPosition() == nullptr &&
                manager.GetCameraPosition(0) == nullptr);
    manager.RegisterCamera(new CCamera2D(1, 2));
    manager.RegisterCamera(new CCamera2D(30, 40));
    EXPECT_EQ(manager.GetActualCameraIndex(), 1u);
    manager.setActualCamera(2); // ignored
    EXPECT_EQ(manager.GetActualCameraIndex(), 1u);
    manager.setActualCamera(0);
    manager.MoveLeft(10);
    manager.MoveDown(3);
    manager.MoveRight(4);
    manager.MoveRelative(4, 0);
    manager.MoveUp(1);
    EXPECT_TRUE(manager.GetCameraPosition(0)->x == 11.0f && manager.GetCameraPosition(0)->y == 0);
    EXPECT_EQ(manager.GetCameraPosition(1)->x, 30.0f);
    EXPECT_EQ(manager.GetCameraPosition(7), manager.GetCameraPosition(0));
}
