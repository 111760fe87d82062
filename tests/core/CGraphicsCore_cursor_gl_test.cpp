#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "image/CTexture.h"
#include "image/CTextureManager.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <cstdlib>
#include <string>

namespace {

// A solid 8 x 8 image (BMP data; the image library recognises it by its content).
std::string WriteCursor(const std::string& dir, const char* name, Uint8 r, Uint8 g) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 8, 8, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, 0));
    const std::string path = dir + "/" + name;
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

class CursorGL : public ::testing::Test {
protected:
    // The engine tests beside these open 1024 x 768 windows through the graphics core;
    // the same size here spares them a resize, and an open window is used as it is.
    void SetUp() override {
        if (!SDL_GetVideoSurface()) ZARVO_REQUIRE_GL(1024, 768);
        g_TextureManager = &m_Textures;
        g_EventManager = &m_Events;
        g_Graphics = new CGraphicsCore();
        const std::string dir = zarvo_test::MakeTempDir("cursor");
        m_Normal = WriteCursor(dir, "pointer.png", 255, 0);
        m_Move = WriteCursor(dir, "move.png", 0, 255);
        zarvo_test::SetPixelView();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override {
        delete g_Graphics; // owns the cursor textures
        g_Graphics = nullptr;
        g_EventManager = nullptr;
        g_TextureManager = nullptr;
        SDL_ShowCursor(1);
    }

    // Warps the pointer and lets the event manager sample it; false when the display
    // does not move the pointer.
    bool MoveMouseTo(int x, int y) {
        m_Events.SetMouseCoordinates(x, y);
        for (int i = 0; i < 200; ++i) {
            m_Events.PollEvents();
            if (m_Events.GetMouseX() == x && m_Events.GetMouseY() == y) return true;
            SDL_Delay(5);
        }
        return false;
    }

    static void Clear() {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    // The pixel is the cursor's red, the window-move cursor's green, or the black clear.
    static bool Is(int x, int y, int r, int g) {
        const zarvo_test::Rgba p = zarvo_test::ReadPixelTopDown(x, y);
        return std::abs(p.r - r) < 55 && std::abs(p.g - g) < 55;
    }
    static bool IsRed(int x, int y) { return Is(x, y, 255, 0); }
    static bool IsGreen(int x, int y) { return Is(x, y, 0, 255); }
    static bool IsBlack(int x, int y) { return Is(x, y, 0, 0); }

    CTextureManager m_Textures;
    CEventManager m_Events;
    std::string m_Normal, m_Move;
};

} // namespace

TEST_F(CursorGL, TheCursorImageTopLeftIsAtTheMousePosition) {
    g_Graphics->LoadCustomMouseCursor(m_Normal.data());
    EXPECT_TRUE(g_Graphics->IsCustomCursorActive());
    EXPECT_EQ(SDL_ShowCursor(-1), 0) << "the system cursor is hidden";
    ASSERT_TRUE(MoveMouseTo(100, 60));
    Clear();
    g_Graphics->DrawCustomCursor();
    EXPECT_TRUE(IsRed(100, 60));
    EXPECT_TRUE(IsRed(107, 67));
    EXPECT_TRUE(IsBlack(99, 60));
    EXPECT_TRUE(IsBlack(100, 59));
    EXPECT_TRUE(IsBlack(108, 67));
}

TEST_F(CursorGL, WindowMoveCursorRule) {
    g_Graphics->LoadCustomMouseCursor(m_Normal.data());
    ASSERT_TRUE(MoveMouseTo(30, 40));

    // Before a window-move cursor exists the current cursor may be null, yet the normal
    // one is drawn.
    g_Graphics->setActualCursorToWindowMove(true);
    EXPECT_EQ(g_Graphics->GetCurrentCursor(), nullptr);
    Clear();
    g_Graphics->DrawCustomCursor();
    EXPECT_TRUE(IsRed(31, 41));

    g_Graphics->LoadCustomMouseCursorOnWindowMove(m_Move.data());
    g_Graphics->setActualCursorToWindowMove(true);
    Clear();
    g_Graphics->DrawCustomCursor();
    EXPECT_TRUE(IsGreen(31, 41));

    g_Graphics->setActualCursorToWindowMove(false);
    Clear();
    g_Graphics->DrawCustomCursor();
    EXPECT_TRUE(IsRed(31, 41));
}

TEST_F(CursorGL, LoadingBothMakesTheNormalCursorCurrent) {
    g_Graphics->LoadCustomMouseCursors(m_Normal.data(), m_Move.data());
    EXPECT_TRUE(g_Graphics->IsCustomCursorActive());
    ASSERT_NE(g_Graphics->GetCurrentCursor(), nullptr);
    ASSERT_TRUE(MoveMouseTo(10, 10));
    Clear();
    g_Graphics->DrawCustomCursor();
    EXPECT_TRUE(IsRed(12, 12));
}
