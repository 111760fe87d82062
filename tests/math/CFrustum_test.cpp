#include "math/CFrustum.h"
#include "math/matrix4.h"

#include "math_test_util.h"

// From the origin down -z. Perspective: near 1, far 100, 90 degrees each way. Ortho: the
// box (-1, -1, -1) to (1, 1, -10), whose planes fall on exact float values.
static CFrustum Frustum(bool ortho) {
    MATRIX4X4 projection;
    if (ortho)
        projection.SetOrtho(-1, 1, -1, 1, 1, 10);
    else
        projection.SetPerspective(-1, 1, -1, 1, 1, 100);
    CFrustum f;
    f.CalculateFrustum(projection, MATRIX4X4());
    return f;
}

TEST(CFrustum, BoxesPointsSpheresAndCubesWithDistanceZeroOutsideForPointsAndCubesOnly) {
    const CFrustum f = Frustum(false);
    EXPECT_EQ(CFrustum::BOX_INSIDE, f.BoxInFrustum(-1, -1, -20, 1, 1, -10));
    EXPECT_EQ(CFrustum::BOX_INTERSECTS, f.BoxInFrustum(-0.1f, -0.1f, -5, 0.1f, 0.1f, 5)); // near
    EXPECT_EQ(CFrustum::BOX_OUTSIDE, f.BoxInFrustum(-1, -1, 5, 1, 1, 10));                // behind
    // Corners given in either order describe the same box.
    EXPECT_EQ(CFrustum::BOX_INSIDE, f.BoxInFrustum(1, 1, -10, -1, -1, -20));
    EXPECT_TRUE(f.PointInFrustum(0, 0, -50) && !f.PointInFrustum(60, 0, -50));
    EXPECT_TRUE(f.SphereInFrustum(0, 0, 3, 5) && !f.SphereInFrustum(0, 0, 3, 1));
    EXPECT_TRUE(f.CubeInFrustum(0, 0, 0, 2) && !f.CubeInFrustum(0, 0, 10, 2));
    const CFrustum fresh; // all-zero planes: boxes count as inside, points as outside
    EXPECT_EQ(CFrustum::BOX_INSIDE, fresh.BoxInFrustum(0, 0, 0, 1, 1, 1));
    EXPECT_FALSE(fresh.PointInFrustum(0, 0, 0));
    // On the ortho box, distance zero is outside for points and cubes but inside for boxes.
    const CFrustum box = Frustum(true);
    const float* right = box.GetPlanes()[CFrustum::RIGHT];
    EXPECT_TRUE(right[0] == -1.0f && right[3] == 1.0f);
    EXPECT_FALSE(box.PointInFrustum(1, 0, -5));
    EXPECT_TRUE(box.PointInFrustum(0.99f, 0, -5));
    EXPECT_FALSE(box.CubeInFrustum(1.5f, 0, -5, 0.5f)); // its nearest face lies on the plane
    EXPECT_EQ(CFrustum::BOX_INSIDE, box.BoxInFrustum(1, -0.5f, -6, 1, 0.5f, -4));
    EXPECT_EQ(CFrustum::BOX_INTERSECTS, box.BoxInFrustum(1, -0.5f, -6, 1.5f, 0.5f, -4));
    EXPECT_TRUE(box.SphereInFrustum(2, 0, -5, 1.01f));
    EXPECT_FALSE(box.SphereInFrustum(2, 0, -5, 1.0f));
}
