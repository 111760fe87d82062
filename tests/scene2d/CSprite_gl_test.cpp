#include <gtest/gtest.h>

#include "core/Engine.h"
#include "image/CTextureManager.h"
#include "scene2d/CSprite.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <string>

namespace {

unsigned int g_Now = 0;
unsigned int FakeTicks() {
    return g_Now;
}

constexpr int kWin = 64;

// Frames 1..n as solid 4 x 4 images whose red channel is 10 * k (SDL writes BMP data; the
// image library recognises it whatever the file is called).
std::string WriteFrames(unsigned int n) {
    const std::string base = zarvo_test::MakeTempDir("sprite") + "/frame";
    for (unsigned int k = 1; k <= n; ++k) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 24, 0xFF, 0xFF00, 0xFF0000, 0);
        SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, Uint8(10 * k), 0, 0));
        SDL_SaveBMP(s, (base + std::to_string(k) + ".png").c_str());
        SDL_FreeSurface(s);
    }
    return base;
}

class SpriteGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kWin, kWin);
        g_TextureManager = &m_Manager;
        CSprite::SetTickSource(&FakeTicks);
        g_Now = 1000;
        zarvo_test::SetPixelView();
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override {
        CSprite::SetTickSource(nullptr);
        g_TextureManager = nullptr;
    }
    // The frame number shown by the last draw at (x, y), from its red channel.
    static int Shown(int x = 1, int y = 1) {
        return (zarvo_test::ReadPixelTopDown(x, y).r + 5) / 10;
    }
    static void Clear() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    CTextureManager m_Manager;
};

} // namespace

TEST_F(SpriteGL, LoopingChangesFrameOnlyAfterMoreThanThePeriodAndAtMostOncePerCall) {
    std::string base = WriteFrames(8);
    CSprite sprite(base.data(), 8, 0, 0);
    ASSERT_EQ(sprite.GetNumberOfFrames(), 8u);
    int changes = 0;
    unsigned int previous = sprite.GetCurrentFrame();
    for (int draw = 1; draw <= 12; ++draw) { // a draw every 16 ms at 20 fps (50 ms)
        g_Now += 16;
        Clear();
        sprite.Draw();
        EXPECT_EQ(Shown(), int(previous)) << "the frame shown is the one current at the call";
        if (sprite.GetCurrentFrame() != previous) {
            ++changes;
            EXPECT_EQ(draw % 4, 0) << "changes on every fourth draw, draw " << draw;
        }
        previous = sprite.GetCurrentFrame();
    }
    EXPECT_EQ(changes, 3);

    g_Now += 100000; // a long pause still moves one frame
    sprite.Update();
    EXPECT_EQ(sprite.GetCurrentFrame(), previous + 1);

    for (int i = 0; i < 8; ++i) {
        g_Now += 51;
        sprite.Update();
    }
    EXPECT_EQ(sprite.GetCurrentFrame(), previous + 1) << "eight steps wrap round 8 frames";
}

TEST_F(SpriteGL, PlayOnceHoldsTheLastFrameUntilReset) {
    std::string base = WriteFrames(3);
    CSprite sprite(base.data(), 3, 8, 8);
    for (int i = 0; i < 10; ++i) {
        g_Now += 51;
        sprite.DrawOne();
    }
    EXPECT_EQ(sprite.GetCurrentFrame(), 3u);
    Clear();
    sprite.DrawOne(CVector2(20, 20));
    EXPECT_EQ(Shown(21, 21), 3);
    sprite.Reset();
    EXPECT_EQ(sprite.GetCurrentFrame(), 1u);

    Clear();
    sprite.DrawFrame(0, 30, 30); // always the first image, whatever the current frame
    EXPECT_EQ(Shown(31, 31), 1);
    sprite.DrawFrame(7, 40, 40); // past the list: nothing drawn
    EXPECT_EQ(Shown(41, 41), 0);
}

TEST_F(SpriteGL, OneFrameNeverChangesAndSpeedZeroNeverAdvances) {
    std::string base = WriteFrames(2);
    CSprite single(base.data(), 1, 0, 0);
    CSprite still(base.data(), 2, 0, 0);
    still.SetAnimationSpeed(0);
    for (int i = 0; i < 5; ++i) {
        g_Now += 1000;
        single.Draw();
        single.DrawOne();
        still.Draw();
    }
    EXPECT_EQ(single.GetCurrentFrame(), 1u);
    EXPECT_EQ(still.GetCurrentFrame(), 1u);
}

TEST_F(SpriteGL, MissingFilesAreNotDrawn) {
    char base[] = "no/such/sprite";
    CSprite sprite(base, 2, 0, 0);
    Clear();
    sprite.Draw();
    EXPECT_EQ(Shown(), 0);
}
