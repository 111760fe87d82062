#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

#include "render3d/CShadowVolume.h"
#include "test_entity.h"

using zarvo_test::Cube;
using zarvo_test::TestMesh;

namespace {

using Records = std::vector<std::tuple<int, int, bool>>;

// The edge books as a linear search: what the hashed lookup must reproduce.
void AddLinear(Records& edges, int a, int b) {
    for (auto& e : edges)
        if (std::get<2>(e) && ((std::get<0>(e) == a && std::get<1>(e) == b) ||
                               (std::get<0>(e) == b && std::get<1>(e) == a))) {
            std::get<2>(e) = false;
            return;
        }
    edges.emplace_back(a, b, true);
}

Records RecordsOf(const CShadowVolume& volume) {
    Records r;
    for (const auto& e : volume.GetEdges())
        r.emplace_back(e.a, e.b, e.unique);
    return r;
}

const CVector3 kAbove(0, 100, 0), kUnit(1, 1, 1), kYAxis(0, 1, 0);

void Build(CShadowVolume& volume, TestMesh& mesh, CVector3 light, CVector3 at = CVector3(),
           CVector3 size = kUnit, float angle = 0) {
    CVector3 axis = kYAxis;
    volume.buildShadowV3DS(mesh.Object(), light, at, size, angle, axis);
}

} // namespace

TEST(ShadowVolumeEdges, HashedLookupMatchesLinearSearchOnRandomMeshes) {
    std::mt19937 rng(1234);
    std::uniform_real_distribution<float> coord(-5.f, 5.f);
    for (int round = 0; round < 100; ++round) {
        TestMesh mesh;
        const int n = 4 + int(rng() % 60);
        for (int i = 0; i < n; ++i)
            mesh.verts.push_back(CVector3(coord(rng), coord(rng), coord(rng)));
        for (int i = 0; i < 3 * n; ++i)
            mesh.AddTriangle(int(rng() % n), int(rng() % n), int(rng() % n));
        const CVector3 light(coord(rng) * 20, 40.f, coord(rng) * 20);
        CShadowVolume volume;
        // Built twice: the second build must start from empty books.
        for (int build = 0; build < 2; ++build)
            Build(volume, mesh, light, CVector3(), kUnit, 30.f);
        Records reference;
        for (const tFace& f : mesh.faces)
            for (int k = 0; k < 3 && Dot(f.normal, light) >= 0.1f; ++k)
                AddLinear(reference, f.vertIndex[k], f.vertIndex[(k + 1) % 3]);
        const auto unique = std::count_if(reference.begin(), reference.end(),
                                          [](const auto& e) { return std::get<2>(e); });
        ASSERT_EQ(reference, RecordsOf(volume)) << "mesh " << round;
        EXPECT_TRUE(reference.size() == volume.GetEdgeCount() &&
                    size_t(unique) * 6 == volume.GetVolumeVertexCount());
    }
}

TEST(ShadowVolumeBuild, CubeWallsFollowTheLightAndThePlacement) {
    TestMesh cube = Cube();
    CShadowVolume volume;
    // Lit from above: the top outline's walls, scaled 2 on x, turned 90 and moved to x = 10.
    Build(volume, cube, kAbove, CVector3(10, 0, 0), CVector3(2, 1, 1), 90.f);
    ASSERT_EQ(24u, volume.GetVolumeVertexCount());
    const auto& v = volume.GetVolumeVertices();
    float minZ = 1e9f, maxZ = -1e9f;
    for (unsigned i = 0; i < 24; ++i)
        if (i % 6 < 2) {
            EXPECT_TRUE(std::fabs(v[i].x - 10.f) < 1.0001f && v[i].y == 1.f &&
                        v[i - i % 6 + 2].y < -1000.f);
            minZ = std::min(minZ, v[i].z);
            maxZ = std::max(maxZ, v[i].z);
        }
    EXPECT_TRUE(std::fabs(minZ + 2.f) < 1e-4f && std::fabs(maxZ - 2.f) < 1e-4f) << minZ << maxZ;
    Build(volume, cube, CVector3(), CVector3(0, 5, 0));
    EXPECT_TRUE(volume.GetVolumeVertexCount() == 0u && volume.GetEdgeCount() == 0u);
    // Faces pointing outside the vertex array are skipped, not read.
    cube.faces[0].vertIndex[1] = 800;
    cube.faces[1].vertIndex[2] = -3;
    Build(volume, cube, CVector3(0, 0, 100));
    for (const auto& e : volume.GetEdges())
        EXPECT_TRUE(e.a >= 0 && e.a < 8 && e.b >= 0 && e.b < 8) << e.a << "-" << e.b;
}

TEST(ShadowVolumeMD2, EmptyOnFirstBuildThenInterpolatedWithFrozenNormals) {
    TestMesh frame = Cube(), next = Cube();
    for (auto& v : next.verts)
        v.y += 2.f;
    t3DObject &cur = frame.Object(), &nxt = next.Object();
    CVector3 light = kAbove, position, size = kUnit;
    CShadowVolume volume;
    volume.buildShadowMD2(&cur, &cur, &nxt, 0.5f, &light, &position, &size, 0.f, kYAxis);
    EXPECT_TRUE(volume.GetVolumeVertexCount() == 0u && volume.AreNormalsNeeded());
    volume.buildShadowMD2(&cur, &cur, &nxt, 0.5f, &light, &position, &size, 0.f, kYAxis);
    ASSERT_TRUE(volume.GetVolumeVertexCount() == 24u && !volume.AreNormalsNeeded());
    EXPECT_FLOAT_EQ(2.f, volume.GetVolumeVertices()[0].y); // halfway between 1 and 3

    // Turning later leaves the stored normals; a 3DS mesh's follow the current angle.
    const CVector3 side = frame.faces[10].normal;
    volume.buildShadowMD2(&cur, &cur, &cur, 0.f, &light, &position, &size, 90.f, kYAxis);
    EXPECT_TRUE(side.x == frame.faces[10].normal.x && side.z == frame.faces[10].normal.z);
    CShadowVolume meshVolume;
    Build(meshVolume, frame, light, position, size, 90.f);
    EXPECT_NEAR(1.f, std::fabs(frame.faces[10].normal.z), 1e-6f);
}

TEST(ShadowVolumeXML, QuadFacesExtrudeAlongTheLastLitFace) {
    T3DModel model;
    T3DModelObject object;
    object.vertices.resize(4);
    for (int c = 0; c < 4; ++c) {
        object.vertices[c].x = c == 1 || c == 2 ? 1.f : -1.f;
        object.vertices[c].z = c < 2 ? 1.f : -1.f;
    }
    object.faces.push_back(T3DFace{});
    object.faces[0].b = 1;
    object.faces[0].c = 2;
    object.faces[0].d = 3;
    model.objects.push_back(object);
    CVector3 position(0, 2, 0);
    CShadowVolume volume;
    volume.buildShadowVolume(&model, CVector3(0, 10, 0), &position);
    EXPECT_NEAR(1.f, model.objects[0].faces[0].normal.y, 1e-6f);
    ASSERT_EQ(24u, volume.GetVolumeVertexCount());
    // Every wall uses the one extrusion (position + first vertex) - light.
    EXPECT_FLOAT_EQ(volume.GetVolumeVertices()[0].y + (2.f - 10.f) * 1000.f,
                    volume.GetVolumeVertices()[2].y);
}
