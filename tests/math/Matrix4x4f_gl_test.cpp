#include "math/Matrix4x4f.h"

#include "math_test_util.h"
#include "gl_oracle.h"

using math_test::GlModelviewAfter;
using math_test::NearlyEqual;
using math_test::Random;

TEST(Matrix4x4fGlOracle, BuildersAndProductMatchGl) {
    ZARVO_REQUIRE_GL(64, 64);
    Random rng(99);
    for (int i = 0; i < 200; ++i) {
        const float angle = rng.Uniform(-720, 720);
        const CVector3 v(rng.Uniform(-5, 5), rng.Uniform(-5, 5), rng.Uniform(-5, 5));
        if (v.length() < 0.05f) continue;
        matrix4x4f m;

        CVector3 axis = v;
        m.rotate(angle, axis);
        EXPECT_TRUE(NearlyEqual(GlModelviewAfter([&] { glRotatef(angle, v.x, v.y, v.z); }).data(),
                                m.m, 16));
        m.rotate_x(angle);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glRotatef(angle, 1, 0, 0); }).data(), m.m, 16));
        m.rotate_y(angle);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glRotatef(angle, 0, 1, 0); }).data(), m.m, 16));
        m.rotate_z(angle);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glRotatef(angle, 0, 0, 1); }).data(), m.m, 16));
        m.translate(v);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glTranslatef(v.x, v.y, v.z); }).data(), m.m, 16));
        m.scale(v);
        EXPECT_TRUE(
            NearlyEqual(GlModelviewAfter([&] { glScalef(v.x, v.y, v.z); }).data(), m.m, 16));

        matrix4x4f a, b;
        for (int k = 0; k < 16; ++k) {
            a.m[k] = rng.Uniform(-3, 3);
            b.m[k] = rng.Uniform(-3, 3);
        }
        const matrix4x4f product = a * b;
        EXPECT_TRUE(NearlyEqual(GlModelviewAfter([&] {
                                    glLoadMatrixf(a.m);
                                    glMultMatrixf(b.m);
                                }).data(),
                                product.m, 16));
    }
}
