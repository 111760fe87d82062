#include "demos/testGUI.h"

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "gui/CButton.h"
#include "gui/CCheckBox.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "gui/CProgressBar.h"
#include "gui/CStaticText.h"
#include "gui/CWindow.h"
#include "gui/CWindowManager.h"
#include "render3d/C3DGameObjectManager.h"
#include "sound/CMusic.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"

#include <GL/glew.h>

#include <cstdio>

namespace {

// The widget constructors take writable names; the paths stay in these buffers.
char kPointer[] = "Data/MousePointer.png";
char kMoveCursor[] = "Data/moveWindow.png";
char kControlsImage[] = "Data/GUI/windowControls.png";
char kTextsImage[] = "Data/GUI/windowTexts.png";
char kFill[] = "Data/GUI/fill";
char kEmpty[] = "Data/GUI/empty";
char kMusic[] = "Data/GUI/music";
char kBeep[] = "Data/GUI/beep";
char kHello[] = "Data/GUI/hello";
char kCheckOff[] = "Data/GUI/checkOff";
char kCheckOn[] = "Data/GUI/checkOn";
char kTrack[] = "Data/GUI/progressTrack.png";
char kProgressFill[] = "Data/GUI/progressFill.png";

const unsigned int kButtonFrames = 6;
const unsigned int kCheckFrames = 4;
const unsigned int kHeader = 24;
const unsigned int kHoverSpeed = 15; // frames per second of the hover animation

struct sWidgetPlace {
    int id;
    float x, y; // offset in its window
};
const sWidgetPlace kPlaces[] = {
    {testGUI::BUTTON_FILL, 20, 40},        {testGUI::BUTTON_EMPTY, 220, 40},
    {testGUI::BUTTON_MUSIC, 20, 92},       {testGUI::BUTTON_BEEP, 220, 92},
    {testGUI::CHECK_TEXT_WINDOW, 20, 150}, {testGUI::CHECK_SOUND, 20, 184},
    {testGUI::BUTTON_HELLO, 300, 290},
};

const char* WidgetName(int id) {
    switch (id) {
    case testGUI::BUTTON_FILL:
        return "the Fill bar button";
    case testGUI::BUTTON_EMPTY:
        return "the Empty bar button";
    case testGUI::BUTTON_MUSIC:
        return "the Music button";
    case testGUI::BUTTON_BEEP:
        return "the Click me button";
    case testGUI::BUTTON_HELLO:
        return "the Hello button";
    case testGUI::CHECK_TEXT_WINDOW:
        return "the Texts window check box";
    case testGUI::CHECK_SOUND:
        return "the Click sounds check box";
    default:
        return "an unknown element";
    }
}

sColor Colour(float r, float g, float b, float a = 1.0f) {
    return sColor(r, g, b, a);
}

} // namespace

testGUI::testGUI()
    : m_pControls(nullptr), m_pTexts(nullptr), m_pTextWindowBox(nullptr), m_pSoundBox(nullptr),
      m_pProgressLabel(nullptr), m_pClick(nullptr), m_pMusic(nullptr), m_bMusicOn(false),
      m_iClickSounds(0) {}

// The windows belong to the window manager, the sounds to the sound manager.
testGUI::~testGUI() {}

void testGUI::Init() {
    g_Graphics->SetDepthBufferSize(16);
    g_Graphics->SetStencilBufferSize(8);
    g_Graphics->SetFOV(65.0);
    m_pEngine->Initialize(1024, 768, 24, false, true);

    g_Graphics->LoadCustomMouseCursor(kPointer);
    g_Graphics->LoadCustomMouseCursorOnWindowMove(kMoveCursor);
    m_pEngine->EnableFPSCounting(true);
    g_Graphics->ShowMouseCursor(false);
    g_Graphics->setWindowTitle("Zarvo Engine GUI demo...");
    g_FontManager->LoadFont("Data/Font/fontDemo.tga");
    g_Graphics->EnableShadows(false);
    g_3DGameObjectManager->DrawingShadowVolume(false);
    g_3DGameObjectManager->EnableBoundingBoxDrawing(false);

    BuildControlsWindow();
    BuildTextsWindow();

    m_pClick = new CSound("Data/Sound/click.wav");
    m_pMusic = new CMusic("Data/Sound/music.wav");
    m_sControlsTip = "Drag me by the header - 100% movable";
    m_sTextsTip = "Texts window: drag the header to move it";
    UpdateLabels();
}

