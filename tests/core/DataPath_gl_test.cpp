// The program started from a folder without Data/ and shaders/ finds them through the
// folder beside its executable, and through ZARVO_DATA_DIR for a copy kept elsewhere.
#include <gtest/gtest.h>

#include "support/program_run.h"
#include "support/test_paths.h"

#include <cstdlib>
#include <unistd.h>

namespace {
void ExpectCleanRun(const zarvo_test::ProgramRun& run, const std::string& shot) {
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(zarvo_test::FindErrorText(run.output), "") << run.output;
    const zarvo_test::ShotImage image = zarvo_test::LoadShot(shot);
    ASSERT_TRUE(image.Valid()) << run.output;
    EXPECT_GT(zarvo_test::MeasureFrame(image).colours, 200u) << "blank frame";
}
const char* kEnv = "SDL_AUDIODRIVER=dummy MESA_EXTENSION_OVERRIDE='-GL_EXT_texture_filter_"
                   "anisotropic -GL_ARB_texture_filter_anisotropic'";
} // namespace

TEST(DataRootGL, TheProgramRunsFromAnyFolder) {
    const std::string elsewhere = zarvo_test::MakeTempDir("elsewhere");
    const std::string shot = elsewhere + "/beside.png";
    ExpectCleanRun(zarvo_test::RunProgram("--windowed --frames 5 --screenshot " + shot,
                                          elsewhere, kEnv),
                   shot);

    // A copy of the program far from any Data/ folder needs the variable.
    const std::string lonely = "/tmp/zarvo-lonely-" + std::to_string(::getpid());
    ASSERT_EQ(std::system(("rm -rf " + lonely + " && mkdir -p " + lonely + " && cp " +
                           ZARVO_BINARY_DIR + "/zarvo " + lonely + "/")
                              .c_str()),
              0);
    const std::string shot2 = elsewhere + "/variable.png";
    const std::string env = std::string(kEnv) + " ZARVO_DATA_DIR=" + zarvo_test::SourceDir();
    ExpectCleanRun(zarvo_test::RunProgram("--windowed --frames 5 --screenshot " + shot2,
                                          elsewhere, env, lonely + "/zarvo"),
                   shot2);
    const zarvo_test::ProgramRun without = zarvo_test::RunProgram(
        "--windowed --frames 5", elsewhere, kEnv, lonely + "/zarvo");
    EXPECT_NE(without.status, 0) << "nothing to find without the variable";
    std::system(("rm -rf " + lonely).c_str());
}
