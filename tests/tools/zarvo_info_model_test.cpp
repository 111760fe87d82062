// Runs the built inspector on corpus models and on a broken file.
#include <gtest/gtest.h>

#include <fstream>

#include "support/program_run.h"
#include "support/test_paths.h"

namespace {
zarvo_test::ProgramRun Info(const std::string& args) {
    return zarvo_test::RunProgram(args, "", "", "tools/zarvo-info");
}
} // namespace

TEST(ZarvoInfoModel, ReportsCountsAnimationsAndBounds) {
    ZARVO_REQUIRE_CORPUS();
    const std::string models = zarvo_test::CorpusDir() + "/models/";
    auto run = zarvo_test::RunProgram("model " + models + "faerie.md2 --skin faerie2.bmp --json",
                                      "", "", "tools/zarvo-info");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line :
         {"\"frames\": 198", "\"faces\": 654", "{\"name\": \"run\", \"start\": 40, \"end\": 46}",
          "\"texture\": \"faerie2.bmp\"",
          "\"frame0_bounds\": {\"min\": [-16.8138, -24.5303, -12.0833]"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << " in\n" << run.output;

    run = zarvo_test::RunProgram("model " + models + "room.3ds --swap", "", "", "tools/zarvo-info");
    ASSERT_EQ(run.status, 0) << run.output;
    for (const char* line : {"objects: 4", "faces: 156", "\" -- default --\" texture \"\"",
                             "bounds: min (-406.989, -0.00024, -351.917)"})
        EXPECT_NE(run.output.find(line), std::string::npos) << line << " in\n" << run.output;
}

TEST(ZarvoInfoModel, FailsWithTheLoadersMessage) {
    const std::string path = zarvo_test::MakeTempDir("info") + "/broken.3ds";
    std::ofstream(path, std::ios::binary) << "MM\x06";
    const auto run = zarvo_test::RunProgram("model " + path, "", "", "tools/zarvo-info");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Unable to load PRIMARY chuck from file"), std::string::npos)
        << run.output;
    EXPECT_EQ(zarvo_test::RunProgram("model", "", "", "tools/zarvo-info").status, 2);
}

TEST(ZarvoInfoModel, ReportsObjMd3FilesAndWholeCharacters) {
    ZARVO_REQUIRE_CORPUS();
    const std::string models = zarvo_test::CorpusDir() + "/models/";
    zarvo_test::ProgramRun run;
    run = Info("model " + models + "polygons_mixed.obj --json");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\"meshes\": 3,"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"triangles\": 29,"), std::string::npos);
    EXPECT_NE(run.output.find("\"bounds\": {\"min\": [-1, -1, -1], \"max\": [5, 3, 5]}"),
              std::string::npos);

    run = Info("model " + models + "tony/tony_upper.md3");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("frames: 191\ntags: 2\n  tag_head\n  tag_weapon\n"), std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("mesh \"u_body\": 362 vertices, 506 triangles"), std::string::npos);

    run = Info("md3 " + models + "tony tony railgun --json");
    ASSERT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("\"torso_offset\": 1,"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("\"links\": [{\"tag\": \"tag_head\", \"part\": \"head\"}, "
                       "{\"tag\": \"tag_weapon\", \"part\": \"weapon\"}]"),
              std::string::npos);

    // A character that is not there: messages on standard error, failure status.
    run = Info("md3 " + models + " nobody");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("Unable to load the Head model"), std::string::npos) << run.output;
}
