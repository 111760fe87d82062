#pragma once
// The application frame every demo derives from. Constructing an application creates its
// Engine and with it the global managers; Init, Run and Shutdown follow; destroying it
// deletes the engine.
#include <string>

class Engine;

// Settings that bound an unattended run (automated checks, machines without a person at
// the keyboard): stop after a number of frames and save the last one.
struct sRunOptions {
    int frameLimit = 0;         // 0: run until Escape or the window closes
    std::string screenshotFile; // PNG (BMP for a .bmp name) of the last frame; empty: none
    bool windowed = false;      // a window even where the application asks for full screen
    int frameStepMs = 0;        // above 0: the engine clock moves this much a frame
};

class CApp {
public:
    CApp();
    virtual ~CApp();
    CApp(const CApp&) = delete;
    CApp& operator=(const CApp&) = delete;

    virtual void Init() = 0;
    virtual void Run() = 0;
    virtual void Shutdown() = 0;
    virtual void ResizeWindow(int width, int height) = 0;
    virtual void ToggleFullscreen() = 0;

    Engine* GetEngine() const { return m_pEngine; }

    static void SetRunOptions(const sRunOptions& options);
    static const sRunOptions& GetRunOptions();
    // True once a screenshot the run options asked for could not be written; the
    // program then ends with a non-zero status.
    static bool ScreenshotFailed();

protected:
    // Swaps the finished frame to the screen, saving it first when it is the last one the
    // run options allow. Returns false once that limit is reached.
    bool PresentFrame();
    int GetFramesPresented() const { return m_iFramesPresented; }

    int m_iWidth;
    int m_iHeight;
    int m_iBpp;
    std::string m_sTitle;
    bool m_bFlag;
    Engine* m_pEngine;

private:
    int m_iFramesPresented;
};
