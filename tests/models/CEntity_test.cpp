#include "models/CEntity.h"

#include <gtest/gtest.h>

namespace {
struct Placed : CEntity {
    Placed(CVector3 p, CVector3 s, float angle) {
        m_vPosition = p;
        m_vSize = s;
        m_fAngle = angle;
    }
};
} // namespace

TEST(CEntity, PointsAreScaledThenTurnedAboutYThenMovedAndTurnedBoxesKeepTheirCorners) {
    Placed e(CVector3(10, 20, 30), CVector3(2, 3, 4), 90.0f);
    CVector3 p(1, 1, 1);
    e.TransformCustomVectorCoordinates(p);
    // scale -> (2, 3, 4); rotate_y(90) -> (4, 3, -2); translate.
    EXPECT_NEAR(p.x, 14.0f, 1e-4f);
    EXPECT_NEAR(p.y, 23.0f, 1e-4f);
    EXPECT_NEAR(p.z, 28.0f, 1e-4f);
    Placed turned(CVector3(), CVector3(1, 1, 1), 180.0f);
    CVector3 min(-1, -1, -1), max(1, 1, 1);
    turned.TransformModelLevelBoundingBoxCoordinates(min, max);
    EXPECT_GT(turned.GetTransformedModelLevelBBMinPoint()->x,
              turned.GetTransformedModelLevelBBMaxPoint()->x);
    EXPECT_FLOAT_EQ(min.x, -1.0f); // the inputs are copied, not moved
}
