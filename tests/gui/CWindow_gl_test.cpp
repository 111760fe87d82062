// The GUI driven as the engine's frame drives it: SDL events pushed into the real queue,
// one PollEvents of the real event manager per frame, then the window manager's pass, and
// the result read back from the frame buffer.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "gui/CButton.h"
#include "gui/CCheckBox.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "gui/CProgressBar.h"
#include "gui/CStaticText.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "image/CTextureManager.h"
#include "scene2d/CSprite.h"
#include "support/event_driver.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <string>

namespace {

constexpr int kWin = 256;
unsigned int g_Now = 0;
unsigned int FakeTicks() {
    return g_Now;
}

// A solid image (BMP data under any name; the image library goes by the content).
void WriteSolid(const std::string& path, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

// Frames base1.png .. baseN.png of w x h; frame k has red 10 * k and the given green, blue.
std::string WriteFrames(const char* tag, unsigned int n, int w, int h, Uint8 g = 0, Uint8 b = 0) {
    const std::string base = zarvo_test::MakeTempDir(tag) + "/frame";
    for (unsigned int k = 1; k <= n; ++k)
        WriteSolid(base + std::to_string(k) + ".png", w, h, Uint8(10 * k), g, b);
    return base;
}

class GuiGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kWin, kWin);
        g_TextureManager = &m_Textures;
        g_EventManager = &m_Events;
        g_FontManager = &m_Fonts;
        CSprite::SetTickSource(&FakeTicks);
        g_Now = 1000;
        zarvo_test::SetPixelView();
        zarvo_test::DrainEvents();
    }
    void TearDown() override {
        CSprite::SetTickSource(nullptr);
        g_FontManager = nullptr;
        g_EventManager = nullptr;
        g_TextureManager = nullptr;
    }

    // One frame as the engine runs it: one event, then the GUI pass on a black screen.
    void Frame() {
        m_Events.PollEvents();
        glDisable(GL_SCISSOR_TEST);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
        m_Manager.MainLoop();
    }
    void MouseTo(int x, int y) { ASSERT_TRUE(zarvo_test::WarpMouse(x, y)) << x << ", " << y; }
    static void Press(Uint8 button, bool down, int x = 0, int y = 0) {
        ASSERT_TRUE(zarvo_test::PushMouseButton(button, down, x, y));
    }
    int Clicked() const { return m_Events.GetOnClickedGuiElement(); }
    // A shown window with no header of its own, covering the whole test window.
    CWindow* Plain() {
        CWindow* window = new CWindow(0, 0, kWin, kWin, 1);
        window->SetVisible(true);
        m_Manager.RegisterWindow(window);
        return window;
    }
    static zarvo_test::Rgba At(int x, int y) { return zarvo_test::ReadPixelTopDown(x, y); }

    CTextureManager m_Textures;
    CEventManager m_Events;
    CFontManager m_Fonts;
    CWindowManager m_Manager; // last, so the windows go before the managers they use
};

} // namespace

TEST_F(GuiGL, HeaderDragMovesTheWindowByTheMouseMotionAndABodyPressDoesNot) {
    std::string red = zarvo_test::MakeTempDir("window") + "/red.png";
    WriteSolid(red, 100, 80, 255, 0, 0);
    CWindow* window = new CWindow(40, 40, 140, 120, red.data(), false, 1.0f, 15, 1, true);
    window->SetVisible(true);
    m_Manager.RegisterWindow(window);

    MouseTo(60, 45);
    Frame();
    Press(SDL_BUTTON_LEFT, true, 60, 45);
    Frame();
    EXPECT_TRUE(window->IsDragging());
    MouseTo(90, 75);
    Frame();
    EXPECT_EQ(window->GetRight(), 170.0f);
    EXPECT_EQ(window->GetBottom(), 150.0f);
    Frame();
    EXPECT_GT(At(72, 72).r, 200) << "drawn at the new place";
    EXPECT_EQ(At(168, 148).r, 255);
    EXPECT_LT(At(50, 50).r, 50) << "and no longer at the old one";

    Press(SDL_BUTTON_LEFT, false, 90, 75); // released over the header: the drag ends
    Frame();
    MouseTo(120, 100);
    Press(SDL_BUTTON_LEFT, true, 120, 100); // on the body
    Frame();
    MouseTo(150, 130);
    Frame();
    EXPECT_FALSE(window->IsDragging());
    EXPECT_EQ(window->GetLeft(), 70.0f);
    EXPECT_EQ(window->GetTop(), 70.0f);
}

