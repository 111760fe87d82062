// Input: the command line (malformed input is an error rather than a guess) and its use by
// the program, and the event manager fed with SDL events on the dummy video driver.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/CommandLine.h"
#include "support/event_driver.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <cstdlib>
#include <set>
#include <sstream>

namespace {
// Arguments split at spaces; '' stands for an empty one.
sCommandLine Parse(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w == "''" ? "" : w);
    std::vector<const char*> args{"zarvo"};
    for (const std::string& w : words)
        args.push_back(w.c_str());
    return ParseCommandLine(int(args.size()), args.data());
}
zarvo_test::ProgramRun RunWithoutDisplay(const std::string& args, const std::string& env = "") {
    return zarvo_test::RunProgram(args, zarvo_test::MakeTempDir("zarvo-cmdline"),
                                  "-u DISPLAY " + env);
}
} // namespace

TEST(CommandLine, DefaultsEveryDemoByShortAndClassNameAndRunSettingsInAnyOrder) {
    const sCommandLine d = Parse("");
    EXPECT_EQ(
        std::make_tuple(d.command, d.demo, d.run.frameLimit, d.run.screenshotFile, d.run.windowed,
                        d.error),
        std::make_tuple(COMMAND_RUN, DEMO_SHADOW_MAPPING, 0, std::string(), false, std::string()));
    std::set<std::string> names;
    for (int i = 0; i < DEMO_COUNT; ++i) {
        const sDemoInfo& info = GetDemoInfo(eDemo(i));
        names.insert(info.shortName);
        for (const char* name : {info.shortName, info.className}) {
            const sCommandLine c = Parse(std::string("--demo ") + name);
            EXPECT_EQ(std::make_pair(c.command, c.demo), std::make_pair(COMMAND_RUN, eDemo(i)))
                << name;
        }
    }
    EXPECT_EQ(names.size(), size_t(DEMO_COUNT));
    EXPECT_EQ(Parse("--demo SHADOW").demo, DEMO_SHADOW_MAPPING) << "names ignore case";

    const sCommandLine c =
        Parse("--frames 300 --windowed --screenshot out/shot.png --demo parallax");
    EXPECT_EQ(
        std::make_tuple(c.command, c.demo, c.run.frameLimit, c.run.screenshotFile, c.run.windowed),
        std::make_tuple(COMMAND_RUN, DEMO_PARALLAX_SCROLL, 300, std::string("out/shot.png"), true))
        << c.error;
    EXPECT_EQ(Parse("--screenshot x.BMP").run.screenshotFile, "x.BMP");
    EXPECT_EQ(Parse("--frames 1 --frames 2").run.frameLimit, 2) << "last one wins";
}

TEST(CommandLine, HelpAndListStopBeforeRunningAndAnswerWithoutStartingTheEngine) {
    for (const auto& c : {std::make_pair("--help", COMMAND_HELP),
                          {"-h", COMMAND_HELP},
                          {"--list", COMMAND_LIST},
                          {"--list --help", COMMAND_HELP},
                          {"--demo fade --list", COMMAND_LIST}})
        EXPECT_EQ(Parse(c.first).command, c.second) << c.first;
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
          "--help --bogus", "--windowed=yes", "--frames 5 --list -"}) {
        const sCommandLine c = Parse(args);
        EXPECT_EQ(c.command, COMMAND_ERROR) << args;
        EXPECT_FALSE(c.error.empty()) << args;
    }
    EXPECT_NE(Parse("--bogus").error.find("--bogus"), std::string::npos);
    EXPECT_NE(Parse("--demo nosuchdemo").error.find("nosuchdemo"), std::string::npos);
}

TEST(ProgramEntry, BadOptionsGiveTheUsageAndStartUpFailureANonZeroStatus) {
    for (const char* args : {"--bogus", "--demo nosuchdemo", "--frames", "--screenshot x.gif"}) {
        const auto run = RunWithoutDisplay(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.output.find("zarvo: "), std::string::npos) << args;
        EXPECT_NE(run.output.find(UsageText()), std::string::npos) << args;
        EXPECT_EQ(run.output.find("Zarvo Engine version"), std::string::npos) << args;
    }
    // No display and the X11 driver: SDL's video start-up must fail.
    const auto run = RunWithoutDisplay("--frames 1", "SDL_VIDEODRIVER=x11");
    EXPECT_EQ(run.signal, 0) << "the program died from a signal";
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("Error: SDL Could not be initialized: "), std::string::npos)
        << run.output;
}

