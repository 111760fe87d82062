// Parallax layers and picture fades on the frame interval; unloaded images keep place and size.
#include <gtest/gtest.h>

#include "image/CTexture.h"
#include "scene2d/CParallaxScroll.h"
#include "scene2d/CPictureFade.h"
#include "support/demo_fixtures.h"

#include <tuple>

static char kMissing[] = "no-such-picture.png";

TEST(ParallaxScroll, UpdatesMoveOnlyTheirLayerTheOtherWayAndJumpsNeedTwoImages) {
    zarvo_test::FrameInterval interval(20);
    CParallaxScroll scroll;
    auto at = [&](unsigned int l, size_t i = 0) { return (*scroll.GetLayer(l))[i]->GetPosition(); };
    scroll.JumpToBackGround(3, 1); // empty layer
    scroll.addBackgroundToLayer1(kMissing, 5, 0);
    scroll.addBackgroundToLayer2(kMissing, 0, 0);
    scroll.addBackgroundToLayer2(kMissing, 1024, 0);
    scroll.addBackgroundToLayer3(kMissing, 0, 0);
    scroll.setLayer2Speed(355.0f);
    scroll.UpdateLeft(2); // 355 px/s for 0.02 s
    EXPECT_TRUE(std::abs(at(2, 0).x - 7.1f) < 1e-4 && std::abs(at(2, 1).x - 1031.1f) < 1e-3);
    scroll.UpdateRight(3);
    scroll.UpdateDown(3); // default speed 4
    EXPECT_TRUE(std::abs(at(3).x + 0.08f) < 1e-5 && std::abs(at(3).y - 0.08f) < 1e-5);
    scroll.UpdateUp(4);            // no such layer
    scroll.JumpToBackGround(3, 1); // one image, no measure
    EXPECT_TRUE(at(1).x == 5.0f && at(1).y == 0.0f);
    scroll.addBackgroundToLayer1(kMissing, 100, 0);
    (*scroll.GetLayer(1))[1]->SetWidth(40.0f);
    scroll.JumpToBackGround(3, 1);
    EXPECT_TRUE(at(1, 0).x == 5.0f - 120.0f && at(1, 1).x == 100.0f - 120.0f);
}

TEST(PictureFade, StepsSnapAtTheThresholdsAndOnlySetTheDoneFlags) {
    zarvo_test::FrameInterval interval(100);
    CPictureFade fade;
    fade.FadeOut(); // no picture: nothing at all
    fade.FadeIn();
    EXPECT_TRUE(fade.GetAlpha() == 1.0f && !fade.isFadeOutDone());
    // One 0.1 s step from 1 lands just past or just short of each threshold; the next call
    // snaps only from past it. Fade-ins start where the fade-out left alpha. {in, speed,
    // alpha after the first step, snaps}
    for (const auto& [in, speed, landed, snaps] : {std::tuple{false, 9.72f, 0.028f, true},
                                                   {false, 9.6f, 0.04f, false},
                                                   {true, 9.85f, 0.985f, true},
                                                   {true, 9.75f, 0.975f, false}}) {
        CPictureFade f;
        f.setFadeSpeed(100.0f);
        for (int step = 0; step < (in ? 2 : 0); ++step)
            f.StepFadeOut(); // down to exactly 0
        f.setFadeSpeed(speed);
        in ? f.StepFadeIn() : f.StepFadeOut();
        EXPECT_NEAR(f.GetAlpha(), landed, 1e-5);
        in ? f.StepFadeIn() : f.StepFadeOut();
        EXPECT_EQ(in ? f.isFadeInDone() : f.isFadeOutDone(), snaps) << speed;
        EXPECT_TRUE(!snaps || f.GetAlpha() == (in ? 1.0f : 0.0f)) << speed;
    }
    CPictureFade loaded; // loading keeps the fade's alpha (1), so a fade-in completes at once
    loaded.LoadTexture(kMissing, 0.4f);
    EXPECT_EQ(loaded.GetPicture()->GetAlpha(), 0.4f);
    loaded.StepFadeIn();
    EXPECT_TRUE(loaded.isFadeInDone());
}
