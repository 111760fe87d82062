#pragma once
// Pushes SDL events into the real queue, as a person at the keyboard and mouse would
// produce them, for tests that drive an application or the GUI frame by frame.
#include <SDL.h>

namespace zarvo_test {

// Each returns false when SDL refused the event (queue full or video not started).
bool PushKey(SDLKey key, bool down);
bool PushMouseMotion(int x, int y);
bool PushMouseButton(Uint8 button, bool down, int x, int y);
bool PushQuit();

// Drops every pending event (left over from an earlier test).
void DrainEvents();

// Moves the pointer to (x, y) in the open window and waits until SDL's mouse state shows
// it, then drops the motion events the move produced, so the next event a frame takes is
// the one a test pushes. False when the display does not move the pointer.
bool WarpMouse(int x, int y);

} // namespace zarvo_test
