#include "models/CMD2Object.h"

#include <gtest/gtest.h>

#include <GL/glu.h>

#include <set>

#include "image/gl_texture_probe.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

namespace {

constexpr int kSize = 128;

// The colours of a texture's base level as GL holds it; switches it to nearest
// filtering so every drawn pixel is exactly one of them.
std::set<uint32_t> TextureColours(GLuint texture) {
    std::set<uint32_t> colours;
    const std::vector<uint8_t> texels = image_test::TexturePixels(texture, 0, GL_RGB, 3);
    for (size_t i = 0; i < texels.size(); i += 3)
        colours.insert(uint32_t(texels[i]) << 16 | uint32_t(texels[i + 1]) << 8 | texels[i + 2]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    return colours;
}

// Draws the model as the game object does (front faces culled) and returns the depth of
// every covered pixel summed, with the number of covered pixels.
void DrawCulled(CMD2Object& model, GLenum cullFace, double& depthSum, int& covered,
                std::vector<uint8_t>* colour = nullptr) {
    const float magenta[3] = {1, 0, 1}; // not a colour of the skin
    const double eye[3] = {0, 3, 90}, centre[3] = {0, 3, 0};
    zarvo_test::LookAt(kSize, 500.0, magenta, eye, centre);
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_CULL_FACE);
    glCullFace(cullFace);
    model.Draw(true);
    glDisable(GL_CULL_FACE);
    std::vector<float> depth(size_t(kSize) * kSize);
    glReadPixels(0, 0, kSize, kSize, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    depthSum = 0;
    covered = 0;
    for (float d : depth)
        if (d < 1.0f) {
            depthSum += d;
            ++covered;
        }
    if (colour) *colour = zarvo_test::ReadFramebufferTopDown(kSize, kSize);
}

} // namespace

TEST(CMD2ObjectGL, DrawnModelShowsItsSkinWithFrontFacesCulled) {
    ZARVO_REQUIRE_CORPUS();
    ZARVO_REQUIRE_GL(kSize, kSize);
    const std::string dir = zarvo_test::CorpusDir() + "/models/";
    std::string file = dir + "sydney.md2";
    std::string skinFile = dir + "sydney.bmp";
    CMD2Object model;
    uint32_t now = 0;
    model.SetTickSource([&now] { return now; });
    testing::internal::CaptureStdout();
    model.Init(&file[0], &skinFile[0]); // the skin comes through the engine's texture creation
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(model.getModel()->numOfObjects, 198);
    ASSERT_NE(model.GetSkinTexture(), 0u);
    const std::set<uint32_t> skinColours = TextureColours(model.GetSkinTexture());
    ASSERT_GT(skinColours.size(), 20u);
    ASSERT_EQ(skinColours.count(0xff00ff), 0u);
    model.SetAngle(90.0f); // face the camera

    double nearDepth = 0, farDepth = 0;
    int covered = 0, coveredBack = 0;
    std::vector<uint8_t> pixels;
    DrawCulled(model, GL_FRONT, nearDepth, covered, &pixels);
    ASSERT_GT(covered, 800) << "the model should fill part of the view";
    int onSkin = 0;
    std::set<uint32_t> seen;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const uint32_t c = uint32_t(pixels[i]) << 16 | uint32_t(pixels[i + 1]) << 8 | pixels[i + 2];
        if (c == 0xff00ff) continue;
        seen.insert(c);
        onSkin += skinColours.count(c) ? 1 : 0;
    }
    // Every covered pixel is a texel of the skin, and many different ones show.
    EXPECT_EQ(onSkin, covered);
    EXPECT_GT(seen.size(), 20u);

    // Culling front faces must leave the outside of the model: nearer than its inside.
    DrawCulled(model, GL_BACK, farDepth, coveredBack);
    ASSERT_GT(coveredBack, 0);
    EXPECT_LT(nearDepth / covered, farDepth / coveredBack);
}

TEST(CMD2ObjectGL, InterpolatedFrameLiesBetweenItsTwoFrames) {
    ZARVO_REQUIRE_CORPUS();
    ZARVO_REQUIRE_GL(kSize, kSize);
    std::string file = zarvo_test::CorpusDir() + "/models/faerie.md2";
    CMD2Object model;
    uint32_t now = 100;
    model.SetTickSource([&now] { return now; });
    model.Init(&file[0], nullptr);
    model.SetAnim(1); // run: frames 40..
    // Capture what Draw sends with a feedback buffer: halfway between frames 40 and 41.
    std::vector<GLfloat> feedback(size_t(654) * 3 * 4 + 4096);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glFeedbackBuffer(GLsizei(feedback.size()), GL_3D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    glScalef(0.01f, 0.01f, 0.01f);
    model.Draw(false);
    const GLint values = glRenderMode(GL_RENDER);
    ASSERT_GT(values, 0);
    const t3DModel& m = *model.getModel();
    const t3DObject& first = m.pObject[0];
    const CVector3 a = m.pObject[40].pVerts[first.pFaces[0].vertIndex[0]];
    const CVector3 b = m.pObject[41].pVerts[first.pFaces[0].vertIndex[0]];
    // The first polygon token: GL_POLYGON_TOKEN, 3, then x y z of its first corner in
    // window coordinates; compare in object units through the known viewport.
    ASSERT_EQ(GLint(feedback[0]), GL_POLYGON_TOKEN);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const float x = ((feedback[2] - viewport[0]) / viewport[2] * 2 - 1) / 0.01f;
    EXPECT_NEAR(x, (a.x + b.x) / 2, 0.05f);
    EXPECT_EQ(m.currentFrame, 40); // 100 ms into a 200 ms step: not advanced yet
}
