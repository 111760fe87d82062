// The core without a window: reader, paths, screenshots, log, command line, events, life cycle.
#include <gtest/gtest.h>

#include "core/ByteReader.h"
#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/CLogger.h"
#include "core/CommandLine.h"
#include "core/DataPath.h"
#include "core/Engine.h"
#include "core/Screenshot.h"
#include "core/Utils.h"
#include "demos/testGameObject.h"
#include "demos/testImageFade.h"
#include "demos/testShadowMapping.h"
#include "sound/CSoundManager.h"
#include "support/event_driver.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <sstream>
#include <tuple>

using zarvo_test::MakeTempDir;
using zarvo_test::ReadFileBytes;
using zarvo_test::WriteFileBytes;

namespace {

TEST(ByteReader, ReadsLittleEndianNeverPastTheEndRefusesOverflowingCountsAndReadsFiles) {
    const uint8_t data[] = {0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x00,
                            0x80, 0x3F, 0x12, 0x34, 0x34, 0x12, 0xAA, 0};
    CByteReader in(data, sizeof data - 1);
    int16_t s16 = 0;
    int32_t s32 = 0;
    float f = 0;
    uint16_t be = 0, le = 0;
    uint32_t u32 = 0;
    uint8_t byte = 0;
    ASSERT_TRUE(in.ReadI16LE(s16) && in.ReadI32LE(s32) && in.ReadF32LE(f) && in.ReadU16BE(be) &&
                in.ReadU16LE(le));
    EXPECT_EQ(std::make_tuple(s16, s32, f, be, le),
              std::make_tuple(int16_t(-2), 0x7FFFFFFF, 1.0f, uint16_t(0x1234), uint16_t(0x1234)));
    EXPECT_FALSE(in.ReadU32LE(u32) || in.ReadF32LE(f)) << "one byte left";
    EXPECT_EQ(in.Tell(), 14u) << "a failed read consumes nothing";
    EXPECT_TRUE(in.Take(2) == nullptr && in.Take(1) != nullptr);
    EXPECT_FALSE(in.ReadU8(byte) || in.Seek(16) || in.Skip(1));
    CByteReader empty(nullptr, 0);
    EXPECT_TRUE(empty.ReadBytes(&byte, 0) && !empty.ReadBytes(&byte, 1) && !empty.ReadU8(byte));

    CByteReader records(data, 16);
    EXPECT_TRUE(records.Fits(4, 3, 4) && !records.Fits(4, 4, 4) && !records.Fits(17, 0, 1));
    // count * recordSize wraps around to a small number.
    EXPECT_FALSE(records.Fits(0, std::numeric_limits<size_t>::max() / 2 + 1, 2));

    const std::string path = MakeTempDir("byte-reader") + "/file.bin";
    std::string content(100000, 'x');
    content[70000] = 'y';
    ASSERT_TRUE(WriteFileBytes(path, content));
    std::vector<uint8_t> bytes = {1, 2, 3};
    ASSERT_TRUE(ReadFileToMemory(path.c_str(), bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), content);
    std::remove(path.c_str());
    EXPECT_FALSE(ReadFileToMemory(path.c_str(), bytes) || ReadFileToMemory(nullptr, bytes));
    EXPECT_TRUE(bytes.empty());
}

TEST(DataPath, WorkingDirectoryFirstThenTheDataRootsThenTheNameUnchanged) {
    const std::string root = MakeTempDir("data-root");
    const zarvo_test::ScopedWorkDir work("data-work");
    ASSERT_EQ(mkdir((root + "/Data").c_str(), 0755) | mkdir("Data", 0755), 0);
    for (const std::string& file : {root + "/Data/only-in-root.txt", root + "/Data/both.txt"})
        WriteFileBytes(file, "root");
    WriteFileBytes("Data/both.txt", "work");
    setenv("ZARVO_DATA_DIR", root.c_str(), 1);
    for (const char* same : {"Data/both.txt", "Data/nowhere.txt", "/no/such/absolute.txt", ""})
        EXPECT_EQ(ResolveDataPath(same), same);
    EXPECT_EQ(ResolveDataPath("Data/only-in-root.txt"), root + "/Data/only-in-root.txt");
    EXPECT_EQ(DataRoots(), std::vector<std::string>{root}) << "the variable stands alone";
    setenv("ZARVO_DATA_DIR", (root + "/missing").c_str(), 1);
    EXPECT_EQ(ResolveDataPath("Data/only-in-root.txt"), "Data/only-in-root.txt");
    unsetenv("ZARVO_DATA_DIR");
}

TEST(Screenshot, PngAndBmpRoundTripExactlyAndBadRequestsWriteNothing) {
    const std::string dir = MakeTempDir("screenshot");
    auto gradient = [](int width, int height) {
        sRGBImage image{width, height, {}};
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.pixels.insert(
                    image.pixels.end(),
                    {(unsigned char)(x * 7 + y), (unsigned char)(y * 13), (unsigned char)(x ^ y)});
        return image;
    };
    for (const auto& size : {std::pair<int, int>{1, 1}, {37, 5}, {64, 48}}) // odd widths too
        for (const char* name : {"/a.png", "/a.BMP"}) {
            const sRGBImage image = gradient(size.first, size.second);
            ASSERT_TRUE(SaveImage(dir + name, image));
            const zarvo_test::ShotImage shot = zarvo_test::LoadShot(dir + name); // top row first
            EXPECT_TRUE(shot.width == image.width && shot.height == image.height &&
                        shot.rgb == image.pixels)
                << name << " " << image.width;
        }
    std::string bytes;
    ASSERT_TRUE(ReadFileBytes(dir + "/a.png", bytes));
    EXPECT_EQ(bytes.substr(1, 3), "PNG");

    sRGBImage shortPixels = gradient(8, 8), negative = gradient(2, 2);
    shortPixels.pixels.pop_back();
    negative.width = negative.height = -2;
    using Bad = std::pair<const char*, sRGBImage>;
    for (const Bad& bad :
         {Bad{"/empty.png", {}}, Bad{"/short.png", shortPixels}, Bad{"/short.bmp", shortPixels},
          Bad{"/negative.png", negative}, Bad{"/no/such/dir/x.png", gradient(4, 4)}}) {
        EXPECT_FALSE(SaveImage(dir + bad.first, bad.second)) << bad.first;
        EXPECT_FALSE(ReadFileBytes(dir + bad.first, bytes)) << bad.first;
    }
}

// The log file name is fixed, so each logger runs in a fresh directory.
TEST(Logger, FileHoldsBannerWritesAndClosingLineANewLoggerTruncatesAndNoFileStaysUsable) {
    {
        const zarvo_test::ScopedWorkDir dir("logger");
        auto readLog = [&] {
            std::string text;
            EXPECT_TRUE(ReadFileBytes(dir.Dir() + "/Zarvo_Engine.log", text));
            return text;
        };
        CLogger().write("old run\n", false); // truncated by the next logger
        {
            CLogger logger;
            ASSERT_TRUE(logger.IsOpen());
            logger.write("first part, ", false);
            logger.write("second\n", false);
            testing::internal::CaptureStdout();
            logger.write("echoed\n", true);
            EXPECT_EQ(testing::internal::GetCapturedStdout(), "echoed\n\n");
            EXPECT_NE(readLog().find("first part, second\necho"), std::string::npos) << "flushed";
        }
        const std::string log = readLog(), banner = log.substr(0, log.find('\n') + 1);
        EXPECT_EQ(banner.rfind("Zarvo Engine Logger.", 0), 0u);
        EXPECT_EQ(log,
                  banner + "Logger started...\nfirst part, second\nechoed\nLogger stopped...\n");
    }
    // A directory in the file's place cannot be opened, even by root.
    const zarvo_test::ScopedWorkDir dir("logger-blocked");
    ASSERT_EQ(mkdir("Zarvo_Engine.log", 0755), 0);
    testing::internal::CaptureStdout();
    {
        CLogger logger;
        EXPECT_FALSE(logger.IsOpen());
        logger.write("quiet", false);
        logger.write("loud", true);
    }
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Cannot create log file!\nloud\n");
}

// Arguments split at spaces; '' stands for an empty one.
sCommandLine Parse(const std::string& line) {
    std::vector<std::string> words{"zarvo"};
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w == "''" ? "" : w);
    std::vector<const char*> args;
    for (const std::string& w : words)
        args.push_back(w.c_str());
    return ParseCommandLine(int(args.size()), args.data());
}
zarvo_test::ProgramRun RunWithoutDisplay(const std::string& args, const std::string& env = "") {
    return zarvo_test::RunProgram(args, zarvo_test::MakeTempDir("zarvo-cmdline"),
                                  "-u DISPLAY " + env);
}

