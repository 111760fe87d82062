#include "models/CObj.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "support/gl_context.h"
#include "support/test_paths.h"

namespace {

constexpr int kSize = 64;

// A 2 x 2 red true-colour TGA.
std::string WriteRedTga(const std::string& dir) {
    const std::string path = dir + "/red.tga";
    std::string tga(18, '\0');
    tga[2] = 2;
    tga[12] = 2;
    tga[14] = 2;
    tga[16] = 24;
    for (int i = 0; i < 4; ++i)
        tga += std::string("\x00\x00\xff", 3);
    std::ofstream(path, std::ios::binary) << tga;
    return path;
}

} // namespace

TEST(CObjGL, DrawsItsTextureWhereItIsAndSkipsMeshesOutsideTheView) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    const std::string dir = zarvo_test::MakeTempDir("objgl");
    std::string texture = WriteRedTga(dir);
    std::string file = dir + "/two.obj";
    // Two textured quads facing +z: one at the origin, one far to the side.
    std::ofstream(file) << "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                           "v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nf 1/1 2/2 3/3 4/4\n"
                           "v 499 -1 0\nv 501 -1 0\nv 501 1 0\nv 499 1 0\nf -4/1 -3/2 -2/3 -1/4\n";
    CObj obj;
    ASSERT_TRUE(obj.Init(&file[0], &texture[0]));
    ASSERT_EQ(obj.getModel()->numOfObjects, 2);
    ASSERT_NE(obj.GetTexture(), 0u);

    zarvo_test::PopMatrixStacksToBase();
    const float black[3] = {0, 0, 0};
    const double eye[3] = {0, 0, 5}, origin[3] = {0, 0, 0};
    zarvo_test::LookAt(kSize, 100.0, black, eye, origin);
    glDisable(GL_LIGHTING);
    CFrustum frustum;
    frustum.CalculateFrustum();
    obj.DrawVBO(true, &frustum);
    EXPECT_EQ(obj.GetDrawnMeshCount(), 1);
    zarvo_test::Rgba centre = zarvo_test::ReadPixelTopDown(kSize / 2, kSize / 2);
    EXPECT_GT(centre.r, 200);
    EXPECT_LT(centre.g, 40);
    EXPECT_LT(centre.b, 40);
    // Beside the quad stays clear.
    EXPECT_LT(zarvo_test::ReadPixelTopDown(2, 2).r, 20);

    // Untextured, the immediate draw shows the same quad in white.
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    obj.Draw(false);
    centre = zarvo_test::ReadPixelTopDown(kSize / 2, kSize / 2);
    EXPECT_GT(centre.g, 200);
    glDisable(GL_TEXTURE_2D);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}
