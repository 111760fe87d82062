#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "render3d/CShadowVolume.h"
#include "test_entity.h"

using zarvo_test::Cube;
using zarvo_test::TestMesh;

namespace {

// The edge bookkeeping as a plain front-to-back search of the edge list: the
// definition the hashed lookup must reproduce record for record.
struct QuadraticEdges {
    std::vector<CShadowVolume::edge> edges;
    void Add(int a, int b) {
        for (auto& e : edges) {
            if (e.unique && ((e.a == a && e.b == b) || (e.a == b && e.b == a))) {
                e.unique = false;
                return;
            }
        }
        edges.push_back({a, b, true});
    }
};

void ExpectSameRecords(const std::vector<CShadowVolume::edge>& expected,
                       const std::vector<CShadowVolume::edge>& actual) {
    ASSERT_EQ(expected.size(), actual.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(expected[i].a, actual[i].a) << "record " << i;
        EXPECT_EQ(expected[i].b, actual[i].b) << "record " << i;
        EXPECT_EQ(expected[i].unique, actual[i].unique) << "record " << i;
    }
}

} // namespace

TEST(ShadowVolumeEdges, HashedLookupMatchesLinearSearchOnRandomEdgeStreams) {
    std::mt19937 rng(1234);
    for (int round = 0; round < 200; ++round) {
        const int vertexCount = 3 + int(rng() % 40);
        const int edgeCount = int(rng() % 600);
        CShadowVolume volume;
        QuadraticEdges reference;
        for (int i = 0; i < edgeCount; ++i) {
            const int a = int(rng() % vertexCount);
            const int b = int(rng() % vertexCount);
            volume.addEdge3DS(a, b);
            reference.Add(a, b);
        }
        ExpectSameRecords(reference.edges, volume.GetEdges());
        EXPECT_EQ(reference.edges.size(), volume.GetEdgeCount());
    }
}

TEST(ShadowVolumeEdges, ThirdFaceOnAnEdgeMakesItUniqueAgain) {
    CShadowVolume volume;
    volume.addEdge3DS(1, 2);
    volume.addEdge3DS(2, 1);
    volume.addEdge3DS(1, 2);
    ASSERT_EQ(2u, volume.GetEdgeCount());
    EXPECT_FALSE(volume.GetEdges()[0].unique);
    EXPECT_TRUE(volume.GetEdges()[1].unique);
    volume.addEdge(7, 2, 1); // the XML variant keeps the same books
    EXPECT_FALSE(volume.GetEdges()[1].unique);
}

TEST(ShadowVolumeEdges, RebuildsMatchLinearSearchOnRandomMeshes) {
    std::mt19937 rng(99);
    std::uniform_real_distribution<float> coord(-5.f, 5.f);
    for (int round = 0; round < 30; ++round) {
        TestMesh mesh;
        const int n = 4 + int(rng() % 60);
        for (int i = 0; i < n; ++i)
            mesh.verts.push_back(CVector3(coord(rng), coord(rng), coord(rng)));
        for (int i = 0; i < 3 * n; ++i)
            mesh.AddTriangle(int(rng() % n), int(rng() % n), int(rng() % n));
        CVector3 light(coord(rng) * 20, 40.f, coord(rng) * 20);
        CVector3 position, size(1, 1, 1), axis(0, 1, 0);
        CShadowVolume volume;
        // Build twice: the second build must start from empty books.
        volume.buildShadowV3DS(mesh.Object(), light, position, size, 30.f, axis);
        volume.buildShadowV3DS(mesh.Object(), light, position, size, 30.f, axis);

        QuadraticEdges reference;
        size_t uniqueCount = 0;
        for (const tFace& f : mesh.faces) {
            if (Dot(f.normal, light) < 0.1f) continue;
            reference.Add(f.vertIndex[0], f.vertIndex[1]);
            reference.Add(f.vertIndex[1], f.vertIndex[2]);
            reference.Add(f.vertIndex[2], f.vertIndex[0]);
        }
        for (const auto& e : reference.edges)
            uniqueCount += e.unique;
        ExpectSameRecords(reference.edges, volume.GetEdges());
        EXPECT_EQ(uniqueCount * 6, volume.GetVolumeVertexCount());
    }
}

TEST(ShadowVolumeBuild, ClosedCubeLitFromAboveGivesARingOfFourWalls) {
    TestMesh cube = Cube();
    CVector3 light(0, 100, 0), position(0, 0, 0), size(1, 1, 1), axis(0, 1, 0);
    CShadowVolume volume;
    volume.buildShadowV3DS(cube.Object(), light, position, size, 0.f, axis);
    // Only the top face is lit: its four outline edges are the silhouette.
    ASSERT_EQ(24u, volume.GetVolumeVertexCount());
    const auto& v = volume.GetVolumeVertices();
    for (unsigned i = 0; i < volume.GetVolumeVertexCount(); i += 6) {
        EXPECT_FLOAT_EQ(1.f, v[i].y);            // P1 on the top face
        EXPECT_LT(v[i + 2].y, -1000.f);          // E1 pushed far below, away from the light
        EXPECT_FLOAT_EQ(v[i + 1].x, v[i + 3].x); // P2 starts the second triangle
    }
}

TEST(ShadowVolumeBuild, LightAtOriginLightsNothing) {
    TestMesh cube = Cube();
    CVector3 light(0, 0, 0), position(0, 5, 0), size(1, 1, 1), axis(0, 1, 0);
    CShadowVolume volume;
    volume.buildShadowV3DS(cube.Object(), light, position, size, 0.f, axis);
    EXPECT_EQ(0u, volume.GetVolumeVertexCount());
    EXPECT_EQ(0u, volume.GetEdgeCount());
}

