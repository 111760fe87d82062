#include <gtest/gtest.h>

#include "render3d/CCameraManager.h"
#include "scene2d/CCamera2D.h"
#include "support/gl_context.h"

namespace {
void ModelviewTranslation(float& x, float& y) {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    x = m[12];
    y = m[13];
}
} // namespace

TEST(CameraManagerGL, LookTranslatesByTheActualCameraOnly) {
    ZARVO_REQUIRE_GL(64, 64);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    CCameraManager manager;
    manager.Look(); // no camera: the matrix stays the identity
    float x = 1, y = 1;
    ModelviewTranslation(x, y);
    EXPECT_EQ(x, 0.0f);
    EXPECT_EQ(y, 0.0f);

    manager.RegisterCamera(new CCamera2D(4, 5));
    manager.RegisterCamera(new CCamera2D(-7, 9));
    manager.Look();
    ModelviewTranslation(x, y);
    EXPECT_FLOAT_EQ(x, -7.0f);
    EXPECT_FLOAT_EQ(y, 9.0f);
    glLoadIdentity();
}
