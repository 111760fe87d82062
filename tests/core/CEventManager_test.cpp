// The event manager fed with real SDL events, pushed into SDL's queue on the dummy
// video driver (no display needed).
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
    CEventManager events;
};

} // namespace

TEST_F(EventManagerTest, KeysAreLevelTriggeredAndTheFlagMarksOnlyTheNewEventsFrame) {
    Key(SDLK_UP, true);
    EXPECT_TRUE(events.GetEventFlag() && events.isKeyDown(SDLK_UP));
    EXPECT_TRUE(events.isactualEvent(EVENT_KEY_DOWN));
    // No new event: the key stays held and the last event keeps its kind.
    events.PollEvents();
    EXPECT_FALSE(events.GetEventFlag());
    EXPECT_TRUE(events.isKeyDown(SDLK_UP) && events.isactualEvent(EVENT_KEY_DOWN));
    Key(SDLK_UP, false);
    EXPECT_TRUE(events.GetEventFlag() && events.isactualEvent(EVENT_NONE));
    EXPECT_FALSE(events.isKeyDown(SDLK_UP));
    events.PollEvents();
    EXPECT_FALSE(events.isKeyDown(SDLK_UP));
}

TEST_F(EventManagerTest, TakesOneEventPerFrame) {
    ASSERT_TRUE(zarvo_test::PushKey(SDLK_LEFT, true) && zarvo_test::PushKey(SDLK_RIGHT, true) &&
                zarvo_test::PushKey(SDLK_LEFT, false));
    const bool left[] = {true, true, false}, right[] = {false, true, true};
    for (int frame = 0; frame < 3; ++frame) {
        events.PollEvents();
        EXPECT_EQ(events.isKeyDown(SDLK_LEFT), left[frame]) << frame;
        EXPECT_EQ(events.isKeyDown(SDLK_RIGHT), right[frame]) << frame;
        EXPECT_TRUE(events.GetEventFlag());
    }
    events.PollEvents();
    EXPECT_FALSE(events.GetEventFlag());
}

TEST_F(EventManagerTest, MouseButtonsSetFlagsAndEventsOnlyForLeftAndRight) {
    struct Step {
        Uint8 button;
        bool down, left, right;
        eEvents kind;
    };
    // Middle button and wheel: new events, but no flag and no kind.
    for (const Step& s : {Step{SDL_BUTTON_LEFT, true, true, false, EVENT_LEFT_BUTTON_DOWN},
                          Step{SDL_BUTTON_RIGHT, true, true, true, EVENT_RIGHT_BUTTON_DOWN},
                          Step{SDL_BUTTON_LEFT, false, false, true, EVENT_LEFT_BUTTON_UP},
                          Step{SDL_BUTTON_RIGHT, false, false, false, EVENT_RIGHT_BUTTON_UP},
                          Step{SDL_BUTTON_MIDDLE, true, false, false, EVENT_NONE},
                          Step{SDL_BUTTON_WHEELUP, true, false, false, EVENT_NONE}}) {
        Button(s.button, s.down);
        SCOPED_TRACE(testing::Message() << "button " << int(s.button) << " down " << s.down);
        EXPECT_TRUE(events.GetEventFlag());
        EXPECT_TRUE(events.isactualEvent(s.kind));
        EXPECT_EQ(events.isLeftMouseButtonPressed(), s.left);
        EXPECT_EQ(events.isRightMouseButtonPressed(), s.right);
    }
}

TEST_F(EventManagerTest, MouseMotionGivesNoEventKindAndDifferencesLastOneFrame) {
    Key(SDLK_SPACE, true);
    events.SetMouseCoordinates(100, 50); // a warp moves SDL's mouse and queues a motion event
    events.PollEvents();
    EXPECT_TRUE(events.GetEventFlag() && events.isactualEvent(EVENT_NONE));
    EXPECT_TRUE(events.isKeyDown(SDLK_SPACE));
    EXPECT_EQ(events.GetMouseX(), 100);
    EXPECT_EQ(events.GetMouseY(), 50);
    EXPECT_EQ(events.GetMouseDiffX(), 100);
    EXPECT_EQ(events.GetMouseDiffY(), 50);
    EXPECT_TRUE(events.MouseMove());
    events.PollEvents();
    EXPECT_EQ(events.GetMouseDiffX(), 0);
    EXPECT_EQ(events.GetMouseDiffY(), 0);
    EXPECT_FALSE(events.MouseMove());
}

TEST_F(EventManagerTest, QuitStaysSetClickedElementResetsAndUnknownKeysAreIgnored) {
    events.SetOnClickedGuiElement(7);
    ASSERT_TRUE(zarvo_test::PushQuit());
    events.PollEvents();
    EXPECT_EQ(events.GetOnClickedGuiElement(), -1);
    events.PollEvents();
    events.PollEvents();
    EXPECT_TRUE(events.isactualEvent(EVENT_QUIT));
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