TEST(ShadowVolumeBuild, WallsFollowScaleRotationAndTranslation) {
    TestMesh cube = Cube();
    CVector3 light(0, 100, 0), position(10, 0, 0), size(2, 1, 1), axis(0, 1, 0);
    CShadowVolume volume;
    volume.buildShadowV3DS(cube.Object(), light, position, size, 90.f, axis);
    ASSERT_EQ(24u, volume.GetVolumeVertexCount());
    float minZ = 1e9f, maxZ = -1e9f;
    for (unsigned i = 0; i < 24; i += 6) {
        for (unsigned k : {0u, 1u}) {
            const vertex& v = volume.GetVolumeVertices()[i + k];
            EXPECT_NEAR(10.f, v.x, 1.0001f); // the scaled x extent (4) is turned onto z
            minZ = std::min(minZ, v.z);
            maxZ = std::max(maxZ, v.z);
        }
    }
    EXPECT_NEAR(-2.f, minZ, 1e-4f);
    EXPECT_NEAR(2.f, maxZ, 1e-4f);
}

TEST(ShadowVolumeBuild, OutOfRangeFaceIndicesAreSkipped) {
    TestMesh cube = Cube();
    cube.faces[0].vertIndex[1] = 800;
    cube.faces[1].vertIndex[2] = -3;
    CVector3 light(0, 0, 100), position, size(1, 1, 1), axis(0, 1, 0);
    CShadowVolume volume;
    volume.buildShadowV3DS(cube.Object(), light, position, size, 0.f, axis);
    for (const auto& e : volume.GetEdges()) {
        EXPECT_GE(e.a, 0);
        EXPECT_LT(e.a, 8);
        EXPECT_GE(e.b, 0);
        EXPECT_LT(e.b, 8);
    }
}

TEST(ShadowVolumeMD2, EmptyOnFirstBuildPresentFromSecondAndNormalsFrozen) {
    TestMesh frame = Cube();
    t3DObject& obj = frame.Object();
    CVector3 light(0, 100, 0), position, size(1, 1, 1), axis(0, 1, 0);
    CShadowVolume volume;
    volume.buildShadowMD2(&obj, &obj, &obj, 0.f, &light, &position, &size, 0.f, axis);
    EXPECT_EQ(0u, volume.GetVolumeVertexCount());
    EXPECT_TRUE(volume.AreNormalsNeeded());

    volume.buildShadowMD2(&obj, &obj, &obj, 0.f, &light, &position, &size, 0.f, axis);
    EXPECT_EQ(24u, volume.GetVolumeVertexCount());
    EXPECT_FALSE(volume.AreNormalsNeeded());

    // Turning the model later does not turn the stored normals (the +x side keeps
    // facing +x), while a 3DS mesh's normals follow the current angle.
    const CVector3 side = frame.faces[10].normal;
    volume.buildShadowMD2(&obj, &obj, &obj, 0.f, &light, &position, &size, 90.f, axis);
    EXPECT_FLOAT_EQ(side.x, frame.faces[10].normal.x);
    EXPECT_FLOAT_EQ(side.z, frame.faces[10].normal.z);

    CShadowVolume meshVolume;
    meshVolume.buildShadowV3DS(frame.Object(), light, position, size, 90.f, axis);
    EXPECT_NEAR(0.f, frame.faces[10].normal.x, 1e-6f);
    EXPECT_NEAR(1.f, std::fabs(frame.faces[10].normal.z), 1e-6f);
}

TEST(ShadowVolumeMD2, InterpolatesBetweenFrames) {
    TestMesh current = Cube();
    TestMesh next = Cube();
    for (auto& v : next.verts)
        v.y += 2.f;
    CVector3 light(0, 100, 0), position, size(1, 1, 1), axis(0, 1, 0);
    CShadowVolume volume;
    t3DObject& cur = current.Object();
    t3DObject& nxt = next.Object();
    volume.buildShadowMD2(&cur, &cur, &nxt, 0.5f, &light, &position, &size, 0.f, axis);
    volume.buildShadowMD2(&cur, &cur, &nxt, 0.5f, &light, &position, &size, 0.f, axis);
    ASSERT_EQ(24u, volume.GetVolumeVertexCount());
    EXPECT_FLOAT_EQ(2.f, volume.GetVolumeVertices()[0].y); // halfway between 1 and 3
}

TEST(ShadowVolumeXML, QuadFacesExtrudeAlongTheLastLitFace) {
    T3DModel model;
    T3DModelObject object;
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
        vertex v{};
        v.x = c[0];
        v.z = -c[1];
        object.vertices.push_back(v);
    }
    T3DFace quad{};
    quad.a = 0, quad.b = 1, quad.c = 2, quad.d = 3;
    object.faces.push_back(quad);
    model.objects.push_back(object);
    CVector3 position(0, 2, 0);
    CShadowVolume volume;
    volume.buildShadowVolume(&model, CVector3(0, 10, 0), &position);
    EXPECT_NEAR(1.f, model.objects[0].faces[0].normal.y, 1e-6f);
    ASSERT_EQ(24u, volume.GetVolumeVertexCount());
    // Every wall uses the one extrusion (position + first vertex) - light.
    const vertex& p1 = volume.GetVolumeVertices()[0];
    const vertex& e1 = volume.GetVolumeVertices()[2];
    EXPECT_FLOAT_EQ(p1.y + (2.f - 10.f) * 1000.f, e1.y);
}