TEST_F(GuiGL, AClickIsReportedOnlyInThePressFrameOfAnEnabledButtonWithTheLeftButton) {
    std::string frames = WriteFrames("button", 3, 40, 20);
    CButton* button = new CButton(frames.data(), 3, 20, 20, 42);
    Plain()->RegisterButton(button);
    MouseTo(60, 40); // the bottom-right corner counts
    Frame();
    EXPECT_EQ(Clicked(), -1);
    struct {
        Uint8 button;
        bool enabled;
        int reported;
    } presses[] = {
        {SDL_BUTTON_LEFT, true, 42}, {SDL_BUTTON_RIGHT, true, -1}, {SDL_BUTTON_LEFT, false, -1}};
    for (const auto& p : presses) {
        button->Enable(p.enabled);
        Press(p.button, true, 60, 40);
        Frame();
        EXPECT_EQ(Clicked(), p.reported) << int(p.button) << " " << p.enabled;
        EXPECT_TRUE(button->IsMouseOn()) << "a disabled button still hovers";
        Frame(); // still held, no new event
        EXPECT_EQ(Clicked(), -1) << "held";
        Press(p.button, false, 60, 40);
        Frame();
        EXPECT_EQ(Clicked(), -1) << "released";
    }
}

TEST_F(GuiGL, HoverAnimationPlaysOnceHoldsTheLastFrameAndResetsWhenTheMouseLeaves) {
    std::string frames = WriteFrames("hover", 4, 40, 20);
    CButton* button = new CButton(frames.data(), 4, 20, 20, 1);
    button->SetAnimationSpeed(20); // a frame per 50 ms
    Plain()->RegisterButton(button);
    auto shown = [] { return (At(30, 30).r + 5) / 10; };

    MouseTo(30, 30);
    const int expected[] = {1, 2, 3, 4, 4, 4};
    for (int frame : expected) {
        g_Now += 60;
        Frame();
        EXPECT_EQ(shown(), frame);
    }
    MouseTo(200, 200);
    g_Now += 60;
    Frame();
    EXPECT_EQ(shown(), 1) << "the first frame once the mouse has left";
    EXPECT_EQ(button->GetSprite()->GetCurrentFrame(), 1u);
}

TEST_F(GuiGL, ACheckBoxReportsItsClickAndShowsTheCheckedImageFromTheNextFrame) {
    std::string off = WriteFrames("boxoff", 1, 24, 24, 200, 0);
    std::string on = WriteFrames("boxon", 1, 24, 24, 0, 200);
    CCheckBox* box = new CCheckBox(off.data(), 1, on.data(), 1, 20, 60, 7);
    Plain()->RegisterCheckbox(box);

    MouseTo(30, 70);
    Frame();
    EXPECT_GT(At(30, 70).g, 150);
    Press(SDL_BUTTON_LEFT, true, 30, 70);
    Frame();
    EXPECT_EQ(Clicked(), 7);
    EXPECT_TRUE(box->IsChecked());
    EXPECT_GT(At(30, 70).g, 150) << "the click's own frame still shows the unchecked image";
    Frame();
    EXPECT_GT(At(30, 70).b, 150);
    EXPECT_LT(At(30, 70).g, 50);
    EXPECT_EQ(Clicked(), -1);
}

