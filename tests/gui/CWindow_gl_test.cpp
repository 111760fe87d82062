// The GUI driven as the engine's frame does it: one pushed SDL event and one pass a frame.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "gui/CButton.h"
#include "gui/CCheckBox.h"
#include "gui/CFont.h"
#include "gui/CProgressBar.h"
#include "gui/CStaticText.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "support/demo_fixtures.h"

#include <tuple>

using zarvo_test::g_SpriteNow;
using zarvo_test::WriteSolid;
constexpr int kWin = 256;

class GuiGL : public zarvo_test::PixelViewGL<kWin> {
protected:
    // One frame as the engine runs it: one event, then the GUI pass on a black screen.
    void Frame() {
        m_Events.PollEvents();
        Clear();
        m_Manager.MainLoop();
    }
    void MouseTo(int x, int y, bool frame = true) {
        ASSERT_TRUE(zarvo_test::WarpMouse(x, y)) << x << ", " << y;
        if (frame) Frame();
    }
    void Press(Uint8 button, bool down, int x, int y) {
        ASSERT_TRUE(zarvo_test::PushMouseButton(button, down, x, y));
        Frame();
    }
    int Clicked() const { return m_Events.GetOnClickedGuiElement(); }
    CWindow* Shown(CWindow* w) {
        w->SetVisible(true);
        m_Manager.RegisterWindow(w);
        return w;
    }
    CWindowManager m_Manager; // last, so the windows go before the managers they use
};

TEST_F(GuiGL, HeaderDragMovesTheWindowByTheMouseMotionAndABodyPressDoesNot) {
    std::string red = WriteSolid("window", 0, 100, 80);
    CWindow* window = Shown(new CWindow(40, 40, 140, 120, red.data(), false, 1.0f, 15, 1, true));
    MouseTo(60, 45);
    Press(SDL_BUTTON_LEFT, true, 60, 45);
    MouseTo(90, 75);
    EXPECT_TRUE(window->GetRight() == 170.0f && window->GetBottom() == 150.0f);
    Frame(); // drawn at the new place and no longer at the old one
    EXPECT_TRUE(At(72, 72).r > 200 && At(168, 148).r == 255 && At(50, 50).r < 50);
    Press(SDL_BUTTON_LEFT, false, 90, 75); // released over the header: the drag ends
    MouseTo(120, 100, false);
    Press(SDL_BUTTON_LEFT, true, 120, 100); // on the body
    MouseTo(150, 130);
    EXPECT_TRUE(!window->IsDragging() && window->GetLeft() == 70.0f && window->GetTop() == 70.0f);
}

TEST_F(GuiGL, ButtonsAnimateTheirHoverOnceAndReportOnlyTheLeftPressFrameCheckBoxesTheirState) {
    std::string frames = WriteSolid("button", 4, 40, 20);
    CButton* button = new CButton(frames.data(), 4, 20, 20, 42);
    button->SetAnimationSpeed(20); // a frame per 50 ms
    CWindow* window = Shown(new CWindow(0, 0, kWin, kWin, 1));
    window->RegisterButton(button);
    MouseTo(30, 30);
    EXPECT_EQ(Clicked(), -1);
    for (int frame : {1, 2, 3, 4, 4, 4}) { // played once, then held
        g_SpriteNow += 60;
        Frame();
        EXPECT_EQ(SolidFrameAt(30, 30), frame);
    }
    MouseTo(200, 200); // back to the first frame once the mouse has left
    EXPECT_TRUE(SolidFrameAt(30, 30) == 1 && button->GetSprite()->GetCurrentFrame() == 1);

    MouseTo(60, 40); // the bottom-right corner counts; {button, enabled, reported}
    for (const auto& [which, enabled, reported] : {std::tuple{SDL_BUTTON_LEFT, true, 42},
                                                   {SDL_BUTTON_RIGHT, true, -1},
                                                   {SDL_BUTTON_LEFT, false, -1}}) {
        button->Enable(enabled);
        Press(Uint8(which), true, 60, 40);
        EXPECT_EQ(Clicked(), reported) << which << " " << enabled;
        EXPECT_TRUE(button->IsMouseOn()) << "a disabled button still hovers";
        Frame(); // still held, no new event; then released: neither reported
        const int held = Clicked();
        Press(Uint8(which), false, 60, 40);
        EXPECT_TRUE(held == -1 && Clicked() == -1);
    }

    // A check box shows its checked image from the frame after its click.
    std::string off = WriteSolid("off", 1, 24, 24, 200), on = WriteSolid("on", 1, 24, 24, 0, 200);
    CCheckBox* box = new CCheckBox(off.data(), 1, on.data(), 1, 20, 60, 7);
    window->RegisterCheckbox(box);
    MouseTo(30, 70);
    Press(SDL_BUTTON_LEFT, true, 30, 70);
    EXPECT_TRUE(Clicked() == 7 && box->IsChecked());
    EXPECT_GT(At(30, 70).g, 150) << "the click's own frame still shows the unchecked image";
    Frame();
    EXPECT_TRUE(At(30, 70).b > 150 && At(30, 70).g < 50 && Clicked() == -1);
}

