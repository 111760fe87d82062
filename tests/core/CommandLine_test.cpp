// The command line: every demo reachable by name, the run settings, and every malformed
// input turned into an error rather than a guess.
#include <gtest/gtest.h>

#include "core/CommandLine.h"

#include <set>
#include <string>
#include <vector>

namespace {

sCommandLine Parse(std::vector<const char*> args) {
    args.insert(args.begin(), "zarvo");
    return ParseCommandLine(int(args.size()), args.data());
}

} // namespace

TEST(CommandLine, NoArgumentsRunsTheShadowDemoFullScreenWithoutLimits) {
    const sCommandLine c = Parse({});
    EXPECT_EQ(c.command, COMMAND_RUN);
    EXPECT_EQ(c.demo, DEMO_SHADOW_MAPPING);
    EXPECT_EQ(c.run.frameLimit, 0);
    EXPECT_TRUE(c.run.screenshotFile.empty());
    EXPECT_FALSE(c.run.windowed);
    EXPECT_TRUE(c.error.empty());
}

TEST(CommandLine, EveryDemoIsReachableByShortAndClassNameInConstructionOrder) {
    const char* const expected[DEMO_COUNT][2] = {
        {"enginetest", "EngineTestApp"},    {"fade", "testImageFade"},
        {"kavrix", "testKavrixBases"},      {"gameobject", "testGameObject"},
        {"parallax", "testParallaxScroll"}, {"particles2d", "testParticleSystem2D"},
        {"shadow", "testShadowMapping"},    {"gui", "testGUI"},
        {"outdoor", "testOutdoor"}};
    std::set<std::string> names;
    for (int i = 0; i < DEMO_COUNT; ++i) {
        const sDemoInfo& info = GetDemoInfo(eDemo(i));
        EXPECT_STREQ(info.shortName, expected[i][0]);
        EXPECT_STREQ(info.className, expected[i][1]);
        names.insert(info.shortName);
        for (const char* name : {info.shortName, info.className}) {
            const sCommandLine c = Parse({"--demo", name});
            EXPECT_EQ(c.command, COMMAND_RUN) << name;
            EXPECT_EQ(c.demo, eDemo(i)) << name;
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

TEST(CommandLine, HelpAndListStopBeforeRunning) {
    EXPECT_EQ(Parse({"--help"}).command, COMMAND_HELP);
    EXPECT_EQ(Parse({"-h"}).command, COMMAND_HELP);
    EXPECT_EQ(Parse({"--list"}).command, COMMAND_LIST);
    EXPECT_EQ(Parse({"--list", "--help"}).command, COMMAND_HELP);
    EXPECT_EQ(Parse({"--demo", "fade", "--list"}).command, COMMAND_LIST);

    const std::string usage = UsageText();
    for (const char* option : {"--demo", "--windowed", "--frames", "--screenshot", "--list"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    const std::string list = DemoListText();
    for (int i = 0; i < DEMO_COUNT; ++i)
        EXPECT_NE(list.find(GetDemoInfo(eDemo(i)).shortName), std::string::npos);
    EXPECT_NE(list.find("testShadowMapping"), std::string::npos);
    EXPECT_NE(list.find("(default)"), std::string::npos);
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
