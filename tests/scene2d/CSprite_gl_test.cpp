// Sprites and the crosshair read back: solid frame k has red 10 * k, telling the frame drawn.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "scene2d/CCrossHair.h"
#include "scene2d/CSprite.h"
#include "support/demo_fixtures.h"

using zarvo_test::g_SpriteNow;
using SpriteGL = zarvo_test::PixelViewGL<64>;

TEST_F(SpriteGL, FramesChangeOnlyAfterMoreThanThePeriodAtMostOncePerCallAndPlayOnceHolds) {
    std::string base = zarvo_test::WriteSolid("sprite", 8, 4, 4);
    CSprite sprite(base.data(), 8, 0, 0);
    ASSERT_EQ(sprite.GetNumberOfFrames(), 8u);
    int changes = 0;
    unsigned int previous = sprite.GetCurrentFrame();
    for (int draw = 1; draw <= 12; ++draw) { // a draw every 16 ms at 20 fps (50 ms)
        g_SpriteNow += 16;
        Clear();
        sprite.Draw();
        EXPECT_EQ(SolidFrameAt(1, 1), int(previous))
            << "the frame shown is the one current at the call";
        if (sprite.GetCurrentFrame() != previous) {
            EXPECT_EQ(++changes * 4, draw) << "changes on every fourth draw";
        }
        previous = sprite.GetCurrentFrame();
    }
    EXPECT_EQ(changes, 3);
    g_SpriteNow += 100000; // a long pause still moves one frame
    sprite.Update();
    EXPECT_EQ(sprite.GetCurrentFrame(), previous + 1);
    for (int i = 0; i < 8; ++i) {
        g_SpriteNow += 51;
        sprite.Update();
    }
    EXPECT_EQ(sprite.GetCurrentFrame(), previous + 1) << "eight steps wrap round 8 frames";

    // Played once it holds the last frame; one frame or speed 0 never advance.
    CSprite once(base.data(), 3, 8, 8), single(base.data(), 1, 0, 0), still(base.data(), 2, 0, 0);
    still.SetAnimationSpeed(0);
    for (int i = 0; i < 10; ++i) {
        g_SpriteNow += 1000;
        once.DrawOne();
        single.Draw();
        single.DrawOne();
        still.Draw();
    }
    EXPECT_EQ(single.GetCurrentFrame() + still.GetCurrentFrame(), 2u);
    EXPECT_EQ(once.GetCurrentFrame(), 3u);
    Clear();
    once.DrawOne(CVector2(20, 20));
    once.Reset();
    EXPECT_TRUE(SolidFrameAt(21, 21) == 3 && once.GetCurrentFrame() == 1);
    once.DrawFrame(0, 30, 30); // always the first image, whatever the current frame
    once.DrawFrame(7, 40, 40); // past its three frames: nothing drawn
    char missing[] = "no/such/sprite";
    CSprite(missing, 2, 50, 50).Draw();
    EXPECT_TRUE(SolidFrameAt(31, 31) == 1 && SolidFrameAt(41, 41) == 0 &&
                SolidFrameAt(51, 51) == 0);
}

TEST_F(SpriteGL, TheCrossHairDrawsNothingUnloadedThenItsImageAtItsPlaceAndSizeOverTheScene) {
    CGraphicsCore graphics; // a 1024 x 768 screen before Initialize: 16 x 12 units a pixel here
    g_Graphics = &graphics;
    GLint stackBefore = 0, stackAfter = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &stackBefore);
    CCrossHair cross;
    cross.SetSize(320, 240);
    cross.SetPosition(320, 240);
    cross.Draw();
    EXPECT_EQ(cross.GetWidth() + cross.GetHeight() + cross.GetPosition().x, 0.0f);
    EXPECT_EQ(SolidFrameAt(30, 30), 0);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR)) << "popped a matrix it never pushed";
    const std::string image = zarvo_test::WriteSolid("cross", 3, 4, 4) + "3.png";
    cross.LoadCrossHair(const_cast<char*>(image.c_str()));
    EXPECT_EQ(cross.GetWidth(), 4.0f);
    cross.SetSize(320, 240);
    cross.SetPosition(320, 240);
    // A scene in front of everything, and culling of either winding.
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_NEVER);
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT_AND_BACK);
    cross.Draw();
    for (int y = 18; y < 42; ++y) // its top-left at (320, 240) / (16, 12) = (20, 20), 20 x 20
        for (int x = 18; x < 42; ++x)
            ASSERT_EQ(SolidFrameAt(x, y), x >= 20 && x < 40 && y >= 20 && y < 40 ? 3 : 0)
                << x << "," << y;
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && !glIsEnabled(GL_CULL_FACE));
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &stackAfter);
    EXPECT_EQ(stackAfter, stackBefore) << "its projection popped again";
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
    glDepthFunc(GL_LESS);
    glCullFace(GL_BACK);
}