TEST_F(GuiGL, TheTooltipShowsOnlyOverAMovableHeaderAndPercentSignsStayText) {
    m_Fonts.LoadFont("Data/Font/font.tga");
    CFont* font = m_Fonts.getFont(1);
    ASSERT_NE(font, nullptr);
    char tip[] = "50% %s %n";
    for (bool movable : {true, false}) { // the second, lower one cannot move
        CWindow* w =
            new CWindow(40, movable ? 40 : 140, 200, 180, nullptr, false, 1, 15, 1, movable);
        w->SetToolTip(tip, 0, sColor(1, 1, 1, 1), 10, 200, 0);
        w->SetVisible(true);
        m_Manager.RegisterWindow(w);
    }
    auto tipInk = [] {
        int n = 0;
        for (int y = 200; y < 216; ++y)
            for (int x = 10; x < 120; ++x)
                n += At(x, y).r > 100;
        return n;
    };

    MouseTo(60, 45);
    Frame();
    EXPECT_GT(tipInk(), 20);
    EXPECT_STREQ(font->GetText(), "50% %s %n") << "printed as it stands";
    MouseTo(60, 80);
    Frame();
    EXPECT_EQ(tipInk(), 0) << "body of the movable window";
    MouseTo(60, 145);
    Frame();
    EXPECT_EQ(tipInk(), 0) << "header of a window that cannot move";

    CStaticText label("100%d %x%%", 10, 230);
    label.Draw();
    EXPECT_STREQ(font->GetText(), "100%d %x%%");
}

TEST_F(GuiGL, TheProgressBarShowsCurrentOverMaximumOfItsWidth) {
    std::string white = zarvo_test::MakeTempDir("bar") + "/fill.png";
    WriteSolid(white, 100, 10, 255, 255, 255);
    CWindow* window = Plain();
    window->RegisterProgressBar(white.data(), 20, 200, 50);
    struct Run {
        int length, first;
    };
    auto filled = [] { // the lit run along the bar's middle row
        Run run{0, -1};
        for (int x = 0; x < kWin; ++x)
            if (At(x, 205).r > 128) run.length += 1, run.first = run.first < 0 ? x : run.first;
        return run;
    };
    const unsigned int lengths[] = {0, 1, 30, 49, 50};
    for (unsigned int length : lengths) {
        window->GetProgressBar()->SetActualLength(length);
        Frame();
        const Run run = filled();
        EXPECT_NEAR(run.length, int(length * 100 / 50), 1) << length;
        if (run.length > 0) {
            EXPECT_EQ(run.first, 20);
        }
    }
    window->RegisterProgressBar(white.data(), 20, 200, 0); // maximum 0 draws nothing
    window->GetProgressBar()->SetActualLength(10);
    Frame();
    EXPECT_EQ(filled().length, 0);
    window->RegisterProgressBar(const_cast<char*>("no/such/bar.png"), 20, 200, 50);
    window->GetProgressBar()->SetActualLength(10);
    Frame(); // an image that failed to load draws nothing
    EXPECT_EQ(filled().length, 0);
}

TEST_F(GuiGL, TheMoveCursorShowsOverAnyMovableHeaderAndLeavesWithItsWindow) {
    g_Graphics = new CGraphicsCore();
    g_Graphics->LoadCustomMouseCursors(const_cast<char*>("Data/MousePointer.png"),
                                       const_cast<char*>("Data/moveWindow.png"));
    g_Graphics->setActualCursorToWindowMove(true);
    CTexture* move = g_Graphics->GetCurrentCursor();
    g_Graphics->setActualCursorToWindowMove(false);
    CTexture* normal = g_Graphics->GetCurrentCursor();
    ASSERT_NE(move, normal);

    CWindow* first = new CWindow(10, 10, 100, 100, nullptr, false, 1, 15, 1, true);
    CWindow* second = new CWindow(120, 10, 220, 100, nullptr, false, 1, 15, 2, true);
    for (CWindow* w : {first, second}) {
        w->SetVisible(true);
        m_Manager.RegisterWindow(w);
    }
    MouseTo(50, 15);
    Frame();
    EXPECT_EQ(g_Graphics->GetCurrentCursor(), move) << "the first window's header";
    MouseTo(150, 15);
    Frame();
    EXPECT_EQ(g_Graphics->GetCurrentCursor(), move) << "the second window's header";
    MouseTo(150, 50);
    Frame();
    EXPECT_EQ(g_Graphics->GetCurrentCursor(), normal);
    MouseTo(150, 15);
    Press(SDL_BUTTON_LEFT, true, 150, 15);
    Frame();
    ASSERT_TRUE(second->IsDragging());
    m_Manager.UnRegisterWindow(second); // mid-drag
    EXPECT_EQ(g_Graphics->GetCurrentCursor(), normal);
    Frame();
    delete g_Graphics;
    g_Graphics = nullptr;
}
