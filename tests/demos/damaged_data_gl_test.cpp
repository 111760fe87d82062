// The real program over a copy of Data/ and shaders/ with one file damaged: each loader of the
// 3D demos reports it and the demo draws the rest and ends normally, or, for the font, ends
// the program cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/demo_fixtures.h"

namespace fs = std::filesystem;
using namespace zarvo_test;

namespace {

struct sDamageCase {
    const char* file; // relative to the working directory
    eDamage damage;
    size_t headerBytes;  // what CUT_TO_HEADER keeps
    const char* message; // "%" stands for the file
    const char* demo = "shadow";
    int status = 0; // the font alone, without which nothing can be written, ends the program
};

// Every loader, each damage at least once; a run takes seconds, so the table stays short.
const sDamageCase kCases[] = {
    {"Data/Models/MD2/McClane/tris.MD2", CUT_AT_HALF, 0,
     "Corrupt MD2 file (frames outside the file): %!"},
    {"Data/Models/MD2/r2d2/tris.md2", RANDOM_BYTES, 0, "Invalid file format (Version not 8): %!"},
    {"Data/Models/demo/26_okolie.3DS", CUT_TO_HEADER, 6,
     "Corrupt 3DS file (chunk 0x4D4D longer than its parent): %!"},
    {"Data/Models/MD2/r2d2/r2d2.pcx", CUT_TO_HEADER, 128, "error: truncated pcx file!"},
    {"Data/Models/demo/barrel.bmp", CUT_AT_HALF, 0, "error: truncated bmp file!"},
    {"Data/Models/demo/paving.tga", RANDOM_BYTES, 0, " - %"},
    {"Data/Logo/z3dlogo.png", REMOVED, 0, "Failed to load the image: %"},
    {"shaders/ShadowMappingPerPixelLight.frag", EMPTIED, 0, "Cannot Load fragment shader: %"},
    {"Data/TModel/planeParralax.xml", CUT_AT_HALF, 0, "XML Parsing error inside file '%'",
     "enginetest"},
    {"Data/Models/MD3/lara/lara_upper.md3", RANDOM_BYTES, 0,
     "Invalid file format (Version not 15): %!", "enginetest"},
    {"Data/Models/MD3/lara/lara_animation.cfg", EMPTIED, 0,
     "Unable to load the Animation Config File!", "enginetest"},
    {"Data/Models/MD2/fegyver/OwnGun.md2", CUT_TO_HEADER, 68,
     "Corrupt MD2 file (skin block outside the file): %!", "enginetest"},
    {"Data/Terrain/heightmap.bmp", CUT_AT_HALF, 0, "Cannot open heightfield file: %", "outdoor"},
    {"Data/Font/fontDemo.tga", CUT_AT_HALF, 0, "Cannot load font image: %", "shadow", 1},
};

// A working directory whose Data/ and shaders/ link to the source tree's files but for one.
std::string PrepareDirectory(const sDamageCase& c) {
    const fs::path dir = MakeTempDir("damaged");
    for (const char* folder : {"Data", "shaders"}) {
        fs::create_directories(dir / folder);
        for (const auto& entry : fs::recursive_directory_iterator(fs::path(SourceDir()) / folder)) {
            const fs::path to = dir / fs::relative(entry.path(), SourceDir());
            if (entry.is_directory())
                fs::create_directories(to);
            else
                fs::create_symlink(entry.path(), to);
        }
    }
    std::string good;
    EXPECT_TRUE(ReadFileBytes(SourceDir() + "/" + c.file, good));
    fs::remove(dir / c.file);
    if (c.damage != REMOVED)
        WriteFileBytes((dir / c.file).string(), Damaged(good, c.damage, c.headerBytes));
    return dir.string();
}

} // namespace

TEST(DamagedDataGL, EachBrokenFileIsReportedAndTheDemoDrawsTheRestOrEndsCleanly) {
    ASSERT_TRUE(kAnisotropyHidden);
    for (const sDamageCase& c : kCases) {
        SCOPED_TRACE(c.file);
        const std::string dir = PrepareDirectory(c);
        // The copy is the only data root, so a removed file is not found elsewhere.
        const ProgramRun run = RunProgram(std::string("--demo ") + c.demo +
                                              " --windowed --frames 30 --screenshot shot.png",
                                          dir, "ZARVO_DATA_DIR=" + dir);
        EXPECT_EQ(run.signal, 0) << run.output;
        EXPECT_EQ(run.status, c.status) << run.output;
        std::string message = c.message;
        if (message.find('%') != std::string::npos) message.replace(message.find('%'), 1, c.file);
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
        if (c.status != 0) {
            EXPECT_FALSE(fs::exists(dir + "/shot.png"));
            continue;
        }
        const ShotImage shot = LoadShot(dir + "/shot.png");
        ASSERT_TRUE(shot.Valid()) << "no screenshot\n" << run.output;
        // The rest of the scene, or at least the overlay: a blank frame has a few colours.
        const FrameStats stats = MeasureFrame(shot);
        EXPECT_GT(stats.colours, 1000u);
        EXPECT_GT(stats.brightness, 3.0);
    }
}

TEST(DamagedDataGL, AScreenshotThatCannotBeWrittenFailsTheRun) {
    const ProgramRun run = RunProgram("--screenshot /no/such/dir/x.png --frames 3");
    EXPECT_EQ(run.signal, 0) << run.output;
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Cannot save screenshot /no/such/dir/x.png"), std::string::npos)
        << run.output;
}
