// Window and widget rules that need no display: hit tests at the exact edges, the
// keep-inside rule, activation and visibility, and the progress bar's lengths. Widgets
// are built from image names that do not exist, so their frames are empty textures whose
// draw size the tests set.
#include <gtest/gtest.h>

#include "gui/CButton.h"
#include "gui/CCheckBox.h"
#include "gui/CProgressBar.h"
#include "gui/CStaticText.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "scene2d/CSprite.h"

#include <cmath>

namespace {

char kMissing[] = "no/such/gui/frame";

CButton* SizedButton(float x, float y, int w, int h, int id = 1) {
    CButton* button = new CButton(kMissing, 2, x, y, id);
    button->SetButtonSize(w, h);
    return button;
}

} // namespace

TEST(CWindow, HeaderBoundsAreInclusive) {
    CWindow window(100, 80, 300, 200, nullptr, false, 1.0f, 15, 1, true);
    struct {
        float x, y;
        bool on;
    } cases[] = {{100, 80, true}, {300, 95, true},  {200, 95, true},  {200, 96, false},
                 {99, 90, false}, {301, 90, false}, {200, 79, false}, {150, 88, true}};
    for (const auto& c : cases)
        EXPECT_EQ(window.IsOnHeader(c.x, c.y), c.on) << c.x << ", " << c.y;

    // The five-int form has header size 0: only the row y = top is left.
    CWindow plain(100, 80, 300, 200, 5);
    EXPECT_EQ(plain.GetHeaderSize(), 0u);
    EXPECT_TRUE(plain.IsOnHeader(150, 80));
    EXPECT_FALSE(plain.IsOnHeader(150, 81));
    EXPECT_EQ(CWindow().GetHeaderSize(), 15u);
}

TEST(CWindow, WidgetsAreKeptInsideOnlyByMovingLeftOrUp) {
    CWindow window(0, 0, 1024, 768, 1);
    CButton* far = SizedButton(900, 700, 200, 100);
    CButton* near = SizedButton(800, 10, 200, 100);
    CButton* huge = SizedButton(10, 10, 1100, 800);
    window.RegisterButton(far);
    window.RegisterButton(near);
    window.RegisterButton(huge);
    EXPECT_EQ(far->GetButtonPosX(), 824.0f);
    EXPECT_EQ(far->GetButtonPosY(), 668.0f);
    EXPECT_EQ(near->GetButtonPosX(), 800.0f);
    EXPECT_EQ(near->GetButtonPosY(), 10.0f);
    EXPECT_EQ(huge->GetButtonPosX(), -76.0f) << "a widget larger than the window goes negative";
    EXPECT_EQ(huge->GetButtonPosY(), -32.0f);

    CCheckBox* box = new CCheckBox(kMissing, 1, kMissing, 1, 1020, 766, 2);
    box->SetCheckboxSize(24, 24);
    window.RegisterCheckbox(box);
    EXPECT_EQ(box->GetX(), 1000.0f);
    EXPECT_EQ(box->GetY(), 744.0f);
    EXPECT_EQ(box->GetSprite(true)->GetSpritePosX(), 1000.0f) << "both sprites move together";
    EXPECT_EQ(window.GetButtons().size(), 3u);
}

