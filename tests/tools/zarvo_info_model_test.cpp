// Runs the built inspector on corpus models and on a broken file.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "support/test_paths.h"

namespace {

const std::string kInfo = std::string(ZARVO_BINARY_DIR) + "/tools/zarvo-info";

int RunInfo(const std::string& args, std::string& out) {
    const std::string command = kInfo + " " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    char buf[4096];
    size_t n;
    out.clear();
    while ((n = fread(buf, 1, sizeof(buf), pipe)) > 0)
        out.append(buf, n);
    const int status = pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

#define REQUIRE_INFO_TOOL()                                                                        \
    do {                                                                                           \
        if (access(kInfo.c_str(), X_OK) != 0) GTEST_SKIP() << "zarvo-info not built";              \
    } while (0)

TEST(ZarvoInfoModel, ReportsCountsAnimationsAndBounds) {
    ZARVO_REQUIRE_CORPUS();
    REQUIRE_INFO_TOOL();
    const std::string models = zarvo_test::CorpusDir() + "/models/";
    std::string out;
    ASSERT_EQ(RunInfo("model " + models + "faerie.md2 --skin faerie2.bmp --json", out), 0) << out;
    EXPECT_NE(out.find("\"frames\": 198"), std::string::npos) << out;
    EXPECT_NE(out.find("\"faces\": 654"), std::string::npos);
    EXPECT_NE(out.find("{\"name\": \"run\", \"start\": 40, \"end\": 46}"), std::string::npos);
    EXPECT_NE(out.find("\"texture\": \"faerie2.bmp\""), std::string::npos);
    EXPECT_NE(out.find("\"frame0_bounds\": {\"min\": [-16.8138, -24.5303, -12.0833]"),
              std::string::npos);

    ASSERT_EQ(RunInfo("model " + models + "room.3ds --swap", out), 0) << out;
    EXPECT_NE(out.find("objects: 4"), std::string::npos) << out;
    EXPECT_NE(out.find("faces: 156"), std::string::npos);
    EXPECT_NE(out.find("\" -- default --\" texture \"\""), std::string::npos);
    EXPECT_NE(out.find("bounds: min (-406.989, -0.00024, -351.917)"), std::string::npos);
}

TEST(ZarvoInfoModel, FailsWithTheLoadersMessage) {
    REQUIRE_INFO_TOOL();
    const std::string path = zarvo_test::MakeTempDir("info") + "/broken.3ds";
    std::ofstream(path, std::ios::binary) << "MM\x06";
    std::string out;
    EXPECT_EQ(RunInfo("model " + path, out), 1);
    EXPECT_NE(out.find("Unable to load PRIMARY chuck from file"), std::string::npos) << out;
    EXPECT_EQ(RunInfo("model", out), 2);
}

TEST(ZarvoInfoModel, ReportsObjMd3FilesAndWholeCharacters) {
    ZARVO_REQUIRE_CORPUS();
    REQUIRE_INFO_TOOL();
    const std::string models = zarvo_test::CorpusDir() + "/models/";
    std::string out;
    ASSERT_EQ(RunInfo("model " + models + "polygons_mixed.obj --json", out), 0) << out;
    EXPECT_NE(out.find("\"meshes\": 3,"), std::string::npos) << out;
    EXPECT_NE(out.find("\"triangles\": 29,"), std::string::npos);
    EXPECT_NE(out.find("\"bounds\": {\"min\": [-1, -1, -1], \"max\": [5, 3, 5]}"),
              std::string::npos);

    ASSERT_EQ(RunInfo("model " + models + "tony/tony_upper.md3", out), 0) << out;
    EXPECT_NE(out.find("frames: 191\ntags: 2\n  tag_head\n  tag_weapon\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("mesh \"u_body\": 362 vertices, 506 triangles"), std::string::npos);

    ASSERT_EQ(RunInfo("md3 " + models + "tony tony railgun --json", out), 0) << out;
    EXPECT_NE(out.find("\"torso_offset\": 1,"), std::string::npos) << out;
    EXPECT_NE(out.find("\"links\": [{\"tag\": \"tag_head\", \"part\": \"head\"}, "
                       "{\"tag\": \"tag_weapon\", \"part\": \"weapon\"}]"),
              std::string::npos);

    // A character that is not there: messages on standard error, failure status.
    EXPECT_EQ(RunInfo("md3 " + models + " nobody", out), 1);
    EXPECT_NE(out.find("Unable to load the Head model"), std::string::npos) << out;
}
