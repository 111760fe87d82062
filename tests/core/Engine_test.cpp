// The engine's life cycle without a window, and the utilities' timing and tangent basis.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "demos/testGameObject.h"
#include "demos/testImageFade.h"
#include "demos/testShadowMapping.h"
#include "sound/CSoundManager.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cmath>
#include <cstdlib>
#include <memory>

using zarvo_test::CountOccurrences;

namespace {

// Manager globals set (of fourteen) and audio devices open (one per live sound manager).
std::pair<int, int> Alive() {
    int globals = 0, frequency = 0, channels = 0;
    Uint16 format = 0;
    for (const void* p :
         {(const void*)g_EventManager, (const void*)g_Graphics, (const void*)g_TextureManager,
          (const void*)g_Windowmanager, (const void*)g_FontManager, (const void*)g_Utils,
          (const void*)g_SoundManager, (const void*)g_ShaderManager, (const void*)g_Camera,
          (const void*)g_CameraManager, (const void*)g_Logger, (const void*)g_LightManager,
          (const void*)g_3DGameObjectManager, (const void*)g_2DGameObjectManager})
        globals += p != nullptr;
    return {globals, Mix_QuerySpec(&frequency, &format, &channels)};
}
const std::pair<int, int> kNone{0, 0}, kOneSet{14, 1};

} // namespace

TEST(EngineStartup, PrintsBannerAndProgressTextsInTableOrderWithTheSoundManagersOwnOutput) {
    std::string startup = "\nZarvo Engine version 0.02...\n\n";
    for (const char* part :
         {"Graphics Core", "Texture Manager", "Window Manager", "Event Manager", "Utils",
          "Sound Manager", "Shader Manager", "the Camera", "the Camera Manager", "the Font Manager",
          "the Logger", "the Light Manager", "the 3D Game Object Manager",
          "the 2D Game Object Manager"})
        startup += std::string("Initialize ") + part + "...done\n";
    std::string failing = startup;
    failing.insert(failing.find("Initialize Sound"), "Unable to open audio\n");
    // The dummy driver opens silently; one that does not exist makes the manager say so.
    for (const auto& run :
         {std::make_pair("dummy", startup), std::make_pair("no-such-driver", failing)}) {
        setenv("SDL_AUDIODRIVER", run.first, 1);
        testing::internal::CaptureStdout();
        std::unique_ptr<CApp> app(new testImageFade());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), run.second);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        EXPECT_EQ(g_SoundManager->IsAudioOpen(), run.second == startup);
        EXPECT_EQ(Alive().first, 14);
        EXPECT_FALSE(app->GetEngine()->IsFPSCountingEnabled());
        app.reset();
        EXPECT_EQ(Alive(), kNone);
    }
}

TEST(EngineLifeCycle, ReplacedSetsAreDeletedOnceAndKeepTheAudioDeviceOpen) {
    // The disk driver creates its file on opening: a reopened device would bring it back.
    const std::string file = zarvo_test::MakeTempDir("audio") + "/out.raw";
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    setenv("SDL_AUDIODRIVER", "disk", 1);
    std::vector<std::unique_ptr<CApp>> apps;
    testing::internal::CaptureStdout();
    apps.emplace_back(new testImageFade());
    const bool wrote = std::remove(file.c_str()) == 0;
    apps.emplace_back(new testGameObject());
    apps.emplace_back(new testShadowMapping());
    const std::string out = testing::internal::GetCapturedStdout();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_TRUE(wrote) << "the disk driver wrote no file";
    std::string bytes;
    EXPECT_FALSE(zarvo_test::ReadFileBytes(file, bytes))
        << "the device was closed and opened again";
    // Three start-up sequences, but only the newest set is alive: one open audio device.
    EXPECT_EQ(CountOccurrences(out, "Zarvo Engine version 0.02..."), 3u);
    EXPECT_EQ(CountOccurrences(out, "done\n"), 3u * 14u);
    EXPECT_EQ(Alive(), kOneSet);
    // Destroyed newest first, as the program does: the first deletes, the rest find nothing.
    apps.pop_back();
    EXPECT_EQ(Alive(), kNone);
    apps.clear();
    EXPECT_EQ(Alive(), kNone);
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
}

TEST(EngineLifeCycle, EnginesShutDownTwiceAndInAnyOrderAndTheLogHoldsOneSession) {
    // In a directory of its own: other test programs may write a log file at the same time.
    const zarvo_test::ScopedWorkDir dir("engine-log");
    {
        testing::internal::CaptureStdout();
        Engine a, b, c;
        testing::internal::GetCapturedStdout();
        a.Shutdown(); // the oldest deletes whatever set is current; the others find nothing
        EXPECT_EQ(Alive(), kNone);
        c.Shutdown();
        a.Shutdown();
        EXPECT_EQ(Alive(), kNone);
    }
    std::string content;
    zarvo_test::ReadFileBytes("Zarvo_Engine.log", content);
    for (const char* once : {"Zarvo Engine Logger.", "Logger started...\n", "Logger stopped...\n"})
        EXPECT_EQ(CountOccurrences(content, once), 1u) << once << " in\n" << content;
    const std::string last = "Logger stopped...\n";
    EXPECT_EQ(content.rfind(last), content.size() - last.size()) << content;
}

