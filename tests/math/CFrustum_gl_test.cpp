#include "math/CFrustum.h"

#include "support/gl_context.h"
#include <GL/glu.h>

#include "math_test_util.h"

using math_test::Random;

// Planes taken from the live GL matrices must agree with where gluProject puts a point:
// inside the viewport and the depth range exactly when PointInFrustum says so.
TEST(CFrustumGl, PlanesClassifyPointsAsGluProjectDoes) {
    ZARVO_REQUIRE_GL(64, 64);
    const GLint viewport[4] = {0, 0, 640, 480};
    Random rng(7);
    int inside = 0, outside = 0;
    for (int view = 0; view < 20; ++view) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(rng.Uniform(30, 100), rng.Uniform(0.5f, 2), rng.Uniform(0.1f, 2),
                       rng.Uniform(50, 500));
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gluLookAt(rng.Uniform(-50, 50), rng.Uniform(-50, 50), rng.Uniform(-50, 50),
                  rng.Uniform(-10, 10), rng.Uniform(-10, 10), rng.Uniform(-10, 10), 0, 1, 0);

        CFrustum frustum;
        frustum.CalculateFrustum();
        GLdouble projection[16], modelview[16];
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetDoublev(GL_MODELVIEW_MATRIX, modelview);

        for (int i = 0; i < 2000; ++i) {
            const float x = rng.Uniform(-300, 300), y = rng.Uniform(-300, 300),
                        z = rng.Uniform(-300, 300);
            GLdouble wx, wy, wz;
            ASSERT_EQ(GL_TRUE, gluProject(x, y, z, modelview, projection, viewport, &wx, &wy, &wz));
            // Points right on a boundary may fall either way in float; leave them out.
            const double margin = 0.05, depthMargin = 1e-4;
            if (std::fabs(wx) < margin || std::fabs(wx - 640) < margin || std::fabs(wy) < margin ||
                std::fabs(wy - 480) < margin || std::fabs(wz) < depthMargin ||
                std::fabs(wz - 1) < depthMargin)
                continue;
            const bool projectedInside =
                wx > 0 && wx < 640 && wy > 0 && wy < 480 && wz > 0 && wz < 1;
            EXPECT_EQ(projectedInside, frustum.PointInFrustum(x, y, z))
                << "view " << view << " point (" << x << ", " << y << ", " << z << ")";
            (projectedInside ? inside : outside)++;
        }
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_GT(inside, 500);
    EXPECT_GT(outside, 500);
}
