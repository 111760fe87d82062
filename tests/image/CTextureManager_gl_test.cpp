#include <gtest/gtest.h>

#include "core/Engine.h"
#include "image/CTexture.h"
#include "image/CTextureManager.h"
#include "support/gl_context.h"

#include <SDL.h>

namespace {

// A texture object with a fresh GL name, registered with g_TextureManager.
CTexture* MakeRegistered() {
    auto* t = new CTexture();
    t->MakeTexture(SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 2, 24, 0xFF, 0xFF00, 0xFF0000, 0));
    return t;
}

class TextureManagerGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        g_TextureManager = &manager;
    }
    void TearDown() override { g_TextureManager = nullptr; }
    CTextureManager manager;
};

} // namespace

TEST_F(TextureManagerGL, RegisterKeepsOnlyTheFirstObjectOfAName) {
    CTexture* a = MakeRegistered();
    CTexture* b = MakeRegistered();
    ASSERT_NE(a->GetTextureName(), b->GetTextureName());
    EXPECT_EQ(manager.GetTextures(), (std::vector<CTexture*>{a, b}));
    manager.RegisterTexture(a);
    EXPECT_EQ(manager.GetTextures().size(), 2u);
    manager.RegisterTexture(nullptr);
    EXPECT_EQ(manager.GetTextures().size(), 2u);
    delete a;
    delete b;
}

TEST_F(TextureManagerGL, DestroyedTexturesLeaveTheList) {
    CTexture* a = MakeRegistered();
    CTexture* b = MakeRegistered();
    CTexture* c = MakeRegistered();
    delete b;
    EXPECT_EQ(manager.GetTextures(), (std::vector<CTexture*>{a, c}));
    manager.ReloadTextures(); // walks the list: must not touch the dead entry
    manager.DeleteTextures();
    delete a;
    delete c;
    EXPECT_TRUE(manager.GetTextures().empty());
}

TEST_F(TextureManagerGL, UnRegisterRemovesAndDestroysOnlyAMatchingName) {
    CTexture* a = MakeRegistered();
    CTexture* b = MakeRegistered();
    CTexture stranger;                    // name 0, never registered
    manager.UnRegisterTexture(&stranger); // no match: nothing removed, nothing destroyed
    EXPECT_EQ(manager.GetTextures().size(), 2u);
    manager.UnRegisterTexture(a); // removes and deletes a
    EXPECT_EQ(manager.GetTextures(), (std::vector<CTexture*>{b}));
    delete b;
}
