#include "program_run.h"

#include "test_paths.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdlib>
#include <set>
#include <sys/wait.h>

namespace zarvo_test {

ProgramRun RunProgram(const std::string& args, const std::string& workDir, const std::string& env,
                      const std::string& program) {
    const std::string log = MakeTempDir("zarvo-run") + "/output.txt";
    const std::string dir = workDir.empty() ? SourceDir() : workDir;
    const std::string path =
        program[0] == '/' ? program : std::string(ZARVO_BINARY_DIR) + "/" + program;
    const std::string command =
        "cd '" + dir + "' && env " + env + " " + path + " " + args + " >" + log + " 2>&1";
    ProgramRun run;
    const int raw = std::system(command.c_str());
    if (WIFEXITED(raw)) {
        run.status = WEXITSTATUS(raw);
        // The shell reports a child killed by a signal as 128 + the signal.
        if (run.status > 128 && run.status < 160) run.signal = run.status - 128;
    } else if (WIFSIGNALED(raw)) {
        run.signal = WTERMSIG(raw);
    }
    ReadFileBytes(log, run.output);
    return run;
}

FrameRun RunToFrame(const std::string& args, int frames, const std::string& workDir,
                    const std::string& env, const std::string& program) {
    const std::string shot = MakeTempDir("frame-run") + "/frame.png";
    FrameRun result;
    result.run = RunProgram(args + " --frames " + std::to_string(frames) + " --screenshot " + shot,
                            workDir, env, program);
    result.frame = LoadShot(shot);
    return result;
}

std::string FindErrorText(const std::string& output) {
    for (const char* bad : {"Error", "Sorry", "Unable", "Failed", "Cannot", "Warnig", "Could not",
                            "Corrupt", "Invalid"})
        if (output.find(bad) != std::string::npos) return bad;
    return "";
}

size_t CountOccurrences(const std::string& text, const std::string& what) {
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

ShotImage LoadShot(const std::string& path) {
    ShotImage image;
    SDL_Surface* loaded = IMG_Load(path.c_str());
    if (!loaded) return image;
    SDL_PixelFormat rgb{};
    rgb.BitsPerPixel = 24;
    rgb.BytesPerPixel = 3;
    rgb.Rmask = 0x0000ff;
    rgb.Gmask = 0x00ff00;
    rgb.Bmask = 0xff0000;
    rgb.Gshift = 8;
    rgb.Bshift = 16;
    SDL_Surface* surface = SDL_ConvertSurface(loaded, &rgb, SDL_SWSURFACE);
    SDL_FreeSurface(loaded);
    if (!surface) return image;
    image.width = surface->w;
    image.height = surface->h;
    image.rgb.resize(size_t(surface->w) * surface->h * 3);
    SDL_LockSurface(surface);
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = static_cast<const unsigned char*>(surface->pixels) + y * surface->pitch;
        std::copy(row, row + surface->w * 3, image.rgb.begin() + size_t(y) * surface->w * 3);
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return image;
}

FrameStats MeasureFrame(const ShotImage& image) {
    FrameStats stats;
    std::set<unsigned> colours;
    double sum = 0;
    size_t samples = 0;
    for (int y = 0; y < image.height; y += 4)
        for (int x = 0; x < image.width; x += 4) {
            const unsigned char* p = image.At(x, y);
            colours.insert(unsigned(p[0]) | unsigned(p[1]) << 8 | unsigned(p[2]) << 16);
            sum += (p[0] + p[1] + p[2]) / 3.0;
            ++samples;
        }
    stats.colours = colours.size();
    stats.brightness = samples ? sum / samples : 0;
    return stats;
}

} // namespace zarvo_test
