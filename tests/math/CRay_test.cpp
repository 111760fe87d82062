#include "math/CRay.h"

#include <gtest/gtest.h>

TEST(CRay, KeepsOnlyTheNearestHit) {
    CRay ray;
    ray.SetOrigin(0, 0, -10);
    EXPECT_TRUE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 0, 0)));
    EXPECT_FALSE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 0, 0))); // same point again
    EXPECT_FALSE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 0, 5)));
    EXPECT_TRUE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 3, -10)));
    EXPECT_EQ(3.0f, ray.GetDistance());

    ray.SetHit(true);
    ray.SetColor(1, 0.5f, 0.25f);
    ray.ResetRay();
    EXPECT_FALSE(ray.isHit());
    EXPECT_EQ(0.0f, ray.GetColorG());
    EXPECT_EQ(0.0f, ray.GetOrigin().z);
    // After a reset the ray accepts any hit within the no-hit distance, and only those.
    EXPECT_FALSE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 0, 100001)));
    EXPECT_TRUE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 0, 99999)));
}
