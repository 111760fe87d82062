#include <gtest/gtest.h>

#include "outdoor_gl.h"
#include "render3d/CHeightfield.h"

#include <GL/glew.h>

#include <fstream>
#include <memory>
#include <vector>

namespace {

const int kSize = 128;
const float kSpan = 40.0f; // world units across the view, from -4

// Straight down on the x-z plane, x to the right and z downwards, -4 to 36 both ways.
void LookDown() {
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 36, -36, 4, -1000, 1000);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(90, 1, 0, 0);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
}

zarvo_test::Rgba At(float x, float z) {
    return zarvo_test::ReadPixelTopDown(int((x + 4) / kSpan * kSize), int((z + 4) / kSpan * kSize));
}

class HeightFieldGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kSize, kSize);
        zarvo_test::PopMatrixStacksToBase();
        dir_ = zarvo_test::MakeTempDir("hfield-gl");
        globals_ = std::make_unique<outdoor_gl::Globals>(); // shaders need the context
    }
    std::unique_ptr<outdoor_gl::Globals> globals_;
    std::string dir_;
};

TEST_F(HeightFieldGL, BufferModeDrawsItsTextureOverTheGridOnly) {
    std::ofstream(dir_ + "/flat.raw", std::ios::binary) << std::string(32 * 32, '\0');
    std::string texture = outdoor_gl::SolidTexture(200, 40, 40);
    CHeightField field;
    ASSERT_TRUE(field.CreateFromRaw((dir_ + "/flat.raw").c_str(), 32, 32, texture.data(), 4, 1));
    EXPECT_EQ(field.GetVertexCount(), 7 * 7 * 6) << "cells start below 32 - 4";
    LookDown();
    field.Draw();
    const float inside[][2] = {{1, 1}, {14, 14}, {27, 3}, {3, 27}};
    for (const auto& p : inside) {
        const zarvo_test::Rgba c = At(p[0], p[1]);
        EXPECT_NEAR(c.r, 200, 3) << p[0] << "," << p[1];
        EXPECT_NEAR(c.g, 40, 3);
    }
    const float outside[][2] = {{30, 14}, {14, 30}, {-2, 5}, {5, -2}};
    for (const auto& p : outside)
        EXPECT_EQ(At(p[0], p[1]).r, 0) << p[0] << "," << p[1];
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(HeightFieldGL, ShaderModeShowsTheGroundTextureOfEachHeightLayer) {
    // Columns 0-3 low (A, red), 4-7 middle (B, green), 8-11 high (C, blue).
    SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, 12, 12, 8, 0, 0, 0, 0);
    SDL_Color grey[256];
    for (int i = 0; i < 256; ++i)
        grey[i] = SDL_Color{Uint8(i), Uint8(i), Uint8(i), 0};
    SDL_SetColors(image, grey, 0, 256);
    for (int z = 0; z < 12; ++z)
        for (int x = 0; x < 12; ++x)
            static_cast<Uint8*>(image->pixels)[z * image->pitch + x] = x < 4   ? 100
                                                                       : x < 8 ? 170
                                                                               : 230;
    const std::string file = dir_ + "/layers.bmp";
    ASSERT_EQ(SDL_SaveBMP(image, file.c_str()), 0);
    SDL_FreeSurface(image);
    const std::string a = outdoor_gl::SolidTexture(255, 0, 0);
    const std::string b = outdoor_gl::SolidTexture(0, 255, 0);
    const std::string c = outdoor_gl::SolidTexture(0, 0, 255);

    CHeightField field;
    ASSERT_TRUE(field.CreateFromImage(file.c_str(), a.c_str(), b.c_str(), c.c_str(), 1));
    EXPECT_NE(field.GetLightMap(), 0u) << "creation builds the light map";
    EXPECT_EQ(field.height(2.5f, 2.0f), 100.0f);
    LookDown();
    field.Draw();
    const struct {
        float x;
        int channel;
    } layers[] = {{1.5f, 0}, {5.5f, 1}, {9.0f, 2}};
    for (const auto& layer : layers)
        for (float z : {1.5f, 5.0f, 8.5f}) {
            const zarvo_test::Rgba px = At(layer.x, z);
            const int rgb[3] = {px.r, px.g, px.b};
            for (int ch = 0; ch < 3; ++ch) {
                if (ch == layer.channel)
                    EXPECT_GT(rgb[ch], 60) << layer.x << "," << z;
                else
                    EXPECT_LT(rgb[ch], 20) << layer.x << "," << z << " channel " << ch;
            }
        }
    EXPECT_EQ(At(11.5f, 5).b, 0) << "the last two columns are not drawn";
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    EXPECT_EQ(unit, GL_TEXTURE0);
    glActiveTextureARB(GL_TEXTURE4);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D)) << "the light-map unit is switched off again";
    glActiveTextureARB(GL_TEXTURE0);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

} // namespace
