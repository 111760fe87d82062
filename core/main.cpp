// Program entry: constructs the demo applications and runs one of them.
#include "core/cApp.h"
#include "demos/CMinimalApp.h"
#include "demos/EngineTestApp.h"
#include "demos/testGameObject.h"
#include "demos/testImageFade.h"
#include "demos/testKavrixBases.h"
#include "demos/testParallaxScroll.h"
#include "demos/testParticleSystem2D.h"
#include "demos/testShadowMapping.h"

#include <SDL.h>

#include <cstdio>
#include <exception>
#include <string>

// SDL 1.2 on Linux does not wrap main, so main below calls this entry itself.
int SDL_main(int /*argc*/, char* /*argv*/[]) {
    EngineTestApp engineTest;
    testImageFade imageFade;
    testKavrixBases kavrixBases;
    testGameObject gameObject;
    testParallaxScroll parallaxScroll;
    testParticleSystem2D particles;
    testShadowMapping shadowMapping;

    // The shadow-mapping demo has no scene yet; this application stands in for it and,
    // constructed last, owns the managers in use.
    CMinimalApp app;
    app.Init();
    app.Run();
    app.Shutdown();
    return 0;
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
    sRunOptions options;
    std::string error;
    if (!ParseRunOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "zarvo: %s\nusage: zarvo [--frames N] [--screenshot FILE.bmp]\n",
                     error.c_str());
        return 2;
    }
    CApp::SetRunOptions(options);

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
