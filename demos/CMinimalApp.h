#pragma once
// A small application the program runs until the full demos exist: it opens a windowed
// 3D view, draws a turning triangle every frame through the engine's main loop and ends
// on Escape, a window close or the frame limit of the run options.
#include "core/cApp.h"

class CMinimalApp : public CApp {
public:
    CMinimalApp();
    ~CMinimalApp() override;

    void Init() override;
    void Run() override;
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}

    // One frame; false when the run should end.
    bool RenderScene();
};
