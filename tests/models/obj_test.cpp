#include <gtest/gtest.h>

#include "model_fixtures.h"
#include "models/CObj.h"

using namespace model_test;

namespace {

bool Load(CObjLoader& loader, t3DModel& model, const std::string& text) {
    return loader.ImportObjFromMemory(&model, text.data(), text.size());
}

// Corner k of triangle f of a mesh.
CVector3 Corner(const t3DObject& mesh, int f, int k) {
    return mesh.pVerts[mesh.pFaces[f].vertIndex[k]];
}

} // namespace

TEST(CObjLoader, CorpusFilesLoadWithTheirTrianglesAndBounds) {
    ZARVO_REQUIRE_CORPUS();
    const struct {
        const char* file;
        int meshes, triangles;
        float min[3], max[3];
    } cases[] = {
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
        {"polygons_mixed.obj", 3, 29, {-1, -1, -1}, {5, 3, 5}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        CObjLoader loader;
        Model model;
        ASSERT_TRUE(Load(loader, model, Corpus(c.file))) << loader.GetLastError();
        int triangles = 0;
        for (const t3DObject& mesh : model.pObject)
            triangles += mesh.numOfFaces;
        EXPECT_EQ(Ints({model.numOfObjects, triangles, model.numOfVertices}),
                  Ints({c.meshes, c.triangles, c.triangles * 3}));
        ExpectNear3(model.boundingBox.min, c.min[0], c.min[1], c.min[2]);
        ExpectNear3(model.boundingBox.max, c.max[0], c.max[1], c.max[2]);
    }
}

TEST(CObjLoader, RelativeIndicesPolygonsAndBackReferencesResolveAsObjMeansThem) {
    ZARVO_REQUIRE_CORPUS();
    CObjLoader loader;
    Model model;
    ASSERT_TRUE(Load(loader, model, Corpus("polygons_mixed.obj")));
    // Cube: "f -8//-6 -5//-6 -6//-6 -7//-6" is vertices 1 4 3 2, fanned from vertex 1.
    const t3DObject& cube = model.pObject[0];
    ExpectNear3(Corner(cube, 0, 0), -1, -1, -1);
    ExpectNear3(Corner(cube, 0, 1), -1, 1, -1);
    ExpectNear3(Corner(cube, 1, 1), 1, 1, -1);
    ExpectNear3(Corner(cube, 1, 2), 1, -1, -1);
    // Prism: the pentagon "f 9/1 10/2 11/3 12/4 13/5" keeps its texture corners.
    const t3DObject& prism = model.pObject[1];
    EXPECT_TRUE(prism.bHasTexture);
    EXPECT_FLOAT_EQ(prism.pTexVerts[prism.pFaces[2].coordIndex[2]].x, 0.6545f);
    ExpectNear3(Corner(prism, 2, 2), 4.309f, -0.9511f, 3.0f);
    // Back reference: "f 1 2 19" in the third group uses the cube's first two vertices.
    const t3DObject& back = model.pObject[2];
    ExpectNear3(Corner(back, 0, 0), -1, -1, -1);
    ExpectNear3(Corner(back, 0, 1), 1, -1, -1);
    ExpectNear3(Corner(back, 0, 2), 0, 3, 0);
}

TEST(CObjLoader, MeshesSplitAtVerticesAfterFacesAndRebaseOnTheirFirstFace) {
    CObjLoader loader;
    Model model;
    ASSERT_TRUE(Load(loader, model,
                     "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 0\nf 1 2 3\n"
                     "v 0 0 1\nv 1 0 1\nv 0 1 1\nvt 0 0\nvt 1 0\nvt 0 1\n"
                     "f 5/1 6/2 7/3\n\tf  5/1\t7/3 6 \r\n"));
    ASSERT_EQ(model.numOfObjects, 2);
    const t3DObject& second = model.pObject[1];
    EXPECT_EQ(Ints({model.pObject[0].numOfVerts, second.numOfVerts, second.numOfFaces}),
              Ints({4, 3, 2}));
    const tFace& f = second.pFaces[0];
    EXPECT_EQ(Ints({f.vertIndex[0], f.vertIndex[1], f.vertIndex[2], f.coordIndex[0],
                    f.coordIndex[1], f.coordIndex[2]}),
              Ints({0, 1, 2, 0, 1, 2}));
    // A corner without a coordinate in a textured mesh samples one appended zero.
    ASSERT_EQ(second.numTexVertex, 4);
    EXPECT_EQ(second.pFaces[1].coordIndex[2], 3);
    EXPECT_EQ(second.pTexVerts[3].x, 0.0f);
    // Face and vertex normals: the counter-clockwise triangle faces +z.
    ExpectNear3(model.pObject[0].pFaces[0].normal, 0, 0, 1);
    ExpectNear3(model.pObject[0].pNormals[0], 0, 0, 1);
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
        {"v 0 0 0\nf 1 1x 1\n", "unexpected text"}};
    for (const auto& c : cases) {
        CObjLoader loader;
        Model model;
        ExpectRefused(Load(loader, model, c.text), loader.GetLastError(), c.message, model);
    }
}

