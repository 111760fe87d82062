#include "models/CMD2Loader.h"

#include <gtest/gtest.h>

#include <cmath>

#include "model_builders.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

bool Load(t3DModel& model, const std::string& bytes, CMD2Loader& loader,
          const char* skin = nullptr) {
    return loader.ImportMD2FromMemory(&model, reinterpret_cast<const uint8_t*>(bytes.data()),
                                      bytes.size(), skin);
}

// The frame names listed for one file in facts.json (a plain scan; the file is trusted).
std::vector<std::string> FactFrameNames(const std::string& file) {
    std::string json;
    zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/facts.json", json);
    std::vector<std::string> names;
    size_t at = json.find("\"" + file + "\"");
    if (at == std::string::npos) return names;
    at = json.find('[', json.find("\"frame_names\"", at));
    const std::string list = json.substr(at + 1, json.find(']', at) - at - 1);
    for (size_t p = list.find('"'); p != std::string::npos; p = list.find('"', p + 1)) {
        const size_t q = list.find('"', p + 1);
        names.push_back(list.substr(p + 1, q - p - 1));
        p = q;
    }
    return names;
}

struct CorpusMd2 {
    const char* file;
    int frames, vertices, texCoords, faces;
    float bounds[6]; // assimp's frame-0 minimum and maximum, which use the same axis change
};

void ExpectUnitNormals(const t3DModel& model) {
    for (const t3DObject& frame : model.pObject)
        for (int i = 0; i < frame.numOfVerts; ++i)
            ASSERT_NEAR(Magnitude(frame.pNormals[i]), 1.0f, 1e-4f) << frame.strName << " " << i;
}

} // namespace

TEST(CMD2Loader, CorpusModelsMatchTheirFacts) {
    ZARVO_REQUIRE_CORPUS();
    const CorpusMd2 files[] = {
        {"models/sydney.md2",
         198,
         342,
         456,
         679,
         {-7.734574f, -24.01433f, -10.102956f, 5.501323f, 30.943087f, 11.988738f}},
        {"models/faerie.md2",
         198,
         366,
         487,
         654,
         {-16.813763f, -24.530266f, -12.083273f, 3.271729f, 27.43808f, 14.130598f}}};
    for (const CorpusMd2& f : files) {
        SCOPED_TRACE(f.file);
        std::string bytes;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/" + f.file, bytes));
        CMD2Loader loader;
        t3DModel model;
        ASSERT_TRUE(Load(model, bytes, loader)) << loader.GetLastError();
        ASSERT_EQ(model.numOfObjects, f.frames);
        ASSERT_EQ(int(model.pObject.size()), f.frames);
        const t3DObject& first = model.pObject[0];
        EXPECT_EQ(first.numOfVerts, f.vertices);
        EXPECT_EQ(first.numTexVertex, f.texCoords);
        EXPECT_EQ(first.numOfFaces, f.faces);
        EXPECT_EQ(model.numOfVertices, f.faces * 3);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(first.boundingBox.min.GetArray()[k], f.bounds[k], 1e-3f);
            EXPECT_NEAR(first.boundingBox.max.GetArray()[k], f.bounds[3 + k], 1e-3f);
        }
        const std::vector<std::string> names = FactFrameNames(f.file);
        ASSERT_EQ(int(names.size()), f.frames);
        for (int i = 0; i < f.frames; ++i)
            EXPECT_EQ(model.pObject[size_t(i)].strName, names[size_t(i)]);
        // Later frames reuse frame 0's faces and coordinates.
        EXPECT_EQ(model.pObject[1].pFaces, nullptr);
        EXPECT_EQ(model.pObject[1].pTexVerts, nullptr);
        ExpectUnitNormals(model);
        EXPECT_GT(model.boundingSphere.radius, 0.0f);
        ReleaseModel(model);
    }
}