TEST_F(GuiGL, TheProgressBarShowsCurrentOverMaximumOfItsWidth) {
    std::string white = WriteSolid("bar", 0, 100, 10, 255, 255);
    CWindow* window = Shown(new CWindow(0, 0, kWin, kWin, 1));
    // Registers a bar, sets its length, draws a frame: the lit run along its middle row as
    // {length, first x}.
    auto filled = [&](const char* image, unsigned int maximum, unsigned int length) {
        window->RegisterProgressBar(const_cast<char*>(image), 20, 200, maximum);
        window->GetProgressBar()->SetActualLength(length);
        Frame();
        std::pair<int, int> run{0, -1};
        for (int x = 0; x < kWin; ++x)
            if (At(x, 205).r > 128) run = {run.first + 1, run.second < 0 ? x : run.second};
        return run;
    };
    for (unsigned int length : {0u, 1u, 30u, 49u, 50u}) {
        const auto run = filled(white.c_str(), 50, length);
        EXPECT_NEAR(run.first, int(length * 100 / 50), 1) << length;
        EXPECT_EQ(run.second, length ? 20 : -1) << length;
    }
    EXPECT_EQ(filled(white.c_str(), 0, 10).first, 0) << "maximum 0 draws nothing";
    EXPECT_EQ(filled("no/such/bar.png", 50, 10).first, 0) << "nor does an image not loaded";
}

TEST_F(GuiGL, TooltipAndMoveCursorShowOnlyOverMovableHeadersAndPercentSignsStayText) {
    CGraphicsCore graphics;
    g_Graphics = &graphics;
    graphics.LoadCustomMouseCursors(const_cast<char*>("Data/MousePointer.png"),
                                    const_cast<char*>("Data/moveWindow.png"));
    CTexture* cursors[2];
    for (bool move : {true, false}) {
        graphics.setActualCursorToWindowMove(move);
        cursors[move] = graphics.GetCurrentCursor();
    }
    ASSERT_NE(cursors[0], cursors[1]);
    m_Fonts.LoadFont("Data/Font/font.tga");
    CFont* font = m_Fonts.getFont(1);
    ASSERT_NE(font, nullptr);
    char tip[] = "50% %s %n";
    for (bool movable : {true, false}) // the second, lower one cannot move
        Shown(new CWindow(40, movable ? 40 : 140, 200, 180, nullptr, false, 1, 15, 1, movable))
            ->SetToolTip(tip, 0, sColor(1, 1, 1, 1), 10, 200, 0);
    CWindow* third = Shown(new CWindow(210, 10, 250, 100, nullptr, false, 1, 15, 2, true));
    // {x, y, tooltip shown, move cursor}: a movable header, its body, a fixed window's header,
    // the third window's header (no tooltip), back to the first.
    for (const auto& [x, y, shown, move] : {std::tuple{60, 45, true, true},
                                            {60, 80, false, false},
                                            {60, 145, false, false},
                                            {220, 15, false, true},
                                            {60, 45, true, true}}) {
        MouseTo(x, y);
        int ink = 0;
        for (int ty = 200; ty < 216; ++ty)
            for (int tx = 10; tx < 120; ++tx)
                ink += At(tx, ty).r > 100;
        EXPECT_TRUE(shown ? ink > 20 : ink == 0) << x << ", " << y << ": " << ink;
        EXPECT_EQ(graphics.GetCurrentCursor(), cursors[move]) << x << ", " << y;
    }
    EXPECT_STREQ(font->GetText(), "50% %s %n") << "printed as it stands";
    CStaticText("100%d %x%%", 10, 230).Draw();
    EXPECT_STREQ(font->GetText(), "100%d %x%%");
    MouseTo(220, 15);
    Press(SDL_BUTTON_LEFT, true, 220, 15);
    ASSERT_TRUE(third->IsDragging());
    m_Manager.UnRegisterWindow(third); // mid-drag
    EXPECT_EQ(graphics.GetCurrentCursor(), cursors[0]);
    Frame();
}
