#pragma once
// A 2D pixel view over whatever window the test process has open.

namespace zarvo_test {

// Swaps once so the drawable follows a window size change (Mesa only resizes it then),
// sets the viewport to the whole window and an orthographic projection with the origin
// at the top-left corner and y downwards, and loads the identity model-view matrix.
// Returns the window size through w and h.
void SetPixelView(int* w = nullptr, int* h = nullptr);

} // namespace zarvo_test
