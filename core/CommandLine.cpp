#include "core/CommandLine.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <strings.h>

namespace {

const sDemoInfo kDemos[DEMO_COUNT] = {
    {"enginetest", "EngineTestApp", "3D test bed: models, sky dome, particles, GUI window"},
    {"fade", "testImageFade", "a picture fading out and in"},
    {"kavrix", "testKavrixBases", "the picture fade once more"},
    {"gameobject", "testGameObject", "a 2D game object moving and rotating (arrows steer, R rotates)"},
    {"parallax", "testParallaxScroll", "three scrolling background layers (arrow keys)"},
    {"particles2d", "testParticleSystem2D", "two 2D particle emitters"},
    {"shadow", "testShadowMapping", "two characters in a shadow-mapped scene (arrows, Space, Q)"},
    {"gui", "testGUI", "movable windows, buttons, check boxes, progress bar, texts, sounds"},
    {"outdoor", "testOutdoor", "terrain, sky dome, fountain and rain (mouse, W/A/S/D)"},
};

bool ParseWholeNumber(const char* text, int& out, long most = INT_MAX) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < 1 || value > most) return false;
    out = int(value);
    return true;
}

bool FindDemo(const char* name, eDemo& out) {
    for (int i = 0; i < DEMO_COUNT; ++i) {
        if (strcasecmp(name, kDemos[i].shortName) == 0 ||
            strcasecmp(name, kDemos[i].className) == 0) {
            out = eDemo(i);
            return true;
        }
    }
    return false;
}

bool EndsWith(const std::string& text, const char* suffix) {
    const size_t n = std::strlen(suffix);
    return text.size() > n && strcasecmp(text.c_str() + text.size() - n, suffix) == 0;
}

sCommandLine Error(const std::string& message) {
    sCommandLine result;
    result.command = COMMAND_ERROR;
    result.error = message;
    return result;
}

} // namespace

const sDemoInfo& GetDemoInfo(eDemo demo) {
    return kDemos[demo];
}

sCommandLine ParseCommandLine(int argc, const char* const* argv) {
    sCommandLine result;
    bool help = false;
    bool list = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--help" || arg == "-h") {
            help = true;
        } else if (arg == "--list") {
            list = true;
        } else if (arg == "--windowed") {
            result.run.windowed = true;
        } else if (arg == "--demo") {
            if (!value) return Error("--demo needs a name (see --list)");
            if (!FindDemo(value, result.demo))
                return Error(std::string("unknown demo: ") + value + " (see --list)");
            ++i;
        } else if (arg == "--frames") {
            if (!value || !ParseWholeNumber(value, result.run.frameLimit))
                return Error("--frames needs a whole number of frames (1 or more)");
            ++i;
        } else if (arg == "--frame-ms") {
            if (!value || !ParseWholeNumber(value, result.run.frameStepMs, 1000))
                return Error("--frame-ms needs a whole number of milliseconds from 1 to 1000");
            ++i;
        } else if (arg == "--screenshot") {
            if (!value || value[0] == '\0') return Error("--screenshot needs a file name");
            if (!EndsWith(value, ".png") && !EndsWith(value, ".bmp"))
                return Error(std::string("--screenshot writes .png or .bmp files, not ") + value);
            result.run.screenshotFile = value;
            ++i;
        } else {
            return Error("unknown argument: " + arg);
        }
    }
    if (help)
        result.command = COMMAND_HELP;
    else if (list)
        result.command = COMMAND_LIST;
    return result;
}

std::string UsageText() {
    return "usage: zarvo [--demo NAME] [--windowed] [--frames N] [--frame-ms MS]\n"
           "             [--screenshot FILE.png]\n"
           "       zarvo --list | --help\n"
           "\n"
           "Without arguments the shadow-mapping demo runs full screen until Escape or\n"
           "the window closes.\n"
           "  --demo NAME        run another demo (short or class name, see --list)\n"
           "  --windowed         open a window instead of the full screen\n"
           "  --frames N         end the run after N frames\n"
           "  --frame-ms MS      move the clock MS milliseconds a frame instead of reading\n"
           "                     the real time, so that a run repeats exactly (1 to 1000)\n"
           "  --screenshot FILE  save the last frame (the first one without --frames)\n"
           "                     as PNG, or as BMP when FILE ends in .bmp\n"
           "  --list             list the demos\n"
           "  --help             show this text\n";
}

std::string DemoListText() {
    std::string text;
    for (int i = 0; i < DEMO_COUNT; ++i) {
        const sDemoInfo& demo = kDemos[i];
        std::string line = std::string("  ") + demo.shortName;
        line.resize(15, ' ');
        line += demo.className;
        line.resize(38, ' ');
        line += demo.summary;
        if (i == DEMO_SHADOW_MAPPING) line += " (default)";
        text += line + "\n";
    }
    return text;
}
