#include "math/matrix4.h"
#include "math/vector2d.h"
#include "math/vector3d.h"
#include "math/vector4d.h"

#include "math_test_util.h"

using math_test::Random;

TEST(ShadowVectors, NormalizeLeavesZeroAndUnitVectorsAlone) {
    VECTOR3D zero;
    zero.Normalize();
    EXPECT_EQ(VECTOR3D(), zero);
    VECTOR3D unit(0, 1, 0);
    unit.Normalize();
    EXPECT_EQ(VECTOR3D(0, 1, 0), unit);
    VECTOR2D zero2(0, 0);
    zero2.Normalize();
    EXPECT_EQ(VECTOR2D(0, 0), zero2);

    EXPECT_FLOAT_EQ(1.0f, VECTOR3D(3, -4, 12).GetNormalized().GetLength());
    EXPECT_FLOAT_EQ(0.6f, VECTOR2D(3, 4).GetNormalized().x);
    const VECTOR3D packed = VECTOR3D(0, 0, -5).GetPackedTo01();
    EXPECT_EQ(VECTOR3D(0.5f, 0.5f, 0.0f), packed);
}

TEST(ShadowVectors, HomogeneousDivideSkipsWOfZeroAndOne) {
    EXPECT_EQ(VECTOR3D(1, 2, 3), VECTOR3D(VECTOR4D(2, 4, 6, 2)));
    EXPECT_EQ(VECTOR3D(2, 4, 6), VECTOR3D(VECTOR4D(2, 4, 6, 0)));
    EXPECT_EQ(VECTOR3D(2, 4, 6), VECTOR3D(VECTOR4D(2, 4, 6, 1)));
}

TEST(ShadowVectors, RotationsAreRightHandedAndMatchTheMatrices) {
    const VECTOR3D x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    const auto near = [](const VECTOR3D& a, const VECTOR3D& b) {
        return std::fabs(a.x - b.x) < 1e-6f && std::fabs(a.y - b.y) < 1e-6f &&
               std::fabs(a.z - b.z) < 1e-6f;
    };
    EXPECT_TRUE(near(z, y.GetRotatedX(90)));
    EXPECT_TRUE(near(x, z.GetRotatedY(90)));
    EXPECT_TRUE(near(y, x.GetRotatedZ(90)));
    EXPECT_TRUE(near(y, x.GetRotatedAxis(90, VECTOR3D(0, 0, 7))));

    Random rng(31);
    for (int i = 0; i < 500; ++i) {
        const double angle = rng.Uniform(-360, 360);
        const VECTOR3D v(rng.Uniform(-5, 5), rng.Uniform(-5, 5), rng.Uniform(-5, 5));
        MATRIX4X4 m;
        m.SetRotationX(angle);
        EXPECT_TRUE(near(m.GetRotatedVector3D(v), v.GetRotatedX(angle)));
        m.SetRotationY(angle);
        EXPECT_TRUE(near(m.GetRotatedVector3D(v), v.GetRotatedY(angle)));
        m.SetRotationZ(angle);
        EXPECT_TRUE(near(m.GetRotatedVector3D(v), v.GetRotatedZ(angle)));
        // The inverse rotation undoes it.
        EXPECT_TRUE(near(v, m.GetInverseRotatedVector3D(m.GetRotatedVector3D(v))));

        VECTOR4D h(v.x, v.y, v.z, 3);
        h.RotateY(angle);
        EXPECT_EQ(3.0f, h.w);
        EXPECT_TRUE(near(v.GetRotatedY(angle), VECTOR3D(h.x, h.y, h.z)));
    }
}