TEST(CWindow, ButtonAndCheckBoxHitTestsCountEveryEdge) {
    CButton* button = SizedButton(10, 20, 50, 30);
    CCheckBox box(kMissing, 1, kMissing, 1, 10, 20, 3);
    box.SetCheckboxSize(50, 30);
    const float ox = 100, oy = 200; // the window origin
    struct {
        float x, y;
        bool over;
    } cases[] = {{110, 220, true},  {160, 250, true},  {161, 250, false}, {160, 251, false},
                 {109, 230, false}, {130, 219, false}, {135, 235, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(button->HitTest(c.x, c.y, ox, oy), c.over) << c.x << ", " << c.y;
        EXPECT_EQ(box.HitTest(c.x, c.y, ox, oy), c.over) << c.x << ", " << c.y;
    }
    // Without frames (no images, or the default constructor) nothing is ever hit.
    CButton empty(kMissing, 0, 0, 0, 4);
    EXPECT_FALSE(empty.HitTest(0, 0, 0, 0));
    EXPECT_FALSE(CButton().HitTest(0, 0, 0, 0));
    delete button;
}

TEST(CWindow, CheckBoxPositionSettersDropTheFraction) {
    CCheckBox box(kMissing, 1, kMissing, 1, 3, 4, 1);
    box.SetPositionX(10.7f);
    box.SetPositionY(-2.9f);
    for (bool checked : {false, true}) {
        EXPECT_EQ(box.GetSprite(checked)->GetSpritePosX(), 10.0f);
        EXPECT_EQ(box.GetSprite(checked)->GetSpritePosY(), -2.0f);
    }
    box.SetPosition(5.5f, 6.5f);
    EXPECT_EQ(box.GetSprite(true)->GetSpritePosX(), 5.5f);
}

TEST(CWindow, ActivationAndVisibility) {
    CWindow window(0, 0, 10, 10, 1);
    EXPECT_FALSE(window.GetVisible());
    window.ActivateWindow(true);
    EXPECT_TRUE(window.IsActive());
    EXPECT_TRUE(window.GetVisible()) << "activating shows";
    window.ActivateWindow(false);
    EXPECT_TRUE(window.GetVisible()) << "deactivating leaves it shown";
    window.ActivateWindow(true);
    window.SetVisible(false);
    EXPECT_FALSE(window.IsActive()) << "hiding deactivates";

    CWindowManager manager;
    CWindow* a = new CWindow(0, 0, 10, 10, 7);
    CWindow* b = new CWindow(0, 0, 10, 10, 7);
    CWindow* other = new CWindow(0, 0, 10, 10, 8);
    for (CWindow* w : {a, b, other, a}) // a second registration is ignored, not deleted twice
        manager.RegisterWindow(w);
    EXPECT_EQ(manager.GetWindows().size(), 3u);
    manager.ActivateWindow(7);
    EXPECT_TRUE(a->IsActive() && a->GetVisible());
    EXPECT_TRUE(b->IsActive() && b->GetVisible());
    EXPECT_FALSE(other->IsActive() || other->GetVisible());
    manager.DeactivateAllWindow();
    EXPECT_FALSE(a->IsActive() || b->IsActive());
    EXPECT_TRUE(a->GetVisible() && b->GetVisible());
}

TEST(CProgressBar, LengthsAndSection) {
    CProgressBar bar(kMissing, 0, 0, 50);
    bar.SetActualLength(30);
    bar.IncrementActualLength(50);
    EXPECT_EQ(bar.GetActualLength(), 50u) << "increments stop at the maximum";
    bar.SetActualLength(80);
    EXPECT_EQ(bar.GetActualLength(), 80u) << "setting does not clamp";
    bar.SetActualLength(10);
    bar.IncrementActualLength(0xFFFFFFFFu);
    EXPECT_EQ(bar.GetActualLength(), 50u) << "a huge step does not wrap round";

    sRect section{};
    ASSERT_TRUE(CProgressBar::SectionFor(30, 50, &section));
    EXPECT_FLOAT_EQ(section.right, 0.6f);
    EXPECT_EQ(section.left, 0.0f);
    EXPECT_EQ(section.top, 1.0f);
    EXPECT_EQ(section.bottom, 0.0f);
    // Maximum 0 has no fraction: nothing to draw, no NaN or infinity.
    EXPECT_FALSE(CProgressBar::SectionFor(0, 0, &section));
    EXPECT_FALSE(CProgressBar::SectionFor(5, 0, &section));
    CProgressBar empty;
    empty.Draw(); // no image, maximum 0: draws nothing and touches no GL
}

TEST(CWindow, ReplacedProgressBarsAndWidgetsAreFreedOnce) {
    // Run under the leak checker in the sanitizer build.
    CWindow window(0, 0, 100, 100, 1);
    CProgressBar* first = new CProgressBar(kMissing, 0, 0, 10);
    window.RegisterProgressBar(first);
    window.RegisterProgressBar(first);
    window.RegisterProgressBar(kMissing, 1, 2, 20);
    ASSERT_NE(window.GetProgressBar(), nullptr);
    EXPECT_EQ(window.GetProgressBar()->GetMaximum(), 20u);
    window.RegisterStaticText(new CStaticText("label"));
    window.RegisterCheckbox(kMissing, 1, kMissing, 1, 0, 0, 3);
    window.RegisterTexture(kMissing, 1, 1, 0.5f);
    window.RegisterButton(nullptr);

    CButton button(kMissing, 2, 0, 0, 1);
    button.LoadTextures(kMissing, 3); // replaces the sprite, which is freed
    EXPECT_EQ(button.GetSprite()->GetNumberOfFrames(), 3u);
}

TEST(CStaticText, ColourComponentsLandInTheirOwnPlaces) {
    CStaticText text("t", 1, 2, 0.1f, 0.2f, 0.3f, 0.4f);
    sColor c = text.GetColor();
    EXPECT_FLOAT_EQ(c.r, 0.1f);
    EXPECT_FLOAT_EQ(c.g, 0.2f);
    EXPECT_FLOAT_EQ(c.b, 0.3f);
    EXPECT_FLOAT_EQ(c.a, 0.4f);
    EXPECT_EQ(CStaticText().GetStaticText(), "Static Text");
    EXPECT_EQ(CStaticText("x", CVector2(3, 4)).GetY(), 4.0f);
}
