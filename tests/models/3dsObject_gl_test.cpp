#include "models/3dsObject.h"

#include <gtest/gtest.h>

#include <GL/glu.h>

#include <fstream>

#include "model_builders.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

constexpr int kSize = 64;

// A quad facing +z at the given x, as two triangles.
std::string Quad(const std::string& name, float x) {
    return Mesh(name, VertexList({x - 1, -1, 0, x + 1, -1, 0, x + 1, 1, 0, x - 1, 1, 0}) +
                          FaceList({0, 1, 2, 0, 2, 3}, FaceMaterial("red")));
}

void LookAtOrigin() {
    glViewport(0, 0, kSize, kSize);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0, 0, 5, 0, 0, 0, 0, 1, 0);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

} // namespace

TEST(C3DSObjectGL, BufferDrawSkipsMeshesOutsideTheView) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    std::string path = zarvo_test::MakeTempDir("3ds") + "/scene.3ds";
    std::ofstream(path, std::ios::binary)
        << Build3ds(Material("red", "", 255, 0, 0) + Quad("seen", 0) + Quad("aside", 500));
    C3DSObject object;
    char folder[] = "";
    object.Init(folder, &path[0], false);
    ASSERT_EQ(object.getModel()->numOfObjects, 2);
    ASSERT_NE(object.getModel()->pObject[0].vertexBuffer, 0u);

    LookAtOrigin();
    CFrustum frustum;
    frustum.CalculateFrustum();
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    object.DrawVBO(true, &frustum);
    glDisable(GL_CULL_FACE);
    EXPECT_EQ(object.GetDrawnMeshCount(), 1);
    // The visible quad is drawn in the current colour, white.
    const zarvo_test::Rgba centre = zarvo_test::ReadPixelTopDown(kSize / 2, kSize / 2);
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 255);
    const zarvo_test::Rgba corner = zarvo_test::ReadPixelTopDown(1, 1);
    EXPECT_EQ(corner.r, 0);

    // Moved into view, the other quad is drawn; without a frustum both are.
    object.SetPosition(-500, 0, 0);
    object.DrawVBO(true, &frustum);
    EXPECT_EQ(object.GetDrawnMeshCount(), 1);
    object.DrawVBO(true, nullptr);
    EXPECT_EQ(object.GetDrawnMeshCount(), 2);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(C3DSObjectGL, ImmediateDrawUsesTheMaterialColour) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    std::string path = zarvo_test::MakeTempDir("3ds") + "/red.3ds";
    std::ofstream(path, std::ios::binary)
        << Build3ds(Material("red", "", 255, 0, 0) + Quad("q", 0));
    C3DSObject object;
    char folder[] = "";
    object.Init(folder, &path[0], false);
    LookAtOrigin();
    object.Draw(true);
    const zarvo_test::Rgba centre = zarvo_test::ReadPixelTopDown(kSize / 2, kSize / 2);
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 0);
    EXPECT_EQ(centre.b, 0);
}
