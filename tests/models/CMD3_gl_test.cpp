#include "models/CMD3.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "md3_builder.h"
#include "render3d/C3DGameObject.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

constexpr int kSize = 64; // 8 pixels per unit over the view's 8 units

// A character of three unit squares stacked along MD3 z: the legs' tag_torso rises from
// z = 1 in frame 0 to z = 2 in frame 1, the torso carries the head at z = 1.
std::string WriteCharacter() {
    const std::string dir = zarvo_test::MakeTempDir("md3gl");
    Md3Part lower{
        2, {{{"tag_torso", {0, 0, 1}}}, {{"tag_torso", {0, 0, 2}}}}, {Square("l", -0.5f, 0, 2)}};
    Md3Part upper{
        1, {{{"tag_head", {0, 0, 1}}, {"tag_weapon", {0, 0, 0}}}}, {Square("u", -0.5f, 0)}};
    Md3Part head{1, {}, {Square("h", -0.5f, 0)}};
    WriteText(dir + "/c_lower.md3", BuildMd3(lower));
    WriteText(dir + "/c_upper.md3", BuildMd3(upper));
    WriteText(dir + "/c_head.md3", BuildMd3(head));
    for (const char* part : {"lower", "upper", "head"})
        WriteText(dir + "/c_" + part + ".skin", "tag_torso,\n");
    WriteText(dir + "/c_animation.cfg", "0 2 2 10 // LEGS_IDLE\n0 1 1 10 // TORSO_STAND\n");
    return dir;
}

// Whether the pixel at view height y (units, centre column) is lit.
bool LitAt(float y) {
    return zarvo_test::ReadPixelTopDown(kSize / 2, int((4.0f - y) * 8.0f)).r > 128;
}

} // namespace

TEST(CMd3GL, PartsJoinAtTheirTagsAndFollowTheClock) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    std::string dir = WriteCharacter();
    char name[] = "c";
    // Through the game object: loaded idling, no bounds, always in the frustum.
    C3DGameObject object;
    object.LoadMD3Model(name, &dir[0], nullptr);
    auto* md3 = dynamic_cast<CMd3*>(object.GetModel());
    ASSERT_NE(md3, nullptr);
    uint32_t now = 0;
    md3->GetModel()->SetTickSource([&now] { return now; });
    t3DModel* legs = md3->GetModel()->GetModel(CModelMD3::PART_LOWER);
    EXPECT_STREQ(legs->pAnimations[size_t(legs->currentAnim)].strName, "LEGS_IDLE");
    EXPECT_EQ(object.GetObjectVertexNum(), 0);
    EXPECT_EQ(object.GetBoundingBoxMinPoint(), nullptr);
    object.checkFrustum();
    EXPECT_TRUE(object.IsObjectInFrustum());

    zarvo_test::PopMatrixStacksToBase();
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);

    const struct {
        uint32_t time;
        float lit[3], dark[2];
    } cases[] = {
        // Frame 0: legs [0, 1], torso [1, 2], head [2, 3].
        {0, {0.5f, 1.5f, 2.5f}, {3.5f, -0.5f}},
        // Half way to frame 1: the torso starts at 1.5 and the head stays on top of it.
        {50, {0.5f, 1.7f, 3.2f}, {1.2f, 3.7f}},
        // Frame 1: torso [2, 3], head [3, 4].
        {100, {0.5f, 2.5f, 3.8f}, {1.5f, -0.5f}},
    };
    for (const auto& c : cases) {
        now = c.time;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        object.Draw(true);
        for (float y : c.lit)
            EXPECT_TRUE(LitAt(y)) << "time " << c.time << " height " << y;
        for (float y : c.dark)
            EXPECT_FALSE(LitAt(y)) << "time " << c.time << " height " << y;
    }
    glEnable(GL_DEPTH_TEST);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(CMd3GL, TonyDrawsTexturedAndLitWithItsWeapon) {
    ZARVO_REQUIRE_CORPUS();
    ZARVO_REQUIRE_GL(128, 128);
    std::string folder = zarvo_test::CorpusDir() + "/models/tony";
    char name[] = "tony", weapon[] = "railgun";
    CMd3 tony;
    tony.GetModel()->SetTickSource([] { return 0u; });
    ASSERT_TRUE(tony.Init(name, &folder[0], weapon));
    tony.SetAnim("LEGS_IDLE", "TORSO_STAND");
    EXPECT_NE(tony.GetModel()->GetModel(CModelMD3::PART_LOWER)->pMaterials[0].texureId, 0);

    zarvo_test::PopMatrixStacksToBase();
    const float grey[3] = {0.2f, 0.2f, 0.3f};
    const double eye[3] = {0, 10, 70}, centre[3] = {0, 10, 0};
    zarvo_test::LookAt(128, 500.0, grey, eye, centre);
    const float light[4] = {20, 40, 60, 1};
    glPushAttrib(GL_LIGHTING_BIT | GL_ENABLE_BIT); // later tests expect GL's default light
    glLightfv(GL_LIGHT0, GL_POSITION, light);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    tony.SetPosition(0, 0, 0);
    tony.Draw(true);
    glPopAttrib();
    glDisable(GL_TEXTURE_2D);
    const std::vector<uint8_t> frame = zarvo_test::ReadFramebufferTopDown(128, 128);
    zarvo_test::WritePam(zarvo_test::MakeTempDir("md3shot") + "/tony.pam", 128, 128, 4, frame);
    // The figure covers the middle of the view with many shades (texture and light).
    int covered = 0, shades[256] = {};
    for (int y = 20; y < 108; ++y)
        for (int x = 40; x < 88; ++x) {
            const uint8_t* p = &frame[size_t(y * 128 + x) * 4];
            if (p[0] != 51 || p[2] != 76) ++covered;
            shades[p[0]] = 1;
        }
    int distinct = 0;
    for (int s : shades)
        distinct += s;
    EXPECT_GT(covered, 500);
    EXPECT_GT(distinct, 30);
}
