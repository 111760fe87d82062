#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/netpbm.h"
#include "support/test_paths.h"

namespace {

std::string ToolPath() {
    return std::string(ZARVO_BINARY_DIR) + "/tools/zarvo-info";
}

#define REQUIRE_TOOL()                                                                             \
    do {                                                                                           \
        if (access(ToolPath().c_str(), X_OK) != 0) GTEST_SKIP() << "zarvo-info not built";         \
    } while (0)

int RunZarvoInfo(const std::string& arguments, std::string& output) {
    const std::string command = ToolPath() + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buffer[512];
    output.clear();
    while (fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(ZarvoInfoImage, PrintsTheImageAndWritesItsPixels) {
    ZARVO_REQUIRE_CORPUS();
    REQUIRE_TOOL();
    const std::string file = zarvo_test::CorpusDir() + "/images/bmp/stones_bmp8_rle8.bmp";
    const std::string pam = zarvo_test::MakeTempDir("zarvo-info") + "/out.pam";
    std::string output;
    ASSERT_EQ(RunZarvoInfo("image '" + file + "' --pam '" + pam + "'", output), 0) << output;
    EXPECT_NE(output.find("reader: bmp\nwidth: 96\nheight: 96\ncomponents: 3\n"), std::string::npos)
        << output;
    zarvo_test::RefImage written, reference;
    ASSERT_TRUE(zarvo_test::ReadNetpbm(pam, written));
    ASSERT_TRUE(zarvo_test::ReadNetpbm(
        zarvo_test::CorpusDir() + "/images/bmp/stones_bmp8_rle8.ref.ppm", reference));
    EXPECT_EQ(written.pixels, reference.pixels);
}

TEST(ZarvoInfoImage, FailsWithTheReadersMessage) {
    ZARVO_REQUIRE_CORPUS();
    REQUIRE_TOOL();
    std::string output;
    const std::string file = zarvo_test::CorpusDir() + "/images/jpeg/wall_420_progressive.jpg";
    EXPECT_EQ(RunZarvoInfo("image '" + file + "'", output), 1);
    EXPECT_EQ(output, "jpeg: unsupported frame type (not baseline)\n");
    EXPECT_EQ(RunZarvoInfo("image", output), 2);
    EXPECT_EQ(RunZarvoInfo("nonsense x", output), 2);
}

TEST(ZarvoInfoXml, OutlinesDocumentsAndReportsErrorsWithTheirPosition) {
    REQUIRE_TOOL();
    const std::string model = zarvo_test::SourceDir() + "/Data/TModel/planeParralax.xml";
    std::string output;
    ASSERT_EQ(RunZarvoInfo("xml '" + model + "' --tag ZarvoModelFormat", output), 0) << output;
    EXPECT_EQ(
        output.rfind("ZarvoModelFormat\n  model name=\"planeParralax\" numsubobjects=\"1\"", 0), 0u)
        << output;
    const std::string bad = zarvo_test::MakeTempDir("zarvo-info") + "/bad.xml";
    std::ofstream(bad) << "<a>\n <b x='1'>\n</c>\n";
    EXPECT_EQ(RunZarvoInfo("xml '" + bad + "'", output), 1);
    EXPECT_NE(output.find("error 7: Error: Unmatched end tag\nline 3, column 1"),
              std::string::npos);
    ASSERT_EQ(RunZarvoInfo("model '" + model + "' --json", output), 0) << output;
    EXPECT_NE(output.find("\"vertices\": 81,\n  \"triangles\": 0,\n  \"quads\": 64"),
              std::string::npos)
        << output;
}
