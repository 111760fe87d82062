#include <gtest/gtest.h>

#include "render3d/CCameraManager.h"
#include "scene2d/CCamera2D.h"

TEST(CameraManager, WithoutCamerasEverythingIsANoOp) {
    CCameraManager manager;
    manager.MoveLeft(3);
    manager.MoveRelative(1, 1);
    EXPECT_EQ(manager.GetActualCameraPosition(), nullptr);
    EXPECT_EQ(manager.GetCameraPosition(0), nullptr);
    EXPECT_EQ(manager.GetCameraCount(), 0u);
}

TEST(CameraManager, RegisteringMakesTheNewestActualAndOutOfRangeIsIgnored) {
    CCameraManager manager;
    manager.RegisterCamera(new CCamera2D(1, 2));
    manager.RegisterCamera(new CCamera2D(30, 40));
    EXPECT_EQ(manager.GetCameraCount(), 2u);
    EXPECT_EQ(manager.GetActualCameraIndex(), 1u);
    EXPECT_FLOAT_EQ(manager.GetActualCameraPosition()->x, 30.0f);

    manager.setActualCamera(2); // ignored
    EXPECT_EQ(manager.GetActualCameraIndex(), 1u);
    manager.setActualCamera(0);
    EXPECT_FLOAT_EQ(manager.GetActualCameraPosition()->x, 1.0f);

    // Moves go to the actual camera only.
    manager.MoveLeft(10);
    manager.MoveDown(2);
    EXPECT_FLOAT_EQ(manager.GetCameraPosition(0)->x, 11.0f);
    EXPECT_FLOAT_EQ(manager.GetCameraPosition(0)->y, 0.0f);
    EXPECT_FLOAT_EQ(manager.GetCameraPosition(1)->x, 30.0f);

    // An index past the count answers with the actual camera.
    EXPECT_EQ(manager.GetCameraPosition(7), manager.GetActualCameraPosition());
}
