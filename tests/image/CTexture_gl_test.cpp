#include <gtest/gtest.h>

#include "core/Engine.h"
#include "image/CTexture.h"
#include "image/CTextureManager.h"
#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <string>

namespace {

constexpr int kWin = 256;

// A 32 x 16 image of four 16 x 8 quadrants: red, green / blue, white (top row first).
std::string WriteQuadrantImage() {
    SDL_Surface* s =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 32, 16, 24, 0x0000FF, 0x00FF00, 0xFF0000, 0);
    const Uint32 colors[4] = {SDL_MapRGB(s->format, 255, 0, 0), SDL_MapRGB(s->format, 0, 255, 0),
                              SDL_MapRGB(s->format, 0, 0, 255),
                              SDL_MapRGB(s->format, 255, 255, 255)};
    for (int q = 0; q < 4; ++q) {
        SDL_Rect r{Sint16((q % 2) * 16), Sint16((q / 2) * 8), 16, 8};
        SDL_FillRect(s, &r, colors[q]);
    }
    const std::string path = zarvo_test::MakeTempDir("quad") + "/quadrants.bmp";
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

enum Color { Black, Red, Green, Blue, White, Other };

Color ColorAt(int x, int y) {
    const zarvo_test::Rgba p = zarvo_test::ReadPixelTopDown(x, y);
    const bool r = p.r > 200, g = p.g > 200, b = p.b > 200;
    const bool r0 = p.r < 50, g0 = p.g < 50, b0 = p.b < 50;
    if (r0 && g0 && b0) return Black;
    if (r && g0 && b0) return Red;
    if (r0 && g && b0) return Green;
    if (r0 && g0 && b) return Blue;
    if (r && g && b) return White;
    return Other;
}

using zarvo_test::BuiltInShaders;

// Runs every case through the built-in texture shader and through the fixed pipeline
// that stands in when no shader table exists.
class TextureDrawGL : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kWin, kWin);
        zarvo_test::SetPixelView();
        g_TextureManager = &m_Manager;
        g_ShaderManager = GetParam() ? BuiltInShaders() : nullptr;
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        if (!m_Texture) m_Texture = new CTexture(WriteQuadrantImage());
    }
    void TearDown() override {
        delete m_Texture;
        m_Texture = nullptr;
        g_TextureManager = nullptr;
        g_ShaderManager = nullptr;
    }

    CTextureManager m_Manager;
    CTexture* m_Texture = nullptr;
};

} // namespace

INSTANTIATE_TEST_SUITE_P(ShaderAndFixedPipeline, TextureDrawGL, ::testing::Bool());

TEST_P(TextureDrawGL, DrawPutsTheTopLeftCornerAtXYWithTheImageSize) {
    ASSERT_EQ(m_Texture->GetWidth(), 32.0f);
    ASSERT_EQ(m_Texture->GetHeight(), 16.0f);
    m_Texture->Draw(40, 30, 1, 0, 1, 1, 1, 1);
    EXPECT_EQ(ColorAt(40, 30), Red);
    EXPECT_EQ(ColorAt(55, 37), Red);
    EXPECT_EQ(ColorAt(56, 30), Green);
    EXPECT_EQ(ColorAt(71, 37), Green);
    EXPECT_EQ(ColorAt(40, 38), Blue);
    EXPECT_EQ(ColorAt(71, 45), White);
    EXPECT_EQ(ColorAt(39, 30), Black);
    EXPECT_EQ(ColorAt(72, 30), Black);
    EXPECT_EQ(ColorAt(40, 29), Black);
    EXPECT_EQ(ColorAt(40, 46), Black);
}

TEST_P(TextureDrawGL, StoredPositionAndColourModulation) {
    m_Texture->SetPosition(CVector2(10, 20));
    m_Texture->Draw(1, 0, 0, 1, 0, 1); // scale, rotation, r, g, b, a
    EXPECT_EQ(ColorAt(10, 20), Black); // red * (0, 1, 0)
    EXPECT_EQ(ColorAt(26, 20), Green);
    EXPECT_EQ(ColorAt(41, 35), Green); // white * green
}

TEST_P(TextureDrawGL, ScaleGrowsFromTheTopLeftCorner) {
    // Magnified texels blend with their (repeating) neighbours in the outer pixel, so
    // probe one pixel inside each edge.
    m_Texture->Draw(40, 30, 2, 0, 1, 1, 1, 1);
    EXPECT_EQ(ColorAt(41, 31), Red);
    EXPECT_EQ(ColorAt(70, 44), Red);
    EXPECT_EQ(ColorAt(73, 31), Green);
    EXPECT_EQ(ColorAt(102, 60), White);
    EXPECT_EQ(ColorAt(104, 60), Black);
    EXPECT_EQ(ColorAt(102, 62), Black);
}

TEST_P(TextureDrawGL, RotationTurnsAboutTheCentre) {
    m_Texture->Draw(40, 30, 1, 180, 1, 1, 1, 1);
    EXPECT_EQ(ColorAt(41, 31), White);
    EXPECT_EQ(ColorAt(70, 44), Red);
    EXPECT_EQ(ColorAt(39, 31), Black);

    glClear(GL_COLOR_BUFFER_BIT);
    // 90 degrees clockwise on screen: the 32 x 16 box becomes 16 x 32 about (56, 38).
    m_Texture->Draw(40, 30, 1, 90, 1, 1, 1, 1);
    EXPECT_EQ(ColorAt(60, 24), Red);
    EXPECT_EQ(ColorAt(52, 24), Blue);
    EXPECT_EQ(ColorAt(60, 52), Green);
    EXPECT_EQ(ColorAt(52, 52), White);
    EXPECT_EQ(ColorAt(45, 38), Black);
    EXPECT_EQ(ColorAt(66, 38), Black);
}

TEST_P(TextureDrawGL, DrawSectionDrawsTheNamedQuarterAtHalfSize) {
    m_Texture->DrawSection(40, 30, sRect{0.5f, 1.0f, 0.0f, 0.5f}, 1, 0, 1, 1, 1, 1);
    EXPECT_EQ(ColorAt(40, 30), White);
    EXPECT_EQ(ColorAt(55, 37), White);
    EXPECT_EQ(ColorAt(56, 30), Black);
    EXPECT_EQ(ColorAt(40, 38), Black);

    glClear(GL_COLOR_BUFFER_BIT);
    m_Texture->DrawSection(CVector2(40, 30), sRect{1.0f, 0.5f, 0.5f, 0.0f}, 2, 0, 1, 1, 1, 1);
    EXPECT_EQ(ColorAt(41, 31), Red);
    EXPECT_EQ(ColorAt(70, 44), Red);
    EXPECT_EQ(ColorAt(72, 31), Black);
    EXPECT_EQ(ColorAt(41, 46), Black);
}

TEST_P(TextureDrawGL, ImageLibraryTexturesRegisterAndAFailedLoadKeepsTheOldState) {
    ASSERT_EQ(m_Manager.GetTextures().size(), 1u);
    EXPECT_EQ(m_Manager.GetTextures()[0], m_Texture);
    const unsigned int name = m_Texture->GetTextureName();
    EXPECT_FALSE(m_Texture->Load("no/such/file.png"));
    EXPECT_EQ(m_Texture->GetTextureName(), name);
    EXPECT_EQ(m_Texture->GetWidth(), 32.0f);
    EXPECT_EQ(m_Manager.GetTextures().size(), 1u);
}
