// The event manager fed with real SDL events on the dummy video driver (no display).
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "support/event_driver.h"

#include <SDL.h>

#include <cstdlib>

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
