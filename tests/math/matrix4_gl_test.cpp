// Both matrix classes checked against the fixed-function matrix stack on random input.
#include "math/Matrix4x4f.h"
#include "math/matrix4.h"

#include "gl_oracle.h"
#include <GL/glu.h>

using math_test::MatchesGl;
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
        const float fovy = rng.Uniform(10, 170), aspect = rng.Uniform(0.3f, 3);
        const float on = rng.Uniform(-100, 100), of = on + rng.Uniform(1, 500);
        MATRIX4X4 m;
        m.SetPerspective(l, r, b, t, n, f);
        EXPECT_TRUE(MatchesGl(m, [&] { glFrustum(l, r, b, t, n, f); }));
        m.SetPerspective(fovy, aspect, n, f);
        EXPECT_TRUE(MatchesGl(m, [&] { gluPerspective(fovy, aspect, n, f); }));
        m.SetOrtho(l, r, b, t, on, of);
        EXPECT_TRUE(MatchesGl(m, [&] { glOrtho(l, r, b, t, on, of); }));
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), zarvo_test::TakeGLError());
}

TEST_F(Matrix4GlOracle, RotationsTranslationAndScaleMatchGl) {
    for (int i = 0; i < kTrials; ++i) {
        const float angle = rng.Uniform(-720, 720);
        const VECTOR3D v(rng.Uniform(-5, 5), rng.Uniform(-5, 5), rng.Uniform(-5, 5));
        if (v.GetLength() < 0.05f) continue;
        MATRIX4X4 m;
        m.SetRotationAxis(angle, v);
        EXPECT_TRUE(MatchesGl(m, [&] { glRotatef(angle, v.x, v.y, v.z); }));
        m.SetRotationX(angle);
        EXPECT_TRUE(MatchesGl(m, [&] { glRotatef(angle, 1, 0, 0); }));
        m.SetRotationY(angle);
        EXPECT_TRUE(MatchesGl(m, [&] { glRotatef(angle, 0, 1, 0); }));
        m.SetRotationZ(angle);
        EXPECT_TRUE(MatchesGl(m, [&] { glRotatef(angle, 0, 0, 1); }));
        // The rotation about x applies first, so it is the last one multiplied on.
        const float ax = rng.Uniform(-180, 180), ay = rng.Uniform(-180, 180);
        m.SetRotationEuler(ax, ay, angle);
        EXPECT_TRUE(MatchesGl(m, [&] {
            glRotatef(angle, 0, 0, 1);
            glRotatef(ay, 0, 1, 0);
            glRotatef(ax, 1, 0, 0);
        }));
        m.SetTranslation(v);
        EXPECT_TRUE(MatchesGl(m, [&] { glTranslatef(v.x, v.y, v.z); }));
        m.SetScale(v);
        EXPECT_TRUE(MatchesGl(m, [&] { glScalef(v.x, v.y, v.z); }));
    }
}

TEST_F(Matrix4GlOracle, ProductsMatchGlMultMatrixOnEveryPath) {
    for (int i = 0; i < kTrials; ++i) {
        float a[16], b[16];
        for (int k = 0; k < 16; ++k)
            a[k] = rng.Uniform(-3, 3), b[k] = rng.Uniform(-3, 3);
        // Cycle through the four combinations of affine and general operands.
        if (i & 1) a[3] = a[7] = a[11] = 0, a[15] = 1;
        if (i & 2) b[3] = b[7] = b[11] = 0, b[15] = 1;
        EXPECT_TRUE(MatchesGl(MATRIX4X4(a) * MATRIX4X4(b),
                              [&] {
                                  glLoadMatrixf(a);
                                  glMultMatrixf(b);
                              }))
            << "path " << (i & 3);
    }
}

TEST_F(Matrix4GlOracle, Matrix4x4fBuildersAndProductMatchGl) {
    for (int i = 0; i < kTrials; ++i) {
        const float angle = rng.Uniform(-720, 720);
        const CVector3 v(rng.Uniform(-5, 5), rng.Uniform(-5, 5), rng.Uniform(-5, 5));
        if (v.length() < 0.05f) continue;
        matrix4x4f m, a, b;
        CVector3 axis = v;
        m.rotate(angle, axis);
        EXPECT_TRUE(MatchesGl(m.m, [&] { glRotatef(angle, v.x, v.y, v.z); }));
        m.rotate_x(angle);
        EXPECT_TRUE(MatchesGl(m.m, [&] { glRotatef(angle, 1, 0, 0); }));
        m.rotate_y(angle);
        EXPECT_TRUE(MatchesGl(m.m, [&] { glRotatef(angle, 0, 1, 0); }));
        m.rotate_z(angle);
        EXPECT_TRUE(MatchesGl(m.m, [&] { glRotatef(angle, 0, 0, 1); }));
        m.translate(v);
        EXPECT_TRUE(MatchesGl(m.m, [&] { glTranslatef(v.x, v.y, v.z); }));
        m.scale(v);
        EXPECT_TRUE(MatchesGl(m.m, [&] { glScalef(v.x, v.y, v.z); }));
        for (int k = 0; k < 16; ++k)
            a.m[k] = rng.Uniform(-3, 3), b.m[k] = rng.Uniform(-3, 3);
        EXPECT_TRUE(MatchesGl((a * b).m, [&] {
            glLoadMatrixf(a.m);
            glMultMatrixf(b.m);
        }));
    }
}
