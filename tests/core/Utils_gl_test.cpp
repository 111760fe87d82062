#include <gtest/gtest.h>

#include "core/Utils.h"
#include "support/gl_context.h"

#include <GL/glew.h>
#include <GL/glu.h>

namespace {

void LookFrom(float x, float y, float z) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const bool alongY = x == 0 && z == 0;
    gluLookAt(x, y, z, 0, 0, 0, 0, alongY ? 0 : 1, alongY ? -1 : 0);
}

TEST(DebugDrawing, CubeShowsItsFaceColoursAndLeavesTexturingOff) {
    ZARVO_REQUIRE_GL(64, 64);
    CUtils utils;
    // Whatever earlier tests in this process left behind.
    glUseProgramObjectARB(0);
    glViewport(0, 0, 64, 64);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_SCISSOR_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    struct View {
        float x, y, z;
        uint8_t r, g, b;
    };
    // Seen along each axis, the cube shows the face turned that way.
    const View views[] = {{0, 0, 5, 255, 0, 0},    {0, 0, -5, 255, 255, 0}, {0, 5, 0, 0, 255, 0},
                          {0, -5, 0, 255, 128, 0}, {5, 0, 0, 255, 0, 255},  {-5, 0, 0, 0, 0, 255}};
    for (const View& v : views) {
        SCOPED_TRACE(testing::Message() << "from " << v.x << "," << v.y << "," << v.z);
        LookFrom(v.x, v.y, v.z);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        GLfloat before[16], after[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        utils.DrawCube(CVector3(0.5f, 0, 0));
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(after[i], before[i], 1e-5f);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f); // white again

        const zarvo_test::Rgba p = zarvo_test::ReadPixelTopDown(32, 32);
        EXPECT_NEAR(p.r, v.r, 1);
        EXPECT_NEAR(p.g, v.g, 1);
        EXPECT_NEAR(p.b, v.b, 1);
    }
    glDisable(GL_DEPTH_TEST);
    glLoadIdentity();
}

} // namespace
