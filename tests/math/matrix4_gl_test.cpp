#include "math/matrix4.h"

#include "gl_oracle.h"
#include <GL/glu.h>

#include "math_test_util.h"

using math_test::GlModelviewAfter;
using math_test::NearlyEqual;
using math_test::Random;

namespace {

const int kTrials = 200;

class Matrix4GlOracle : public ::testing::Test {
protected:
    void SetUp() override { ZARVO_REQUIRE_GL(64, 64); }
    Random rng{1234};
};

} // namespace

TEST_F(Matrix4GlOracle, ProjectionsMatchGlFrustumGluPerspectiveAndGlOrtho) {
    for (int i = 0; i < kTrials; ++i) {
        const float l = rng.Uniform(-4, -0.5f), r = rng.Uniform(0.5f, 4);
        const float b = rng.Uniform(-4, -0.5f), t = rng.Uniform(0.5f, 4);
        const float n = rng.Uniform(0.1f, 5), f = n + rng.Uniform(1, 1000);

        MATRIX4X4 frustum;
        frustum.SetPerspective(l, r, b, t, n, f);
        EXPECT_TRUE(NearlyEqual(GlModelviewAfter([&] { glFrustum(l, r, b, t, n, f); }).data(),
                                frustum, 16));

        const float fovy = rng.Uniform(10, 170), aspect = rng.Uniform(0.3f, 3);
        MATRIX4X4 perspective;
        perspective.SetPerspective(fovy, aspect, n, f);
        EXPECT_TRUE(NearlyEqual(
            GlModelviewAfter([&] { gluPerspective(fovy, aspect, n, f); }).data(), perspective, 16));

        const float on = rng.Uniform(-100, 100), of = on + rng.Uniform(1, 500);
        MATRIX4X4 ortho;
        ortho.SetOrtho(l, r, b, t, on, of);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glOrtho(l, r, b, t, on, of); }).data(), ortho, 16));
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), zarvo_test::TakeGLError());
}

TEST_F(Matrix4GlOracle, RotationsTranslationAndScaleMatchGl) {
    for (int i = 0; i < kTrials; ++i) {
        const float angle = rng.Uniform(-720, 720);
        const VECTOR3D axis(rng.Uniform(-5, 5), rng.Uniform(-5, 5), rng.Uniform(-5, 5));
        if (axis.GetLength() < 0.05f) continue;

        MATRIX4X4 m;
        m.SetRotationAxis(angle, axis);
        EXPECT_TRUE(NearlyEqual(
            GlModelviewAfter([&] { glRotatef(angle, axis.x, axis.y, axis.z); }).data(), m, 16));

        m.SetRotationX(angle);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glRotatef(angle, 1, 0, 0); }).data(), m, 16));
        m.SetRotationY(angle);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glRotatef(angle, 0, 1, 0); }).data(), m, 16));
        m.SetRotationZ(angle);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glRotatef(angle, 0, 0, 1); }).data(), m, 16));

        // The rotation about x applies first, so it is the last one multiplied on.
        const float ax = rng.Uniform(-180, 180), ay = rng.Uniform(-180, 180);
        m.SetRotationEuler(ax, ay, angle);
        EXPECT_TRUE(NearlyEqual(GlModelviewAfter([&] {
                                    glRotatef(angle, 0, 0, 1);
                                    glRotatef(ay, 0, 1, 0);
                                    glRotatef(ax, 1, 0, 0);
                                }).data(),
                                m, 16));

        m.SetTranslation(axis);
        EXPECT_TRUE(NearlyEqual(
            GlModelviewAfter([&] { glTranslatef(axis.x, axis.y, axis.z); }).data(), m, 16));
        m.SetScale(axis);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glScalef(axis.x, axis.y, axis.z); }).data(), m, 16));
    }
}

TEST_F(Matrix4GlOracle, ProductsMatchGlMultMatrixOnEveryPath) {
    for (int i = 0; i < kTrials; ++i) {
        float a[16], b[16];
        for (int k = 0; k < 16; ++k) {
            a[k] = rng.Uniform(-3, 3);
            b[k] = rng.Uniform(-3, 3);
        }
        // Cycle through the four combinations of affine and general operands.
        if (i & 1) a[3] = a[7] = a[11] = 0, a[15] = 1;
        if (i & 2) b[3] = b[7] = b[11] = 0, b[15] = 1;
        const MATRIX4X4 product = MATRIX4X4(a) * MATRIX4X4(b);
        EXPECT_TRUE(NearlyEqual(GlModelviewAfter([&] {
                                    glLoadMatrixf(a);
                                    glMultMatrixf(b);
                                }).data(),
                                product, 16))
            << "path " << (i & 3);
    }
}
