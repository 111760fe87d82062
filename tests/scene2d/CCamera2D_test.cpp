#include <gtest/gtest.h>

#include "scene2d/CCamera2D.h"

TEST(Camera2D, MovesAreTheOppositeOfTheSceneAndUndoEachOther) {
    CCamera2D camera(5, 7);
    camera.MoveLeft(10);
    EXPECT_FLOAT_EQ(camera.getPosition().x, 15.0f);
    camera.MoveRight(10);
    EXPECT_FLOAT_EQ(camera.getPosition().x, 5.0f);
    camera.MoveUp(3);
    EXPECT_FLOAT_EQ(camera.getPosition().y, 10.0f);
    camera.MoveDown(4);
    EXPECT_FLOAT_EQ(camera.getPosition().y, 6.0f);
    camera.MoveRelative(-5, 1);
    EXPECT_FLOAT_EQ(camera.getPosition().x, 0.0f);
    EXPECT_FLOAT_EQ(camera.getPosition().y, 7.0f);
    camera.setPosition(CVector2(1, 2));
    EXPECT_FLOAT_EQ(camera.getPosition().y, 2.0f);
    EXPECT_FLOAT_EQ(CCamera2D().getPosition().x, 0.0f);
}
