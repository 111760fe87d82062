#include "render3d/CCamera.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

void ExpectNear(const CVector3& v, float x, float y, float z, float eps = 1e-4f) {
    EXPECT_NEAR(v.x, x, eps);
    EXPECT_NEAR(v.y, y, eps);
    EXPECT_NEAR(v.z, z, eps);
}

bool IsFinite(const CVector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

std::vector<Uint8> KeysDown(std::initializer_list<SDLKey> keys) {
    std::vector<Uint8> state(SDLK_LAST, 0);
    for (SDLKey k : keys)
        state[k] = 1;
    return state;
}

} // namespace

TEST(CameraMouseLook, TurnsByFiveThousandthsRadianPerPixelFromTheCentre) {
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);

    // 20 pixels left of the centre: a yaw of +0.1 rad about +y, no pitch.
    EXPECT_TRUE(camera.TurnByMouse(380, 300, 400, 300));
    const float a = 20 * CCamera::MOUSE_SENSITIVITY;
    ExpectNear(*camera.GetCameraView(), -10 * std::sin(a), 0, -10 * std::cos(a));
    ExpectNear(*camera.GetLookDirection(), -std::sin(a), 0, -std::cos(a));

    // 10 pixels above the centre pitches up by 0.05 rad; the eye distance is kept.
    CCamera pitched;
    pitched.PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);
    EXPECT_TRUE(pitched.TurnByMouse(400, 290, 400, 300));
    const float p = 10 * CCamera::MOUSE_SENSITIVITY;
    ExpectNear(*pitched.GetCameraView(), 0, 10 * std::sin(p), -10 * std::cos(p));
}

TEST(CameraMouseLook, PointerAtTheCentreNeitherTurnsNorAsksForAWarp) {
    CCamera camera;
    camera.PositionCamera(1, 2, 3, 4, 5, 6, 0, 1, 0);
    EXPECT_FALSE(camera.TurnByMouse(512, 384, 512, 384));
    ExpectNear(*camera.GetCameraView(), 4, 5, 6, 0);
    ExpectNear(*camera.GetLookDirection(), 0, 0, 0, 0);
}

TEST(CameraMouseLook, ViewAlongTheUpVectorSkipsThePitchAndStaysFinite) {
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 10, 0, 0, 1, 0);
    EXPECT_TRUE(camera.TurnByMouse(390, 280, 400, 300));
    EXPECT_TRUE(IsFinite(*camera.GetCameraView()));
    // Only the yaw about y acted, which leaves a view straight up where it was.
    ExpectNear(*camera.GetCameraView(), 0, 10, 0);

    // The strafe vector has no direction either; strafing must not poison the eye.
    camera.Update();
    camera.StrafeCamera(5);
    EXPECT_TRUE(IsFinite(*camera.GetCameraPosition()));
}

TEST(CameraKeys, BeforeTheFirstTurnForwardAndBackFollowTheViewAndStrafingWorks) {
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);
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
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);
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
