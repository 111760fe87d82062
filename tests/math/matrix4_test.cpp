// Builders and products are checked against the GL matrix stack in oracle_gl_test.cpp.
#include "math/Matrix4x4f.h"
#include "math/matrix4.h"
#include "math/vector2d.h"

#include "math_test_util.h"

#include <array>

using math_test::NearlyEqual;
using math_test::Random;

const MATRIX4X4 kIdentity;

static bool Near(const VECTOR3D& a, const VECTOR3D& b) {
    return NearlyEqual(&a.x, &b.x, 3, 1e-6f);
}

TEST(Matrix4, InversesOutOfRangeIndicesExactDivisorsAndDegeneratePerspective) {
    Random rng(22);
    for (int i = 0; i < 4000; ++i) {
        MATRIX4X4 m;
        for (float& e : m.entries)
            e = rng(-3, 3);
        if (i & 1) math_test::MakeAffine(m.entries);
        // Keep clear of nearly singular matrices, whose float inverse is meaningless.
        for (int d = 0; d < 4; ++d)
            m.entries[d * 5] += (d % 2 ? -6.0f : 6.0f);
        EXPECT_TRUE(NearlyEqual(kIdentity, m * m.GetInverse(), 16, 1e-4f)) << "trial " << i;
    }
    // For rigid transforms the affine shortcuts agree with the general inverse.
    for (int i = 0; i < 2000; ++i) {
        MATRIX4X4 rotation, m;
        rotation.SetRotationAxis(rng(-360, 360), VECTOR3D(rng(-1, 1), rng(-1, 1), rng(0.1f, 1)));
        m.SetTranslation(VECTOR3D(rng(-50, 50), rng(-50, 50), rng(-50, 50)));
        m = m * rotation;
        EXPECT_TRUE(NearlyEqual(m.GetInverse(), m.GetAffineInverse(), 16, 1e-4f));
        EXPECT_TRUE(NearlyEqual(m.GetInverseTranspose(), m.GetAffineInverseTranspose(), 16, 1e-4f));
    }
    // A singular matrix inverts to the identity.
    MATRIX4X4 singular(1, 2, 3, 4, 2, 4, 6, 8, 0, 1, 0, 1, 5, 5, 5, 5); // column 1 = 2 * column 0
    EXPECT_EQ(kIdentity, singular.GetInverse());
    singular.LoadZero();
    singular.Invert();
    EXPECT_EQ(kIdentity, singular);
    MATRIX4X4 m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    const MATRIX4X4 original = m;
    const VECTOR4D none(0, 0, 0, 0);
    EXPECT_TRUE(none == m.GetRow(-1) && none == m.GetRow(4) && none == m.GetColumn(7));
    EXPECT_TRUE(VECTOR4D(2, 6, 10, 14) == m.GetRow(1) && VECTOR4D(5, 6, 7, 8) == m.GetColumn(1));
    m.SetEntry(16, 99);
    m.SetEntry(-1, 99);
    EXPECT_TRUE(original == m && original == m / 0.0f && original == m / 1.0f);
    EXPECT_EQ(0.0f, m.GetEntry(16));
    m /= 2.0f;
    EXPECT_EQ(0.5f, m.GetEntry(0));
    // Directions do not move, and w is kept for affine matrices.
    m.SetTranslation(VECTOR3D(1, 2, 3));
    EXPECT_EQ(VECTOR4D(1, 0, 0, 0), m * VECTOR4D(1, 0, 0, 0));
    EXPECT_EQ(VECTOR4D(3, 6, 9, 2), m * VECTOR4D(1, 2, 3, 2));
    EXPECT_EQ(VECTOR3D(1, 2, 3), m.GetTranslatedVector3D(VECTOR3D()));
    EXPECT_EQ(VECTOR3D(-1, -2, -3), m.GetInverseTranslatedVector3D(VECTOR3D()));

    MATRIX4X4 zero;
    zero.LoadZero();
    // Zero width, zero height, near == far.
    for (const auto& p :
         {std::array<float, 6>{1, 1, -1, 1, 1, 10}, {-1, 1, 2, 2, 1, 10}, {-1, 1, -1, 1, 5, 5}}) {
        m.SetPerspective(p[0], p[1], p[2], p[3], p[4], p[5]);
        EXPECT_EQ(zero, m) << p[0];
    }
    m.SetPerspective(-1, 1, -1, 1, 2, -1); // a far plane at infinity
    EXPECT_TRUE(m.GetEntry(10) == -0.999f && m.GetEntry(14) == 2.0f * -2.0f * 0.999f &&
                m.GetEntry(11) == -1.0f);
    const VECTOR4D farPoint = m * VECTOR4D(0, 0, -1e6f, 1);
    EXPECT_LT(farPoint.z / farPoint.w, 1.0f);
}

