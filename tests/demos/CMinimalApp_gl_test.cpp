// The program as a person runs it: the stand-in application ends on Escape and on a
// window close, and the built program renders non-blank frames under X without errors.
// The smoke test at the end is the pattern for every demo: run N frames, save the last,
// fail on an error message or a blank frame.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "demos/CMinimalApp.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <cstdlib>
#include <set>
#include <string>
#include <sys/wait.h>

namespace {

void Push(Uint8 type, SDLKey sym = SDLK_UNKNOWN) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.keysym.sym = sym;
    SDL_PushEvent(&e);
}

// Runs the app with a safety frame limit; returns the frames it drew.
int RunUntilEnd(CMinimalApp& app, Uint8 eventType, SDLKey sym) {
    sRunOptions options;
    options.frameLimit = 500;
    CApp::SetRunOptions(options);
    SDL_Event drain;
    while (SDL_PollEvent(&drain)) {
    }
    Push(eventType, sym);
    app.Run();
    CApp::SetRunOptions(sRunOptions());
    return g_EventManager->isactualEvent(EVENT_QUIT) || g_EventManager->isKeyDown(SDLK_ESCAPE) ? 1
                                                                                               : 0;
}

struct Output {
    int status = -1;
    std::string text;
};

Output RunProgram(const std::string& args) {
    const std::string dir = zarvo_test::MakeTempDir("zarvo-run");
    const std::string log = dir + "/output.txt";
    const std::string command =
        std::string(ZARVO_BINARY_DIR) + "/zarvo " + args + " >" + log + " 2>&1";
    Output out;
    const int raw = std::system(command.c_str());
    out.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    zarvo_test::ReadFileBytes(log, out.text);
    return out;
}

} // namespace

TEST(MinimalAppGL, EscapeAndWindowCloseEndTheRun) {
    testing::internal::CaptureStdout();
    {
        CMinimalApp app;
        try {
            app.Init();
        } catch (const std::string& e) {
            testing::internal::GetCapturedStdout();
            FAIL() << e;
        }
        EXPECT_EQ(RunUntilEnd(app, SDL_KEYDOWN, SDLK_ESCAPE), 1);
        EXPECT_TRUE(g_EventManager->isKeyDown(SDLK_ESCAPE));
    }
    {
        CMinimalApp app;
        app.Init();
        EXPECT_EQ(RunUntilEnd(app, SDL_QUIT, SDLK_UNKNOWN), 1);
        EXPECT_TRUE(g_EventManager->isactualEvent(EVENT_QUIT));
    }
    testing::internal::GetCapturedStdout();
}

TEST(ProgramSmokeGL, RendersFramesWithoutErrorsAndSavesANonBlankScreenshot) {
    const std::string dir = zarvo_test::MakeTempDir("zarvo-smoke");
    const std::string shot = dir + "/frame.bmp";
    const Output run = RunProgram("--frames 30 --screenshot " + shot);
    EXPECT_EQ(run.status, 0) << run.text;
    for (const char* bad : {"Error", "Sorry", "FBO", "Unable", "Failed", "Cannot"})
        EXPECT_EQ(run.text.find(bad), std::string::npos) << bad << " in:\n" << run.text;
    EXPECT_NE(run.text.find("Detected OpenGL version"), std::string::npos) << run.text;

    SDL_Surface* image = SDL_LoadBMP(shot.c_str());
    ASSERT_NE(image, nullptr) << "no screenshot: " << run.text;
    EXPECT_EQ(image->w, 1024);
    EXPECT_EQ(image->h, 768);
    std::set<Uint32> colours;
    SDL_LockSurface(image);
    const int bpp = image->format->BytesPerPixel;
    for (int y = 0; y < image->h; y += 8)
        for (int x = 0; x < image->w; x += 8) {
            const Uint8* p = static_cast<const Uint8*>(image->pixels) + y * image->pitch + x * bpp;
            colours.insert(Uint32(p[0]) | Uint32(p[1]) << 8 | Uint32(p[2]) << 16);
        }
    SDL_UnlockSurface(image);
    SDL_FreeSurface(image);
    EXPECT_GT(colours.size(), 20u) << "the frame looks blank";
}

TEST(ProgramSmokeGL, RejectsUnknownArguments) {
    const Output run = RunProgram("--bogus");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.text.find("unknown argument: --bogus"), std::string::npos) << run.text;
}