TEST(CommandLine, DefaultsEveryDemoByShortAndClassNameAndRunSettingsInAnyOrder) {
    const sCommandLine d = Parse("");
    EXPECT_EQ(std::make_tuple(d.command, d.demo, d.run.frameLimit, d.run.screenshotFile,
                              d.run.windowed, d.run.frameStepMs, d.error),
              std::make_tuple(COMMAND_RUN, DEMO_SHADOW_MAPPING, 0, std::string(), false, 0,
                              std::string()));
    for (int i = 0; i < DEMO_COUNT; ++i) {
        const sDemoInfo& info = GetDemoInfo(eDemo(i));
        for (const char* name : {info.shortName, info.className}) {
            const sCommandLine c = Parse(std::string("--demo ") + name);
            EXPECT_EQ(std::make_pair(c.command, c.demo), std::make_pair(COMMAND_RUN, eDemo(i)))
                << name;
        }
    }
    EXPECT_EQ(Parse("--demo SHADOW").demo, DEMO_SHADOW_MAPPING) << "names ignore case";

    const sCommandLine c =
        Parse("--frames 300 --windowed --frame-ms 1000 --screenshot out/shot.png --demo parallax");
    EXPECT_EQ(std::make_tuple(c.command, c.demo, c.run.frameLimit, c.run.screenshotFile,
                              c.run.windowed, c.run.frameStepMs),
              std::make_tuple(COMMAND_RUN, DEMO_PARALLAX_SCROLL, 300, std::string("out/shot.png"),
                              true, 1000))
        << c.error;
    EXPECT_EQ(Parse("--screenshot x.BMP").run.screenshotFile, "x.BMP");
    EXPECT_EQ(Parse("--frames 1 --frames 2").run.frameLimit, 2) << "last one wins";
}

