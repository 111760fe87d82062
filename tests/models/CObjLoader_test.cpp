#include "models/CObjLoader.h"

#include <gtest/gtest.h>

#include <string>

#include "support/test_paths.h"

namespace {

bool Load(CObjLoader& loader, t3DModel& model, const std::string& text) {
    return loader.ImportObjFromMemory(&model, text.data(), text.size());
}

void ExpectPoint(const CVector3& p, float x, float y, float z) {
    EXPECT_NEAR(p.x, x, 1e-3f);
    EXPECT_NEAR(p.y, y, 1e-3f);
    EXPECT_NEAR(p.z, z, 1e-3f);
}

// The corner positions of triangle f of a mesh.
CVector3 Corner(const t3DObject& mesh, int f, int k) {
    return mesh.pVerts[mesh.pFaces[f].vertIndex[k]];
}

} // namespace

TEST(CObjLoader, CorpusFilesLoadWithTheirTrianglesAndBounds) {
    ZARVO_REQUIRE_CORPUS();
    struct Case {
        const char* file;
        int meshes, triangles;
        float min[3], max[3];
    };
    const Case cases[] = {
        {"sydney_simple.obj",
         1,
         679,
         {-7.7346f, -24.0143f, -10.103f},
         {5.5013f, 30.9431f, 11.9887f}},
        {"grid_200k.obj", 1, 199712, {0, -4.5f, 0}, {316, 4.5f, 316}},
        {"sydney_full.obj", 1, 679, {-7.7346f, -24.0143f, -10.103f}, {5.5013f, 30.9431f, 11.9887f}},
        {"room_full.obj",
         1,
         156,
         {-406.9888f, -0.0002f, -351.9168f},
         {402.3912f, 503.77f, 349.0432f}},
        {"polygons_mixed.obj", 3, 29, {-1, -1, -1}, {5, 3, 5}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::string text;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/models/" + c.file, text));
        CObjLoader loader;
        t3DModel model;
        ASSERT_TRUE(Load(loader, model, text)) << loader.GetLastError();
        EXPECT_EQ(model.numOfObjects, c.meshes);
        int triangles = 0;
        for (const t3DObject& mesh : model.pObject)
            triangles += mesh.numOfFaces;
        EXPECT_EQ(triangles, c.triangles);
        EXPECT_EQ(model.numOfVertices, c.triangles * 3);
        ExpectPoint(model.boundingBox.min, c.min[0], c.min[1], c.min[2]);
        ExpectPoint(model.boundingBox.max, c.max[0], c.max[1], c.max[2]);
        ReleaseModel(model);
    }
}

TEST(CObjLoader, RelativeIndicesPolygonsAndBackReferencesResolveAsObjMeansThem) {
    ZARVO_REQUIRE_CORPUS();
    std::string text;
    ASSERT_TRUE(
        zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/models/polygons_mixed.obj", text));
    CObjLoader loader;
    t3DModel model;
    ASSERT_TRUE(Load(loader, model, text));
    // Cube: "f -8//-6 -5//-6 -6//-6 -7//-6" is vertices 1 4 3 2, fanned from vertex 1.
    const t3DObject& cube = model.pObject[0];
    ExpectPoint(Corner(cube, 0, 0), -1, -1, -1);
    ExpectPoint(Corner(cube, 0, 1), -1, 1, -1);
    ExpectPoint(Corner(cube, 1, 1), 1, 1, -1);
    ExpectPoint(Corner(cube, 1, 2), 1, -1, -1);
    // Prism: the pentagon "f 9/1 10/2 11/3 12/4 13/5" keeps its texture corners.
    const t3DObject& prism = model.pObject[1];
    EXPECT_TRUE(prism.bHasTexture);
    EXPECT_FLOAT_EQ(prism.pTexVerts[prism.pFaces[2].coordIndex[2]].x, 0.6545f);
    ExpectPoint(Corner(prism, 2, 2), 4.309f, -0.9511f, 3.0f);
    // Back reference: "f 1 2 19" in the third group uses the cube's first two vertices.
    const t3DObject& back = model.pObject[2];
    ExpectPoint(Corner(back, 0, 0), -1, -1, -1);
    ExpectPoint(Corner(back, 0, 1), 1, -1, -1);
    ExpectPoint(Corner(back, 0, 2), 0, 3, 0);
    ReleaseModel(model);
}

TEST(CObjLoader, MeshesSplitAtVerticesAfterFacesAndRebaseOnTheirFirstFace) {
    CObjLoader loader;
    t3DModel model;
    ASSERT_TRUE(Load(loader, model,
                     "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\n"
                     "v 0 0 1\nv 1 0 1\nv 0 1 1\nvt 0 0\nvt 1 0\nvt 0 1\n"
                     "f 5/1 6/2 7/3\n\tf  5/1\t7/3 6 \r\n"));
    ASSERT_EQ(model.numOfObjects, 2);
    EXPECT_EQ(model.pObject[0].numOfVerts, 4);
    const t3DObject& second = model.pObject[1];
    EXPECT_EQ(second.numOfVerts, 3);
    EXPECT_EQ(second.numOfFaces, 2);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(second.pFaces[0].vertIndex[k], k);
        EXPECT_EQ(second.pFaces[0].coordIndex[k], k);
    }
    // A corner without a coordinate in a textured mesh samples one appended zero.
    ASSERT_EQ(second.numTexVertex, 4);
    EXPECT_EQ(second.pFaces[1].coordIndex[2], 3);
    EXPECT_EQ(second.pTexVerts[3].x, 0.0f);
    // Face and vertex normals: the counter-clockwise triangle faces +z.
    ExpectPoint(model.pObject[0].pFaces[0].normal, 0, 0, 1);
    ExpectPoint(model.pObject[0].pNormals[0], 0, 0, 1);
    ReleaseModel(model);
}

TEST(CObjLoader, BadLinesAreRefusedByLineAndLeaveTheModelEmpty) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 0 1 2\n", "line 4: vertex index 0"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\n# c\nf 1 2 9\n", "line 5: vertex index 9 outside the 3"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 -4\n", "vertex index -4"},
        {"v 0 0 0\nv 1 0 0\nv 0 1 0\nvt 0 0\nf 1/1 2/2 3/1\n", "texture index 2 outside the 1"},
        {"v 1 2\n", "line 1: a position needs three"},
        {"v nan 0 0\n", "position needs three finite"},
        {"v 0 0 0\nv 1 0 0\nf 1 2\n", "at least three corners"},
        {"v 0 0 0\nf 1 1x 1\n", "unexpected text"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        CObjLoader loader;
        t3DModel model;
        EXPECT_FALSE(Load(loader, model, c.text));
        EXPECT_NE(loader.GetLastError().find(c.message), std::string::npos)
            << loader.GetLastError();
        EXPECT_EQ(model.numOfObjects, 0);
        EXPECT_TRUE(model.pObject.empty());
        EXPECT_EQ(model.numOfVertices, 0);
    }
}
