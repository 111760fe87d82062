// The program entry's failure path and the run options, without a display.
#include <gtest/gtest.h>

#include "core/cApp.h"
#include "support/test_paths.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>

TEST(ProgramEntry, StartUpFailureIsReportedOnStandardErrorWithNonZeroStatus) {
    const std::string dir = zarvo_test::MakeTempDir("zarvo-nodisplay");
    const std::string err = dir + "/stderr.txt";
    // No display and the X11 driver: SDL's video start-up must fail.
    const std::string command = std::string("cd ") + dir +
                                " && env -u DISPLAY SDL_VIDEODRIVER=x11 " + ZARVO_BINARY_DIR +
                                "/zarvo --frames 1 >/dev/null 2>" + err;
    const int raw = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(raw)) << "the program died from a signal";
    EXPECT_NE(WEXITSTATUS(raw), 0);
    std::string text;
    zarvo_test::ReadFileBytes(err, text);
    EXPECT_NE(text.find("Error: SDL Could not be initialized: "), std::string::npos) << text;
}

TEST(RunOptions, ParsesFramesAndScreenshotAndRejectsTheRest) {
    sRunOptions options;
    std::string error;
    const char* good[] = {"zarvo", "--frames", "12", "--screenshot", "out.bmp"};
    ASSERT_TRUE(ParseRunOptions(5, good, options, error)) << error;
    EXPECT_EQ(options.frameLimit, 12);
    EXPECT_EQ(options.screenshotFile, "out.bmp");

    const char* none[] = {"zarvo"};
    ASSERT_TRUE(ParseRunOptions(1, none, options, error));
    EXPECT_EQ(options.frameLimit, 0);
    EXPECT_TRUE(options.screenshotFile.empty());

    const std::vector<std::vector<const char*>> bad = {{"zarvo", "--frames"},
                                                       {"zarvo", "--frames", "0"},
                                                       {"zarvo", "--frames", "-3"},
                                                       {"zarvo", "--frames", "12x"},
                                                       {"zarvo", "--frames", "99999999999"},
                                                       {"zarvo", "--screenshot"},
                                                       {"zarvo", "--screenshot", ""},
                                                       {"zarvo", "-x"}};
    for (const auto& args : bad) {
        sRunOptions kept;
        kept.frameLimit = 7;
        error.clear();
        EXPECT_FALSE(ParseRunOptions(int(args.size()), args.data(), kept, error)) << args.back();
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(kept.frameLimit, 7) << "options changed on failure";
    }
}
