// The GUI demo under X: the application driven pass by pass with the pointer moved and
// buttons pushed into SDL's queue, the built program's smoke run, and the click's sound
// reaching SDL's disk audio driver in a run of its own.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "demos/testGUI.h"
#include "gui/CProgressBar.h"
#include "gui/CWindow.h"
#include "support/event_driver.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

// As for the other demo tests: llvmpipe's anisotropic filtering is hidden, also from the
// programs started here.
static const bool kAnisotropyHidden =
    setenv("MESA_EXTENSION_OVERRIDE",
           "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic", 1) == 0;

namespace {

class GuiDemoUnderTest : public testGUI {
public:
    int Frames() const { return GetFramesPresented(); }
};

// Opens the demo windowed (a full-screen grab would block the program runs below).
GuiDemoUnderTest* StartDemo(std::string* error) {
    sRunOptions windowed;
    windowed.windowed = true;
    CApp::SetRunOptions(windowed);
    GuiDemoUnderTest* demo = new GuiDemoUnderTest();
    try {
        demo->Init();
    } catch (const std::string& e) {
        *error = e;
    }
    return demo;
}

// The centre of a widget on screen.
void CentreOf(const testGUI& demo, int id, int* x, int* y) {
    float fx = 0, fy = 0;
    EXPECT_TRUE(demo.WidgetScreenPosition(id, &fx, &fy)) << id;
    *x = int(fx) + 10;
    *y = int(fy) + 10;
}

} // namespace

class GuiDemoGL : public testing::Test {
protected:
    static void SetUpTestSuite() { demo_ = StartDemo(&initError_); }
    static void TearDownTestSuite() {
        delete demo_;
        demo_ = nullptr;
        CApp::SetRunOptions(sRunOptions());
    }
    void SetUp() override {
        ASSERT_TRUE(initError_.empty()) << initError_;
        zarvo_test::DrainEvents();
    }

    static void MouseTo(int x, int y) {
        ASSERT_TRUE(zarvo_test::WarpMouse(x, y));
        ASSERT_TRUE(demo_->RunPass());
    }
    static void Click(int id) {
        int x, y;
        CentreOf(*demo_, id, &x, &y);
        MouseTo(x, y);
        ASSERT_TRUE(zarvo_test::PushMouseButton(SDL_BUTTON_LEFT, true, x, y));
        ASSERT_TRUE(demo_->RunPass());
        EXPECT_EQ(g_EventManager->GetOnClickedGuiElement(), id);
        ASSERT_TRUE(zarvo_test::PushMouseButton(SDL_BUTTON_LEFT, false, x, y));
        ASSERT_TRUE(demo_->RunPass());
    }
    // One more pass, saved as a PNG for a person to look at; returns its path.
    static std::string CapturePass(const char* name) {
        sRunOptions options;
        options.frameLimit = demo_->Frames() + 1;
        options.screenshotFile = zarvo_test::MakeTempDir("gui-demo") + "/" + name + ".png";
        CApp::SetRunOptions(options);
        demo_->RunPass();
        CApp::SetRunOptions(sRunOptions());
        std::cout << "GUI demo frame: " << options.screenshotFile << std::endl;
        return options.screenshotFile;
    }

    static GuiDemoUnderTest* demo_;
    static std::string initError_;
};

GuiDemoUnderTest* GuiDemoGL::demo_ = nullptr;
std::string GuiDemoGL::initError_;

TEST_F(GuiDemoGL, ClicksAreNamedSoundedOnceAndAnswered) {
    CProgressBar* bar = demo_->GetControlsWindow()->GetProgressBar();
    ASSERT_NE(bar, nullptr);
    const unsigned int before = bar->GetActualLength();
    const int sounds = demo_->GetClickSounds();
    int x, y;
    CentreOf(*demo_, testGUI::BUTTON_FILL, &x, &y);
    MouseTo(x, y);
    for (int i = 0; i < 8; ++i) // the hover animation runs to its last frame
        ASSERT_TRUE(demo_->RunPass());
    CapturePass("hover");

    Click(testGUI::BUTTON_FILL);
    EXPECT_EQ(bar->GetActualLength(), before + testGUI::PROGRESS_STEP);
    EXPECT_NE(demo_->GetLastClick().find("Fill bar"), std::string::npos);
    EXPECT_EQ(demo_->GetClickSounds(), sounds + 1) << "one sound per click, none while held";
    Click(testGUI::BUTTON_EMPTY);
    EXPECT_EQ(bar->GetActualLength(), 0u);
    Click(testGUI::BUTTON_MUSIC);
    EXPECT_TRUE(demo_->IsMusicOn());
    Click(testGUI::CHECK_TEXT_WINDOW);
    EXPECT_FALSE(demo_->GetTextsWindow()->GetVisible());
    EXPECT_NE(demo_->GetLastClick().find("Texts window check box"), std::string::npos);
}

