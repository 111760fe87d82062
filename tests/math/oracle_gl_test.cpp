// Matrices and frustum planes against the GL matrix stack and gluProject on random input.
#include "math/CFrustum.h"
#include "math/Matrix4x4f.h"
#include "math/matrix4.h"

#include "math_test_util.h"
#include "support/gl_context.h"

#include <GL/glu.h>

using math_test::Random;

// Each matrix of 16 floats is what the GL calls leave on the modelview stack.
template <typename GlCalls>
static ::testing::AssertionResult MatchGl(std::initializer_list<const float*> matrices,
                                          GlCalls calls) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    calls();
    float gl[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, gl);
    ::testing::AssertionResult match = ::testing::AssertionSuccess();
    for (const float* m : matrices)
        if (match) match = math_test::NearlyEqual(gl, m, 16);
    return match;
}

struct GlOracle : ::testing::Test {
    void SetUp() override { ZARVO_REQUIRE_GL(64, 64); }
    Random rng{1234};
};

TEST_F(GlOracle, ProjectionsBuildersAndProductsMatchGl) {
    for (int i = 0; i < 200; ++i) {
        const float l = rng(-4, -0.5f), r = rng(0.5f, 4);
        const float b = rng(-4, -0.5f), t = rng(0.5f, 4);
        const float n = rng(0.1f, 5), f = n + rng(1, 1000);
        const float fovy = rng(10, 170), aspect = rng(0.3f, 3);
        const float on = rng(-100, 100), of = on + rng(1, 500);
        MATRIX4X4 m;
        m.SetPerspective(l, r, b, t, n, f);
        EXPECT_TRUE(MatchGl({m}, [&] { glFrustum(l, r, b, t, n, f); }));
        m.SetPerspective(fovy, aspect, n, f);
        EXPECT_TRUE(MatchGl({m}, [&] { gluPerspective(fovy, aspect, n, f); }));
        m.SetOrtho(l, r, b, t, on, of);
        EXPECT_TRUE(MatchGl({m}, [&] { glOrtho(l, r, b, t, on, of); }));
    }
    EXPECT_EQ(GLenum(GL_NO_ERROR), zarvo_test::TakeGLError());
    // Both matrix classes: rotations, translation, scale and products on every path.
    for (int i = 0; i < 200; ++i) {
        const float angle = rng(-720, 720);
        const float x = rng(-5, 5), y = rng(-5, 5), z = rng(-5, 5);
        if (x * x + y * y + z * z < 0.0025f) continue;
        const VECTOR3D v(x, y, z);
        const CVector3 cv(x, y, z);
        CVector3 axis = cv; // rotate() normalises it in place
        MATRIX4X4 m;
        matrix4x4f f;
        m.SetRotationAxis(angle, v);
        f.rotate(angle, axis);
        EXPECT_TRUE(MatchGl({m, f.m}, [&] { glRotatef(angle, x, y, z); }));
        for (int k = 0; k < 3; ++k) { // about x, y and z
            k == 0 ? m.SetRotationX(angle) : k == 1 ? m.SetRotationY(angle) : m.SetRotationZ(angle);
            k == 0 ? f.rotate_x(angle) : k == 1 ? f.rotate_y(angle) : f.rotate_z(angle);
            EXPECT_TRUE(MatchGl({m, f.m}, [&] { glRotatef(angle, k == 0, k == 1, k == 2); }));
        }
        m.SetTranslation(v);
        f.translate(cv);
        EXPECT_TRUE(MatchGl({m, f.m}, [&] { glTranslatef(x, y, z); }));
        m.SetScale(v);
        f.scale(cv);
        EXPECT_TRUE(MatchGl({m, f.m}, [&] { glScalef(x, y, z); }));
        // The rotation about x applies first, so it is the last one multiplied on.
        const float ax = rng(-180, 180), ay = rng(-180, 180);
        m.SetRotationEuler(ax, ay, angle);
        EXPECT_TRUE(MatchGl({m}, [&] {
            glRotatef(angle, 0, 0, 1);
            glRotatef(ay, 0, 1, 0);
            glRotatef(ax, 1, 0, 0);
        }));

        matrix4x4f a, b;
        for (int k = 0; k < 16; ++k) {
            a.m[k] = rng(-3, 3);
            b.m[k] = rng(-3, 3);
        }
        // MATRIX4X4 has separate paths for each mix of affine and general operands.
        if (i & 1) math_test::MakeAffine(a.m);
        if (i & 2) math_test::MakeAffine(b.m);
        EXPECT_TRUE(MatchGl({MATRIX4X4(a.m) * MATRIX4X4(b.m), (a * b).m},
                            [&] {
                                glLoadMatrixf(a.m);
                                glMultMatrixf(b.m);
                            }))
            << "path " << (i & 3);
    }
}

// A point lands inside the viewport and depth range exactly when PointInFrustum says so.
TEST_F(GlOracle, FrustumPlanesClassifyPointsAsGluProjectDoes) {
    const GLint viewport[4] = {0, 0, 640, 480};
    int inside = 0, outside = 0;
    for (int view = 0; view < 20; ++view) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(rng(30, 100), rng(0.5f, 2), rng(0.1f, 2), rng(50, 500));
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(rng(-50, 50), rng(-50, 50), rng(-50, 50), rng(-10, 10), rng(-10, 10),
                  rng(-10, 10), 0, 1, 0);
        CFrustum frustum;
        frustum.CalculateFrustum();
        GLdouble projection[16], modelview[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
        for (int i = 0; i < 2000; ++i) {
            const float x = rng(-300, 300), y = rng(-300, 300), z = rng(-300, 300);
            GLdouble wx, wy, wz;
            ASSERT_EQ(GL_TRUE, gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz));
            // Points right on a boundary may fall either way in float; leave them out.
            if (std::fabs(wx) < 0.05 || std::fabs(wx - 640) < 0.05 || std::fabs(wy) < 0.05 ||
                std::fabs(wy - 480) < 0.05 || std::fabs(wz) < 1e-4 || std::fabs(wz - 1) < 1e-4)
                continue;
            const bool projectedInside =
                wx > 0 && wx < 640 && wy > 0 && wy < 480 && wz > 0 && wz < 1;
            EXPECT_EQ(projectedInside, frustum.PointInFrustum(x, y, z))
                << "view " << view << " point (" << x << ", " << y << ", " << z << ")";
            (projectedInside ? inside : outside)++;
        }
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_TRUE(inside > 500 && outside > 500) << inside << " inside, " << outside << " outside";
}