TEST(CObj, IntersectTriangleIsTwoSidedAndMissesEdgeOn) {
    const CVector3 a(0, 0, 0), b(1, 0, 0), c(0, 1, 0);
    const struct {
        CVector3 origin, dir;
        int hit;
    } cases[] = {{{0.25f, 0.25f, 2}, {0, 0, -1}, 1},
                 {{0.25f, 0.25f, -2}, {0, 0, 1}, 1}, // from behind
                 {{-1, 0.25f, 0}, {1, 0, 0}, 0},     // edge-on: det is 0
                 {{0.9f, 0.9f, 2}, {0, 0, -1}, 0}};
    for (const auto& ray : cases) {
        double t = 0, u = 0, v = 0;
        EXPECT_EQ(CObj::intersect_triangle(ray.origin, ray.dir, a, b, c, &t, &u, &v), ray.hit);
        if (ray.hit) {
            EXPECT_NEAR(t, 2.0, 1e-6);
            EXPECT_NEAR(u, 0.25, 1e-6);
        }
    }
}

TEST(CObj, RayHitsAreShadedWithTheFaceNormalAtTheNearestFace) {
    // A quad of side 2 facing down (-y), the side the default light (above) does not
    // see, so L . N with L = hit - light is positive.
    std::string path = TempFile("quad.obj", "v -1 0 -1\nv 1 0 -1\nv 1 0 1\nv -1 0 1\nf 1 2 3 4\n");
    CObj obj;
    ASSERT_TRUE(obj.Init(&path[0], nullptr));
    obj.SetPosition(0, 3, 0);
    CRay ray = MakeRay({0.2f, -5, 0.1f}, {0, 1, 0});
    obj.CheckRayHit(ray);
    ASSERT_TRUE(ray.isHit());
    EXPECT_NEAR(ray.GetDistance(), 8.0f, 1e-4f);
    // The light lies straight along the face normal: full intensity.
    ExpectNear3(CVector3(ray.GetColorR(), ray.GetColorG(), ray.GetColorB()), 0.8f, 0.2f, 0.4f,
                1e-4f);
    CRay miss = MakeRay({5, -5, 0}, {0, 1, 0});
    obj.CheckRayHit(miss);
    EXPECT_FALSE(miss.isHit());
}

TEST(CObj, AFileThatFailsLeavesAnEmptyModel) {
    std::string missing = zarvo_test::MakeTempDir("obj") + "/missing.obj";
    char texture[] = "never_loaded.tga";
    CObj obj;
    bool ok = true;
    Quiet([&] { ok = obj.Init(&missing[0], texture); });
    EXPECT_FALSE(ok);
    EXPECT_EQ(
        obj.GetModelVertexNum() + obj.getModel()->numOfObjects + obj.getModel()->numOfMaterials, 0);
    EXPECT_EQ(obj.GetBoundingBoxMinPoint()->x, obj.GetBoundingBoxMaxPoint()->x);
    obj.BuildShadowVolume(CVector3(0, 10, 0));
    EXPECT_TRUE(obj.GetShadowVolumes().empty());
}
