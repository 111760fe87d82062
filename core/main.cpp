// Program entry: constructs the seven demo applications and runs one of them, the
// shadow-mapping demo unless the command line names another.
#include "core/CommandLine.h"
#include "core/cApp.h"
#include "demos/EngineTestApp.h"
#include "demos/testGUI.h"
#include "demos/testGameObject.h"
#include "demos/testImageFade.h"
#include "demos/testKavrixBases.h"
#include "demos/testParallaxScroll.h"
#include "demos/testParticleSystem2D.h"
#include "demos/testOutdoor.h"
#include "demos/testShadowMapping.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <string>

// SDL 1.2 on Linux does not wrap main, so main below calls this entry itself.
int SDL_main(int argc, char* argv[]) {
    const sCommandLine commandLine = ParseCommandLine(argc, argv);
    switch (commandLine.command) {
    case COMMAND_HELP:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case COMMAND_LIST:
        std::fputs(DemoListText().c_str(), stdout);
        return 0;
    case COMMAND_ERROR:
        std::fprintf(stderr, "zarvo: %s\n%s", commandLine.error.c_str(), UsageText().c_str());
        return 2;
    case COMMAND_RUN:
        break;
    }
    CApp::SetRunOptions(commandLine.run);

    // Each construction creates a full set of managers; the last one constructed owns the
    // set in use, whichever application runs: the shadow-mapping demo's, as it always
    // was, so the demos beyond the first seven come before it. Locals end in reverse order.
    EngineTestApp engineTest;
    testImageFade imageFade;
    testKavrixBases kavrixBases;
    testGameObject gameObject;
    testParallaxScroll parallaxScroll;
    testParticleSystem2D particles2D;
    testGUI gui;
    testOutdoor outdoor;
    testShadowMapping shadowMapping;

    CApp* const applications[DEMO_COUNT] = {
        &engineTest,     &imageFade, &kavrixBases, &gameObject, &parallaxScroll,
        &particles2D,    &shadowMapping, &gui,     &outdoor};
    CApp& app = *applications[commandLine.demo];
    app.Init();
    app.Run();
    app.Shutdown();
    // A screenshot that was asked for and not written fails the run.
    return CApp::ScreenshotFailed() ? 1 : 0;
}

namespace {
int Fail(const char* message) {
    std::fflush(stdout);
    std::fprintf(stderr, "\n%s\n", message);
    SDL_Quit();
    return 1;
}
} // namespace

int main(int argc, char* argv[]) {
    // Start-up failures arrive as string exceptions; they end the program with their
    // message instead of an unexplained abort.
    try {
        const int status = SDL_main(argc, argv);
        SDL_Quit();
        return status;
    } catch (const std::string& message) {
        return Fail(message.c_str());
    } catch (const char* message) {
        return Fail(message);
    } catch (const std::exception& e) {
        return Fail(e.what());
    }
}
