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

TEST(CameraRotation, KeepsTheEyeToViewDistanceAndNormalisesTheLookDirection) {
    CCamera camera;
    camera.PositionCamera(5, 1, 5, 5, 1, -15, 0, 1, 0);
    camera.RotateView(0.7f, 0, 1, 0);
    const CVector3 v = *camera.GetCameraView() - *camera.GetCameraPosition();
    EXPECT_NEAR(v.length(), 20.0f, 1e-3f);
    EXPECT_NEAR(camera.GetLookDirection()->length(), 1.0f, 1e-5f);
    // A quarter turn about +y takes -z to -x.
    camera.PositionCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
    camera.RotateView(static_cast<float>(M_PI / 2), 0, 1, 0);
    ExpectNear(*camera.GetCameraView(), -1, 0, 0);
}

TEST(CameraKeys, ForwardAndBackNeedALookDirectionWhileStrafingDoesNot) {
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);
    camera.Update(); // strafe vector only: no graphics core or input in this test
    ExpectNear(*camera.GetStrafeVector(), 1, 0, 0);

    camera.MoveByKeys(KeysDown({SDLK_w}).data(), 4);
    camera.MoveByKeys(KeysDown({SDLK_s}).data(), 2);
    ExpectNear(*camera.GetCameraPosition(), 0, 0, 0, 0);

    camera.MoveByKeys(KeysDown({SDLK_d}).data(), 3);
    ExpectNear(*camera.GetCameraPosition(), 3, 0, 0);
    ExpectNear(*camera.GetCameraView(), 3, 0, -10);
    camera.MoveByKeys(KeysDown({SDLK_a}).data(), 1);
    ExpectNear(*camera.GetCameraPosition(), 2, 0, 0);
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

TEST(CameraKeys, MoveToCarriesTheViewAlong) {
    CCamera camera;
    camera.PositionCamera(1, 1, 1, 2, 3, 4, 0, 1, 0);
    CVector3 target(10, 0, -5);
    camera.MoveTo(target);
    ExpectNear(*camera.GetCameraPosition(), 10, 0, -5, 0);
    ExpectNear(*camera.GetCameraView(), 11, 2, -2, 0);
}

TEST(CameraInverse, InverseTimesRigidViewIsIdentity) {
    // A rotation of 30 degrees about a tilted axis plus a translation, column-major.
    const float a = 0.5235988f;
    const float c = std::cos(a), s = std::sin(a);
    const float x = 0.48f, y = 0.6f, z = 0.64f; // unit axis
    const float t = 1 - c;
    const float m[16] = {t * x * x + c,
                         t * x * y + z * s,
                         t * x * z - y * s,
                         0,
                         t * x * y - z * s,
                         t * y * y + c,
                         t * y * z + x * s,
                         0,
                         t * x * z + y * s,
                         t * y * z - x * s,
                         t * z * z + c,
                         0,
                         -12,
                         7.5f,
                         300,
                         1};
    float inv[16];
    CCamera::InvertRigidMatrix(m, inv);
    for (int col = 0; col < 4; ++col)
        for (int row = 0; row < 4; ++row) {
            float sum = 0;
            for (int k = 0; k < 4; ++k)
                sum += inv[k * 4 + row] * m[col * 4 + k];
            EXPECT_NEAR(sum, row == col ? 1.0f : 0.0f, 1e-4f) << row << "," << col;
        }
}
