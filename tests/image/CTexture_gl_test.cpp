#include <gtest/gtest.h>

#include "core/Engine.h"
#include "image/CTexture.h"
#include "image/CTextureManager.h"
#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/test_paths.h"

#include <SDL.h>

// One letter per pixel at the (x, y) pairs: k(black), r, g, b, w(hite) or ? for anything
// else; then clears the window for the next draw.
static std::string TakeColours(std::initializer_list<int> xy) {
    std::string out;
    for (auto p = xy.begin(); p != xy.end(); p += 2) {
        const zarvo_test::Rgba c = zarvo_test::ReadPixelTopDown(p[0], p[1]);
        const bool clean =
            (c.r > 200 || c.r < 50) && (c.g > 200 || c.g < 50) && (c.b > 200 || c.b < 50);
        out += clean ? "krg?b??w"[(c.r > 200) | (c.g > 200) << 1 | (c.b > 200) << 2] : '?';
    }
    glClear(GL_COLOR_BUFFER_BIT);
    return out;
}

// Draws through the built-in texture shader and through the fixed pipeline without one.
class TextureDrawGL : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(256, 256);
        zarvo_test::SetPixelView();
        g_ShaderManager = GetParam() ? zarvo_test::BuiltInShaders() : nullptr;
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        glClearColor(0, 0, 0, 1);
    }
    CTextureManager m_Manager;
    zarvo_test::ScopedGlobal<CTextureManager> m_ManagerGlobal{g_TextureManager, &m_Manager};
    zarvo_test::ScopedGlobal<CShaderManager> m_ShadersGlobal{g_ShaderManager, nullptr};
};

INSTANTIATE_TEST_SUITE_P(ShaderAndFixedPipeline, TextureDrawGL, ::testing::Bool());

// Scaled draws are probed a pixel inside each edge, where texels blend with their neighbours.
TEST_P(TextureDrawGL, PositionScaleRotationSectionAndColour) {
    // Four 16 x 8 quadrants: red, green / blue, white (top row first).
    CTexture texture(zarvo_test::SaveBmp(
        32, 16,
        {{0, 0, 255, 0, 0}, {16, 0, 0, 255, 0}, {0, 8, 0, 0, 255}, {16, 8, 255, 255, 255}}));
    ASSERT_EQ(texture.GetHeight(), 16.0f);
    // Image-library textures register; a failed load keeps the old state.
    EXPECT_EQ(m_Manager.GetTextures(), (std::vector<CTexture*>{&texture}));
    const unsigned int name = texture.GetTextureName();
    EXPECT_FALSE(texture.Load("no/such/file.png"));
    EXPECT_EQ(texture.GetTextureName(), name);
    EXPECT_EQ(m_Manager.GetTextures().size(), 1u);
    glClear(GL_COLOR_BUFFER_BIT);
    texture.Draw(40, 30, 1, 0, 1, 1, 1, 1); // the top-left corner at (x, y), at the image's size
    EXPECT_EQ(TakeColours(
                  {40, 30, 55, 37, 56, 30, 71, 37, 40, 38, 71, 45, 39, 30, 72, 30, 40, 29, 40, 46}),
              "rrggbwkkkk");
    texture.SetPosition(CVector2(10, 20));
    texture.Draw(1, 0, 0, 1, 0, 1); // at the stored position, times (0, 1, 0)
    EXPECT_EQ(TakeColours({10, 20, 26, 20, 41, 35}), "kgg");
    texture.Draw(40, 30, 2, 0, 1, 1, 1, 1); // scaled from the top-left corner
    EXPECT_EQ(TakeColours({41, 31, 70, 44, 73, 31, 102, 60, 104, 60, 102, 62}), "rrgwkk");
    // Turned about the centre; at 90 degrees clockwise the box is 16 x 32 about (56, 38).
    texture.Draw(40, 30, 1, 180, 1, 1, 1, 1);
    EXPECT_EQ(TakeColours({41, 31, 70, 44, 39, 31}), "wrk");
    texture.Draw(40, 30, 1, 90, 1, 1, 1, 1);
    EXPECT_EQ(TakeColours({60, 24, 52, 24, 60, 52, 52, 52, 45, 38, 66, 38}), "rbgwkk");
    // A named quarter at half the size, or scaled back up.
    texture.DrawSection(40, 30, sRect{0.5f, 1.0f, 0.0f, 0.5f}, 1, 0, 1, 1, 1, 1);
    EXPECT_EQ(TakeColours({40, 30, 55, 37, 56, 30, 40, 38}), "wwkk");
    texture.DrawSection(CVector2(40, 30), sRect{1.0f, 0.5f, 0.5f, 0.0f}, 2, 0, 1, 1, 1, 1);
    EXPECT_EQ(TakeColours({41, 31, 70, 44, 72, 31, 41, 46}), "rrkk");
}

TEST(TextureManagerGL, RegistrationFollowsTheTexturesLives) {
    ZARVO_REQUIRE_GL(256, 256);
    CTextureManager manager;
    const zarvo_test::ScopedGlobal<CTextureManager> global(g_TextureManager, &manager);
    const auto make = [] { // a fresh GL name, registered
        auto* t = new CTexture();
        t->MakeTexture(SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, 24, 0xFF, 0xFF00, 0xFF0000, 0));
        return t;
    };
    CTexture *a = make(), *b = make(), *c = make();
    ASSERT_NE(a->GetTextureName(), b->GetTextureName());
    EXPECT_EQ(manager.GetTextures(), (std::vector<CTexture*>{a, b, c}));
    manager.RegisterTexture(a); // only the first object of a name is kept
    manager.RegisterTexture(nullptr);
    EXPECT_EQ(manager.GetTextures().size(), 3u);
    delete b; // a destroyed texture leaves the list
    EXPECT_EQ(manager.GetTextures(), (std::vector<CTexture*>{a, c}));
    manager.ReloadTextures(); // walks the list: must not touch the dead entry
    CTexture stranger;        // name 0, never registered: nothing removed, nothing destroyed
    manager.UnRegisterTexture(&stranger);
    EXPECT_EQ(manager.GetTextures().size(), 2u);
    manager.UnRegisterTexture(a); // removes and deletes a
    EXPECT_EQ(manager.GetTextures(), (std::vector<CTexture*>{c}));
    manager.DeleteTextures();
    delete c;
    EXPECT_TRUE(manager.GetTextures().empty());
}
