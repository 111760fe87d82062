// The GUI demo driven with the pointer moved and buttons pushed into SDL's queue; the click's
// sound checked where SDL's disk audio driver writes it, in a run of its own.
#include <gtest/gtest.h>

#include "demos/testGUI.h"
#include "gui/CProgressBar.h"
#include "gui/CWindow.h"
#include "support/demo_fixtures.h"

#include <cstdint>
#include <cstring>

using namespace zarvo_test;

class GuiDemoGL : public DemoGL<testGUI> {
protected:
    // The pointer to the widget's centre for a pass; with `click` a press and release there.
    static void PointAt(int id, bool click = true) {
        float fx = 0, fy = 0;
        ASSERT_TRUE(demo_->WidgetScreenPosition(id, &fx, &fy)) << id;
        const int x = int(fx) + 10, y = int(fy) + 10;
        ASSERT_TRUE(WarpMouse(x, y));
        Passes(1);
        for (bool down : {true, false}) {
            if (!click) return;
            ASSERT_TRUE(PushMouseButton(SDL_BUTTON_LEFT, down, x, y));
            Passes(1);
            EXPECT_TRUE(!down || g_EventManager->GetOnClickedGuiElement() == id) << id;
        }
    }
};

TEST_F(GuiDemoGL, ClicksAreNamedSoundedOnceAndAnswered) {
    CProgressBar* bar = demo_->GetControlsWindow()->GetProgressBar();
    ASSERT_NE(bar, nullptr);
    const unsigned int before = bar->GetActualLength();
    const int sounds = demo_->GetClickSounds();
    PointAt(testGUI::BUTTON_FILL);
    EXPECT_EQ(bar->GetActualLength(), before + testGUI::PROGRESS_STEP) << demo_->GetLastClick();
    EXPECT_NE(demo_->GetLastClick().find("Fill bar"), std::string::npos);
    EXPECT_EQ(demo_->GetClickSounds(), sounds + 1) << "one sound per click, none while held";
    for (int id : {testGUI::BUTTON_EMPTY, testGUI::BUTTON_MUSIC, testGUI::CHECK_TEXT_WINDOW})
        PointAt(id);
    EXPECT_TRUE(bar->GetActualLength() == 0 && demo_->IsMusicOn());
    EXPECT_FALSE(demo_->GetTextsWindow()->GetVisible());
    EXPECT_NE(demo_->GetLastClick().find("Texts window check box"), std::string::npos);
}

// Run only by the test below, in a child whose audio goes to the disk driver: clicks "Click
// me" (or only hovers over it), then lets the mixer write its buffers.
TEST_F(GuiDemoGL, AudioChildClicksThenPlaysOut) {
    const char* mode = std::getenv("ZARVO_GUI_AUDIO_CHILD");
    if (!mode) GTEST_SKIP() << "run by GuiDemoAudio";
    const bool click = std::strcmp(mode, "click") == 0;
    PointAt(testGUI::BUTTON_BEEP, click);
    EXPECT_EQ(demo_->GetClickSounds(), click ? 1 : 0);
    for (int i = 0; i < 40; ++i) {
        demo_->RunPass();
        SDL_Delay(20);
    }
}

TEST(GuiDemoAudio, TheClickSamplesReachTheDiskDriversFile) {
    auto loudSamples = [](const char* mode) {
        const std::string raw = MakeTempDir("gui-audio") + "/audio.raw";
        const ProgramRun run =
            RunProgram("--gtest_filter=GuiDemoGL.AudioChild*", "",
                       std::string("ZARVO_GUI_AUDIO_CHILD=") + mode +
                           " SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=10 SDL_DISKAUDIOFILE=" + raw,
                       "tests/demos_gl_tests");
        std::string bytes; // the mixer wrote its buffers
        EXPECT_TRUE(run.status == 0 && ReadFileBytes(raw, bytes) && bytes.size() > 4096) << raw;
        size_t loud = 0; // signed 16-bit little-endian samples clearly above the noise floor
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            loud += std::abs(int16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8)) > 1000;
        return loud;
    };
    EXPECT_EQ(loudSamples("hover"), 0u) << "no click, no sound";
    // The 70 ms click at 22050 Hz in two channels is some 3000 samples; most of its loud part
    // must be in the file.
    EXPECT_GT(loudSamples("click"), 300u);
}
