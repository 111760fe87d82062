// The program over Data/ and shaders/ with one file damaged: each 3D demo loader reports it and
// the demo draws the rest, or, for the font, the program ends cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "support/demo_fixtures.h"

namespace fs = std::filesystem;
using namespace zarvo_test;

// The file is under Data/ (or, after a '/', the working directory); CUT_TO_HEADER keeps
// headerBytes; "%" in the message stands for the file; only the font ends the program.
struct sDamageCase {
    const char* file;
    eDamage damage;
    size_t headerBytes;
    const char* message;
    const char* demo = "shadow";
    int status = 0;
};
const char kEngine[] = "enginetest";
// Every loader, each damage at least once; a run takes seconds, so the table stays short.
const sDamageCase kCases[] = {
    {"Models/MD2/McClane/tris.MD2", CUT_AT_HALF, 0, "(frames outside the file): %!"},
    {"Models/MD2/r2d2/tris.md2", RANDOM_BYTES, 0, "Invalid file format (Version not 8): %!"},
    {"Models/demo/26_okolie.3DS", CUT_TO_HEADER, 6, "(chunk 0x4D4D longer than its parent): %!"},
    {"Models/MD2/r2d2/r2d2.pcx", CUT_TO_HEADER, 128, "error: truncated pcx file!"},
    {"Models/demo/barrel.bmp", CUT_AT_HALF, 0, "error: truncated bmp file!"},
    {"Models/demo/paving.tga", RANDOM_BYTES, 0, " - %"},
    {"Logo/z3dlogo.png", REMOVED, 0, "Failed to load the image: %"},
    {"/shaders/ShadowMappingPerPixelLight.frag", EMPTIED, 0, "Cannot Load fragment shader: %"},
    {"TModel/planeParralax.xml", CUT_AT_HALF, 0, "XML Parsing error inside file '%'", kEngine},
    {"Models/MD3/lara/lara_upper.md3", RANDOM_BYTES, 0, "(Version not 15): %!", kEngine},
    {"Models/MD3/lara/lara_animation.cfg", EMPTIED, 0, "Unable to load the Animation", kEngine},
    {"Models/MD2/fegyver/OwnGun.md2", CUT_TO_HEADER, 68, "(skin block outside the file)", kEngine},
    {"Terrain/heightmap.bmp", CUT_AT_HALF, 0, "Cannot open heightfield file: %", "outdoor"},
    {"Font/fontDemo.tga", CUT_AT_HALF, 0, "Cannot load font image: %", "shadow", 1},
};

TEST(DamagedDataGL, EachBrokenFileIsReportedAndTheDemoDrawsTheRestOrEndsCleanly) {
    ASSERT_TRUE(kAnisotropyHidden);
    for (const sDamageCase& c : kCases) {
        const std::string file = c.file[0] == '/' ? c.file + 1 : std::string("Data/") + c.file;
        SCOPED_TRACE(file);
        // A working directory whose Data/ and shaders/ link to the source tree's files but for
        // the damaged one; it is the only data root, so a removed file is not found elsewhere.
        const fs::path dir = MakeTempDir("damaged");
        for (const char* folder : {"Data", "shaders"})
            for (const auto& e : fs::recursive_directory_iterator(fs::path(SourceDir()) / folder)) {
                const fs::path to = dir / fs::relative(e.path(), SourceDir());
                fs::create_directories(e.is_directory() ? to : to.parent_path());
                if (!e.is_directory()) fs::create_symlink(e.path(), to);
            }
        std::string good;
        EXPECT_TRUE(ReadFileBytes(SourceDir() + "/" + file, good));
        fs::remove(dir / file);
        if (c.damage != REMOVED)
            WriteFileBytes((dir / file).string(), Damaged(good, c.damage, c.headerBytes));
        const auto [run, shot] = RunToFrame(std::string("--demo ") + c.demo + " --windowed", 30,
                                            dir.string(), "ZARVO_DATA_DIR=" + dir.string());
        EXPECT_TRUE(run.signal == 0 && run.status == c.status) << run.output;
        std::string message = c.message;
        if (message.find('%') != std::string::npos) message.replace(message.find('%'), 1, file);
        EXPECT_NE(run.output.find(message), std::string::npos) << run.output;
        // The rest of the scene, or at least the overlay: a blank frame has a few colours.
        EXPECT_EQ(shot.Valid(), c.status == 0) << run.output;
        EXPECT_TRUE(!shot.Valid() ||
                    (MeasureFrame(shot).colours > 1000u && MeasureFrame(shot).brightness > 3.0));
    }
    const ProgramRun run = RunProgram("--screenshot /no/such/dir/x.png --frames 3");
    EXPECT_TRUE(run.signal == 0 && run.status != 0) << "a screenshot that cannot be written";
    EXPECT_NE(run.output.find("Cannot save screenshot /no/such/dir/x.png"), std::string::npos)
        << run.output;
}
