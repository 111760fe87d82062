#include "models/CMD3Loader.h"

#include <gtest/gtest.h>

#include <string>

#include "md3_builder.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

bool Load(CLoadMD3& loader, t3DModel& model, const std::string& bytes) {
    return loader.ImportMD3FromMemory(&model, reinterpret_cast<const uint8_t*>(bytes.data()),
                                      bytes.size());
}

Md3Part TwoFramePart() {
    Md3Part part;
    part.frames = 2;
    part.tags = {{{"tag_torso", {0, 0, 1}}}, {{"tag_torso", {0, 0, 2}}}};
    part.meshes = {Square("l_legs", 0, 0, 2)};
    return part;
}

} // namespace

TEST(CLoadMD3, TonyPartsLoadWithTheirFramesTagsAndMeshes) {
    ZARVO_REQUIRE_CORPUS();
    struct Case {
        const char* file;
        int frames;
        std::vector<std::string> tags;
        std::vector<std::pair<std::string, int>> meshes; // name, triangles
        float min[3], max[3];
    };
    const Case cases[] = {
        {"tony_lower.md3",
         261,
         {"tag_torso"},
         {{"l_belt", 0}, {"l_lower", 386}},
         {-4.28125f, -16.90625f, -15.09375f},
         {16.578125f, 17.6875f, 10.125f}},
        {"tony_upper.md3",
         191,
         {"tag_head", "tag_weapon"},
         {{"u_body", 506}, {"u_vest", 0}},
         {-7.0f, -24.578125f, -1.921875f},
         {3.140625f, 24.578125f, 17.90625f}},
        {"tony_head.md3",
         1,
         {},
         {{"h_head", 298}},
         {-4.9375f, -5.40625f, -1.03125f},
         {6.890625f, 5.40625f, 8.0f}},
        {"railgun.md3",
         1,
         {"tag_flash"},
         {{"gun", 398}, {"energy.001", 8}, {"glass", 8}},
         {-12.90625f, -4.171875f, -1.890625f},
         {14.984375f, 4.171875f, 6.359375f}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = zarvo_test::CorpusDir() + "/models/tony/" + c.file;
        CLoadMD3 loader;
        t3DModel model;
        ASSERT_TRUE(loader.ImportMD3(&model, &path[0])) << loader.GetLastError();
        EXPECT_EQ(loader.GetFrameCount(), c.frames);
        ASSERT_EQ(model.numOfTags, int(c.tags.size()));
        for (size_t i = 0; i < c.tags.size(); ++i)
            EXPECT_EQ(model.pTags[i].strName, c.tags[i]);
        ASSERT_EQ(model.numOfObjects, int(c.meshes.size()));
        for (size_t i = 0; i < c.meshes.size(); ++i) {
            EXPECT_EQ(model.pObject[i].strName, c.meshes[i].first);
            EXPECT_EQ(model.pObject[i].numOfFaces, c.meshes[i].second);
        }
        for (int a = 0; a < 3; ++a) {
            EXPECT_FLOAT_EQ((&model.boundingBox.min.x)[a], c.min[a]);
            EXPECT_FLOAT_EQ((&model.boundingBox.max.x)[a], c.max[a]);
        }
        // Packed normals come out unit length.
        for (const t3DObject& mesh : model.pObject)
            if (mesh.numOfVerts > 0) {
                EXPECT_NEAR(Magnitude(mesh.pNormals[mesh.numOfVerts - 1]), 1.0f, 1e-4f);
            }
        ReleaseMd3Model(model);
    }
}

TEST(CLoadMD3, FramesAreStoredFrameMajorWithTexturesFlipped) {
    CLoadMD3 loader;
    t3DModel model;
    Md3Part part = TwoFramePart();
    part.meshes[0].frames[1][2] = {3, 0, 4};
    ASSERT_TRUE(Load(loader, model, BuildMd3(part)));
    const t3DObject& mesh = model.pObject[0];
    EXPECT_EQ(mesh.numOfVerts, 4);
    EXPECT_FLOAT_EQ(mesh.pVerts[4 + 2].x, 3.0f);
    EXPECT_FLOAT_EQ(mesh.pVerts[4 + 2].z, 4.0f);
    EXPECT_FLOAT_EQ(mesh.pTexVerts[3].y, -1.0f);
    EXPECT_FLOAT_EQ(model.pTags[1].vPosition.z, 2.0f);
    ReleaseMd3Model(model);
    // Packed normals: (longitude, latitude) bytes of 2 pi / 256 steps.
    const uint8_t up[2] = {0, 0}, x[2] = {64, 0}, y[2] = {64, 64};
    EXPECT_NEAR(CLoadMD3::DecodeNormal(up).z, 1.0f, 1e-5f);
    EXPECT_NEAR(CLoadMD3::DecodeNormal(x).x, 1.0f, 1e-5f);
    EXPECT_NEAR(CLoadMD3::DecodeNormal(y).y, 1.0f, 1e-5f);
}

TEST(CLoadMD3, CountsAndOffsetsOutsideTheFileAreRefused) {
    const std::string good = BuildMd3(TwoFramePart());
    const size_t mesh = 108 + 2 * 56 + 2 * 112;
    const struct {
        size_t at;
        int32_t value;
        const char* message;
    } cases[] = {
        {0, 0x32504449 /* IDP2 */, "Version not 15"},
        {76, 0, "no frames"},
        {80, 1000000, "tags run past the end"},
        {84, 3, "mesh 1 header runs past"},
        {mesh + 104, 1 << 20, "size runs past the end"},
        {mesh + 72, 1, "fewer frames than the file"},
        {mesh + 84, 1000, "blocks run past the mesh"},
        {mesh + 100, -8, "blocks run past the mesh"},
        {mesh + 108 + 68 + 4, 4, "triangle index 4 is not below its 4 vertices"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        std::string bytes = good;
        SetI32(bytes, c.at, c.value);
        CLoadMD3 loader;
        t3DModel model;
        EXPECT_FALSE(Load(loader, model, bytes));
        EXPECT_NE(loader.GetLastError().find(c.message), std::string::npos)
            << loader.GetLastError();
        EXPECT_EQ(model.numOfObjects, 0);
        EXPECT_EQ(model.numOfTags, 0);
        EXPECT_EQ(model.pTags, nullptr);
    }
    CLoadMD3 loader;
    t3DModel model;
    EXPECT_FALSE(Load(loader, model, good.substr(0, good.size() - 1)));
}

TEST(CLoadMD3, SkinAndShaderLinesNameEachMeshTexture) {
    t3DModel model;
    for (const char* name : {"u_body", "u_vest", "h_head"}) {
        t3DObject mesh = MakeEmptyObject();
        std::strcpy(mesh.strName, name);
        model.pObject.push_back(mesh);
    }
    model.numOfObjects = 3;
    CLoadMD3 loader;
    const std::string longName(600, 'x');
    const std::string skin = "u_body,models/players/tony/suit.tga\r\n\r\ntag_head,\r\n"
                             "u_vest,red.tga\n h_head,models\\x\\" +
                             longName + ".tga\n";
    loader.LoadSkinFromMemory(&model, skin.data(), skin.size());
    ASSERT_EQ(model.numOfMaterials, 3);
    EXPECT_STREQ(model.pMaterials[size_t(model.pObject[0].materialID)].strFile, "suit.tga");
    EXPECT_STREQ(model.pMaterials[size_t(model.pObject[1].materialID)].strFile, "red.tga");
    EXPECT_EQ(std::strlen(model.pMaterials[2].strFile), 254u);
    for (const t3DObject& mesh : model.pObject)
        EXPECT_TRUE(mesh.bHasTexture);

    // A line whose name starts with a NUL (found by fuzzing) names no texture.
    const std::string shader =
        "skin.tga\r\n" + std::string(3, '\0') + "x.tga\nextra.tga\nignored.tga\n";
    loader.LoadShaderFromMemory(&model, shader.data(), shader.size());
    EXPECT_EQ(model.numOfMaterials, 5);
    EXPECT_STREQ(model.pMaterials[size_t(model.pObject[0].materialID)].strFile, "skin.tga");
    EXPECT_EQ(model.pObject[1].materialID, 1); // an empty line leaves the mesh as it was
    EXPECT_STREQ(model.pMaterials[size_t(model.pObject[2].materialID)].strFile, "extra.tga");
    ReleaseModel(model);
}