void testGUI::BuildControlsWindow() {
    m_pControls = new CWindow(40, 110, 440, 450, kControlsImage, false, 0.95f, kHeader, 1, true);
    char* const files[] = {kFill, kEmpty, kMusic, kBeep};
    for (int i = 0; i < 4; ++i) {
        const sWidgetPlace& p = kPlaces[i];
        CButton* button = new CButton(files[i], kButtonFrames, p.x, p.y, p.id);
        button->SetAnimationSpeed(kHoverSpeed);
        m_pControls->RegisterButton(button);
    }
    m_pTextWindowBox = new CCheckBox(kCheckOff, kCheckFrames, kCheckOn, kCheckFrames, kPlaces[4].x,
                                     kPlaces[4].y, CHECK_TEXT_WINDOW);
    m_pTextWindowBox->CheckIt(true);
    m_pSoundBox = new CCheckBox(kCheckOff, kCheckFrames, kCheckOn, kCheckFrames, kPlaces[5].x,
                                kPlaces[5].y, CHECK_SOUND);
    m_pSoundBox->CheckIt(true);
    m_pControls->RegisterCheckbox(m_pTextWindowBox);
    m_pControls->RegisterCheckbox(m_pSoundBox);
    m_pControls->RegisterStaticText(new CStaticText("Show the Texts window", 54, 154));
    m_pControls->RegisterStaticText(new CStaticText("Click sounds", 54, 188));
    m_pControls->RegisterTexture(kTrack, 16, 246, 1.0f);
    m_pControls->RegisterProgressBar(kProgressFill, 20, 250, PROGRESS_MAXIMUM);
    m_pControls->GetProgressBar()->SetActualLength(40);
    m_pProgressLabel = new CStaticText("", 20, 286, 0.7f, 0.9f, 1.0f, 1.0f);
    m_pControls->RegisterStaticText(m_pProgressLabel);
    m_pControls->RegisterStaticText(
        new CStaticText("Hover a button or drag a header", 20, 312, 0.6f, 0.6f, 0.7f, 1.0f));
    m_pControls->SetVisible(true);
    g_Windowmanager->RegisterWindow(m_pControls);
}

void testGUI::BuildTextsWindow() {
    m_pTexts = new CWindow(500, 150, 980, 510, kTextsImage, false, 0.9f, kHeader, 2, true);
    struct sLine {
        const char* text;
        FONT_TYPE type;
        sColor colour;
        float scaleX, scaleY;
    };
    const sLine lines[] = {
        {"Set 0: plain characters", FONT_NORMAL, Colour(1, 1, 1), 1.0f, 1.0f},
        {"Set 1: second set", FONT_SECOND_SET, Colour(1, 0.9f, 0.3f), 1.0f, 1.0f},
        {"Set 2: bold", FONT_BOLD, Colour(1, 0.55f, 0.2f), 1.5f, 1.5f},
        {"Set 3: bold second set", FONT_SECOND_SET_BOLD, Colour(0.4f, 0.9f, 1), 1.2f, 1.2f},
        {"Twice as large", FONT_NORMAL, Colour(0.5f, 1, 0.5f), 2.0f, 2.0f},
        {"Tall and narrow", FONT_BOLD, Colour(1, 0.5f, 0.8f), 0.8f, 1.6f},
        {"Shown as typed: 100% %s %d %n", FONT_NORMAL, Colour(0.8f, 0.8f, 0.9f), 1.0f, 1.0f},
    };
    float y = 40;
    for (const sLine& line : lines) {
        CStaticText* text = new CStaticText(line.text, 20, y, line.colour);
        text->SetType(line.type);
        text->SetSize(line.scaleX, line.scaleY);
        m_pTexts->RegisterStaticText(text);
        y += 16 * line.scaleY + 14;
    }
    CButton* hello = new CButton(kHello, kButtonFrames, kPlaces[6].x, kPlaces[6].y, BUTTON_HELLO);
    hello->SetAnimationSpeed(kHoverSpeed);
    m_pTexts->RegisterButton(hello);
    m_pTexts->SetVisible(true);
    g_Windowmanager->RegisterWindow(m_pTexts);
}