TEST(CommandLine, HelpAndListStopBeforeRunningAndAnswerWithoutStartingTheEngine) {
    for (const char* help : {"--help", "-h", "--list --help"})
        EXPECT_EQ(Parse(help).command, COMMAND_HELP) << help;
    for (const char* list : {"--list", "--demo fade --list"})
        EXPECT_EQ(Parse(list).command, COMMAND_LIST) << list;
    const std::string usage = UsageText(), list = DemoListText();
    for (int i = 0; i < DEMO_COUNT; ++i)
        EXPECT_NE(list.find(GetDemoInfo(eDemo(i)).shortName), std::string::npos);
    const size_t shadow = list.find("testShadowMapping"), mark = list.find("(default)");
    EXPECT_TRUE(shadow < mark && mark < list.find('\n', shadow)) << "on the default's line";

    const auto help = RunWithoutDisplay("--help"), listRun = RunWithoutDisplay("--list");
    EXPECT_EQ(std::make_pair(help.status, help.output), std::make_pair(0, usage));
    EXPECT_EQ(std::make_pair(listRun.status, listRun.output), std::make_pair(0, list))
        << "nothing else, the engine did not start";
}

TEST(CommandLine, MalformedInputIsAnErrorWithAMessage) {
    for (const char* args :
         {"--frames", "--frames 0", "--frames -3", "--frames 12x", "--frames ''",
          "--frames 99999999999", "--screenshot", "--screenshot ''", "--screenshot shot.jpg",
          "--screenshot .png", "--demo", "--demo nosuchdemo", "--demo ''", "-x", "shadow",
          "--help --bogus", "--windowed=yes", "--frames 5 --list -", "--frame-ms 1001"}) {
        const sCommandLine c = Parse(args);
        EXPECT_TRUE(c.command == COMMAND_ERROR && !c.error.empty()) << args;
    }
    EXPECT_NE(Parse("--bogus").error.find("--bogus"), std::string::npos);
    EXPECT_NE(Parse("--demo nosuchdemo").error.find("nosuchdemo"), std::string::npos);
}

