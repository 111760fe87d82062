// Runs the built inspector on corpus images and on bad input.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/netpbm.h"
#include "support/program_run.h"
#include "support/test_paths.h"

namespace {
zarvo_test::ProgramRun Info(const std::string& args) {
    return zarvo_test::RunProgram(args, "", "", "tools/zarvo-info");
}
} // namespace

TEST(ZarvoInfoImage, PrintsTheImageAndWritesItsPixels) {
    ZARVO_REQUIRE_CORPUS();
    const std::string file = zarvo_test::CorpusDir() + "/images/bmp/stones_bmp8_rle8.bmp";
    const std::string pam = zarvo_test::MakeTempDir("zarvo-info") + "/out.pam";
    const auto run = Info("image '" + file + "' --pam '" + pam + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("reader: bmp\nwidth: 96\nheight: 96\ncomponents: 3\n"),
              std::string::npos)
        << run.output;
    zarvo_test::RefImage written, reference;
    ASSERT_TRUE(zarvo_test::ReadNetpbm(pam, written));
    ASSERT_TRUE(zarvo_test::ReadNetpbm(
        zarvo_test::CorpusDir() + "/images/bmp/stones_bmp8_rle8.ref.ppm", reference));
    EXPECT_EQ(written.pixels, reference.pixels);
}

TEST(ZarvoInfoImage, FailsWithTheReadersMessage) {
    ZARVO_REQUIRE_CORPUS();
    auto run = Info("image missing.jpg");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.output, "jpeg: cannot open missing.jpg\n");
    // An arithmetic-coded JPEG is read by the image library, and said so.
    const std::string file = zarvo_test::CorpusDir() + "/images/jpeg/stones_arithmetic.jpg";
    run = Info("image '" + file + "'");
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("reader: SDL_image\n"), std::string::npos) << run.output;
    EXPECT_EQ(Info("image").status, 2);
    EXPECT_EQ(Info("nonsense x").status, 2);
}

TEST(ZarvoInfoXml, OutlinesDocumentsAndReportsErrorsWithTheirPosition) {
    const std::string model = zarvo_test::SourceDir() + "/Data/TModel/planeParralax.xml";
    auto run = Info("xml '" + model + "' --tag ZarvoModelFormat");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output.rfind(
                  "ZarvoModelFormat\n  model name=\"planeParralax\" numsubobjects=\"1\"", 0),
              0u)
        << run.output;
    const std::string bad = zarvo_test::MakeTempDir("zarvo-info") + "/bad.xml";
    std::ofstream(bad) << "<a>\n <b x='1'>\n</c>\n";
    run = Info("xml '" + bad + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("error 7: Error: Unmatched end tag\nline 3, column 1"),
              std::string::npos);
    run = Info("model '" + model + "' --json");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\"vertices\": 81,\n  \"triangles\": 0,\n  \"quads\": 64"),
              std::string::npos)
        << run.output;
}
