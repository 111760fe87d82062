// Parallax layers and picture fades as timed by the frame interval. Images that cannot
// load keep their positions and sizes without a display, which is all these need.
#include <gtest/gtest.h>

#include "image/CTexture.h"
#include "scene2d/CParallaxScroll.h"
#include "scene2d/CPictureFade.h"
#include "scene2d/frame_interval.h"

namespace {
char kMissing[] = "no-such-picture.png";
CVector2 At(const CParallaxScroll& scroll, unsigned int layer, size_t i = 0) {
    return (*scroll.GetLayer(layer))[i]->GetPosition();
}
} // namespace

TEST(ParallaxScroll, UpdatesMoveOnlyTheirLayerTheOtherWayAndJumpsNeedTwoImages) {
    scene2d_test::FrameInterval interval(20);
    CParallaxScroll scroll;
    scroll.JumpToBackGround(3, 1); // empty layer
    scroll.addBackgroundToLayer1(kMissing, 5, 0);
    scroll.addBackgroundToLayer2(kMissing, 0, 0);
    scroll.addBackgroundToLayer2(kMissing, 1024, 0);
    scroll.addBackgroundToLayer3(kMissing, 0, 0);
    scroll.setLayer2Speed(355.0f);

    scroll.UpdateLeft(2); // 355 px/s for 0.02 s
    EXPECT_NEAR(At(scroll, 2, 0).x, 7.1f, 1e-4);
    EXPECT_NEAR(At(scroll, 2, 1).x, 1031.1f, 1e-3);
    scroll.UpdateRight(3); // default speed 4
    scroll.UpdateDown(3);
    EXPECT_NEAR(At(scroll, 3).x, -0.08f, 1e-5);
    EXPECT_NEAR(At(scroll, 3).y, 0.08f, 1e-5);
    scroll.UpdateUp(4); // no such layer
    EXPECT_EQ(At(scroll, 1).x, 5.0f);
    EXPECT_EQ(At(scroll, 1).y, 0.0f);

    scroll.JumpToBackGround(3, 1); // one image: nothing to measure
    EXPECT_EQ(At(scroll, 1).x, 5.0f);
    scroll.addBackgroundToLayer1(kMissing, 100, 0);
    (*scroll.GetLayer(1))[1]->SetWidth(40.0f);
    scroll.JumpToBackGround(3, 1);
    EXPECT_EQ(At(scroll, 1, 0).x, 5.0f - 120.0f);
    EXPECT_EQ(At(scroll, 1, 1).x, 100.0f - 120.0f);
}

TEST(PictureFade, StepsSnapAtTheThresholdsAndOnlySetTheDoneFlags) {
    scene2d_test::FrameInterval interval(100);
    CPictureFade fade;
    fade.FadeOut(); // no picture: nothing at all
    fade.FadeIn();
    EXPECT_EQ(fade.GetAlpha(), 1.0f);
    EXPECT_FALSE(fade.isFadeOutDone());

    // One 0.1 s step from 1 lands just past or just short of each threshold; the next
    // call snaps only from past it. Fade-ins start where the fade-out left alpha.
    struct Case {
        bool in;
        float speed, landed;
        bool snaps;
    };
    for (const Case& c : {Case{false, 9.72f, 0.028f, true}, Case{false, 9.6f, 0.04f, false},
                          Case{true, 9.85f, 0.985f, true}, Case{true, 9.75f, 0.975f, false}}) {
        CPictureFade f;
        if (c.in) {
            f.setFadeSpeed(100.0f);
            f.StepFadeOut(), f.StepFadeOut(); // down to exactly 0
        }
        f.setFadeSpeed(c.speed);
        c.in ? f.StepFadeIn() : f.StepFadeOut();
        EXPECT_NEAR(f.GetAlpha(), c.landed, 1e-5);
        c.in ? f.StepFadeIn() : f.StepFadeOut();
        EXPECT_EQ(c.in ? f.isFadeInDone() : f.isFadeOutDone(), c.snaps) << c.speed;
        EXPECT_TRUE(!c.snaps || f.GetAlpha() == (c.in ? 1.0f : 0.0f)) << c.speed;
    }
    // Loading keeps the fade's alpha (1), so a fade-in completes at once.
    CPictureFade loaded;
    loaded.LoadTexture(kMissing, 0.4f);
    loaded.SetPosition(300, 300);
    EXPECT_EQ(loaded.GetPicture()->GetAlpha(), 0.4f);
    loaded.StepFadeIn();
    EXPECT_TRUE(loaded.isFadeInDone());
}
