#include "math/Matrix4x4f.h"

#include "math_test_util.h"

TEST(Matrix4x4f, ArgumentsReadRowByRowAreStoredColumnMajor) {
    const matrix4x4f m(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(5.0f, m.m[1]);  // row 1, column 0
    EXPECT_EQ(4.0f, m.m[12]); // row 0, column 3: translation x
    const CVector4 row = m.GetRow(2);
    EXPECT_EQ(9.0f, row.x);
    EXPECT_EQ(12.0f, row.w);
    for (int bad : {-1, 4}) {
        const CVector4 none = m.GetRow(bad);
        EXPECT_EQ(0.0f, none.x + none.y + none.z + none.w);
    }
}

TEST(Matrix4x4f, RotateNormalizesTheCallersAxis) {
    CVector3 axis(0, 0, 5);
    matrix4x4f m;
    m.rotate(90, axis);
    EXPECT_FLOAT_EQ(1.0f, axis.z);
    CVector3 p(1, 0, 0);
    m.transformPoint(&p);
    EXPECT_NEAR(1.0f, p.y, 1e-6f);
}

TEST(Matrix4x4f, PointsMoveWithTheTranslationAndVectorsDoNot) {
    matrix4x4f rotate, translate;
    rotate.rotate_y(90);
    translate.translate(CVector3(10, 0, 0));
    const matrix4x4f m = translate * rotate; // rotate first
    CVector3 point(0, 0, 1), vector(0, 0, 1);
    m.transformPoint(&point);
    m.transformVector(&vector);
    EXPECT_NEAR(11.0f, point.x, 1e-5f);
    EXPECT_NEAR(0.0f, point.z, 1e-5f);
    EXPECT_NEAR(1.0f, vector.x, 1e-5f);
}
