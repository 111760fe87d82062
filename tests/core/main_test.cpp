// The program entry without a display: its failure path and the command line.
#include <gtest/gtest.h>

#include "core/CommandLine.h"
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

namespace {
struct Output {
    int status = -1;
    std::string out, err;
};

Output RunWithoutDisplay(const std::string& args) {
    const std::string dir = zarvo_test::MakeTempDir("zarvo-cmdline");
    const std::string command = std::string("cd ") + dir + " && env -u DISPLAY " +
                                ZARVO_BINARY_DIR + "/zarvo " + args + " >out.txt 2>err.txt";
    Output result;
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    zarvo_test::ReadFileBytes(dir + "/out.txt", result.out);
    zarvo_test::ReadFileBytes(dir + "/err.txt", result.err);
    return result;
}
} // namespace

TEST(ProgramEntry, HelpAndListAnswerWithoutStartingTheEngine) {
    const Output help = RunWithoutDisplay("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, UsageText());
    EXPECT_TRUE(help.err.empty()) << help.err;

    const Output list = RunWithoutDisplay("--list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.out, DemoListText());
    EXPECT_EQ(list.out.find("Zarvo Engine version"), std::string::npos) << "engine started";
}

TEST(ProgramEntry, UnknownOptionsGiveTheUsageAndANonZeroStatus) {
    for (const char* args : {"--bogus", "--demo nosuchdemo", "--frames", "--screenshot x.gif"}) {
        const Output run = RunWithoutDisplay(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.err.find("zarvo: "), std::string::npos) << args;
        EXPECT_NE(run.err.find(UsageText()), std::string::npos) << args;
        EXPECT_EQ(run.out.find("Zarvo Engine version"), std::string::npos) << args;
    }
}
