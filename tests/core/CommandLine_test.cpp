// The command line, where malformed input is an error rather than a guess, and its use.
#include <gtest/gtest.h>

#include "core/CommandLine.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <set>
#include <sstream>

namespace {
// Arguments split at spaces; '' stands for an empty one.
sCommandLine Parse(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;)
        words.push_back(w == "''" ? "" : w);
    std::vector<const char*> args{"zarvo"};
    for (const std::string& w : words)
        args.push_back(w.c_str());
    return ParseCommandLine(int(args.size()), args.data());
}
zarvo_test::ProgramRun RunWithoutDisplay(const std::string& args, const std::string& env = "") {
    return zarvo_test::RunProgram(args, zarvo_test::MakeTempDir("zarvo-cmdline"),
                                  "-u DISPLAY " + env);
}
} // namespace

TEST(CommandLine, DefaultsEveryDemoByShortAndClassNameAndRunSettingsInAnyOrder) {
    const sCommandLine d = Parse("");
    EXPECT_EQ(
        std::make_tuple(d.command, d.demo, d.run.frameLimit, d.run.screenshotFile, d.run.windowed,
                        d.error),
        std::make_tuple(COMMAND_RUN, DEMO_SHADOW_MAPPING, 0, std::string(), false, std::string()));
    std::set<std::string> names;
    for (int i = 0; i < DEMO_COUNT; ++i) {
        const sDemoInfo& info = GetDemoInfo(eDemo(i));
        names.insert(info.shortName);
        for (const char* name : {info.shortName, info.className}) {
            const sCommandLine c = Parse(std::string("--demo ") + name);
            EXPECT_EQ(std::make_pair(c.command, c.demo), std::make_pair(COMMAND_RUN, eDemo(i)))
                << name;
        }
    }
    EXPECT_EQ(names.size(), size_t(DEMO_COUNT));
    EXPECT_EQ(Parse("--demo SHADOW").demo, DEMO_SHADOW_MAPPING) << "names ignore case";

    const sCommandLine c =
        Parse("--frames 300 --windowed --screenshot out/shot.png --demo parallax");
    EXPECT_EQ(
        std::make_tuple(c.command, c.demo, c.run.frameLimit, c.run.screenshotFile, c.run.windowed),
        std::make_tuple(COMMAND_RUN, DEMO_PARALLAX_SCROLL, 300, std::string("out/shot.png"), true))
        << c.error;
    EXPECT_EQ(Parse("--screenshot x.BMP").run.screenshotFile, "x.BMP");
    EXPECT_EQ(Parse("--frames 1 --frames 2").run.frameLimit, 2) << "last one wins";
}

TEST(CommandLine, HelpAndListStopBeforeRunningAndAnswerWithoutStartingTheEngine) {
    for (const auto& c : {std::make_pair("--help", COMMAND_HELP),
                          {"-h", COMMAND_HELP},
                          {"--list", COMMAND_LIST},
                          {"--list --help", COMMAND_HELP},
                          {"--demo fade --list", COMMAND_LIST}})
        EXPECT_EQ(Parse(c.first).command, c.second) << c.first;
    const std::string usage = UsageText(), list = DemoListText();
    for (const char* option : {"--demo", "--windowed", "--frames", "--screenshot", "--list"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    for (int i = 0; i < DEMO_COUNT; ++i)
        EXPECT_NE(list.find(GetDemoInfo(eDemo(i)).shortName), std::string::npos);
    const size_t shadow = list.find("testShadowMapping"), mark = list.find("(default)");
    EXPECT_TRUE(shadow < mark && mark < list.find('\n', shadow)) << "on the default's line";

    const auto help = RunWithoutDisplay("--help"), listRun = RunWithoutDisplay("--list");
    EXPECT_EQ(std::make_pair(help.status, help.output), std::make_pair(0, usage));
    EXPECT_EQ(std::make_pair(listRun.status, listRun.output), std::make_pair(0, list))
        << "nothing else, the engine did not start";
}

TEST(CommandLine, MalformedInputIsAnErrorWithAMessage) {
    for (const char* args :
         {"--frames", "--frames 0", "--frames -3", "--frames 12x", "--frames ''",
          "--frames 99999999999", "--screenshot", "--screenshot ''", "--screenshot shot.jpg",
          "--screenshot .png", "--demo", "--demo nosuchdemo", "--demo ''", "-x", "shadow",
          "--help --bogus", "--windowed=yes", "--frames 5 --list -"}) {
        const sCommandLine c = Parse(args);
        EXPECT_EQ(c.command, COMMAND_ERROR) << args;
        EXPECT_FALSE(c.error.empty()) << args;
    }
    EXPECT_NE(Parse("--bogus").error.find("--bogus"), std::string::npos);
    EXPECT_NE(Parse("--demo nosuchdemo").error.find("nosuchdemo"), std::string::npos);
}

TEST(ProgramEntry, BadOptionsGiveTheUsageAndStartUpFailureANonZeroStatus) {
    for (const char* args : {"--bogus", "--demo nosuchdemo", "--frames", "--screenshot x.gif"}) {
        const auto run = RunWithoutDisplay(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.output.find("zarvo: "), std::string::npos) << args;
        EXPECT_NE(run.output.find(UsageText()), std::string::npos) << args;
        EXPECT_EQ(run.output.find("Zarvo Engine version"), std::string::npos) << args;
    }
    // No display and the X11 driver: SDL's video start-up must fail.
    const auto run = RunWithoutDisplay("--frames 1", "SDL_VIDEODRIVER=x11");
    EXPECT_EQ(run.signal, 0) << "the program died from a signal";
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.output.find("Error: SDL Could not be initialized: "), std::string::npos)
        << run.output;
}
