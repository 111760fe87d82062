#pragma once
// The GUI demo: two movable windows with headers, tooltips and background images, buttons
// with hover animations, check boxes, a progress bar and static texts in all four
// character sets, over a 2D-mode screen with the custom cursors. Clicks are shown on
// screen and answered with a click sound; one button starts and stops the music.
#include "core/cApp.h"

#include <string>

class CWindow;
class CProgressBar;
class CCheckBox;
class CStaticText;
class CSound;
class CMusic;

class testGUI : public CApp {
public:
    // The IDs the widgets report through the event manager.
    enum eWidget {
        BUTTON_FILL = 101,
        BUTTON_EMPTY = 102,
        BUTTON_MUSIC = 103,
        BUTTON_BEEP = 104,
        BUTTON_HELLO = 105,
        CHECK_TEXT_WINDOW = 201,
        CHECK_SOUND = 202
    };
    static const unsigned int PROGRESS_MAXIMUM = 100;
    static const unsigned int PROGRESS_STEP = 10;

    testGUI();
    ~testGUI() override;

    void Init() override;
    void Run() override;
    void Shutdown() override {}
    void ResizeWindow(int /*width*/, int /*height*/) override {}
    void ToggleFullscreen() override {}

    // One frame: the engine's frame (which draws and runs the GUI), the reaction to this
    // frame's click, the texts, then the swap. False once the run's frame limit is reached.
    bool RenderScene();
    // RenderScene, then Escape and window close. False when the run ends.
    bool RunPass();

    CWindow* GetControlsWindow() const { return m_pControls; }
    CWindow* GetTextsWindow() const { return m_pTexts; }
    const std::string& GetLastClick() const { return m_sLastClick; }
    int GetClickSounds() const { return m_iClickSounds; }
    bool IsMusicOn() const { return m_bMusicOn; }

    // The screen position of a widget's top-left corner in the controls window (or the
    // texts window for BUTTON_HELLO).
    bool WidgetScreenPosition(int id, float* x, float* y) const;

private:
    void BuildControlsWindow();
    void BuildTextsWindow();
    void OnClicked(int id);
    void UpdateLabels();

    CWindow* m_pControls;
    CWindow* m_pTexts;
    CCheckBox* m_pTextWindowBox;
    CCheckBox* m_pSoundBox;
    CStaticText* m_pProgressLabel;
    CSound* m_pClick;
    CMusic* m_pMusic;
    bool m_bMusicOn;
    int m_iClickSounds;
    std::string m_sLastClick;
    std::string m_sControlsTip;
    std::string m_sTextsTip;
};
