#pragma once
// Runs the built program (or a tool) as a child process and inspects what it left:
// exit status, combined output, and a saved screenshot.
#include <string>
#include <vector>

namespace zarvo_test {

struct ProgramRun {
    int status = -1;    // exit status, -1 when the child did not exit normally
    int signal = 0;     // the signal that ended it, 0 when it exited
    std::string output; // standard output and standard error, interleaved
};

// Runs `ZARVO_BINARY_DIR/<program> <args>` (or `program` itself when it is an absolute
// path) in `workDir` ("" = the source tree, where Data/ and shaders/ are), with `env`
// (e.g. "SDL_AUDIODRIVER=disk") before it.
ProgramRun RunProgram(const std::string& args, const std::string& workDir = "",
                      const std::string& env = "", const std::string& program = "zarvo");

// The run's output has none of the engine's failure words ("Error", "Cannot", ...).
// Returns the first one found, or "".
std::string FindErrorText(const std::string& output);

size_t CountOccurrences(const std::string& text, const std::string& what);

// An RGB image loaded through SDL_image (PNG or BMP), top row first.
struct ShotImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
    bool Valid() const { return width > 0 && height > 0; }
    const unsigned char* At(int x, int y) const { return &rgb[(size_t(y) * width + x) * 3]; }
};
ShotImage LoadShot(const std::string& path);

// Distinct colours on a 4-pixel grid and the mean brightness (0-255): a blank or black
// frame has very few colours or a mean near 0.
struct FrameStats {
    size_t colours = 0;
    double brightness = 0;
};
FrameStats MeasureFrame(const ShotImage& image);

// A run of `frames` frames that saves the last one (as --frames N --screenshot FILE do): what the
// program printed, and that frame (not Valid() when none was saved).
struct FrameRun {
    ProgramRun run;
    ShotImage frame;
};
FrameRun RunToFrame(const std::string& args, int frames, const std::string& workDir = "",
                    const std::string& env = "", const std::string& program = "zarvo");

} // namespace zarvo_test
