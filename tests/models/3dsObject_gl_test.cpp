#include "models/3dsObject.h"

#include <gtest/gtest.h>

#include <GL/glu.h>

#include <algorithm>
#include <fstream>

#include "model_builders.h"
#include "render3d/CShadowVolume.h"
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

// Writes the chunks as a file of its own and loads it into `object`.
void LoadChunks(C3DSObject& object, const std::string& fileName, const std::string& chunks) {
    std::string path = zarvo_test::MakeTempDir("3ds") + "/" + fileName;
    std::ofstream(path, std::ios::binary) << Build3ds(chunks);
    char folder[] = "";
    object.Init(folder, &path[0], false);
}

void LookAtOrigin() {
    const float black[3] = {0, 0, 0};
    const double eye[3] = {0, 0, 5}, origin[3] = {0, 0, 0};
    zarvo_test::LookAt(kSize, 100.0, black, eye, origin);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

} // namespace

TEST(C3DSObjectGL, BufferDrawSkipsMeshesOutsideTheView) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    C3DSObject object;
    LoadChunks(object, "scene.3ds",
               Material("red", "", 255, 0, 0) + Quad("seen", 0) + Quad("aside", 500));
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

    // A textured mesh leaves no client array pointing into its buffers.
    C3DSObject textured;
    testing::internal::CaptureStdout();
    LoadChunks(textured, "textured.3ds", Material("red", "missing.bmp") + Quad("t", 0));
    testing::internal::GetCapturedStdout();
    ASSERT_TRUE(textured.getModel()->pObject[0].bHasTexture);
    textured.DrawVBO(true, nullptr);
    EXPECT_EQ(textured.GetDrawnMeshCount(), 1);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    glDisable(GL_TEXTURE_2D);
}

TEST(C3DSObjectGL, ImmediateDrawUsesTheMaterialColour) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    C3DSObject object;
    LoadChunks(object, "red.3ds", Material("red", "", 255, 0, 0) + Quad("q", 0));
    LookAtOrigin();
    object.Draw(true);
    const zarvo_test::Rgba centre = zarvo_test::ReadPixelTopDown(kSize / 2, kSize / 2);
    EXPECT_EQ(centre.r, 255);
    EXPECT_EQ(centre.g, 0);
    EXPECT_EQ(centre.b, 0);
}

TEST(C3DSObjectGL, StencilPassCountsTheShadowBehindAnOccluder) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    C3DSObject occluder;
    LoadChunks(occluder, "occluder.3ds", Material("red", "", 255, 0, 0) + Quad("q", 0));
    occluder.SetSize(0.5f, 0.5f, 0.5f);
    occluder.BuildShadowVolume(CVector3(0, 0, 10));
    ASSERT_EQ(occluder.GetShadowVolumes().size(), 1u);
    ASSERT_EQ(occluder.GetShadowVolumes()[0]->GetVolumeVertexCount(), 24u);

    // Seen from the side, the shadow falls on a wall behind the quad.
    glViewport(0, 0, kSize, kSize);
    glClearStencil(0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, 1.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(2, 0, 6, 0, 0, -2, 0, 1, 0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glBegin(GL_QUADS);
    glVertex3f(-20, -20, -2);
    glVertex3f(20, -20, -2);
    glVertex3f(20, 20, -2);
    glVertex3f(-20, 20, -2);
    glEnd();
    occluder.Draw(true);
    occluder.RenderToStencilV();
    const std::vector<uint8_t> stencil = zarvo_test::ReadStencilTopDown(kSize, kSize);
    const long shadowed =
        std::count_if(stencil.begin(), stencil.end(), [](uint8_t s) { return s; });
    EXPECT_GT(shadowed, 20);
    EXPECT_LT(shadowed, kSize * kSize / 2);
    // The sequence leaves writing on and the stencil test off.
    GLboolean colourMask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, colourMask);
    EXPECT_TRUE(colourMask[0]);
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    glDisable(GL_DEPTH_TEST);
}
