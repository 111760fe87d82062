#include "math/3DMath.h"

#include "math_test_util.h"

using math_test::Random;

namespace {

const float kPi = 3.14159265f;

void ExpectVec(const CVector3& expected, const CVector3& actual, float tolerance = 1e-5f) {
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

bool IsFinite(const CVector3& v) {
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

// Counter-clockwise seen from +z, so Normal() (which crosses edge 2 with edge 1) gives -z.
const CVector3 kTriangle[3] = {CVector3(0, 0, 0), CVector3(4, 0, 0), CVector3(0, 4, 0)};

} // namespace

TEST(VectorZeroRules, MemberNormalizeKeepsZeroAndFreeNormalizeGivesZeroNotNaN) {
    CVector2 v2;
    v2.normalize();
    EXPECT_EQ(0.0f, v2.x);
    EXPECT_EQ(0.0f, v2.y);
    CVector3 v3;
    v3.normalize();
    ExpectVec(CVector3(), v3, 0.0f);

    ExpectVec(CVector3(), Normalize(CVector3()), 0.0f);
    // Degenerate triangles (repeated and collinear points) are common in model files.
    const CVector3 repeated[3] = {CVector3(1, 2, 3), CVector3(1, 2, 3), CVector3(5, 5, 5)};
    const CVector3 collinear[3] = {CVector3(0, 0, 0), CVector3(1, 1, 1), CVector3(2, 2, 2)};
    EXPECT_TRUE(IsFinite(Normal(repeated)));
    EXPECT_TRUE(IsFinite(Normal(collinear)));
    ExpectVec(CVector3(), Normal(collinear), 0.0f);
    ExpectVec(CVector3(0, 0, -1), Normal(kTriangle));
}

TEST(VectorZeroRules, AngleBetweenVectors) {
    EXPECT_EQ(0.0, AngleBetweenVectors(CVector3(1, 2, 3), CVector3()));
    EXPECT_NEAR(kPi / 2, AngleBetweenVectors(CVector3(1, 0, 0), CVector3(0, 3, 0)), 1e-6);
    // Rounding pushes the cosine of these anti-parallel vectors below -1.
    Random rng(3);
    for (int i = 0; i < 1000; ++i) {
        const CVector3 a(rng.Uniform(-9, 9), rng.Uniform(-9, 9), rng.Uniform(-9, 9));
        EXPECT_NEAR(kPi, AngleBetweenVectors(a, a * -rng.Uniform(0.1f, 7)), 1e-3);
        EXPECT_NEAR(0.0, AngleBetweenVectors(a, a * rng.Uniform(0.1f, 7)), 1e-3);
    }
}

TEST(Segments, ClosestPointOnLineClampsToTheEnds) {
    const CVector3 a(1, 1, 1), b(5, 1, 1);
    ExpectVec(b, ClosestPointOnLine(a, b, CVector3(9, 3, 0)), 0.0f);
    ExpectVec(a, ClosestPointOnLine(a, b, CVector3(-2, 7, 1)), 0.0f);
    ExpectVec(CVector3(3, 1, 1), ClosestPointOnLine(a, b, CVector3(3, 8, 1)));
    ExpectVec(a, ClosestPointOnLine(a, a, CVector3(3, 8, 1)), 0.0f);
}

TEST(Planes, LineAgainstTrianglePlaneAndPolygon) {
    CVector3 normal;
    float distance = 99;
    const CVector3 crossing[2] = {CVector3(1, 1, 2), CVector3(1, 1, -2)};
    EXPECT_TRUE(IntersectedPlane(kTriangle, crossing, normal, distance));
    ExpectVec(CVector3(0, 0, -1), normal);
    EXPECT_EQ(0.0f, distance);

    const CVector3 endOnPlane[2] = {CVector3(1, 1, 0), CVector3(1, 1, -2)};
    EXPECT_FALSE(IntersectedPlane(kTriangle, endOnPlane, normal, distance));
    const CVector3 sameSide[2] = {CVector3(1, 1, 1), CVector3(1, 1, 3)};
    EXPECT_FALSE(IntersectedPlane(kTriangle, sameSide, normal, distance));

    ExpectVec(CVector3(1, 1, 0), IntersectionPoint(CVector3(0, 0, -1), crossing, 0.0));
    const CVector3 parallel[2] = {CVector3(1, 1, 2), CVector3(3, 1, 2)};
    ExpectVec(parallel[0], IntersectionPoint(CVector3(0, 0, -1), parallel, 0.0), 0.0f);

    EXPECT_TRUE(IntersectedPolygon(kTriangle, crossing, 3));
    const CVector3 missesTriangle[2] = {CVector3(3, 3, 2), CVector3(3, 3, -2)};
    EXPECT_FALSE(IntersectedPolygon(kTriangle, missesTriangle, 3));
}

TEST(Planes, InsidePolygonAngleSum) {
    const CVector3 centroid =
        DivideVectorByScaler(AddVector(AddVector(kTriangle[0], kTriangle[1]), kTriangle[2]), 3.0f);
    EXPECT_TRUE(InsidePolygon(centroid, kTriangle, 3));
    EXPECT_FALSE(InsidePolygon(CVector3(40, 40, 0), kTriangle, 3));
    EXPECT_FALSE(InsidePolygon(CVector3(3, 3, 0), kTriangle, 3));
    // The tolerance lets a point just off the plane count as inside.
    EXPECT_TRUE(InsidePolygon(CVector3(1, 1, 0.05f), kTriangle, 3));
    EXPECT_FALSE(InsidePolygon(centroid, kTriangle, 0));
}

TEST(Spheres, ClassificationAtExactlyPlusAndMinusTheRadius) {
    const CVector3 normal(0, 1, 0), onPlane(7, 2, -3);
    float distance = 0;
    EXPECT_EQ(SPHERE_FRONT, ClassifySphere(CVector3(0, 4, 0), normal, onPlane, 2, distance));
    EXPECT_EQ(2.0f, distance);
    EXPECT_EQ(SPHERE_BEHIND, ClassifySphere(CVector3(0, 0, 0), normal, onPlane, 2, distance));
    EXPECT_EQ(-2.0f, distance);
    EXPECT_EQ(SPHERE_INTERSECTS, ClassifySphere(CVector3(0, 3, 0), normal, onPlane, 2, distance));
    EXPECT_EQ(SPHERE_FRONT, ClassifySphere(CVector3(0, 9, 0), normal, onPlane, 2, distance));
}

TEST(Spheres, SpherePolygonCollisionByFaceAndByEdge) {
    EXPECT_TRUE(SpherePolygonCollision(kTriangle, CVector3(1, 1, 0.5f), 3, 1));
    // Beside the triangle, but its hypotenuse passes within the radius.
    EXPECT_TRUE(SpherePolygonCollision(kTriangle, CVector3(2.5f, 2.5f, 0.2f), 3, 1));
    EXPECT_FALSE(SpherePolygonCollision(kTriangle, CVector3(4, 4, 0.2f), 3, 1));
    EXPECT_FALSE(SpherePolygonCollision(kTriangle, CVector3(1, 1, 3), 3, 1));

    ExpectVec(CVector3(0, 0.5f, 0), GetCollisionOffset(CVector3(0, 1, 0), 2, 1.5f));
    ExpectVec(CVector3(0, -0.5f, 0), GetCollisionOffset(CVector3(0, 1, 0), 2, -1.5f));
}

TEST(Rays, TriangleHitsOnlyTheFrontFace) {
    const CVector3 p1(0, 0, 0), p2(0, 4, 0), p3(4, 0, 0); // faces -z
    CVector3 hit;
    EXPECT_TRUE(check_intersect_tri(p1, p2, p3, CVector3(1, 1, -10), CVector3(0, 0, 1), &hit));
    ExpectVec(CVector3(1, 1, 0), hit);
    EXPECT_FALSE(check_intersect_tri(p1, p3, p2, CVector3(1, 1, -10), CVector3(0, 0, 1), &hit));
    EXPECT_FALSE(check_intersect_tri(p1, p2, p3, CVector3(1, 1, 10), CVector3(0, 0, 1), &hit));

    // A miss beside the triangle still reports where the ray met the plane.
    hit = CVector3();
    EXPECT_FALSE(check_intersect_tri(p1, p2, p3, CVector3(5, 5, -10), CVector3(0, 0, 1), &hit));
    ExpectVec(CVector3(5, 5, 0), hit);
}

TEST(Quaternion, MatrixRoundTripGivesTheUnitQuaternionBack) {
    Random rng(11);
    for (int i = 0; i < 2000; ++i) {
        float q[4] = {rng.Uniform(-1, 1), rng.Uniform(-1, 1), rng.Uniform(-1, 1),
                      rng.Uniform(0.2f, 1)};
        const float len = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
        const CQuaternion unit(q[0] / len, q[1] / len, q[2] / len, q[3] / len);
        float m[16];
        unit.CreateMatrix(m);
        CQuaternion back;
        back.CreateFromMatrix(m, 4);
        EXPECT_NEAR(unit.x, back.x, 1e-5f);
        EXPECT_NEAR(unit.y, back.y, 1e-5f);
        EXPECT_NEAR(unit.z, back.z, 1e-5f);
        EXPECT_NEAR(unit.w, back.w, 1e-5f);

        // The 3x3 form reads the same rotation.
        const float m3[9] = {m[0], m[1], m[2], m[4], m[5], m[6], m[8], m[9], m[10]};
        CQuaternion from3;
        from3.CreateFromMatrix(m3, 3);
        EXPECT_NEAR(back.x, from3.x, 1e-6f);
        EXPECT_NEAR(back.w, from3.w, 1e-6f);
    }
}

TEST(Quaternion, RotationsOfHalfATurnUseTheLargestComponent) {
    // w = 0 sends the trace to 0, so each axis takes its own branch.
    const CQuaternion halfTurns[3] = {CQuaternion(1, 0, 0, 0), CQuaternion(0, 1, 0, 0),
                                      CQuaternion(0, 0, 1, 0)};
    for (const CQuaternion& q : halfTurns) {
        float m[16];
        q.CreateMatrix(m);
        CQuaternion back;
        back.CreateFromMatrix(m, 4);
        EXPECT_NEAR(q.x, back.x, 1e-6f);
        EXPECT_NEAR(q.y, back.y, 1e-6f);
        EXPECT_NEAR(q.z, back.z, 1e-6f);
        EXPECT_NEAR(0.0f, back.w, 1e-6f);
    }
}

TEST(Quaternion, BadArgumentsAreIgnored) {
    float m[16];
    for (float& e : m)
        e = 7;
    CQuaternion q(0.1f, 0.2f, 0.3f, 0.9f);
    q.CreateFromMatrix(m, 2);
    q.CreateFromMatrix(m, 5);
    q.CreateFromMatrix(nullptr, 4);
    EXPECT_EQ(0.1f, q.x);
    EXPECT_EQ(0.9f, q.w);
    q.CreateMatrix(nullptr); // must not crash
}

TEST(Quaternion, Slerp) {
    CQuaternion a(0, 0, 0, 1), b(0, 0.7071068f, 0, 0.7071068f), copyOfA = a;
    EXPECT_EQ(a.w, CQuaternion::Slerp(a, copyOfA, 0.5f).w);

    Random rng(5);
    for (int i = 0; i < 500; ++i) {
        const float angle = rng.Uniform(1.0f, 3.0f); // far enough apart to go spherical
        CQuaternion end(std::sin(angle / 2), 0, 0, std::cos(angle / 2));
        CQuaternion at0 = CQuaternion::Slerp(a, end, 0.0f);
        CQuaternion at1 = CQuaternion::Slerp(a, end, 1.0f);
        EXPECT_NEAR(a.w, at0.w, 1e-6f);
        EXPECT_NEAR(end.x, at1.x, 1e-6f);
        EXPECT_NEAR(end.w, at1.w, 1e-6f);
        const float t = rng.Uniform(0, 1);
        const CQuaternion mid = CQuaternion::Slerp(a, end, t);
        EXPECT_NEAR(1.0f, std::sqrt(mid.x * mid.x + mid.w * mid.w), 1e-5f);
        EXPECT_NEAR(std::sin(t * angle / 2), mid.x, 1e-5f);
    }

    // Close quaternions interpolate linearly (the result is not renormalized).
    const CQuaternion near(0.1f, 0, 0, 0.995f);
    CQuaternion nearCopy = near;
    const CQuaternion lin = CQuaternion::Slerp(a, nearCopy, 0.5f);
    EXPECT_FLOAT_EQ(0.05f, lin.x);
    EXPECT_FLOAT_EQ(0.9975f, lin.w);

    // The caller's second quaternion is flipped into a's hemisphere.
    CQuaternion opposite(0, -0.7071068f, 0, -0.7071068f);
    const CQuaternion halfway = CQuaternion::Slerp(a, opposite, 0.5f);
    EXPECT_EQ(b.y, opposite.y);
    EXPECT_EQ(b.w, opposite.w);
    EXPECT_GT(halfway.w, 0.9f);
}
