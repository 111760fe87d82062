// The 2D demos with 20 ms frames, driven pass by pass with pushed keys or run as the program,
// their frames read back.
#include <gtest/gtest.h>

#include "demos/testGameObject.h"
#include "demos/testParallaxScroll.h"
#include "demos/testParticleSystem2D.h"
#include "image/CTexture.h"
#include "scene2d/CGameObject.h"
#include "scene2d/CGameObjectManager.h"
#include "scene2d/CParticle2D.h"
#include "support/demo_fixtures.h"

#include <vector>

using namespace zarvo_test;

// The real program on a clock of 20 ms a frame. 0.3 alpha per second: some 160 frames down
// to the turn, as many up again; the light of the picture's place follows.
TEST(FadeProgramGL, ThePictureFadesOutThenInAgainAndARunRepeatsExactly) {
    const auto lastFrame = [](int frames) {
        const FrameRun r = RunToFrame("--demo fade --windowed --frame-ms 20", frames);
        EXPECT_TRUE(r.run.status == 0 && FindErrorText(r.run.output).empty()) << r.run.output;
        return r.frame;
    };
    const std::vector<int> frameCounts = {1, 55, 110, 160, 215, 270};
    std::vector<double> light;
    for (int frames : frameCounts)
        light.push_back(Measure(lastFrame(frames), {300, 300, 620, 412}, nullptr, -1));
    EXPECT_LT(light[3], light[0] * 0.15);
    for (size_t i = 1; i < light.size(); ++i)
        EXPECT_EQ(light[i] < light[i - 1], i <= 3) << "after " << frameCounts[i] << " frames";
    EXPECT_TRUE(lastFrame(130).rgb == lastFrame(130).rgb) << "the same frame from the same run";
}

using GameObjectDemoGL = DemoGL<testGameObject>;
TEST_F(GameObjectDemoGL, ArrowsSteerTheObjectWhereItIsDrawnAndRTurnsIt) {
    CGameObject2D* ship = demo_->GetGameObject();
    ASSERT_EQ(g_2DGameObjectManager->GetObjectCount(), 1u);
    // A pass moves by the keys held at the end of the last one: 100 px/s for 49 frames
    // of 20 ms.
    Key(SDLK_DOWN, true, 50);
    EXPECT_NEAR(ship->GetPosition().y, 298.0f, 1e-3);
    Key(SDLK_DOWN, false, 0);
    const ShotImage shot = Capture(); // its last step, then drawn at the new place only
    EXPECT_NEAR(ship->GetPosition().y, 300.0f, 1e-3);
    EXPECT_LT(Measure(shot, {200, 200, 264, 290}, nullptr, 60), 20);
    EXPECT_GT(Measure(shot, {200, 300, 264, 364}, nullptr, 60), 500);
    Key(SDLK_LEFT, true, 5);
    Key(SDLK_UP, true, 5); // both held: diagonal at the same speed
    Key(SDLK_LEFT, false); // one event a pass: up alone for a step
    Key(SDLK_UP, false);
    EXPECT_NEAR(ship->GetPosition().x, 190.0f - 10.0f / std::sqrt(2.0f), 1e-3);
    EXPECT_NEAR(ship->GetPosition().y, 298.0f - 10.0f / std::sqrt(2.0f), 1e-3);
    Key(SDLK_r, true, 10); // drawn turned on each of these passes
    EXPECT_EQ(ship->GetRotate(), 10.0f);
    Key(SDLK_r, false);
}

using ParallaxDemoGL = DemoGL<testParallaxScroll>;
TEST_F(ParallaxDemoGL, ArrowKeysScrollLayersTwoAndThreeAtTheirSpeedsOnly) {
    CParallaxScroll& scroll = demo_->GetScroll();
    ASSERT_EQ(scroll.GetLayer(2)->size(), 5u);
    auto at = [&](unsigned int l, size_t i = 0) { return (*scroll.GetLayer(l))[i]->GetPosition(); };
    Key(SDLK_RIGHT, true, 10);
    EXPECT_TRUE(std::abs(at(2).x + 71.0f) < 1e-3 && std::abs(at(3).x + 19.0f) < 1e-3);
    Key(SDLK_DOWN, true, 10); // both held: both apply
    EXPECT_TRUE(std::abs(at(2).x + 142.0f) < 1e-3 && std::abs(at(2).y - 71.0f) < 1e-3);
    EXPECT_EQ(at(1).x + at(1).y, 0.0f);
    Key(SDLK_RIGHT, false, 0);
    Key(SDLK_DOWN, false, 2); // the release frames still move
    const CVector2 held = at(2);
    Passes(5);
    EXPECT_TRUE(at(2).x == held.x && std::abs(at(2, 1).x - held.x - 1024.0f) < 1e-3);
}

using ParticlesDemoGL = DemoGL<testParticleSystem2D>;
TEST_F(ParticlesDemoGL, FireAndGreySmokeRiseAboveTheirEmittersAndTheSmokeGrows) {
    using P = const unsigned char*;
    const Colour fire = [](P p) { return p[0] > 120 && p[0] > p[1] + 30 && p[1] >= p[2]; };
    const Colour grey = [](P p) { return abs(p[0] - p[1]) < 16 && abs(p[1] - p[2]) < 16; };
    Passes(60);
    const ShotImage shot = Capture();
    const Rect aboveFire{190, 80, 390, 400}, aboveSmoke{400, 40, 700, 400};
    const double flames = Measure(shot, aboveFire, fire, 60);
    EXPECT_TRUE(flames > 2000 && Measure(shot, aboveFire, grey, 90) < flames / 10) << flames;
    EXPECT_GT(Measure(shot, aboveSmoke, grey, 30), 2000) << "smoke";
    EXPECT_EQ(Measure(shot, aboveSmoke, fire, 60), 0);
    EXPECT_LT(Measure(shot, {0, 420, 1024, 620}, nullptr, 60), 50) << "nothing below the emitters";
    int grown = 0;
    for (unsigned int i = 0; i < demo_->GetSmoke().GetParticleCount(); ++i)
        grown += demo_->GetSmoke().GetParticle(i)->GetSize().x > 31.0f;
    EXPECT_TRUE(grown > 150 && demo_->GetFire().GetParticle(0)->GetSize().x == 40.0f) << grown;
}