TEST(CMD2Loader, AnimationsFollowTheFrameNumberRule) {
    ZARVO_REQUIRE_CORPUS();
    std::string bytes;
    ASSERT_TRUE(zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/models/faerie.md2", bytes));
    CMD2Loader loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, bytes, loader));
    ASSERT_GE(model.numOfAnimations, 5);
    const tAnimationInfo& stand = model.pAnimations[0];
    const tAnimationInfo& run = model.pAnimations[1];
    EXPECT_STREQ(stand.strName, "stand");
    EXPECT_EQ(stand.startFrame, 0);
    EXPECT_EQ(stand.endFrame, 40);
    EXPECT_STREQ(run.strName, "run");
    EXPECT_EQ(run.startFrame, 40);
    EXPECT_EQ(run.endFrame, 46);
    // pain101..pain104: digits before the last two stay in the name.
    EXPECT_STREQ(model.pAnimations[3].strName, "pain1");
    EXPECT_EQ(model.pAnimations[3].startFrame, 54);
    EXPECT_STREQ(model.pAnimations[4].strName, "pain2");
    const tAnimationInfo& last = model.pAnimations.back();
    EXPECT_STREQ(last.strName, "death3");
    EXPECT_EQ(last.endFrame, 197);
    ReleaseModel(model);
}

TEST(CMD2Loader, StandThenRunGivesTwoRanges) {
    Md2Recipe recipe;
    for (int i = 1; i <= 40; ++i)
        recipe.frameNames.push_back("stand" + std::string(i < 10 ? "0" : "") + std::to_string(i));
    recipe.frameNames.erase(recipe.frameNames.begin());
    for (int i = 1; i <= 6; ++i)
        recipe.frameNames.push_back("run" + std::to_string(i));
    CMD2Loader loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, BuildMd2(recipe), loader)) << loader.GetLastError();
    ASSERT_EQ(model.numOfAnimations, 2);
    EXPECT_EQ(model.pAnimations[0].startFrame, 0);
    EXPECT_EQ(model.pAnimations[0].endFrame, 40);
    EXPECT_EQ(model.pAnimations[1].startFrame, 40);
    EXPECT_EQ(model.pAnimations[1].endFrame, 45);
    ReleaseModel(model);
}

TEST(CMD2Loader, FrameNumbersCannotPointOutsideTheModel) {
    Md2Recipe recipe;
    // "x99" would start at frame 98 and a name without digits at frame -1.
    recipe.frameNames = {"x99", "x98", "walk", "walk", "end1"};
    CMD2Loader loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, BuildMd2(recipe), loader));
    ASSERT_EQ(model.numOfAnimations, 2);
    for (const tAnimationInfo& a : model.pAnimations) {
        EXPECT_GE(a.startFrame, 0);
        EXPECT_LT(a.startFrame, 5);
    }
    EXPECT_EQ(model.pAnimations[0].startFrame, 4);
    EXPECT_EQ(model.pAnimations[1].startFrame, 1);
    // The last frame starts a new name: it records "walk" and nothing of its own.
    EXPECT_STREQ(model.pAnimations[1].strName, "walk");
    EXPECT_EQ(model.pAnimations[1].endFrame, 4);
    ReleaseModel(model);
}

TEST(CMD2Loader, DecodesVerticesIntoYUpAndTextureCoordinates) {
    Md2Recipe recipe;
    recipe.packed = {{1, 2, 3, 4, 5, 6, 7, 8, 9}};
    for (int k = 0; k < 3; ++k)
        recipe.scale[k] = float(k + 2), recipe.translate[k] = 1;
    CMD2Loader loader;
    t3DModel model;
    char skin[] = "skin.pcx";
    ASSERT_TRUE(Load(model, BuildMd2(recipe), loader, skin));
    const CVector3& v = model.pObject[0].pVerts[0];
    EXPECT_FLOAT_EQ(v.x, 1 * 2 + 1);
    EXPECT_FLOAT_EQ(v.y, 3 * 4 + 1);
    EXPECT_FLOAT_EQ(v.z, -(2 * 3 + 1));
    // s = 8, t = 4 on a 64 x 32 skin.
    EXPECT_FLOAT_EQ(model.pObject[0].pTexVerts[1].x, 8.0f / 64);
    EXPECT_FLOAT_EQ(model.pObject[0].pTexVerts[1].y, 1.0f - 4.0f / 32);
    ASSERT_EQ(model.numOfMaterials, 1);
    EXPECT_STREQ(model.pMaterials[0].strFile, "skin.pcx");
    EXPECT_FLOAT_EQ(model.pMaterials[0].uTile, 1.0f);
    ReleaseModel(model);
}