TEST(Vectors, NormalizeDivideRotationsAndMatrix4x4fRowsAxesPointsAndVectors) {
    VECTOR3D zero, unit(0, 1, 0);
    VECTOR2D zero2(0, 0);
    zero.Normalize();
    unit.Normalize();
    zero2.Normalize();
    EXPECT_TRUE(zero == VECTOR3D() && unit == VECTOR3D(0, 1, 0) && zero2 == VECTOR2D(0, 0));
    EXPECT_FLOAT_EQ(1.0f, VECTOR3D(3, -4, 12).GetNormalized().GetLength());
    EXPECT_FLOAT_EQ(0.6f, VECTOR2D(3, 4).GetNormalized().x);
    EXPECT_EQ(VECTOR3D(0.5f, 0.5f, 0.0f), VECTOR3D(0, 0, -5).GetPackedTo01());
    // The homogeneous divide skips w of 0.
    EXPECT_EQ(VECTOR3D(1, 2, 3), VECTOR3D(VECTOR4D(2, 4, 6, 2)));
    EXPECT_EQ(VECTOR3D(2, 4, 6), VECTOR3D(VECTOR4D(2, 4, 6, 0)));

    // Right-handed quarter turns, by the vector methods and by the matrices.
    const VECTOR3D x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    MATRIX4X4 rx, ry, rz;
    rx.SetRotationX(90);
    ry.SetRotationY(90);
    rz.SetRotationZ(90);
    EXPECT_TRUE(Near(z, y.GetRotatedX(90)) && Near(z, rx.GetRotatedVector3D(y)));
    EXPECT_TRUE(Near(x, z.GetRotatedY(90)) && Near(x, ry.GetRotatedVector3D(z)));
    EXPECT_TRUE(Near(y, x.GetRotatedZ(90)) && Near(y, rz.GetRotatedVector3D(x)));
    EXPECT_TRUE(Near(y, x.GetRotatedAxis(90, VECTOR3D(0, 0, 7))));
    EXPECT_TRUE(Near(x, rz.GetInverseRotatedVector3D(y)));
    VECTOR4D h(0, 0, 1, 3);
    h.RotateY(90);
    EXPECT_TRUE(Near(x, VECTOR3D(h.x, h.y, h.z)) && h.w == 3.0f);
    const matrix4x4f m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(5.0f, m.m[1]);  // row 1, column 0: arguments read row by row, stored by column
    EXPECT_EQ(4.0f, m.m[12]); // row 0, column 3: translation x
    EXPECT_TRUE(m.GetRow(2).x == 9.0f && m.GetRow(2).w == 12.0f);
    for (int bad : {-1, 4}) {
        const CVector4 none = m.GetRow(bad);
        EXPECT_EQ(0.0f, none.x + none.y + none.z + none.w);
    }
    CVector3 axis(0, 0, 5), point(0, 0, 1), vector(0, 0, 1);
    matrix4x4f rotate, translate;
    rotate.rotate(90, axis);
    EXPECT_FLOAT_EQ(1.0f, axis.z); // the caller's axis is normalised in place
    rotate.rotate_y(90);
    translate.translate(CVector3(10, 0, 0));
    const matrix4x4f both = translate * rotate; // rotate first
    both.transformPoint(&point);
    both.transformVector(&vector);
    EXPECT_TRUE(std::fabs(point.x - 11) < 1e-5f && std::fabs(point.z) < 1e-5f &&
                std::fabs(vector.x - 1) < 1e-5f);
}
