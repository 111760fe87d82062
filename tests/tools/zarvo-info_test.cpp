// Runs the built inspector on corpus images and models, the project's own files and broken
// input: each row the status and what the output holds ("=" all of it, "^" its start).
#include <gtest/gtest.h>

#include "support/netpbm.h"
#include "support/program_run.h"
#include "support/test_paths.h"

TEST(ZarvoInfo, ReportsTheFactsOfImagesModelsAndDocumentsAndFailsWithTheReadersMessage) {
    ZARVO_REQUIRE_CORPUS();
    const std::string images = zarvo_test::CorpusDir() + "/images/",
                      models = zarvo_test::CorpusDir() + "/models/",
                      temp = zarvo_test::MakeTempDir("zarvo-info") + "/",
                      plane = zarvo_test::SourceDir() + "/Data/TModel/planeParralax.xml";
    zarvo_test::WriteFileBytes(temp + "bad.xml", "<a>\n <b x='1'>\n</c>\n");
    zarvo_test::WriteFileBytes(temp + "broken.3ds", "MM\x06");
    struct Row {
        std::string args;
        int status;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"image " + images + "bmp/stones_bmp8_rle8.bmp --pam " + temp + "out.pam",
         0,
         {"reader: bmp\nwidth: 96\nheight: 96\ncomponents: 3\n"}},
        {"image missing.jpg", 1, {"=jpeg: cannot open missing.jpg\n"}},
        {"nonsense x", 2, {}},
        {"xml " + plane + " --tag ZarvoModelFormat",
         0,
         {"^ZarvoModelFormat\n  model name=\"planeParralax\" numsubobjects=\"1\""}},
        {"xml " + temp + "bad.xml", 1, {"error 7: Error: Unmatched end tag\nline 3, column 1"}},
        {"model " + plane + " --json",
         0,
         {"\"vertices\": 81,\n  \"triangles\": 0,\n  \"quads\": 64"}},
        {"model " + models + "faerie.md2 --skin faerie2.bmp --json",
         0,
         {"\"frames\": 198", "\"faces\": 654", "{\"name\": \"run\", \"start\": 40, \"end\": 46}",
          "\"texture\": \"faerie2.bmp\"",
          "\"frame0_bounds\": {\"min\": [-16.8138, -24.5303, -12.0833]"}},
        {"model " + models + "room.3ds --swap",
         0,
         {"objects: 4", "faces: 156", "\" -- default --\" texture \"\"",
          "bounds: min (-406.989, -0.00024, -351.917)"}},
        {"model " + temp + "broken.3ds", 1, {"Unable to load PRIMARY chuck from file"}},
        {"model " + models + "polygons_mixed.obj --json",
         0,
         {"\"meshes\": 3,", "\"triangles\": 29,",
          "\"bounds\": {\"min\": [-1, -1, -1], \"max\": [5, 3, 5]}"}},
        {"model " + models + "tony/tony_upper.md3",
         0,
         {"frames: 191\ntags: 2\n  tag_head\n  tag_weapon\n",
          "mesh \"u_body\": 362 vertices, 506 triangles"}},
        {"md3 " + models + "tony tony railgun --json",
         0,
         {"\"torso_offset\": 1,", "\"links\": [{\"tag\": \"tag_head\", \"part\": \"head\"}, "
                                  "{\"tag\": \"tag_weapon\", \"part\": \"weapon\"}]"}},
        {"md3 " + models + " nobody", 1, {"Unable to load the Head model"}}};
    for (const Row& row : rows) {
        const auto run = zarvo_test::RunProgram(row.args, "", "", "tools/zarvo-info");
        EXPECT_EQ(run.status, row.status) << row.args << "\n" << run.output;
        for (const std::string& e : row.expected) {
            const size_t at = run.output.find(e.substr(e[0] == '=' || e[0] == '^'));
            EXPECT_TRUE(e[0] == '='   ? run.output == e.substr(1)
                        : e[0] == '^' ? at == 0
                                      : at != std::string::npos)
                << row.args << ": " << e << " in\n"
                << run.output;
        }
    }
    // The pixels written beside the report are the reference decode.
    zarvo_test::RefImage written, reference;
    ASSERT_TRUE(zarvo_test::ReadNetpbm(temp + "out.pam", written));
    ASSERT_TRUE(zarvo_test::ReadNetpbm(images + "bmp/stones_bmp8_rle8.ref.ppm", reference));
    EXPECT_EQ(written.pixels, reference.pixels);
}