TEST(ProgramEntry, BadOptionsGiveTheUsageAndStartUpFailureANonZeroStatus) {
    // Which parse errors there are is the parser's business; any one gives this answer.
    const auto bad = RunWithoutDisplay("--screenshot x.gif");
    EXPECT_EQ(bad.status, 2);
    EXPECT_TRUE(bad.output.find("zarvo: ") != std::string::npos &&
                bad.output.find(UsageText()) != std::string::npos &&
                bad.output.find("Zarvo Engine version") == std::string::npos)
        << bad.output;
    // No display and the X11 driver: SDL's video start-up must fail, without a signal.
    const auto run = RunWithoutDisplay("--frames 1", "SDL_VIDEODRIVER=x11");
    EXPECT_TRUE(run.signal == 0 && run.status != 0) << run.signal;
    EXPECT_NE(run.output.find("Error: SDL Could not be initialized: "), std::string::npos)
        << run.output;
}

class EventManagerTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE((SDL_WasInit(SDL_INIT_VIDEO) || SDL_Init(SDL_INIT_VIDEO) == 0) &&
                    (SDL_GetVideoSurface() || SDL_SetVideoMode(320, 240, 32, SDL_SWSURFACE)))
            << SDL_GetError();
        zarvo_test::DrainEvents();
    }
    // Takes one frame after `pushed` went into the queue.
    void Poll(bool pushed) {
        ASSERT_TRUE(pushed);
        events.PollEvents();
    }
    // What a frame sees: "new" or "old" event, its kind, the held keys and mouse buttons.
    std::string State() const {
        std::string s = events.GetEventFlag() ? "new " : "old ";
        for (int kind = EVENT_NONE; kind <= EVENT_RIGHT_BUTTON_DOWN; ++kind)
            if (events.isactualEvent(eEvents(kind))) s += std::to_string(kind);
        for (const auto& key : {std::make_pair(SDLK_UP, " up"), {SDLK_LEFT, " left"}})
            if (events.isKeyDown(key.first)) s += key.second;
        return s + (events.isLeftMouseButtonPressed() ? " L" : "") +
               (events.isRightMouseButtonPressed() ? " R" : "");
    }
    CEventManager events;
};

TEST_F(EventManagerTest, KeysAreLevelTriggeredOneEventAFrameAndTheFlagMarksOnlyNewOnes) {
    ASSERT_TRUE(zarvo_test::PushKey(SDLK_UP, true) && zarvo_test::PushKey(SDLK_LEFT, true));
    // With no new event a held key stays held and the last event keeps its kind.
    for (const char* expected : {"new 1 up", "new 1 up left", "old 1 up left"}) {
        events.PollEvents();
        EXPECT_EQ(State(), expected);
    }
    Poll(zarvo_test::PushKey(SDLK_UP, false));
    EXPECT_EQ(State(), "new 0 left");
    events.PollEvents();
    EXPECT_EQ(State(), "old 0 left");
}

TEST_F(EventManagerTest, MouseButtonsSetFlagsAndEventsOnlyForLeftAndRight) {
    // Middle button and wheel: new events, but no flag and no kind.
    for (const auto& step : {std::make_tuple(SDL_BUTTON_LEFT, true, "new 5 L"),
                             {SDL_BUTTON_RIGHT, true, "new 6 L R"},
                             {SDL_BUTTON_LEFT, false, "new 3 R"},
                             {SDL_BUTTON_RIGHT, false, "new 4"},
                             {SDL_BUTTON_MIDDLE, true, "new 0"},
                             {SDL_BUTTON_WHEELUP, true, "new 0"}}) {
        Poll(zarvo_test::PushMouseButton(Uint8(std::get<0>(step)), std::get<1>(step), 0, 0));
        EXPECT_EQ(State(), std::get<2>(step)) << "button " << std::get<0>(step);
    }
}