namespace {

class EventManagerTest : public testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        ASSERT_TRUE((SDL_WasInit(SDL_INIT_VIDEO) || SDL_Init(SDL_INIT_VIDEO) == 0) &&
                    (SDL_GetVideoSurface() || SDL_SetVideoMode(320, 240, 32, SDL_SWSURFACE)))
            << SDL_GetError();
        zarvo_test::DrainEvents();
    }
    // Pushes a key or button event and takes one frame.
    void Key(int sym, bool down) {
        ASSERT_TRUE(zarvo_test::PushKey(SDLKey(sym), down));
        events.PollEvents();
    }
    void Button(Uint8 button, bool down) {
        ASSERT_TRUE(zarvo_test::PushMouseButton(button, down, 0, 0));
        events.PollEvents();
    }
    // What a frame sees: "new" or "old" event, its kind, the held keys and mouse buttons.
    std::string State() const {
        std::string s = events.GetEventFlag() ? "new " : "old ";
        for (int kind = EVENT_NONE; kind <= EVENT_RIGHT_BUTTON_DOWN; ++kind)
            if (events.isactualEvent(eEvents(kind))) s += std::to_string(kind);
        for (const auto& key : {std::make_pair(SDLK_UP, " up"),
                                {SDLK_LEFT, " left"},
                                {SDLK_RIGHT, " right"},
                                {SDLK_SPACE, " space"}})
            if (events.isKeyDown(key.first)) s += key.second;
        return s + (events.isLeftMouseButtonPressed() ? " L" : "") +
               (events.isRightMouseButtonPressed() ? " R" : "");
    }
    CEventManager events;
};

} // namespace

TEST_F(EventManagerTest, KeysAreLevelTriggeredAndTheFlagMarksOnlyTheNewEventsFrame) {
    Key(SDLK_UP, true);
    EXPECT_EQ(State(), "new 1 up");
    events.PollEvents(); // no new event: the key stays held and the last event keeps its kind
    EXPECT_EQ(State(), "old 1 up");
    Key(SDLK_UP, false);
    EXPECT_EQ(State(), "new 0");
    events.PollEvents();
    EXPECT_EQ(State(), "old 0");
}

TEST_F(EventManagerTest, TakesOneEventPerFrame) {
    ASSERT_TRUE(zarvo_test::PushKey(SDLK_LEFT, true) && zarvo_test::PushKey(SDLK_RIGHT, true) &&
                zarvo_test::PushKey(SDLK_LEFT, false));
    for (const char* expected : {"new 1 left", "new 1 left right", "new 0 right", "old 0 right"}) {
        events.PollEvents();
        EXPECT_EQ(State(), expected);
    }
}

TEST_F(EventManagerTest, MouseButtonsSetFlagsAndEventsOnlyForLeftAndRight) {
    // Middle button and wheel: new events, but no flag and no kind.
    for (const auto& step : {std::make_tuple(SDL_BUTTON_LEFT, true, "new 5 L"),
                             {SDL_BUTTON_RIGHT, true, "new 6 L R"},
                             {SDL_BUTTON_LEFT, false, "new 3 R"},
                             {SDL_BUTTON_RIGHT, false, "new 4"},
                             {SDL_BUTTON_MIDDLE, true, "new 0"},
                             {SDL_BUTTON_WHEELUP, true, "new 0"}}) {
        Button(Uint8(std::get<0>(step)), std::get<1>(step));
        EXPECT_EQ(State(), std::get<2>(step)) << "button " << std::get<0>(step);
    }
}

TEST_F(EventManagerTest, MouseMotionGivesNoEventKindAndDifferencesLastOneFrame) {
    Key(SDLK_SPACE, true);
    events.SetMouseCoordinates(100, 50); // a warp moves SDL's mouse and queues a motion event
    events.PollEvents();
    EXPECT_EQ(State(), "new 0 space");
    EXPECT_EQ(std::make_tuple(events.GetMouseX(), events.GetMouseY(), events.GetMouseDiffX(),
                              events.GetMouseDiffY(), events.MouseMove()),
              std::make_tuple(100, 50, 100, 50, true));
    events.PollEvents();
    EXPECT_EQ(std::make_tuple(events.GetMouseDiffX(), events.GetMouseDiffY(), events.MouseMove()),
              std::make_tuple(0, 0, false));
}

TEST_F(EventManagerTest, QuitStaysSetClickedElementResetsAndUnknownKeysAreIgnored) {
    events.SetOnClickedGuiElement(7);
    ASSERT_TRUE(zarvo_test::PushQuit());
    events.PollEvents();
    EXPECT_EQ(events.GetOnClickedGuiElement(), -1);
    events.PollEvents();
    events.PollEvents();
    EXPECT_EQ(State(), "old 2");
    EXPECT_EQ(events.GetEvent().type, SDL_QUIT);
    // SDL never sends symbols past its table, but a pushed event may carry any value.
    for (int sym : {400, 450, 511}) {
        Key(sym, true);
        EXPECT_TRUE(events.isactualEvent(EVENT_KEY_DOWN));
        EXPECT_FALSE(events.isKeyDown(SDLKey(sym)));
        Key(sym, false);
    }
    EXPECT_FALSE(events.isKeyDown(SDLK_LAST));
}
