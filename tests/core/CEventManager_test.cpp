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
        if (!SDL_WasInit(SDL_INIT_VIDEO)) {
            ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
        }
        if (!SDL_GetVideoSurface()) {
            ASSERT_NE(SDL_SetVideoMode(320, 240, 32, SDL_SWSURFACE), nullptr) << SDL_GetError();
        }
        zarvo_test::DrainEvents();
    }
    static void PushKey(Uint8 type, SDLKey sym) {
        ASSERT_TRUE(zarvo_test::PushKey(sym, type == SDL_KEYDOWN));
    }
    static void PushButton(Uint8 type, Uint8 button) {
        ASSERT_TRUE(zarvo_test::PushMouseButton(button, type == SDL_MOUSEBUTTONDOWN, 0, 0));
    }

    CEventManager events;
};

} // namespace

TEST_F(EventManagerTest, KeysAreLevelTriggeredAndTheFlagMarksOnlyTheNewEventsFrame) {
    PushKey(SDL_KEYDOWN, SDLK_UP);
    events.PollEvents();
    EXPECT_TRUE(events.GetEventFlag());
    EXPECT_TRUE(events.isKeyDown(SDLK_UP));
    EXPECT_TRUE(events.isactualEvent(EVENT_KEY_DOWN));

    // No new event: the key stays held and the last event keeps its kind.
    events.PollEvents();
    EXPECT_FALSE(events.GetEventFlag());
    EXPECT_TRUE(events.isKeyDown(SDLK_UP));
    EXPECT_TRUE(events.isactualEvent(EVENT_KEY_DOWN));

    PushKey(SDL_KEYUP, SDLK_UP);
    events.PollEvents();
    EXPECT_TRUE(events.GetEventFlag());
    EXPECT_FALSE(events.isKeyDown(SDLK_UP));
    EXPECT_TRUE(events.isactualEvent(EVENT_NONE));
    events.PollEvents();
    EXPECT_FALSE(events.isKeyDown(SDLK_UP));
}

TEST_F(EventManagerTest, TakesOneEventPerFrame) {
    PushKey(SDL_KEYDOWN, SDLK_LEFT);
    PushKey(SDL_KEYDOWN, SDLK_RIGHT);
    PushKey(SDL_KEYUP, SDLK_LEFT);
    events.PollEvents();
    EXPECT_TRUE(events.isKeyDown(SDLK_LEFT));
    EXPECT_FALSE(events.isKeyDown(SDLK_RIGHT));
    events.PollEvents();
    EXPECT_TRUE(events.isKeyDown(SDLK_LEFT));
    EXPECT_TRUE(events.isKeyDown(SDLK_RIGHT));
    events.PollEvents();
    EXPECT_FALSE(events.isKeyDown(SDLK_LEFT));
    EXPECT_TRUE(events.isKeyDown(SDLK_RIGHT));
    EXPECT_TRUE(events.GetEventFlag());
    events.PollEvents();
    EXPECT_FALSE(events.GetEventFlag());
}

TEST_F(EventManagerTest, MouseButtonsSetFlagsAndEventsOnlyForLeftAndRight) {
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    events.PollEvents();
    EXPECT_TRUE(events.isLeftMouseButtonPressed());
    EXPECT_TRUE(events.isactualEvent(EVENT_LEFT_BUTTON_DOWN));

    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
    events.PollEvents();
    EXPECT_TRUE(events.isRightMouseButtonPressed());
    EXPECT_TRUE(events.isactualEvent(EVENT_RIGHT_BUTTON_DOWN));

    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    events.PollEvents();
    EXPECT_FALSE(events.isLeftMouseButtonPressed());
    EXPECT_TRUE(events.isRightMouseButtonPressed());
    EXPECT_TRUE(events.isactualEvent(EVENT_LEFT_BUTTON_UP));

    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT);
    events.PollEvents();
    EXPECT_FALSE(events.isRightMouseButtonPressed());
    EXPECT_TRUE(events.isactualEvent(EVENT_RIGHT_BUTTON_UP));

    // Middle button and wheel: new events, but no flag and no kind.
    for (Uint8 button : {Uint8(SDL_BUTTON_MIDDLE), Uint8(SDL_BUTTON_WHEELUP)}) {
        PushButton(SDL_MOUSEBUTTONDOWN, button);
        events.PollEvents();
        EXPECT_TRUE(events.GetEventFlag());
        EXPECT_TRUE(events.isactualEvent(EVENT_NONE));
        EXPECT_FALSE(events.isLeftMouseButtonPressed());
        EXPECT_FALSE(events.isRightMouseButtonPressed());
    }
}

TEST_F(EventManagerTest, MouseMotionGivesNoEventKindAndDifferencesLastOneFrame) {
    PushKey(SDL_KEYDOWN, SDLK_SPACE);
    events.PollEvents();

    // A warp moves SDL's mouse and queues a motion event.
    events.SetMouseCoordinates(100, 50);
    events.PollEvents();
    EXPECT_TRUE(events.GetEventFlag());
    EXPECT_TRUE(events.isactualEvent(EVENT_NONE));
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

TEST_F(EventManagerTest, QuitStaysSetAndClickedElementResetsEachFrame) {
    events.SetOnClickedGuiElement(7);
    ASSERT_TRUE(zarvo_test::PushQuit());
    events.PollEvents();
    EXPECT_EQ(events.GetOnClickedGuiElement(), -1);
    EXPECT_TRUE(events.isactualEvent(EVENT_QUIT));
    events.PollEvents();
    events.PollEvents();
    EXPECT_TRUE(events.isactualEvent(EVENT_QUIT));
    EXPECT_EQ(events.GetEvent().type, SDL_QUIT);
}

TEST_F(EventManagerTest, KeySymbolsOutsideTheTableAreIgnored) {
    // SDL never sends these, but a pushed event may carry any value the key type holds.
    for (int sym : {400, 450, 511}) {
        PushKey(SDL_KEYDOWN, SDLKey(sym));
        events.PollEvents();
        EXPECT_TRUE(events.isactualEvent(EVENT_KEY_DOWN));
        EXPECT_FALSE(events.isKeyDown(SDLKey(sym)));
        PushKey(SDL_KEYUP, SDLKey(sym));
        events.PollEvents();
    }
    EXPECT_FALSE(events.isKeyDown(SDLK_LAST));
}
