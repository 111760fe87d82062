#pragma once
#include "core/cApp.h"

// Constructs and destroys with its engine; the scene arrives with the demo itself.
class testImageFade : public CApp {
public:
    testImageFade();
    ~testImageFade() override;

    void Init() override {}
    void Run() override {}
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}
};
