#include "models/3dsObject.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model_builders.h"
#include "render3d/CShadowVolume.h"
#include "support/test_paths.h"

using namespace model_test;

TEST(C3DSObject, TexturePathsAreFolderAndNameJoinedAsTheyStand) {
    EXPECT_EQ(C3DSObject::TexturePath("Data/Models/demo/", "floor.bmp"),
              "Data/Models/demo/floor.bmp");
    EXPECT_EQ(C3DSObject::TexturePath("Data/Models/demo", "floor.bmp"),
              "Data/Models/demofloor.bmp");
}

TEST(C3DSObject, MoreThanTenMaterialsAllGetTheirTextures) {
    std::string chunks;
    for (int i = 0; i < 12; ++i)
        chunks += Material("m" + std::to_string(i), "t" + std::to_string(i) + ".bmp");
    chunks += TriangleMesh("tri", "m11");
    std::string path = zarvo_test::MakeTempDir("3ds") + "/many.3ds";
    std::ofstream(path, std::ios::binary) << Build3ds(chunks);
    C3DSObject object;
    char folder[] = "tex/";
    testing::internal::CaptureStdout();
    object.Init(folder, &path[0], false);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("tex/t0.bmp\n"), std::string::npos);
    EXPECT_NE(out.find("tex/t11.bmp\n"), std::string::npos);
    ASSERT_EQ(object.getModel()->numOfMaterials, 12);
    EXPECT_EQ(object.getModel()->pMaterials[11].texureId, 11);
    EXPECT_EQ(object.getModel()->pObject[0].materialID, 11);
    EXPECT_EQ(object.GetModelVertexNum(), 3);
}

TEST(C3DSObject, SphereCentreAndWorldBoxFollowThePlacement) {
    std::string path = zarvo_test::MakeTempDir("3ds") + "/tri.3ds";
    std::ofstream(path, std::ios::binary) << Build3ds(TriangleMesh());
    C3DSObject object;
    char folder[] = "";
    object.Init(folder, &path[0], false);
    object.SetSize(2, 2, 2);
    object.SetPosition(5, 0, 0);
    EXPECT_FLOAT_EQ(object.GetBoundingSphereCenter().x, 2.0f / 3 + 5);
    EXPECT_FLOAT_EQ(object.GetBoundingBoxMaxPoint()->x, 7.0f);
    EXPECT_FLOAT_EQ(object.GetBoundingBoxMinPoint()->x, 5.0f);
}

TEST(C3DSObject, ShadowVolumesAreMadeOncePerMeshAndRebuiltInPlace) {
    std::string path = zarvo_test::MakeTempDir("3ds") + "/two.3ds";
    std::ofstream(path, std::ios::binary) << Build3ds(TriangleMesh("a") + TriangleMesh("b"));
    C3DSObject object;
    char folder[] = "";
    object.Init(folder, &path[0], false);
    object.BuildShadowVolume(CVector3(0, 0, 10)); // lights the triangle's face
    ASSERT_EQ(object.GetShadowVolumes().size(), 2u);
    const CShadowVolume* first = object.GetShadowVolumes()[0];
    // A lone lit triangle: three silhouette edges, two wall triangles each.
    EXPECT_EQ(first->GetVolumeVertexCount(), 18u);
    object.BuildShadowVolume(CVector3(0, 0, 0)); // a light at the origin lights nothing
    ASSERT_EQ(object.GetShadowVolumes().size(), 2u);
    EXPECT_EQ(object.GetShadowVolumes()[0], first);
    EXPECT_EQ(first->GetVolumeVertexCount(), 0u);
}