TEST(CMD2Loader, NormalsAverageFacesAndUnusedVerticesPointUp) {
    Md2Recipe recipe;
    recipe.numVertices = 5; // vertex 4 is used by no face
    recipe.packed = {{0, 0, 0, 10, 0, 0, 0, 10, 0, 10, 10, 0, 50, 50, 50}};
    recipe.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{1, 3, 2}, {0, 1, 2}}};
    CMD2Loader loader;
    t3DModel model;
    ASSERT_TRUE(Load(model, BuildMd2(recipe), loader));
    const t3DObject& frame = model.pObject[0];
    for (int i = 0; i < 4; ++i) {
        // A flat quad in the file's xy plane lies in the engine's xz plane.
        EXPECT_NEAR(std::fabs(frame.pNormals[i].y), 1.0f, 1e-5f) << i;
        EXPECT_FLOAT_EQ(frame.pNormals[i].y, frame.pNormals[0].y);
    }
    EXPECT_FLOAT_EQ(frame.pNormals[4].x, 0.0f);
    EXPECT_FLOAT_EQ(frame.pNormals[4].y, 1.0f);
    EXPECT_FLOAT_EQ(frame.pNormals[4].z, 0.0f);
    ReleaseModel(model);
}

TEST(CMD2Loader, RejectsDamagedFilesWithAClearMessage) {
    const std::string good = BuildMd2(Md2Recipe());
    struct Case {
        const char* what;
        size_t field;
        int32_t value;
        const char* message;
    };
    const Case cases[] = {
        {"version", 4, 7, "Version not 8"},
        {"frame size above the buffer", kFrameSize, 8324, "above 8320"},
        {"frame size too small", kFrameSize, 20, "frame size too small"},
        {"negative count", kNumTriangles, -1, "negative count"},
        {"triangles past the end", kOfsTriangles, 1 << 30, "triangles outside"},
        {"negative offset", kOfsTexCoords, -8, "texture coordinates outside"},
        {"too many frames", kNumFrames, 1000000, "frames outside"},
        {"huge skin count", kNumSkins, 0x7fffffff, "skin block outside"},
        {"vertex index out of range", kNumVertices, 2, "vertex index out of range"},
        {"texture index out of range", kNumTexCoords, 1, "texture coordinate index"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = good;
        SetI32(bytes, c.field, c.value);
        if (c.field == kNumVertices) SetI32(bytes, kFrameSize, 40 + 4 * 2);
        CMD2Loader loader;
        t3DModel model;
        EXPECT_FALSE(Load(model, bytes, loader));
        EXPECT_NE(loader.GetLastError().find(c.message), std::string::npos)
            << loader.GetLastError();
        EXPECT_EQ(model.numOfObjects, 0);
        EXPECT_TRUE(model.pObject.empty());
    }
    for (size_t cut : {size_t(0), size_t(40), good.size() - 1}) {
        CMD2Loader loader;
        t3DModel model;
        EXPECT_FALSE(Load(model, good.substr(0, cut), loader)) << cut;
    }
}

TEST(CMD2Loader, MissingFileReportsTheName) {
    CMD2Loader loader;
    t3DModel model;
    char file[] = "no/such/model.md2";
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loader.ImportMD2(&model, file, nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Unable to find the file: no/such/model.md2!\n");
}
