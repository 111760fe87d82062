// Runs the built inspector on corpus images and models, the project's own files and
// broken input: each row the status and what the output must hold ("=" the whole output,
// "^" its start). $I and $M are the corpus image and model folders, $T a temporary one.
#include <gtest/gtest.h>

#include "support/netpbm.h"
#include "support/program_run.h"
#include "support/test_paths.h"

namespace {

std::string Expand(std::string text, const std::string& temp) {
    const std::pair<std::string, std::string> names[] = {
        {"$I", zarvo_test::CorpusDir() + "/images/"},
        {"$M", zarvo_test::CorpusDir() + "/models/"},
        {"$T", temp},
        {"$S", zarvo_test::SourceDir() + "/"}};
    for (const auto& n : names)
        for (size_t at; (at = text.find(n.first)) != std::string::npos;)
            text.replace(at, 2, n.second);
    return text;
}

} // namespace

TEST(ZarvoInfo, ReportsTheFactsOfImagesModelsAndDocumentsAndFailsWithTheReadersMessage) {
    const std::string temp = zarvo_test::MakeTempDir("zarvo-info") + "/";
    zarvo_test::WriteFileBytes(temp + "bad.xml", "<a>\n <b x='1'>\n</c>\n");
    zarvo_test::WriteFileBytes(temp + "broken.3ds", "MM\x06");
    struct Row {
        const char* args;
        int status;
        std::vector<const char*> expected;
    };
    const Row rows[] = {
        {"image $Ibmp/stones_bmp8_rle8.bmp --pam $Tout.pam",
         0,
         {"reader: bmp\nwidth: 96\nheight: 96\ncomponents: 3\n"}},
        {"image missing.jpg", 1, {"=jpeg: cannot open missing.jpg\n"}},
        // An arithmetic-coded JPEG is read by the image library, and said so.
        {"image $Ijpeg/stones_arithmetic.jpg", 0, {"reader: SDL_image\n"}},
        {"image", 2, {}},
        {"nonsense x", 2, {}},
        {"model", 2, {}},
        {"xml $SData/TModel/planeParralax.xml --tag ZarvoModelFormat",
         0,
         {"^ZarvoModelFormat\n  model name=\"planeParralax\" numsubobjects=\"1\""}},
        {"xml $Tbad.xml", 1, {"error 7: Error: Unmatched end tag\nline 3, column 1"}},
        {"model $SData/TModel/planeParralax.xml --json",
         0,
         {"\"vertices\": 81,\n  \"triangles\": 0,\n  \"quads\": 64"}},
        {"model $Mfaerie.md2 --skin faerie2.bmp --json",
         0,
         {"\"frames\": 198", "\"faces\": 654", "{\"name\": \"run\", \"start\": 40, \"end\": 46}",
          "\"texture\": \"faerie2.bmp\"",
          "\"frame0_bounds\": {\"min\": [-16.8138, -24.5303, -12.0833]"}},
        {"model $Mroom.3ds --swap",
         0,
         {"objects: 4", "faces: 156", "\" -- default --\" texture \"\"",
          "bounds: min (-406.989, -0.00024, -351.917)"}},
        {"model $Tbroken.3ds", 1, {"Unable to load PRIMARY chuck from file"}},
        {"model $Mpolygons_mixed.obj --json",
         0,
         {"\"meshes\": 3,", "\"triangles\": 29,",
          "\"bounds\": {\"min\": [-1, -1, -1], \"max\": [5, 3, 5]}"}},
        {"model $Mtony/tony_upper.md3",
         0,
         {"frames: 191\ntags: 2\n  tag_head\n  tag_weapon\n",
          "mesh \"u_body\": 362 vertices, 506 triangles"}},
        {"md3 $Mtony tony railgun --json",
         0,
         {"\"torso_offset\": 1,", "\"links\": [{\"tag\": \"tag_head\", \"part\": \"head\"}, "
                                  "{\"tag\": \"tag_weapon\", \"part\": \"weapon\"}]"}},
        // A character that is not there: messages on standard error, failure status.
        {"md3 $M nobody", 1, {"Unable to load the Head model"}}};
    for (const Row& row : rows) {
        const std::string args = row.args;
        if (zarvo_test::CorpusDir().empty() &&
            (args.find("$I") != std::string::npos || args.find("$M") != std::string::npos))
            continue;
        const auto run = zarvo_test::RunProgram(Expand(args, temp), "", "", "tools/zarvo-info");
        EXPECT_EQ(run.status, row.status) << args << "\n" << run.output;
        for (const std::string e : row.expected) {
            if (e[0] == '=')
                EXPECT_EQ(run.output, e.substr(1)) << args;
            else if (e[0] == '^')
                EXPECT_EQ(run.output.rfind(e.substr(1), 0), 0u) << args << "\n" << run.output;
            else
                EXPECT_NE(run.output.find(e), std::string::npos) << args << ": " << e << " in\n"
                                                                 << run.output;
        }
    }
    if (zarvo_test::CorpusDir().empty()) return;
    // The pixels written beside the report are the reference decode.
    zarvo_test::RefImage written, reference;
    ASSERT_TRUE(zarvo_test::ReadNetpbm(temp + "out.pam", written));
    ASSERT_TRUE(zarvo_test::ReadNetpbm(Expand("$Ibmp/stones_bmp8_rle8.ref.ppm", temp), reference));
    EXPECT_EQ(written.pixels, reference.pixels);
}
