#include "math/3DMath.h"

#include "math_test_util.h"

using math_test::Random;

const float kPi = 3.14159265f;

static ::testing::AssertionResult Near(const CVector3& expected, const CVector3& actual,
                                       float tolerance = 1e-5f) {
    return math_test::NearlyEqual(expected.GetArray(), actual.GetArray(), 3, tolerance);
}

// Counter-clockwise seen from +z, so Normal() (which crosses edge 2 with edge 1) gives -z.
const CVector3 kTriangle[3] = {CVector3(0, 0, 0), CVector3(4, 0, 0), CVector3(0, 4, 0)};

TEST(Geometry, VectorsSegmentsPlanesPolygonsSpheresAndRaysWithDegenerateInputGivingZeroNotNaN) {
    CVector2 v2;
    CVector3 v3;
    v2.normalize();
    v3.normalize();
    EXPECT_TRUE(v2.x == 0 && v2.y == 0 && Near(CVector3(), v3, 0));
    // Degenerate triangles (repeated and collinear points) are common in model files.
    const CVector3 repeated[3] = {CVector3(1, 2, 3), CVector3(1, 2, 3), CVector3(5, 5, 5)};
    const CVector3 collinear[3] = {CVector3(0, 0, 0), CVector3(1, 1, 1), CVector3(2, 2, 2)};
    const CVector3 n = Normal(repeated);
    EXPECT_TRUE(std::isfinite(n.x + n.y + n.z));
    EXPECT_TRUE(Near(CVector3(), Normal(collinear), 0));
    EXPECT_EQ(0.0, AngleBetweenVectors(CVector3(1, 2, 3), CVector3()));
    EXPECT_NEAR(kPi / 2, AngleBetweenVectors(CVector3(1, 0, 0), CVector3(0, 3, 0)), 1e-6);
    // Rounding pushes the cosine of these anti-parallel vectors below -1.
    Random rng(3);
    for (int i = 0; i < 1000; ++i) {
        const CVector3 a(rng(-9, 9), rng(-9, 9), rng(-9, 9));
        EXPECT_NEAR(kPi, AngleBetweenVectors(a, a * -rng(0.1f, 7)), 1e-3);
        EXPECT_NEAR(0.0, AngleBetweenVectors(a, a * rng(0.1f, 7)), 1e-3);
    }
    const CVector3 a(1, 1, 1), b(5, 1, 1);
    EXPECT_TRUE(Near(b, ClosestPointOnLine(a, b, CVector3(9, 3, 0)), 0));
    EXPECT_TRUE(Near(a, ClosestPointOnLine(a, b, CVector3(-2, 7, 1)), 0));
    EXPECT_TRUE(Near(CVector3(3, 1, 1), ClosestPointOnLine(a, b, CVector3(3, 8, 1))));
    EXPECT_TRUE(Near(a, ClosestPointOnLine(a, a, CVector3(3, 8, 1)), 0));

    CVector3 normal;
    float distance = 99;
    const CVector3 crossing[2] = {CVector3(1, 1, 2), CVector3(1, 1, -2)};
    EXPECT_TRUE(IntersectedPlane(kTriangle, crossing, normal, distance));
    EXPECT_TRUE(Near(CVector3(0, 0, -1), normal) && distance == 0.0f);
    const CVector3 endOnPlane[2] = {CVector3(1, 1, 0), CVector3(1, 1, -2)};
    const CVector3 sameSide[2] = {CVector3(1, 1, 1), CVector3(1, 1, 3)};
    EXPECT_FALSE(IntersectedPlane(kTriangle, endOnPlane, normal, distance));
    EXPECT_FALSE(IntersectedPlane(kTriangle, sameSide, normal, distance));
    EXPECT_TRUE(Near(CVector3(1, 1, 0), IntersectionPoint(CVector3(0, 0, -1), crossing, 0.0)));
    const CVector3 parallel[2] = {CVector3(1, 1, 2), CVector3(3, 1, 2)};
    EXPECT_TRUE(Near(parallel[0], IntersectionPoint(CVector3(0, 0, -1), parallel, 0.0), 0));
    const CVector3 missesTriangle[2] = {CVector3(3, 3, 2), CVector3(3, 3, -2)};
    EXPECT_TRUE(IntersectedPolygon(kTriangle, crossing, 3));
    EXPECT_FALSE(IntersectedPolygon(kTriangle, missesTriangle, 3));
    const CVector3 centroid =
        DivideVectorByScaler(AddVector(AddVector(kTriangle[0], kTriangle[1]), kTriangle[2]), 3.0f);
    EXPECT_TRUE(InsidePolygon(centroid, kTriangle, 3));
    EXPECT_FALSE(InsidePolygon(CVector3(40, 40, 0), kTriangle, 3));
    EXPECT_FALSE(InsidePolygon(CVector3(3, 3, 0), kTriangle, 3));
    EXPECT_TRUE(InsidePolygon(CVector3(1, 1, 0.05f), kTriangle, 3)); // within the tolerance
    EXPECT_FALSE(InsidePolygon(centroid, kTriangle, 0));

    // Spheres exactly at the radius are in front or behind, not intersecting.
    const CVector3 up(0, 1, 0), onPlane(7, 2, -3);
    EXPECT_EQ(SPHERE_FRONT, ClassifySphere(CVector3(0, 4, 0), up, onPlane, 2, distance));
    EXPECT_EQ(2.0f, distance);
    EXPECT_EQ(SPHERE_BEHIND, ClassifySphere(CVector3(0, 0, 0), up, onPlane, 2, distance));
    EXPECT_EQ(-2.0f, distance);
    EXPECT_EQ(SPHERE_INTERSECTS, ClassifySphere(CVector3(0, 3, 0), up, onPlane, 2, distance));
    EXPECT_TRUE(SpherePolygonCollision(kTriangle, CVector3(1, 1, 0.5f), 3, 1));
    // Beside the triangle, but its hypotenuse passes within the radius.
    EXPECT_TRUE(SpherePolygonCollision(kTriangle, CVector3(2.5f, 2.5f, 0.2f), 3, 1));
    EXPECT_FALSE(SpherePolygonCollision(kTriangle, CVector3(4, 4, 0.2f), 3, 1));
    EXPECT_FALSE(SpherePolygonCollision(kTriangle, CVector3(1, 1, 3), 3, 1));
    EXPECT_TRUE(Near(CVector3(0, 0.5f, 0), GetCollisionOffset(up, 2, 1.5f)));
    EXPECT_TRUE(Near(CVector3(0, -0.5f, 0), GetCollisionOffset(up, 2, -1.5f)));

    // Rays hit only the front face (this one faces -z); a miss still reports the plane point.
    const CVector3 p1(0, 0, 0), p2(0, 4, 0), p3(4, 0, 0), dir(0, 0, 1);
    CVector3 hit;
    EXPECT_TRUE(check_intersect_tri(p1, p2, p3, CVector3(1, 1, -10), dir, &hit));
    EXPECT_TRUE(Near(CVector3(1, 1, 0), hit));
    EXPECT_FALSE(check_intersect_tri(p1, p3, p2, CVector3(1, 1, -10), dir, &hit));
    EXPECT_FALSE(check_intersect_tri(p1, p2, p3, CVector3(1, 1, 10), dir, &hit));
    EXPECT_FALSE(check_intersect_tri(p1, p2, p3, CVector3(5, 5, -10), dir, &hit));
    EXPECT_TRUE(Near(CVector3(5, 5, 0), hit));
}