TEST_F(EventManagerTest, QuitStaysSetClickedElementResetsAndUnknownKeysAreIgnored) {
    events.SetOnClickedGuiElement(7);
    Poll(zarvo_test::PushQuit());
    EXPECT_EQ(events.GetOnClickedGuiElement(), -1);
    events.PollEvents();
    events.PollEvents();
    EXPECT_EQ(State(), "old 2");
    EXPECT_EQ(events.GetEvent().type, SDL_QUIT);
    // SDL never sends symbols past its table, but a pushed event may carry any value.
    for (int sym : {400, 450, 511}) {
        Poll(zarvo_test::PushKey(SDLKey(sym), true));
        EXPECT_TRUE(events.isactualEvent(EVENT_KEY_DOWN) && !events.isKeyDown(SDLKey(sym)));
        Poll(zarvo_test::PushKey(SDLKey(sym), false));
    }
    EXPECT_FALSE(events.isKeyDown(SDLK_LAST));
}

// Manager globals set (of fourteen) and audio devices open (one per live sound manager).
std::pair<int, int> Alive() {
    int globals = 0, frequency = 0, channels = 0;
    Uint16 format = 0;
    for (bool set :
         {!!g_EventManager, !!g_Graphics, !!g_TextureManager, !!g_Windowmanager, !!g_FontManager,
          !!g_Utils, !!g_SoundManager, !!g_ShaderManager, !!g_Camera, !!g_CameraManager, !!g_Logger,
          !!g_LightManager, !!g_3DGameObjectManager, !!g_2DGameObjectManager})
        globals += set;
    return {globals, Mix_QuerySpec(&frequency, &format, &channels)};
}
const std::pair<int, int> kNone{0, 0}, kOneSet{14, 1};

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
    testing::internal::GetCapturedStdout();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string bytes;
    EXPECT_TRUE(wrote && !zarvo_test::ReadFileBytes(file, bytes)) << "no file, or reopened";
    EXPECT_EQ(Alive(), kOneSet) << "only the newest set lives, with one open audio device";
    // Destroyed newest first, as the program does: the first deletes, the rest find nothing.
    apps.pop_back();
    EXPECT_EQ(Alive(), kNone);
    apps.clear(); // would crash on a second delete
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
        EXPECT_EQ(zarvo_test::CountOccurrences(content, once), 1u) << once << " in\n" << content;
    const std::string last = "Logger stopped...\n";
    EXPECT_EQ(content.rfind(last), content.size() - last.size()) << content;
}

// Timing state is shared by every CUtils, so each test starts well after the last.
Uint32 g_Now = 0;

class FrameTimingTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1); // window-less, yet the caption can be read back
        SDL_InitSubSystem(SDL_INIT_VIDEO);
    }
    static void TearDownTestSuite() { SDL_QuitSubSystem(SDL_INIT_VIDEO); }
    void SetUp() override {
        CUtils::SetTickSource([] { return g_Now; });
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
    const Uint32 start = g_Now;
    for (int frame = 1; frame <= 59; ++frame)
        ASSERT_EQ(RateAt(start + Uint32(frame) * 16), 0) << "frame " << frame;
    EXPECT_EQ(RateAt(start + 1001), 60);
    EXPECT_STREQ(utils.GetFPString(), " Current FPS: 60");
    char *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title, "Demo Current FPS: 60");
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
        CUtils().ComputeTangentBasis({0, 0, 0}, c.p1, c.p2, {0, 0}, c.uv1, c.uv2, t, b);
        auto off = [](CVector3 u, CVector3 v) {
            return std::fabs(u.x - v.x) + std::fabs(u.y - v.y) + std::fabs(u.z - v.z);
        };
        EXPECT_LT(off(t, c.tangent) + off(b, c.bitangent), 1e-5f) << &c - cases;
    }
}

} // namespace
