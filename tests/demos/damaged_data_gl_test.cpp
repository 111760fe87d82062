// The real program over a copy of Data/ and shaders/ with one file damaged: every loader
// the shadow-mapping demo, the engine test bed and the outdoor scene go through prints its
// message, and the demo goes on to draw the rest of the scene and end normally. Only the font, without which nothing can be
// written, ends the program, cleanly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/program_run.h"
#include "support/test_paths.h"

namespace fs = std::filesystem;
using namespace zarvo_test;

namespace {

struct sDamageCase {
    const char* file; // relative to the working directory
    eDamage damage;
    size_t headerBytes; // what CUT_TO_HEADER keeps
    const char* message;
    const char* demo = "shadow";
};

// Every loader the demo goes through, each damage at least once; one run is a few
// seconds on a software renderer, so the table stays short.
const sDamageCase kCases[] = {
    {"Data/Models/MD2/McClane/tris.MD2", CUT_AT_HALF, 0,
     "Corrupt MD2 file (frames outside the file): Data/Models/MD2/McClane/tris.MD2!"},
    {"Data/Models/MD2/r2d2/tris.md2", RANDOM_BYTES, 0,
     "Invalid file format (Version not 8): Data/Models/MD2/r2d2/tris.md2!"},
    {"Data/Models/demo/26_okolie.3DS", CUT_TO_HEADER, 6,
     "Corrupt 3DS file (chunk 0x4D4D longer than its parent): Data/Models/demo/26_okolie.3DS!"},
    {"Data/Models/MD2/r2d2/r2d2.pcx", CUT_TO_HEADER, 128, "error: truncated pcx file!"},
    {"Data/Models/demo/barrel.bmp", CUT_AT_HALF, 0, "error: truncated bmp file!"},
    {"Data/Models/demo/paving.tga", RANDOM_BYTES, 0, " - Data/Models/demo/paving.tga"},
    {"Data/Logo/z3dlogo.png", REMOVED, 0, "Failed to load the image: Data/Logo/z3dlogo.png"},
    {"shaders/ShadowMappingPerPixelLight.frag", EMPTIED, 0,
     "Cannot Load fragment shader: shaders/ShadowMappingPerPixelLight.frag"},
    // The engine test bed's XML plane, MD3 character and its configuration, and gun.
    {"Data/TModel/planeParralax.xml", CUT_AT_HALF, 0, "XML Parsing error inside file 'Data/TModel/planeParralax.xml'", "enginetest"},
    {"Data/Models/MD3/lara/lara_upper.md3", RANDOM_BYTES, 0, "Invalid file format (Version not 15): Data/Models/MD3/lara/lara_upper.md3!", "enginetest"},
    {"Data/Models/MD3/lara/lara_animation.cfg", EMPTIED, 0, "Unable to load the Animation Config File!", "enginetest"},
    {"Data/Models/MD2/fegyver/OwnGun.md2", CUT_TO_HEADER, 68, "Corrupt MD2 file (skin block outside the file): "
     "Data/Models/MD2/fegyver/OwnGun.md2!", "enginetest"},
    // The outdoor scene's height image.
    {"Data/Terrain/heightmap.bmp", CUT_AT_HALF, 0, "Cannot open heightfield file: Data/Terrain/heightmap.bmp", "outdoor"},
};

// Links every entry of `from` into `to`, except along `rest`, which becomes real
// directories down to the damaged file.
void MirrorWithDamage(const fs::path& from, const fs::path& to, const fs::path& rest,
                      const sDamageCase& c) {
    fs::create_directories(to);
    const fs::path first = *rest.begin();
    for (const fs::directory_entry& entry : fs::directory_iterator(from)) {
        const fs::path name = entry.path().filename();
        if (name != first) {
            fs::create_symlink(entry.path(), to / name);
        } else if (std::next(rest.begin()) != rest.end()) {
            MirrorWithDamage(entry.path(), to / name, rest.lexically_relative(first), c);
        } else if (c.damage != REMOVED) {
            std::string good;
            ASSERT_TRUE(ReadFileBytes(entry.path().string(), good));
            std::ofstream(to / name, std::ios::binary) << Damaged(good, c.damage, c.headerBytes);
        }
    }
}

// A working directory whose Data/ and shaders/ are the source tree's but for one file.
std::string PrepareDirectory(const sDamageCase& c) {
    const fs::path dir = MakeTempDir("damaged");
    const fs::path source = SourceDir();
    const fs::path file = c.file;
    const fs::path top = *file.begin();
    for (const char* folder : {"Data", "shaders"})
        if (top != folder) fs::create_symlink(source / folder, dir / folder);
    MirrorWithDamage(source / top, dir / top, file.lexically_relative(top), c);
    return dir.string();
}

const char kEnvironment[] = "SDL_AUDIODRIVER=dummy MESA_EXTENSION_OVERRIDE='"
                            "-GL_EXT_texture_filter_anisotropic "
                            "-GL_ARB_texture_filter_anisotropic'";

} // namespace

TEST(DamagedDataGL, EachBrokenFileIsReportedAndTheDemoDrawsTheRest) {
    for (const sDamageCase& c : kCases) {
        SCOPED_TRACE(c.message);
        const std::string dir = PrepareDirectory(c);
        // The copy is the only data root, so a removed file is not found elsewhere.
        const ProgramRun run =
            RunProgram(std::string("--demo ") + c.demo + " --windowed --frames 30 --screenshot shot.png",
                       dir, std::string(kEnvironment) + " ZARVO_DATA_DIR=" + dir);
        EXPECT_EQ(run.signal, 0) << run.output;
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
        const ShotImage shot = LoadShot(dir + "/shot.png");
        ASSERT_TRUE(shot.Valid()) << "no screenshot\n" << run.output;
        // The rest of the scene, or at least the characters and the overlay when the
        // scene itself is lost: a blank frame has a handful of colours.
        const FrameStats stats = MeasureFrame(shot);
        EXPECT_GT(stats.colours, 1000u);
        EXPECT_GT(stats.brightness, 3.0);
    }
}

TEST(DamagedDataGL, ABrokenFontEndsTheProgramCleanly) {
    const sDamageCase c{"Data/Font/fontDemo.tga", CUT_AT_HALF, 0,
                        "Cannot load font image: Data/Font/fontDemo.tga"};
    const std::string dir = PrepareDirectory(c);
    const ProgramRun run =
        RunProgram("--windowed --frames 30 --screenshot shot.png", dir, kEnvironment);
    EXPECT_EQ(run.signal, 0) << run.output;
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_NE(run.output.find(c.message), std::string::npos) << run.output;
    EXPECT_FALSE(fs::exists(dir + "/shot.png"));
}

TEST(DamagedDataGL, AScreenshotThatCannotBeWrittenFailsTheRun) {
    const ProgramRun run =
        RunProgram("--screenshot /no/such/dir/x.png --frames 3", "", kEnvironment);
    EXPECT_EQ(run.signal, 0) << run.output;
    EXPECT_NE(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Cannot save screenshot /no/such/dir/x.png"), std::string::npos)
        << run.output;
}
