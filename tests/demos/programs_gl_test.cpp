// Every demo run as the real program: it ends normally with nothing wrong reported, and the
// last frame it saves shows its scene, overlay and logo where they belong.
#include <gtest/gtest.h>

#include "core/CommandLine.h"
#include "support/demo_fixtures.h"

#include <cfloat>
#include <vector>

using namespace zarvo_test;

// Measure(r, is, minSum) of the saved frame must lie above low and at most at high.
struct Probe {
    const char* what;
    Rect r;
    Colour is;
    int minSum;
    double low, high = DBL_MAX;
};
// A frame not blank has more distinct colours and a higher mean brightness; the output `says`.
struct DemoRun {
    std::string args;
    int frames;
    size_t colours;
    double brightness;
    const char* says;
    std::vector<Probe> probes;
};
using P = const unsigned char*;
const Colour kOrange = [](P p) { return p[0] > p[1] + 20 && p[1] > p[2] + 10; };
const Colour kGreenish = [](P p) { return p[1] > p[0] + 40 && p[1] > p[2] + 20; };
const Colour kBlue = [](P p) { return p[2] > p[0] + 20 && std::abs(p[0] - p[1]) < 30; };
const Colour kBluish = [](P p) { return p[2] > p[0] + 15; };
const Colour kBright = [](P p) { return p[0] > 235 && p[1] > 235 && p[2] > 235; };
const Colour kWhite = [](P p) { return std::abs(p[0] - p[2]) < 40 && std::abs(p[1] - p[2]) < 40; };
// A 2D demo: its feature, its caption line of font 1 at (1, y), and the logo in the corner.
static DemoRun Demo2D(const char* name, int frames, Rect feature, int captionY) {
    return {std::string("--demo ") + name,
            frames,
            100,
            1,
            "",
            {{"feature", feature, nullptr, 60, 1000},
             {"caption", {0, captionY - 1, 420, captionY + 18}, nullptr, 60, 150},
             {"logo", {694, 646, 1019, 763}, kOrange, 200, 1000}}};
}

TEST(DemoProgramsGL, EachDemoRunsCleanlyAndDrawsItsScene) {
    // The default demo, full screen: each overlay text in its colour (a pixel of slack around
    // its box for filtering) and the logo 5 pixels clear of the window's edges.
    const std::vector<Probe> shadow = {{"FPS counter", {2, 4, 201, 23}, kWhite, 300, 100},
                                       {"title", {359, 4, 827, 39}, kOrange, 30, 300},
                                       {"vertex count", {0, 29, 319, 48}, kWhite, 300, 50},
                                       {"Space hint", {0, 79, 470, 99}, kBlue, 30, 200},
                                       {"light hint", {0, 109, 378, 129}, kBlue, 30, 200},
                                       {"logo", {704, 648, 1019, 763}, kOrange, 200, 1000},
                                       {"logo margin", {1019, 648, 1024, 768}, kOrange, 200, -1, 0},
                                       {"logo margin", {704, 763, 1024, 768}, kOrange, 200, -1, 0}};
    // The information window's blue fills (2, 2)-(402, 302) and stops there; green crosshair
    // rings at the centre; white bounding boxes; the lit plane below a black sky; the gun.
    const std::vector<Probe> engineTest = {
        {"window", {10, 40, 390, 290}, kBluish, 0, 50000},
        {"past the window", {410, 40, 600, 200}, kBluish, 0, -1, 0},
        {"crosshair", {482, 354, 582, 454}, kGreenish, 0, 40},
        {"bounding-box lines", {420, 150, 1024, 600}, kBright, 0, 40},
        {"logo", {700, 640, 1022, 766}, kOrange, 200, 1000},
        {"plane", {40, 600, 400, 700}, nullptr, -1, 180},
        {"sky", {500, 40, 1000, 120}, nullptr, -1, -1, 15},
        {"gun", {620, 480, 760, 560}, nullptr, -1, 120}};
    const std::vector<DemoRun> runs = {
        {"", 300, 1000, 40, "", shadow},
        {"--demo enginetest", 40, 2000, 0, "", engineTest},
        {"--demo outdoor", 30, 1000, 40, "Gray Scale Image", {}}, // the light map was built
        {"--demo gui", 30, 200, 20, "", {}},
        Demo2D("fade", 5, {300, 300, 620, 412}, 110),
        Demo2D("kavrix", 5, {300, 300, 620, 412}, 110),
        Demo2D("gameobject", 5, {200, 200, 264, 264}, 110),
        Demo2D("parallax", 5, {0, 150, 1024, 600}, 50),
        Demo2D("particles2d", 30, {190, 80, 700, 400}, 50)};
    ASSERT_TRUE(kAnisotropyHidden);
    for (const DemoRun& d : runs) {
        SCOPED_TRACE(d.args);
        const auto [run, image] =
            RunToFrame(d.args + (d.args.empty() ? "" : " --windowed"), d.frames);
        EXPECT_TRUE(run.status == 0 && FindErrorText(run.output).empty()) << run.output;
        EXPECT_EQ(CountOccurrences(run.output, "Zarvo Engine version 0.02..."), size_t(DEMO_COUNT))
            << "every application is constructed";
        EXPECT_NE(run.output.find("Saved frame " + std::to_string(d.frames)), std::string::npos);
        EXPECT_NE(run.output.find(d.says), std::string::npos);
        ASSERT_TRUE(image.width == 1024 && image.height == 768) << run.output;
        const FrameStats stats = MeasureFrame(image);
        EXPECT_TRUE(stats.colours > d.colours && stats.brightness > d.brightness) << "blank frame";
        for (const Probe& p : d.probes) {
            const double value = Measure(image, p.r, p.is, p.minSum);
            EXPECT_TRUE(value > p.low && value <= p.high) << p.what << ": " << value;
        }
    }
}
