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

std::vector<Uint8> KeysDown(std::initializer_list<SDLKey> keys) {
    std::vector<Uint8> state(SDLK_LAST, 0);
    for (SDLKey k : keys)
        state[k] = 1;
    return state;
}

// A camera at the origin looking at (0, 0, -10) with y up.
struct AheadCamera : CCamera {
    AheadCamera() { PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0); }
};

} // namespace

TEST(CameraMouseLook, TurnsByFiveThousandthsRadianPerPixelFromTheCentre) {
    // 20 pixels left of the centre: a yaw of +0.1 rad about +y, no pitch.
    AheadCamera camera;
    EXPECT_TRUE(camera.TurnByMouse(380, 300, 400, 300));
    const float a = 20 * CCamera::MOUSE_SENSITIVITY;
    ExpectNear(*camera.GetCameraView(), -10 * std::sin(a), 0, -10 * std::cos(a));
    ExpectNear(*camera.GetLookDirection(), -std::sin(a), 0, -std::cos(a));
    // 10 pixels above the centre pitches up by 0.05 rad; the eye distance is kept.
    AheadCamera pitched;
    EXPECT_TRUE(pitched.TurnByMouse(400, 290, 400, 300));
    const float p = 10 * CCamera::MOUSE_SENSITIVITY;
    ExpectNear(*pitched.GetCameraView(), 0, 10 * std::sin(p), -10 * std::cos(p));
    // At the centre nothing turns and no warp is asked for.
    AheadCamera still;
    EXPECT_FALSE(still.TurnByMouse(512, 384, 512, 384));
    ExpectNear(*still.GetCameraView(), 0, 0, -10, 0);
    ExpectNear(*still.GetLookDirection(), 0, 0, 0, 0);
}

TEST(CameraMouseLook, ViewAlongTheUpVectorSkipsThePitchAndStaysFinite) {
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 10, 0, 0, 1, 0);
    EXPECT_TRUE(camera.TurnByMouse(390, 280, 400, 300));
    // Only the yaw about y acted, which leaves a view straight up where it was.
    ExpectNear(*camera.GetCameraView(), 0, 10, 0);
    // The strafe vector has no direction either; strafing must not poison the eye.
    camera.Update();
    camera.StrafeCamera(5);
    const CVector3 eye = *camera.GetCameraPosition();
    EXPECT_TRUE(std::isfinite(eye.x) && std::isfinite(eye.y) && std::isfinite(eye.z));
}

TEST(CameraKeys, BeforeTheFirstTurnForwardAndBackFollowTheViewAndStrafingWorks) {
    AheadCamera camera;
    camera.Update(); // strafe vector only: no graphics core or input in this test
    ExpectNear(*camera.GetStrafeVector(), 1, 0, 0);
    camera.MoveByKeys(KeysDown({SDLK_w}).data(), 4);
    camera.MoveByKeys(KeysDown({SDLK_s}).data(), 2);
    ExpectNear(*camera.GetCameraPosition(), 0, 0, -2);
    ExpectNear(*camera.GetLookDirection(), 0, 0, 0, 0); // still no turn recorded
    camera.MoveByKeys(KeysDown({SDLK_d}).data(), 3);
    ExpectNear(*camera.GetCameraPosition(), 3, 0, -2);
    ExpectNear(*camera.GetCameraView(), 3, 0, -12);
    camera.MoveByKeys(KeysDown({SDLK_a}).data(), 1);
    ExpectNear(*camera.GetCameraPosition(), 2, 0, -2);
}

TEST(CameraKeys, MovementFollowsTheLookDirectionAndOppositeKeysCancel) {
    AheadCamera camera;
    camera.RotateView(0.0f, 0, 1, 0); // sets the look direction to -z
    camera.MoveByKeys(KeysDown({SDLK_w}).data(), 4);
    ExpectNear(*camera.GetCameraPosition(), 0, 0, -4);
    ExpectNear(*camera.GetCameraView(), 0, 0, -14);
    camera.MoveByKeys(KeysDown({SDLK_w, SDLK_s, SDLK_a, SDLK_d}).data(), 4);
    ExpectNear(*camera.GetCameraPosition(), 0, 0, -4);
    // Strafing keeps the height even with a tilted strafe vector.
    camera.PositionCamera(0, 0, 0, 10, 0, 0, 0, 1, 1);
    camera.Update();
    camera.StrafeCamera(2);
    EXPECT_FLOAT_EQ(camera.GetCameraPosition()->y, 0.0f);
}

TEST(CameraManager, TheNewestCameraIsActualMovesGoToItAndOutOfRangeIsIgnored) {
    CCameraManager manager;
    manager.MoveLeft(3); // without cameras everything is a no-op
    manager.MoveRelative(1, 1);
    EXPECT_EQ(manager.GetActualCameraPosition(), nullptr);
    EXPECT_EQ(manager.GetCameraPosition(0), nullptr);
    manager.RegisterCamera(new CCamera2D(1, 2));
    manager.RegisterCamera(new CCamera2D(30, 40));
    EXPECT_EQ(manager.GetCameraCount(), 2u);
    EXPECT_EQ(manager.GetActualCameraIndex(), 1u);
    manager.setActualCamera(2); // ignored
    EXPECT_EQ(manager.GetActualCameraIndex(), 1u);
    manager.setActualCamera(0);
    // The camera moves opposite to the scene.
    manager.MoveLeft(10);
    manager.MoveDown(2);
    manager.MoveRight(4);
    manager.MoveRelative(4, 0);
    manager.MoveUp(1);
    manager.MoveDown(1);
    EXPECT_FLOAT_EQ(manager.GetCameraPosition(0)->x, 11.0f);
    EXPECT_FLOAT_EQ(manager.GetCameraPosition(0)->y, 0.0f);
    EXPECT_FLOAT_EQ(manager.GetCameraPosition(1)->x, 30.0f);
    // An index past the count answers with the actual camera.
    EXPECT_EQ(manager.GetCameraPosition(7), manager.GetActualCameraPosition());
    EXPECT_EQ(manager.GetActualCameraPosition(), manager.GetCameraPosition(0));
}
