#include "models/CTObject.h"

#include <gtest/gtest.h>

#include <fstream>

#include "math/CRay.h"
#include "render3d/C3DGameObject.h"
#include "support/test_paths.h"

namespace {

int NoTexture(const std::string&) {
    return -1;
}

// A unit floor quad facing up (a, b, c at z > x; c, d, a at z < x) and a triangle
// beside it, both of diffuse (1, 0.5, 0.25).
const char* const kFloor =
    "<ZarvoModelFormat><model name='f' numsubobjects='1' nummaterials='1' "
    "numofparallaxmap='0'><material name='m' opacity='1'><ambient r='0' g='0' b='0' a='1'/>"
    "<diffuse r='1' g='0.5' b='0.25' a='1'/><specular r='0' g='0' b='0' a='1'/></material>"
    "<object name='o' numvertices='7' numfaces='2'>"
    "<vertex x='-1' y='0' z='-1'/><vertex x='-1' y='0' z='1'/><vertex x='1' y='0' z='1'/>"
    "<vertex x='1' y='0' z='-1'/><vertex x='3' y='0' z='-1'/><vertex x='3' y='0' z='1'/>"
    "<vertex x='5' y='0' z='1'/>"
    "<face a='0' b='1' c='2' d='3' materialindex='0'/><face a='4' b='5' c='6' "
    "materialindex='0'/></object></model></ZarvoModelFormat>";

bool LoadFloor(CTObject& object, const char* xml) {
    const std::string path = zarvo_test::MakeTempDir("tobject") + "/floor.xml";
    std::ofstream(path, std::ios::binary) << xml;
    CTObjectLoader loader;
    loader.SetTextureLoader(NoTexture);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool ok = object.Init(path.c_str(), loader);
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return ok;
}

CRay Down(float x, float z) {
    CRay ray;
    ray.SetOrigin(x, 10, z);
    ray.SetDirection(0, -1, 0);
    return ray;
}

TEST(CTObject, RayHitsColourFaces) {
    CTObject floor;
    ASSERT_TRUE(LoadFloor(floor, kFloor));
    EXPECT_EQ(floor.GetModelVertexNum(), 7);

    // First triangle of the quad: diffuse times the light term, the light (no light
    // manager: straight above) shining onto the face.
    CRay lit = Down(-0.5f, 0.5f);
    floor.CheckRayHit(lit);
    ASSERT_TRUE(lit.isHit());
    EXPECT_GT(lit.GetColorR(), 0.99f);
    EXPECT_NEAR(lit.GetColorG(), 0.5f, 0.01f);
    EXPECT_FLOAT_EQ(lit.GetDistance(), 10.0f);
    // Second triangle of the quad and a triangle face: the plain diffuse colour.
    for (float x : {0.5f, 3.5f}) {
        CRay ray = Down(x, x < 1 ? -0.5f : 0.5f);
        floor.CheckRayHit(ray);
        ASSERT_TRUE(ray.isHit()) << x;
        EXPECT_FLOAT_EQ(ray.GetColorB(), 0.25f);
    }
    // A face behind the ray's origin is not hit.
    CRay away = Down(0.5f, -0.5f);
    away.SetDirection(0, 1, 0);
    floor.CheckRayHit(away);
    EXPECT_FALSE(away.isHit());
}

TEST(CTObject, FailedLoadsLeaveAnEmptyObjectThatStillWorks) {
    CTObject broken;
    std::string bad = kFloor;
    bad.replace(bad.find("c='6'"), 5, "c='60'");
    EXPECT_FALSE(LoadFloor(broken, bad.c_str()));
    EXPECT_FALSE(broken.IsLoaded());
    EXPECT_EQ(broken.GetModelVertexNum(), 0);
    EXPECT_EQ(broken.GetTransformedModelLevelBBMaxPoint()->x, 0.0f);
    // No GL context here: drawing an empty model must not reach GL at all.
    broken.Draw(true);
    broken.DrawParallax(true);
    broken.DrawBoundingBox();
    broken.BuildShadowVolume(CVector3(0, 10, 0));
    broken.RenderToStencilV();
    CRay ray = Down(0, 0);
    broken.CheckRayHit(ray);
    EXPECT_FALSE(ray.isHit());

    // Through the scene object: the program goes on, the object is empty.
    C3DGameObject object;
    char missing[] = "/nonexistent/model.xml";
    testing::internal::CaptureStderr();
    object.LoadZarvoModel(missing);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Error: File not found"),
              std::string::npos);
    EXPECT_EQ(object.GetModelKind(), MODEL_KIND_ZARVO);
    ASSERT_NE(object.GetModel(), nullptr);
    EXPECT_EQ(object.GetObjectVertexNum(), 0);
    object.SetPosition(5, 5, 5);
    object.CheckRayHit(ray);
    EXPECT_FALSE(ray.isHit());
}

} // namespace
