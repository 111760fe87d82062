// The outdoor demo run as the real program: it renders its scene without error text and
// the saved frame shows ground, sky and overlay.
#include <gtest/gtest.h>

#include "support/program_run.h"
#include "support/test_paths.h"

#include <cstdlib>

namespace {

// llvmpipe's anisotropic filtering is very slow; the child inherits this.
const bool kAnisotropyHidden =
    setenv("MESA_EXTENSION_OVERRIDE",
           "-GL_EXT_texture_filter_anisotropic -GL_ARB_texture_filter_anisotropic", 1) == 0;

TEST(OutdoorDemoProgramGL, RendersTerrainSkyAndOverlayWithoutErrors) {
    ASSERT_TRUE(kAnisotropyHidden);
    const std::string shot = zarvo_test::MakeTempDir("outdoor-shot") + "/frame.png";
    const zarvo_test::ProgramRun run =
        zarvo_test::RunProgram("--demo outdoor --windowed --frames 30 --screenshot " + shot);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(zarvo_test::FindErrorText(run.output), "") << run.output;
    EXPECT_NE(run.output.find("Gray Scale Image"), std::string::npos) << "light map built";

    const zarvo_test::ShotImage image = zarvo_test::LoadShot(shot);
    ASSERT_TRUE(image.Valid()) << run.output;
    const zarvo_test::FrameStats stats = zarvo_test::MeasureFrame(image);
    EXPECT_GT(stats.colours, 1000u) << "the frame looks blank";
    EXPECT_GT(stats.brightness, 40.0);
}

} // namespace
