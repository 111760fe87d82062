#include "models/CEntity.h"

#include <gtest/gtest.h>

namespace {
struct Placed : CEntity {
    void Place(CVector3 p, CVector3 s, float angle) {
        m_vPosition = p;
        m_vSize = s;
        m_fAngle = angle;
    }
};
} // namespace

TEST(CEntity, PointsAreScaledThenTurnedAboutYThenMoved) {
    Placed e;
    e.Place(CVector3(10, 20, 30), CVector3(2, 3, 4), 90.0f);
    CVector3 p(1, 1, 1);
    e.TransformCustomVectorCoordinates(p);
    // scale -> (2, 3, 4); rotate_y(90) -> (4, 3, -2); translate.
    EXPECT_NEAR(p.x, 14.0f, 1e-4f);
    EXPECT_NEAR(p.y, 23.0f, 1e-4f);
    EXPECT_NEAR(p.z, 28.0f, 1e-4f);
}

TEST(CEntity, TurnedBoxKeepsOnlyItsTwoCorners) {
    Placed e;
    e.Place(CVector3(), CVector3(1, 1, 1), 180.0f);
    CVector3 min(-1, -1, -1), max(1, 1, 1);
    e.TransformModelLevelBoundingBoxCoordinates(min, max);
    EXPECT_GT(e.GetTransformedModelLevelBBMinPoint()->x, e.GetTransformedModelLevelBBMaxPoint()->x);
    EXPECT_FLOAT_EQ(min.x, -1.0f); // the inputs are copied, not moved
    EXPECT_EQ(e.GetModelVertexNum(), 0);
    EXPECT_FLOAT_EQ(e.GetRotationVector()->y, 1.0f);
    EXPECT_FLOAT_EQ(e.GetSize()->z, 1.0f);
}
