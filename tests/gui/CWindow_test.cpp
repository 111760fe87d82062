// Window and widget rules without a display: widgets of missing images have empty frames
// whose draw size the tests set.
#include <gtest/gtest.h>

#include "gui/CButton.h"
#include "gui/CCheckBox.h"
#include "gui/CProgressBar.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "scene2d/CSprite.h"

namespace {

char kMissing[] = "no/such/gui/frame";

CButton* SizedButton(float x, float y, int w, int h) {
    CButton* button = new CButton(kMissing, 2, x, y, 1);
    button->SetButtonSize(w, h);
    return button;
}

} // namespace

TEST(CWindow, HeaderAndWidgetHitTestsCountEveryEdge) {
    CWindow window(100, 80, 300, 200, nullptr, false, 1.0f, 15, 1, true);
    CButton* button = SizedButton(10, 20, 50, 30);
    CCheckBox box(kMissing, 1, kMissing, 1, 10, 20, 3);
    box.SetCheckboxSize(50, 30);
    struct {
        float x, y;
        bool header, widget; // the widget in a window whose origin is (100, 80)
    } cases[] = {{100, 80, true, false},  {300, 95, true, false},  {200, 96, false, false},
                 {99, 90, false, false},  {301, 90, false, false}, {200, 79, false, false},
                 {110, 100, false, true}, {160, 130, false, true}, {161, 130, false, false},
                 {160, 131, false, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(window.IsOnHeader(c.x, c.y), c.header) << c.x << ", " << c.y;
        EXPECT_EQ(button->HitTest(c.x, c.y, 100, 80), c.widget) << c.x << ", " << c.y;
        EXPECT_EQ(box.HitTest(c.x, c.y, 100, 80), c.widget) << c.x << ", " << c.y;
    }
    delete button;
    // The five-int form has header size 0: only the row y = top is left.
    CWindow plain(100, 80, 300, 200, 5);
    EXPECT_TRUE(plain.IsOnHeader(150, 80));
    EXPECT_FALSE(plain.IsOnHeader(150, 81));
    // Without frames (no images, or the default constructor) nothing is ever hit.
    EXPECT_FALSE(CButton(kMissing, 0, 0, 0, 4).HitTest(0, 0, 0, 0));
    EXPECT_FALSE(CButton().HitTest(0, 0, 0, 0));
}

TEST(CWindow, WidgetsAreKeptInsideOnlyByMovingLeftOrUp) {
    CWindow window(0, 0, 1024, 768, 1);
    CButton* far = SizedButton(900, 700, 200, 100);
    CButton* near = SizedButton(800, 10, 200, 100);
    CButton* huge = SizedButton(10, 10, 1100, 800);
    for (CButton* b : {far, near, huge})
        window.RegisterButton(b);
    EXPECT_EQ(far->GetButtonPosX(), 824.0f);
    EXPECT_EQ(far->GetButtonPosY(), 668.0f);
    EXPECT_EQ(near->GetButtonPosX(), 800.0f);
    EXPECT_EQ(near->GetButtonPosY(), 10.0f);
    EXPECT_EQ(huge->GetButtonPosX(), -76.0f) << "a widget larger than the window goes negative";
    EXPECT_EQ(huge->GetButtonPosY(), -32.0f);

    CCheckBox* box = new CCheckBox(kMissing, 1, kMissing, 1, 1020, 766, 2);
    box->SetCheckboxSize(24, 24);
    window.RegisterCheckbox(box);
    EXPECT_EQ(box->GetSprite(false)->GetSpritePosX(), 1000.0f);
    EXPECT_EQ(box->GetSprite(true)->GetSpritePosY(), 744.0f) << "both sprites move together";
    box->SetPositionX(10.7f);
    box->SetPositionY(-2.9f);
    EXPECT_EQ(box->GetSprite(true)->GetSpritePosX(), 10.0f) << "the fraction is dropped";
    EXPECT_EQ(box->GetSprite(false)->GetSpritePosY(), -2.0f);
}

TEST(CWindowManager, ActivationShowsHidingDeactivatesAndASecondRegistrationIsIgnored) {
    CWindowManager manager;
    CWindow* a = new CWindow(0, 0, 10, 10, 7);
    CWindow* b = new CWindow(0, 0, 10, 10, 7);
    CWindow* other = new CWindow(0, 0, 10, 10, 8);
    for (CWindow* w : {a, b, other, a}) // a second registration is ignored, not deleted twice
        manager.RegisterWindow(w);
    EXPECT_EQ(manager.GetWindows().size(), 3u);
    manager.ActivateWindow(7);
    EXPECT_TRUE(a->IsActive() && a->GetVisible() && b->IsActive() && b->GetVisible());
    EXPECT_FALSE(other->IsActive() || other->GetVisible());
    manager.DeactivateAllWindow();
    EXPECT_FALSE(a->IsActive() || b->IsActive());
    EXPECT_TRUE(a->GetVisible() && b->GetVisible()) << "deactivating leaves them shown";
    a->ActivateWindow(true);
    a->SetVisible(false);
    EXPECT_FALSE(a->IsActive()) << "hiding deactivates";
}

TEST(CProgressBar, IncrementsStopAtTheMaximumWithoutWrappingAndReplacedBarsAreFreed) {
    CProgressBar bar(kMissing, 0, 0, 50);
    bar.SetActualLength(30);
    bar.IncrementActualLength(50);
    EXPECT_EQ(bar.GetActualLength(), 50u) << "increments stop at the maximum";
    bar.SetActualLength(80);
    EXPECT_EQ(bar.GetActualLength(), 80u) << "setting does not clamp";
    bar.SetActualLength(10);
    bar.IncrementActualLength(0xFFFFFFFFu);
    EXPECT_EQ(bar.GetActualLength(), 50u) << "a huge step does not wrap round";

    sRect section{}; // maximum 0 has no fraction: nothing to draw, no NaN or infinity
    EXPECT_FALSE(CProgressBar::SectionFor(5, 0, &section));
    CProgressBar().Draw(); // no image, maximum 0: draws nothing and touches no GL

    // Replaced bars are freed once (the sanitizer build checks for leaks).
    CWindow window(0, 0, 100, 100, 1);
    CProgressBar* first = new CProgressBar(kMissing, 0, 0, 10);
    window.RegisterProgressBar(first);
    window.RegisterProgressBar(first);
    window.RegisterProgressBar(kMissing, 1, 2, 20);
    EXPECT_EQ(window.GetProgressBar()->GetMaximum(), 20u);
}
