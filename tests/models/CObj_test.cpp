#include "models/CObj.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "math/CRay.h"
#include "support/test_paths.h"

namespace {

// A quad of side 2 at height y facing down (-y), the side the default light (above)
// does not see, so L . N with L = hit - light is positive.
std::string WriteQuadFile(float y) {
    const std::string path = zarvo_test::MakeTempDir("obj") + "/quad.obj";
    std::ofstream(path) << "v -1 " << y << " -1\nv 1 " << y << " -1\nv 1 " << y << " 1\nv -1 " << y
                        << " 1\nf 1 2 3 4\n";
    return path;
}

} // namespace

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
    std::string path = WriteQuadFile(0);
    CObj obj;
    ASSERT_TRUE(obj.Init(&path[0], nullptr));
    obj.SetPosition(0, 3, 0);
    CRay ray;
    ray.SetOrigin(0.2f, -5, 0.1f);
    ray.SetDirection(0, 1, 0);
    obj.CheckRayHit(ray);
    ASSERT_TRUE(ray.isHit());
    EXPECT_NEAR(ray.GetDistance(), 8.0f, 1e-4f);
    // The light (default above) lies straight along the face normal: full intensity.
    EXPECT_NEAR(ray.GetColorR(), 0.8f, 1e-4f);
    EXPECT_NEAR(ray.GetColorG(), 0.2f, 1e-4f);
    EXPECT_NEAR(ray.GetColorB(), 0.4f, 1e-4f);

    CRay miss;
    miss.SetOrigin(5, -5, 0);
    miss.SetDirection(0, 1, 0);
    obj.CheckRayHit(miss);
    EXPECT_FALSE(miss.isHit());
}

TEST(CObj, AFileThatFailsLeavesAnEmptyModel) {
    std::string missing = zarvo_test::MakeTempDir("obj") + "/missing.obj";
    char texture[] = "never_loaded.tga";
    CObj obj;
    EXPECT_FALSE(obj.Init(&missing[0], texture));
    EXPECT_EQ(obj.GetModelVertexNum() + obj.getModel()->numOfObjects, 0);
    EXPECT_EQ(obj.getModel()->numOfMaterials, 0);
    EXPECT_EQ(obj.GetBoundingBoxMinPoint()->x, obj.GetBoundingBoxMaxPoint()->x);
    obj.BuildShadowVolume(CVector3(0, 10, 0));
    EXPECT_TRUE(obj.GetShadowVolumes().empty());
}
