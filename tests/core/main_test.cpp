// The program entry without a display: its failure path and the command line.
#include <gtest/gtest.h>

#include "core/CommandLine.h"
#include "support/program_run.h"
#include "support/test_paths.h"

using zarvo_test::RunProgram;

namespace {
zarvo_test::ProgramRun RunWithoutDisplay(const std::string& args, const std::string& env = "") {
    return RunProgram(args, zarvo_test::MakeTempDir("zarvo-cmdline"), "-u DISPLAY " + env);
}
} // namespace

TEST(ProgramEntry, StartUpFailureIsReportedWithNonZeroStatus) {
    // No display and the X11 driver: SDL's video start-up must fail.
    const auto run = RunWithoutDisplay("--frames 1", "SDL_VIDEODRIVER=x11");
    EXPECT_EQ(run.signal, 0) << "the program died from a signal";
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("Error: SDL Could not be initialized: "), std::string::npos)
        << run.output;
}

TEST(ProgramEntry, HelpAndListAnswerWithoutStartingTheEngine) {
    const auto help = RunWithoutDisplay("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output, UsageText());
    const auto list = RunWithoutDisplay("--list");
    EXPECT_EQ(list.status, 0);
    EXPECT_EQ(list.output, DemoListText()) << "nothing else, the engine did not start";
}

TEST(ProgramEntry, UnknownOptionsGiveTheUsageAndANonZeroStatus) {
    for (const char* args : {"--bogus", "--demo nosuchdemo", "--frames", "--screenshot x.gif"}) {
        const auto run = RunWithoutDisplay(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.output.find("zarvo: "), std::string::npos) << args;
        EXPECT_NE(run.output.find(UsageText()), std::string::npos) << args;
        EXPECT_EQ(run.output.find("Zarvo Engine version"), std::string::npos) << args;
    }
}
