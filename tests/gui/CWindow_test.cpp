// Window and widget rules without a display: widgets of missing images get a set draw size.
#include <gtest/gtest.h>

#include "gui/CButton.h"
#include "gui/CCheckBox.h"
#include "gui/CProgressBar.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "scene2d/CSprite.h"

#include <tuple>

static char kMissing[] = "no/such/gui/frame";
static CButton* SizedButton(float x, float y, int w, int h) {
    CButton* button = new CButton(kMissing, 2, x, y, 1);
    button->SetButtonSize(w, h);
    return button;
}

TEST(CWindow, HeaderAndWidgetHitTestsCountEveryEdge) {
    CWindow window(100, 80, 300, 200, nullptr, false, 1.0f, 15, 1, true);
    CButton* button = SizedButton(10, 20, 50, 30);
    CCheckBox box(kMissing, 1, kMissing, 1, 10, 20, 3);
    box.SetCheckboxSize(50, 30);
    // {x, y, on the header, on the widget in a window whose origin is (100, 80)}
    for (const auto& [x, y, header, widget] : {std::tuple{100.f, 80.f, true, false},
                                               {300.f, 95.f, true, false},
                                               {200.f, 96.f, false, false},
                                               {99.f, 90.f, false, false},
                                               {301.f, 90.f, false, false},
                                               {200.f, 79.f, false, false},
                                               {110.f, 100.f, false, true},
                                               {160.f, 130.f, false, true},
                                               {161.f, 130.f, false, false},
                                               {160.f, 131.f, false, false}}) {
        EXPECT_TRUE(window.IsOnHeader(x, y) == header && button->HitTest(x, y, 100, 80) == widget &&
                    box.HitTest(x, y, 100, 80) == widget)
            << x << ", " << y;
    }
    delete button;
    CWindow plain(100, 80, 300, 200, 5); // header size 0: only the row y = top is left
    EXPECT_TRUE(plain.IsOnHeader(150, 80) && !plain.IsOnHeader(150, 81));
    // Without frames (no images, or the default constructor) nothing is ever hit.
    EXPECT_FALSE(CButton(kMissing, 0, 0, 0, 4).HitTest(0, 0, 0, 0));
    EXPECT_FALSE(CButton().HitTest(0, 0, 0, 0));
}

TEST(CWindow, WidgetsAreKeptInsideOnlyByMovingLeftOrUp) {
    CWindow window(0, 0, 1024, 768, 1);
    // {x, y, w, h, x and y once registered}: a widget larger than the window goes negative
    for (const auto& [x, y, w, h, keptX, keptY] : {std::tuple{900.f, 700.f, 200, 100, 824.f, 668.f},
                                                   {800.f, 10.f, 200, 100, 800.f, 10.f},
                                                   {10.f, 10.f, 1100, 800, -76.f, -32.f}}) {
        CButton* b = SizedButton(x, y, w, h);
        window.RegisterButton(b);
        EXPECT_TRUE(b->GetButtonPosX() == keptX && b->GetButtonPosY() == keptY) << x;
    }
    CCheckBox* box = new CCheckBox(kMissing, 1, kMissing, 1, 1020, 766, 2);
    box->SetCheckboxSize(24, 24);
    window.RegisterCheckbox(box); // both sprites move together
    EXPECT_TRUE(box->GetSprite(false)->GetSpritePosX() == 1000.0f &&
                box->GetSprite(true)->GetSpritePosY() == 744.0f);
    box->SetPositionX(10.7f); // the fraction is dropped
    box->SetPositionY(-2.9f);
    EXPECT_TRUE(box->GetSprite(true)->GetSpritePosX() == 10.0f &&
                box->GetSprite(false)->GetSpritePosY() == -2.0f);
}

TEST(CWindowManager, ActivationShowsHidingDeactivatesRegisteringTwiceIsSafeAndBarsStopAtTheTop) {
    CWindowManager manager;
    CWindow *a = new CWindow(0, 0, 10, 10, 7), *b = new CWindow(0, 0, 10, 10, 7);
    CWindow* other = new CWindow(0, 0, 10, 10, 8);
    for (CWindow* w : {a, b, other, a}) // a second registration is ignored, not deleted twice
        manager.RegisterWindow(w);
    EXPECT_EQ(manager.GetWindows().size(), 3u);
    manager.ActivateWindow(7);
    EXPECT_TRUE(a->IsActive() && a->GetVisible() && b->IsActive() && b->GetVisible());
    EXPECT_FALSE(other->IsActive() || other->GetVisible());
    manager.DeactivateAllWindow(); // leaves them shown
    EXPECT_TRUE(!a->IsActive() && !b->IsActive() && a->GetVisible() && b->GetVisible());
    a->ActivateWindow(true);
    a->SetVisible(false);
    EXPECT_FALSE(a->IsActive()) << "hiding deactivates";

    CProgressBar bar(kMissing, 0, 0, 50); // increments stop at the maximum, even a huge one
    for (const auto& [set, step, length] : {std::tuple{30u, 50u, 50u}, {10u, 0xFFFFFFFFu, 50u}}) {
        bar.SetActualLength(set);
        bar.IncrementActualLength(step);
        EXPECT_EQ(bar.GetActualLength(), length) << step;
    }
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