bool testGUI::WidgetScreenPosition(int id, float* x, float* y) const {
    for (const sWidgetPlace& p : kPlaces) {
        if (p.id != id) continue;
        const CWindow* window = id == BUTTON_HELLO ? m_pTexts : m_pControls;
        if (!window) return false;
        *x = window->GetLeft() + p.x;
        *y = window->GetTop() + p.y;
        return true;
    }
    return false;
}

void testGUI::UpdateLabels() {
    CProgressBar* bar = m_pControls->GetProgressBar();
    char label[64];
    std::snprintf(label, sizeof label, "Progress: %u%%",
                  bar->GetActualLength() * 100 / bar->GetMaximum());
    m_pProgressLabel->SetStaticText(label);
    // The tooltips follow their windows, just above the header.
    const sColor white = Colour(1, 1, 1);
    m_pControls->SetToolTip(&m_sControlsTip[0], 0, white, m_pControls->GetLeft(),
                            m_pControls->GetTop() - 20, 0);
    m_pTexts->SetToolTip(&m_sTextsTip[0], 0, white, m_pTexts->GetLeft(), m_pTexts->GetTop() - 20,
                         0);
}

void testGUI::OnClicked(int id) {
    m_sLastClick = std::string("You clicked ") + WidgetName(id);
    if (m_pSoundBox->IsChecked() && m_pClick && m_pClick->IsLoaded()) {
        m_pClick->Play(0);
        ++m_iClickSounds;
    }
    CProgressBar* bar = m_pControls->GetProgressBar();
    switch (id) {
    case BUTTON_FILL:
        bar->IncrementActualLength(PROGRESS_STEP);
        break;
    case BUTTON_EMPTY:
        bar->SetActualLength(0);
        break;
    case BUTTON_MUSIC:
        if (m_bMusicOn) {
            g_SoundManager->StopMusic();
            m_bMusicOn = false;
        } else if (m_pMusic && m_pMusic->IsLoaded()) {
            m_pMusic->Play(-1);
            m_bMusicOn = true;
        }
        break;
    case CHECK_TEXT_WINDOW:
        m_pTexts->SetVisible(m_pTextWindowBox->IsChecked());
        break;
    default:
        break;
    }
}

bool testGUI::RenderScene() {
    glClearColor(0.10f, 0.12f, 0.18f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    UpdateLabels();
    m_pEngine->MainLoop();
    const int clicked = g_EventManager->GetOnClickedGuiElement();
    if (clicked != -1) OnClicked(clicked);

    g_Graphics->InitGlOrthoMode();
    CFont* font = g_FontManager->getFont(1);
    font->PrintText(360, 5, 2, 0.8f, 0.6f, 0.2f, 1.0f, 2.0f, 2.0f, "GUI demo");
    font->PrintText(1, 50, 0, "Drag the windows by their headers; click the buttons and boxes.");
    if (!m_sLastClick.empty())
        font->PrintText(40, 690, 2, 1.0f, 1.0f, 0.5f, 1.0f, 1.3f, 1.3f, "%s", m_sLastClick.c_str());
    font->PrintText(40, 730, 0, "Music: %s", m_bMusicOn ? "playing" : "stopped");
    g_Graphics->ViewPerspective();

    return PresentFrame();
}

bool testGUI::RunPass() {
    const bool more = RenderScene();
    if (g_EventManager->isKeyDown(SDLK_ESCAPE)) return false;
    if (g_EventManager->isactualEvent(EVENT_QUIT)) return false;
    return more;
}

void testGUI::Run() {
    while (RunPass()) {
    }
}