// Half turns (w = 0, trace 0) send each axis down its own branch of the matrix reading.
TEST(Quaternion, MatrixRoundTripAndSlerpAgainstTheClosedForm) {
    std::vector<CQuaternion> cases = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}};
    Random rng(11);
    for (int i = 0; i < 2000; ++i) {
        CQuaternion q(rng(-1, 1), rng(-1, 1), rng(-1, 1), rng(0.2f, 1));
        const float len = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
        cases.emplace_back(q.x / len, q.y / len, q.z / len, q.w / len);
    }
    float m[16];
    for (const CQuaternion& unit : cases) {
        unit.CreateMatrix(m);
        CQuaternion back, from3;
        back.CreateFromMatrix(m, 4);
        EXPECT_TRUE(math_test::NearlyEqual(&unit.x, &back.x, 4));
        const float m3[9] = {m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]};
        from3.CreateFromMatrix(m3, 3);
        EXPECT_TRUE(math_test::NearlyEqual(&back.x, &from3.x, 4, 1e-6f));
    }
    std::fill(m, m + 16, 7.0f);
    CQuaternion q(0.1f, 0.2f, 0.3f, 0.9f);
    for (int size : {2, 5})
        q.CreateFromMatrix(m, size);
    q.CreateFromMatrix(nullptr, 4);
    EXPECT_TRUE(q.x == 0.1f && q.w == 0.9f);
    q.CreateMatrix(nullptr);
    // Against the closed form: a turn about x by t * angle is (sin(t * angle / 2), 0, 0, cos).
    CQuaternion a(0, 0, 0, 1), b(0, 0.7071068f, 0, 0.7071068f), copyOfA = a;
    EXPECT_EQ(a.w, CQuaternion::Slerp(a, copyOfA, 0.5f).w);
    for (int i = 0; i < 500; ++i) {
        const float angle = rng(1.0f, 3.0f);
        CQuaternion end(std::sin(angle / 2), 0, 0, std::cos(angle / 2));
        for (float t : {rng(0, 1), 1.0f}) {
            const CQuaternion got = CQuaternion::Slerp(a, end, t);
            const CQuaternion want(std::sin(t * angle / 2), 0, 0, std::cos(t * angle / 2));
            EXPECT_TRUE(math_test::NearlyEqual(&want.x, &got.x, 4)) << t;
        }
    }
    // Close quaternions interpolate linearly (the result is not renormalized).
    CQuaternion near(0.1f, 0, 0, 0.995f);
    const CQuaternion lin = CQuaternion::Slerp(a, near, 0.5f);
    EXPECT_TRUE(std::fabs(lin.x - 0.05f) < 1e-7f && std::fabs(lin.w - 0.9975f) < 1e-7f);
    // The caller's second quaternion is flipped into a's hemisphere.
    CQuaternion opposite(0, -0.7071068f, 0, -0.7071068f);
    EXPECT_GT(CQuaternion::Slerp(a, opposite, 0.5f).w, 0.9f);
    EXPECT_TRUE(b.y == opposite.y && b.w == opposite.w);
}
