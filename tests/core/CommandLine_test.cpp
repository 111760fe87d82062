// The command line: every demo reachable by name, the run settings, and every malformed
// input turned into an error rather than a guess; and the program entry that acts on it.
#include <gtest/gtest.h>

#include "core/CommandLine.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <set>

namespace {
sCommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zarvo");
    return ParseCommandLine(int(args.size()), args.data());
}
zarvo_test::ProgramRun RunWithoutDisplay(const std::string& args, const std::string& env = "") {
    return zarvo_test::RunProgram(args, zarvo_test::MakeTempDir("zarvo-cmdline"),
                                  "-u DISPLAY " + env);
}
} // namespace

TEST(CommandLine, DefaultsAndEveryDemoByShortAndClassName) {
    const sCommandLine c = Parse({});
    EXPECT_EQ(c.command, COMMAND_RUN);
    EXPECT_EQ(c.demo, DEMO_SHADOW_MAPPING);
    EXPECT_EQ(c.run.frameLimit, 0);
    EXPECT_TRUE(c.run.screenshotFile.empty());
    EXPECT_FALSE(c.run.windowed);
    EXPECT_TRUE(c.error.empty());

    std::set<std::string> names;
    for (int i = 0; i < DEMO_COUNT; ++i) {
        const sDemoInfo& info = GetDemoInfo(eDemo(i));
        names.insert(info.shortName);
        for (const char* name : {info.shortName, info.className}) {
            const sCommandLine byName = Parse({"--demo", name});
            EXPECT_EQ(byName.command, COMMAND_RUN) << name;
            EXPECT_EQ(byName.demo, eDemo(i)) << name;
        }
    }
    EXPECT_EQ(names.size(), size_t(DEMO_COUNT));
    EXPECT_EQ(Parse({"--demo", "SHADOW"}).demo, DEMO_SHADOW_MAPPING) << "names ignore case";
}

TEST(CommandLine, RunSettingsCombineInAnyOrder) {
    const sCommandLine c = Parse(
        {"--frames", "300", "--windowed", "--screenshot", "out/shot.png", "--demo", "parallax"});
    ASSERT_EQ(c.command, COMMAND_RUN) << c.error;
    EXPECT_EQ(c.demo, DEMO_PARALLAX_SCROLL);
    EXPECT_EQ(c.run.frameLimit, 300);
    EXPECT_EQ(c.run.screenshotFile, "out/shot.png");
    EXPECT_TRUE(c.run.windowed);
    EXPECT_EQ(Parse({"--screenshot", "x.BMP"}).run.screenshotFile, "x.BMP");
    EXPECT_EQ(Parse({"--frames", "1", "--frames", "2"}).run.frameLimit, 2) << "last one wins";
}

TEST(CommandLine, HelpAndListStopBeforeRunningAndAnswerWithoutStartingTheEngine) {
    EXPECT_EQ(Parse({"--help"}).command, COMMAND_HELP);
    EXPECT_EQ(Parse({"-h"}).command, COMMAND_HELP);
    EXPECT_EQ(Parse({"--list"}).command, COMMAND_LIST);
    EXPECT_EQ(Parse({"--list", "--help"}).command, COMMAND_HELP);
    EXPECT_EQ(Parse({"--demo", "fade", "--list"}).command, COMMAND_LIST);
    const std::string usage = UsageText(), list = DemoListText();
    for (const char* option : {"--demo", "--windowed", "--frames", "--screenshot", "--list"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    for (int i = 0; i < DEMO_COUNT; ++i)
        EXPECT_NE(list.find(GetDemoInfo(eDemo(i)).shortName), std::string::npos);
    EXPECT_NE(list.find("testShadowMapping"), std::string::npos);
    EXPECT_NE(list.find("(default)"), std::string::npos);

    const auto help = RunWithoutDisplay("--help"), listRun = RunWithoutDisplay("--list");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.output, usage);
    EXPECT_EQ(listRun.status, 0);
    EXPECT_EQ(listRun.output, list) << "nothing else, the engine did not start";
}

TEST(CommandLine, MalformedInputIsAnErrorWithAMessage) {
    const std::vector<std::vector<const char*>> bad = {{"--frames"},
                                                       {"--frames", "0"},
                                                       {"--frames", "-3"},
                                                       {"--frames", "12x"},
                                                       {"--frames", ""},
                                                       {"--frames", "99999999999"},
                                                       {"--screenshot"},
                                                       {"--screenshot", ""},
                                                       {"--screenshot", "shot.jpg"},
                                                       {"--screenshot", ".png"},
                                                       {"--demo"},
                                                       {"--demo", "nosuchdemo"},
                                                       {"--demo", ""},
                                                       {"-x"},
                                                       {"shadow"},
                                                       {"--help", "--bogus"},
                                                       {"--windowed=yes"},
                                                       {"--frames", "5", "--list", "-"}};
    for (const auto& args : bad) {
        const sCommandLine c = Parse(args);
        std::string joined;
        for (const char* a : args)
            joined += std::string(a) + " ";
        EXPECT_EQ(c.command, COMMAND_ERROR) << joined;
        EXPECT_FALSE(c.error.empty()) << joined;
    }
    EXPECT_NE(Parse({"--bogus"}).error.find("--bogus"), std::string::npos);
    EXPECT_NE(Parse({"--demo", "nosuchdemo"}).error.find("nosuchdemo"), std::string::npos);
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
