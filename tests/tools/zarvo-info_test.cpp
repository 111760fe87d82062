#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
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
    EXPECT_EQ(RunZarvoInfo("image missing.jpg", output), 1);
    EXPECT_EQ(output, "jpeg: cannot open missing.jpg\n");
    // An arithmetic-coded JPEG is read by the image library, and said so.
    const std::string file = zarvo_test::CorpusDir() + "/images/jpeg/stones_arithmetic.jpg";
    EXPECT_EQ(RunZarvoInfo("image '" + file + "'", output), 0);
    EXPECT_NE(output.find("reader: SDL_image\n"), std::string::npos) << output;
    EXPECT_EQ(RunZarvoInfo("image", output), 2);
    EXPECT_EQ(RunZarvoInfo("nonsense x", output), 2);
}
