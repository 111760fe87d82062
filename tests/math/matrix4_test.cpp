#include "math/matrix4.h"

#include "math_test_util.h"

using math_test::NearlyEqual;
using math_test::Random;

namespace {

MATRIX4X4 RandomMatrix(Random& rng, bool affine) {
    MATRIX4X4 m;
    for (float& e : m.entries)
        e = rng.Uniform(-3, 3);
    if (affine) m.entries[3] = m.entries[7] = m.entries[11] = 0, m.entries[15] = 1;
    return m;
}

MATRIX4X4 RandomRigid(Random& rng) {
    MATRIX4X4 rotation, translation;
    rotation.SetRotationAxis(
        rng.Uniform(-360, 360),
        VECTOR3D(rng.Uniform(-1, 1), rng.Uniform(-1, 1), rng.Uniform(0.1f, 1)));
    translation.SetTranslation(
        VECTOR3D(rng.Uniform(-50, 50), rng.Uniform(-50, 50), rng.Uniform(-50, 50)));
    return translation * rotation;
}

const MATRIX4X4 kIdentity;

} // namespace

// The four product paths (affine and general operands) are checked against glMultMatrix
// in matrix4_gl_test.
TEST(Matrix4Properties, InverseTimesMatrixIsIdentity) {
    Random rng(22);
    int tested = 0;
    for (int i = 0; i < 4000; ++i) {
        MATRIX4X4 m = RandomMatrix(rng, i & 1);
        // Keep clear of nearly singular matrices, whose float inverse is meaningless.
        for (int d = 0; d < 4; ++d)
            m.entries[d * 5] += (d % 2 ? -6.0f : 6.0f);
        EXPECT_TRUE(NearlyEqual(kIdentity, m * m.GetInverse(), 16, 1e-4f)) << "trial " << i;
        EXPECT_TRUE(NearlyEqual(kIdentity, m.GetInverse() * m, 16, 1e-4f)) << "trial " << i;
        ++tested;
    }
    EXPECT_EQ(4000, tested);
}

TEST(Matrix4Properties, AffineInverseEqualsGeneralInverseForRigidTransforms) {
    Random rng(23);
    for (int i = 0; i < 2000; ++i) {
        const MATRIX4X4 m = RandomRigid(rng);
        EXPECT_TRUE(NearlyEqual(m.GetInverse(), m.GetAffineInverse(), 16, 1e-4f));
        EXPECT_TRUE(NearlyEqual(m.GetInverseTranspose(), m.GetAffineInverseTranspose(), 16, 1e-4f));
        // Undoing the transform returns the point.
        const VECTOR4D p(rng.Uniform(-9, 9), rng.Uniform(-9, 9), rng.Uniform(-9, 9), 1);
        const VECTOR3D back = m.GetAffineInverse() * (m * p);
        EXPECT_NEAR(p.x, back.x, 1e-3f);
        EXPECT_NEAR(p.z, back.z, 1e-3f);
    }
}

TEST(Matrix4EdgeCases, SingularInverseIsIdentity) {
    MATRIX4X4 singular(1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 5, 5, 5, 5); // column 1 = 2 * column 0
    EXPECT_EQ(kIdentity, singular.GetInverse());
    MATRIX4X4 zero;
    zero.LoadZero();
    zero.Invert();
    EXPECT_EQ(kIdentity, zero);
}

TEST(Matrix4EdgeCases, OutOfRangeIndicesAndExactDivisors) {
    MATRIX4X4 m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const MATRIX4X4 original = m;
    for (int bad : {-1, 4})
        EXPECT_EQ(VECTOR4D(0, 0, 0, 0), m.GetRow(bad));
    EXPECT_EQ(VECTOR4D(0, 0, 0, 0), m.GetColumn(7));
    EXPECT_EQ(VECTOR4D(2, 6, 10, 14), m.GetRow(1));
    EXPECT_EQ(VECTOR4D(5, 6, 7, 8), m.GetColumn(1));
    m.SetEntry(16, 99);
    m.SetEntry(-1, 99);
    EXPECT_EQ(original, m);
    EXPECT_EQ(0.0f, m.GetEntry(16));
    EXPECT_EQ(original, m / 0.0f);
    EXPECT_EQ(original, m / 1.0f);
    m /= 2.0f;
    EXPECT_EQ(0.5f, m.GetEntry(0));
}

TEST(Matrix4EdgeCases, DegenerateAndInfinitePerspective) {
    MATRIX4X4 zero;
    zero.LoadZero();
    MATRIX4X4 m;
    m.SetPerspective(1, 1, -1, 1, 1, 10);
    EXPECT_EQ(zero, m);
    m.SetPerspective(-1, 1, 2, 2, 1, 10);
    EXPECT_EQ(zero, m);
    m.SetPerspective(-1, 1, -1, 1, 5, 5);
    EXPECT_EQ(zero, m);

    m.SetPerspective(-1, 1, -1, 1, 2, -1);
    EXPECT_EQ(-0.999f, m.GetEntry(10));
    EXPECT_EQ(2.0f * -2.0f * 0.999f, m.GetEntry(14));
    EXPECT_EQ(-1.0f, m.GetEntry(11));
    // Far points still land inside the depth range.
    const VECTOR4D farPoint = m * VECTOR4D(0, 0, -1e6f, 1);
    EXPECT_LT(farPoint.z / farPoint.w, 1.0f);
}

TEST(Matrix4EdgeCases, VectorProductKeepsWForAffineMatrices) {
    MATRIX4X4 m;
    m.SetTranslation(VECTOR3D(1, 2, 3));
    EXPECT_EQ(VECTOR4D(1, 0, 0, 0), m * VECTOR4D(1, 0, 0, 0)); // directions do not move
    EXPECT_EQ(VECTOR4D(3, 6, 9, 2), m * VECTOR4D(1, 2, 3, 2));
    EXPECT_EQ(VECTOR3D(1, 2, 3), m.GetTranslatedVector3D(VECTOR3D()));
    EXPECT_EQ(VECTOR3D(-1, -2, -3), m.GetInverseTranslatedVector3D(VECTOR3D()));
}