TEST(GraphicsCoreDefaults, AnisotropyStaysOffWithoutTheExtension) {
    CGraphicsCore core;
    core.EnableAnistropicTexturing();
    EXPECT_FALSE(core.isAnisotropicTextureGenerationEnabled());
}

namespace {

// Timing state is shared by every CUtils, so each test starts well after the last.
Uint32 g_Now = 0;
Uint32 FakeTicks() {
    return g_Now;
}

class FrameTimingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1); // window-less, yet the caption can be read back
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
    void SetUp() override {
        CUtils::SetTickSource(FakeTicks);
        g_Now += 10000;
        CUtils().CalculateFrameRate(); // closes any period left open; the next starts now
    }
    void TearDown() override { CUtils::SetTickSource(nullptr); }
    // Measures a frame at `at` and gives the rate then.
    int RateAt(Uint32 at) {
        g_Now = at;
        utils.CalculateFrameRate();
        return utils.GetFPS();
    }
    CUtils utils;
};

} // namespace

TEST_F(FrameTimingTest, IntervalIsTheTimeBetweenCallsLimitedToOneSecondAndNeverNegative) {
    EXPECT_EQ(utils.GetFrameInterval(), 0.0);
    utils.CalculateFrameRate();
    // The last step: a clock that goes back (a replaced tick source).
    for (const auto& step : {std::make_pair(16, 0.016), {3000, 1.0}, {20, 0.020}, {-5000, 0.0}}) {
        RateAt(g_Now + Uint32(step.first));
        EXPECT_NEAR(utils.GetFrameInterval(), step.second, 1e-4) << step.first;
    }
}

TEST_F(FrameTimingTest, RateCountsTheFramesOfEachPeriodOfOverOneSecondIntoTheCaption) {
    CGraphicsCore graphics;
    graphics.setWindowTitle("Demo");
    g_Graphics = &graphics;
    char *title = nullptr, *icon = nullptr;
    const Uint32 start = g_Now;
    for (int frame = 1; frame <= 59; ++frame)
        ASSERT_EQ(RateAt(start + Uint32(frame) * 16), 0) << "frame " << frame;
    EXPECT_EQ(RateAt(start + 1001), 60);
    EXPECT_STREQ(utils.GetFPString(), " Current FPS: 60");
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Demo Current FPS: 60");
    // The value holds between updates; exactly one second later is not yet "over".
    const Uint32 second = g_Now;
    for (int frame = 1; frame < 30; ++frame)
        ASSERT_EQ(RateAt(second + Uint32(frame) * 33), 60);
    EXPECT_EQ(RateAt(second + 1000), 60);
    EXPECT_EQ(RateAt(second + 1002), 31);
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Demo Current FPS: 31");
    g_Graphics = nullptr;
}

TEST(TangentBasis, TangentFollowsUBitangentPointsAgainstVAndADegenerateMappingLeavesBoth) {
    struct Case {
        CVector3 p1, p2;
        CVector2 uv1, uv2;
        CVector3 tangent, bitangent;
    };
    // Unequal edges still give unit vectors; collinear texture coordinates leave the outputs.
    const Case cases[] = {{{1, 0, 0}, {0, 1, 0}, {1, 0}, {0, 1}, {1, 0, 0}, {0, -1, 0}},
                          {{0, 0, 2}, {3, 0, 0}, {1, 0}, {0, 1}, {0, 0, 1}, {-1, 0, 0}},
                          {{1, 0, 0}, {0, 1, 0}, {1, 1}, {2, 2}, {7, 8, 9}, {-7, -8, -9}}};
    for (const Case& c : cases) {
        CVector3 t(7, 8, 9), b(-7, -8, -9);
        CUtils().ComputeTangentBasis(CVector3(0, 0, 0), c.p1, c.p2, CVector2(0, 0), c.uv1, c.uv2, t,
                                     b);
        EXPECT_LT(std::fabs(t.x - c.tangent.x) + std::fabs(t.y - c.tangent.y) +
                      std::fabs(t.z - c.tangent.z) + std::fabs(b.x - c.bitangent.x) +
                      std::fabs(b.y - c.bitangent.y) + std::fabs(b.z - c.bitangent.z),
                  1e-5f)
            << &c - cases;
    }
}
