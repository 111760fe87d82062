#pragma once
#include "core/cApp.h"

// Constructs and destroys with its engine; the scene arrives with the demo itself.
class testKavrixBases : public CApp {
public:
    testKavrixBases();
    ~testKavrixBases() override;

    void Init() override {}
    void Run() override {}
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}
};
