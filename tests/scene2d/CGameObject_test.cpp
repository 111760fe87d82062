#include <gtest/gtest.h>

#include "scene2d/CGameObject.h"
#include "scene2d/CGameObjectManager.h"
#include "support/demo_fixtures.h"

TEST(GameObject2D, MovesWaitForTheCommitAndObjectsWithoutAnimationsCollideWithNothing) {
    zarvo_test::FrameInterval interval(20);
    CGameObjectManager manager;
    manager.checkCollision(); // nothing registered
    CGameObject2D *a = new CGameObject2D(), *b = new CGameObject2D();
    manager.RegisterObject(a);
    manager.RegisterObject(b);
    a->SetPosition(10.0f, 20.0f);
    a->MoveUp(5);
    a->MoveLeft(3);
    EXPECT_TRUE(a->GetNewPosition().x == 7.0f && a->GetNewPosition().y == 15.0f);
    EXPECT_EQ(a->GetPosition().x, 10.0f);
    a->revertMovement();
    a->MoveDown(2);
    a->commitMovement();
    EXPECT_TRUE(a->GetPosition().x == 10.0f && a->GetPosition().y == 22.0f);
    a->SetCurrentFrame(0); // no animation: ignored, as are the other animation calls
    a->SetAnimationSpeed(9, -1);
    a->SetRotate(30.0f);
    EXPECT_TRUE(a->GetBoundingBoxInNewPosition().IsEmpty());
    a->SetPosition(0, 0); // from one spot through each other: empty boxes
    a->MoveRigth(10.0f);
    b->MoveDown(3.0f);
    manager.checkCollision();
    EXPECT_TRUE(a->GetPosition().x == 10.0f && b->GetPosition().y == 3.0f);
}
