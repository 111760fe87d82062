#include <gtest/gtest.h>

#include "scene2d/CGameObject.h"
#include "scene2d/CGameObjectManager.h"
#include "scene2d/frame_interval.h"

TEST(GameObject2D, MovesWaitForTheCommitAndObjectsWithoutAnimationsCollideWithNothing) {
    scene2d_test::FrameInterval interval(20);
    CGameObject2D object;
    object.SetPosition(10.0f, 20.0f);
    object.MoveUp(5);
    object.MoveLeft(3);
    EXPECT_EQ(object.GetNewPosition().x + object.GetNewPosition().y, 7.0f + 15.0f);
    EXPECT_EQ(object.GetPosition().x, 10.0f);
    object.revertMovement();
    object.MoveDown(2);
    object.commitMovement();
    EXPECT_EQ(object.GetPosition().x + object.GetPosition().y, 10.0f + 22.0f);

    CGameObjectManager manager;
    manager.checkCollision(); // nothing registered
    CGameObject2D* a = new CGameObject2D();
    CGameObject2D* b = new CGameObject2D();
    manager.RegisterObject(a);
    manager.RegisterObject(b);
    a->SetCurrentFrame(0); // no animation: ignored, as are the other animation calls
    a->SetAnimationSpeed(9, -1);
    a->SetRotate(30.0f);
    EXPECT_TRUE(a->GetBoundingBoxInNewPosition().IsEmpty());
    a->MoveRigth(10.0f); // from one spot through each other: empty boxes
    b->MoveDown(3.0f);
    manager.checkCollision();
    EXPECT_TRUE(a->GetPosition().x == 10.0f && b->GetPosition().y == 3.0f);
}
