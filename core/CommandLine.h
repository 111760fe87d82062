#pragma once
// The program's optional command line: which of the seven demo applications to run and
// the settings of an unattended run. Without arguments the program runs the
// shadow-mapping demo as it always has.
#include "core/cApp.h"

#include <string>

// The seven applications in the order the entry constructs them.
enum eDemo {
    DEMO_ENGINE_TEST = 0,
    DEMO_IMAGE_FADE,
    DEMO_KAVRIX_BASES,
    DEMO_GAME_OBJECT,
    DEMO_PARALLAX_SCROLL,
    DEMO_PARTICLES_2D,
    DEMO_SHADOW_MAPPING,
    DEMO_GUI,
    DEMO_OUTDOOR,
    DEMO_COUNT
};

struct sDemoInfo {
    const char* shortName; // what --demo takes
    const char* className; // also accepted by --demo
    const char* summary;
};

// The row of a demo; demo must be below DEMO_COUNT.
const sDemoInfo& GetDemoInfo(eDemo demo);

enum eCommand {
    COMMAND_RUN,   // construct the applications and run the chosen one
    COMMAND_LIST,  // print the demos and stop
    COMMAND_HELP,  // print the usage and stop
    COMMAND_ERROR, // print the message and the usage, stop with a non-zero status
};

struct sCommandLine {
    eCommand command = COMMAND_RUN;
    eDemo demo = DEMO_SHADOW_MAPPING;
    sRunOptions run;
    std::string error; // set for COMMAND_ERROR
};

// Pure: reads argv[1..argc-1] and touches nothing else. --help wins over --list, and
// both over running; an error anywhere wins over everything.
sCommandLine ParseCommandLine(int argc, const char* const* argv);

// The usage text, ending in a line end.
std::string UsageText();
// One line per demo in construction order, the default one marked.
std::string DemoListText();