TEST_F(GuiDemoGL, TheControlsWindowFollowsAHeaderDrag) {
    CWindow* window = demo_->GetControlsWindow();
    const int x = int(window->GetLeft()) + 150, y = int(window->GetTop()) + 10;
    MouseTo(x, y);
    ASSERT_TRUE(zarvo_test::PushMouseButton(SDL_BUTTON_LEFT, true, x, y));
    ASSERT_TRUE(demo_->RunPass());
    MouseTo(x + 200, y + 200);
    EXPECT_EQ(window->GetLeft(), float(x + 50));
    EXPECT_EQ(window->GetTop(), float(y + 190));
    CapturePass("dragged");
}

TEST(GuiDemoProgram, RunsWindowedAndSavesANonBlankFrame) {
    const std::string shot = zarvo_test::MakeTempDir("gui-program") + "/gui.png";
    const zarvo_test::ProgramRun run = zarvo_test::RunProgram(
        "--demo gui --windowed --frames 30 --screenshot " + shot, "", "SDL_AUDIODRIVER=dummy");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(zarvo_test::FindErrorText(run.output), "") << run.output;
    const zarvo_test::ShotImage image = zarvo_test::LoadShot(shot);
    ASSERT_TRUE(image.Valid());
    EXPECT_EQ(image.width, 1024);
    const zarvo_test::FrameStats stats = zarvo_test::MeasureFrame(image);
    EXPECT_GT(stats.colours, 200u);
    EXPECT_GT(stats.brightness, 20.0);
}

// Runs only as the child of the test below, in a process of its own whose audio goes to
// SDL's disk driver: clicks the "Click me" button (or only hovers it), then lets the
// mixer write its buffers.
TEST(GuiDemoAudioChild, ClickThenPlayOut) {
    const char* mode = std::getenv("ZARVO_GUI_AUDIO_CHILD");
    if (!mode) GTEST_SKIP() << "run by GuiDemoAudio";
    std::string error;
    GuiDemoUnderTest* demo = StartDemo(&error);
    ASSERT_TRUE(error.empty()) << error;
    int x, y;
    CentreOf(*demo, testGUI::BUTTON_BEEP, &x, &y);
    ASSERT_TRUE(zarvo_test::WarpMouse(x, y));
    ASSERT_TRUE(demo->RunPass());
    if (std::strcmp(mode, "click") == 0) {
        ASSERT_TRUE(zarvo_test::PushMouseButton(SDL_BUTTON_LEFT, true, x, y));
        ASSERT_TRUE(demo->RunPass());
        EXPECT_EQ(demo->GetClickSounds(), 1);
    }
    for (int i = 0; i < 40; ++i) {
        demo->RunPass();
        SDL_Delay(20);
    }
    delete demo;
}

TEST(GuiDemoAudio, TheClickSamplesReachTheDiskDriversFile) {
    auto nonSilent = [](const char* mode) {
        const std::string raw = zarvo_test::MakeTempDir("gui-audio") + "/audio.raw";
        const zarvo_test::ProgramRun run = zarvo_test::RunProgram(
            "--gtest_filter=GuiDemoAudioChild.*", "",
            std::string("ZARVO_GUI_AUDIO_CHILD=") + mode +
                " SDL_AUDIODRIVER=disk SDL_DISKAUDIODELAY=10 SDL_DISKAUDIOFILE=" + raw,
            "tests/demos_gl_tests");
        EXPECT_EQ(run.status, 0) << run.output;
        std::string bytes;
        EXPECT_TRUE(zarvo_test::ReadFileBytes(raw, bytes)) << raw;
        EXPECT_GT(bytes.size(), 4096u) << "the mixer wrote its buffers";
        size_t loud = 0; // signed 16-bit samples clearly above the noise floor
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            int16_t sample;
            std::memcpy(&sample, bytes.data() + i, 2);
            loud += sample > 1000 || sample < -1000;
        }
        return loud;
    };
    EXPECT_EQ(nonSilent("hover"), 0u) << "no click, no sound";
    // The 70 ms click at 22050 Hz, in two channels, lasts some 3000 samples; most of its
    // loud part must be in the file.
    EXPECT_GT(nonSilent("click"), 300u);
}
