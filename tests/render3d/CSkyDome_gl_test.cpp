#include <gtest/gtest.h>

#include "outdoor_gl.h"
#include "render3d/CSkyDome.h"

#include <GL/glew.h>

#include <cstdlib>
#include <vector>

namespace {

const int kSize = 128;

// The dome seen from its centre, looking along -z towards the horizon.
std::vector<uint8_t> DrawDome(CSkyDome& dome, float extraTurn) {
    const float black[3] = {0, 0, 0};
    const double eye[3] = {0, 0, 0}, centre[3] = {0, 0, -1};
    zarvo_test::LookAt(kSize, 5000.0, black, eye, centre);
    glRotatef(extraTurn, 0, 1, 0);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    dome.Draw();
    return zarvo_test::ReadFramebufferTopDown(kSize, kSize);
}

bool Lit(const std::vector<uint8_t>& px, int x, int y) {
    const uint8_t* p = &px[(size_t(y) * kSize + x) * 4];
    return p[0] + p[1] + p[2] > 60;
}

TEST(SkyDomeGL, CoversTheUpperHalfOfTheViewAndTurnsBySpeedTimesInterval) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    zarvo_test::PopMatrixStacksToBase();
    outdoor_gl::Globals globals;
    CSkyDome dome;
    char texture[] = "Data/SkyDome/clouds2.png";
    ASSERT_TRUE(dome.Initialize(15.0f, 15.0f, 1000.0f, texture));

    dome.SetSpeed(0.0f);
    globals.SetFrameInterval(0.5);
    const std::vector<uint8_t> still = DrawDome(dome, 0.0f);
    for (int y = 0; y < kSize; y += 8)
        for (int x = 0; x < kSize; x += 8) {
            if (y < kSize / 2 - 2) {
                EXPECT_TRUE(Lit(still, x, y)) << x << "," << y;
            } else if (y > kSize / 2 + 2) {
                EXPECT_FALSE(Lit(still, x, y)) << x << "," << y;
            }
        }

    // 60 degrees a second for half a second turns it as far as turning the view by 30.
    dome.SetSpeed(60.0f);
    const std::vector<uint8_t> turned = DrawDome(dome, 0.0f);
    EXPECT_FLOAT_EQ(dome.GetAngle(), 30.0f);
    dome.SetSpeed(0.0f);
    CSkyDome reference;
    ASSERT_TRUE(reference.Initialize(15.0f, 15.0f, 1000.0f, texture));
    reference.SetSpeed(0.0f);
    const std::vector<uint8_t> viewTurned = DrawDome(reference, 30.0f);
    int differentFromStill = 0, differentFromReference = 0;
    for (size_t i = 0; i < turned.size(); i += 4) {
        differentFromStill += std::abs(turned[i] - still[i]) > 8;
        differentFromReference += std::abs(turned[i] - viewTurned[i]) > 8;
    }
    EXPECT_GT(differentFromStill, kSize * kSize / 20);
    EXPECT_LT(differentFromReference, kSize * kSize / 200);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

} // namespace
