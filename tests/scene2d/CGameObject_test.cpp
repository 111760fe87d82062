#include <gtest/gtest.h>

#include "scene2d/CGameObject.h"
#include "scene2d/CGameObjectManager.h"
#include "scene2d/frame_interval.h"

using scene2d_test::FrameIntervalFixture;

TEST(GameObject2D, MovesOnlyChangeThePendingPositionUntilCommitted) {
    FrameIntervalFixture timing;
    timing.SetInterval(20);
    CGameObject2D object;
    object.SetPosition(10.0f, 20.0f);
    object.MoveUp(5);
    object.MoveLeft(3);
    EXPECT_EQ(object.GetNewPosition().x, 7.0f);
    EXPECT_EQ(object.GetNewPosition().y, 15.0f);
    EXPECT_EQ(object.GetPosition().x, 10.0f);
    object.revertMovement();
    EXPECT_EQ(object.GetNewPosition().x, 10.0f);

    // Speed 100 for 0.02 s along a direction given unnormalised: 2 pixels.
    object.SetDirection(CVector2(3.0f, 4.0f));
    object.SetSpeed(100.0f);
    object.Move();
    object.MoveInDirection(CVector2(0.0f, -10.0f), 1.0f);
    object.commitMovement();
    EXPECT_NEAR(object.GetPosition().x, 10.0f + 1.2f, 1e-4);
    EXPECT_NEAR(object.GetPosition().y, 20.0f + 1.6f - 1.0f, 1e-4);
}

TEST(GameObject2D, WithoutAnimationsEverythingIsANoOpAndTheBoxIsEmpty) {
    CGameObject2D object;
    object.SetPosition(40.0f, 50.0f);
    object.SetCurrentFrame(0); // count 0: ignored
    object.ResetCurrentFrame();
    object.SetAnimationSpeed(9, -1);
    object.SetRotate(30.0f);
    EXPECT_EQ(object.GetCurrentFrame(), 0u);
    EXPECT_EQ(object.GetRotate(), 30.0f);
    const CBoundingBox2D box = object.GetBoundingBoxInNewPosition();
    EXPECT_TRUE(box.IsEmpty());
    EXPECT_EQ(box.m_vA.x, 40.0f);
    EXPECT_EQ(box.m_vB.y, 50.0f);
}

TEST(GameObjectManager, TheFrameMovesAndCommitsObjectsWithoutAnimations) {
    FrameIntervalFixture timing;
    timing.SetInterval(20);
    CGameObjectManager manager;
    manager.checkCollision(); // nothing registered
    CGameObject2D* a = new CGameObject2D();
    CGameObject2D* b = new CGameObject2D();
    manager.RegisterObject(a);
    manager.RegisterObject(b);
    manager.RegisterObject(nullptr);
    EXPECT_EQ(manager.GetObjectCount(), 2u);
    a->SetSpeed(100.0f);
    a->SetDirection(CVector2(1.0f, 0.0f));
    b->MoveDown(3.0f);
    // Two empty boxes on one spot: neither stops the other.
    for (int frame = 0; frame < 5; ++frame)
        manager.checkCollision(), a->Move();
    manager.checkCollision();
    EXPECT_NEAR(a->GetPosition().x, 10.0f, 1e-4);
    EXPECT_EQ(b->GetPosition().y, 3.0f);
}
