#include "math/CRayTracer.h"

#include <gtest/gtest.h>

#include "core/Engine.h"
#include "models/CEntity.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"

namespace {

// A model that is a square facing the viewer at depth z, hit as a real model's CheckRayHit
// would: offer the hit point to the ray and colour it only when the ray takes it as nearest.
struct Square {
    float x0, y0, x1, y1, z, r, g, b;
};
struct SquareEntity : CEntity {
    explicit SquareEntity(Square square) : s(square) {}
    Square s;
};

// Every pixel has the colour of `expected(x, y)`, or black when that is null.
template <typename Expected> void ExpectImage(const CRayTracer& tracer, Expected expected) {
    const float* pixels = tracer.GetFrameBuffer().GetPixels();
    for (unsigned y = 0; y < tracer.GetHeight(); ++y)
        for (unsigned x = 0; x < tracer.GetWidth(); ++x) {
            const Square* s = expected(x, y);
            const float* p = pixels + (y * tracer.GetWidth() + x) * 3;
            EXPECT_TRUE(p[0] == (s ? s->r : 0) && p[1] == (s ? s->g : 0) && p[2] == (s ? s->b : 0))
                << x << "," << y << ": " << p[0] << " " << p[1] << " " << p[2];
        }
}

} // namespace

TEST(CRayTracer, RaysKeepTheNearestHitAndTracingColoursEachPixelWithTheNearestObject) {
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
    EXPECT_TRUE(!ray.isHit() && ray.GetColorG() == 0.0f && ray.GetOrigin().z == 0.0f);
    // After a reset the ray accepts any hit within the no-hit distance, and only those.
    EXPECT_FALSE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 0, 100001)));
    EXPECT_TRUE(ray.SetDistanceFromOriginToaPoint(CVector3(0, 0, 99999)));
    // Whatever the list order, each pixel takes the nearest object; unhit pixels keep theirs.
    sModelKindOps row = GetModelKindOps(MODEL_KIND_ZARVO);
    row.checkRayHit = [](CEntity& model, CRay& ray) {
        const Square& s = static_cast<SquareEntity&>(model).s;
        const CVector3 o = ray.GetOrigin();
        if (o.x < s.x0 || o.x > s.x1 || o.y < s.y0 || o.y > s.y1) return;
        if (!ray.SetDistanceFromOriginToaPoint(CVector3(o.x, o.y, s.z))) return;
        ray.SetColor(s.r, s.g, s.b);
        ray.SetHit(true);
    };
    const Square squares[] = {
        {0, 0, 7, 5, 50, 1, 0, 0},  // far red over the whole image
        {0, 0, 3, 5, -10, 0, 1, 0}, // nearest green on the left half
        {0, 0, 7, 1, 0, 0, 0, 1},   // blue in between on rows 0 and 1
        {6, 4, 7, 5, 80, 1, 1, 1},  // white behind the red: never seen
    };
    C3DGameObjectManager scene;
    for (const Square& square : squares) {
        auto* object = new C3DGameObject();
        object->AttachModel(MODEL_KIND_ZARVO, new SquareEntity(square), &row);
        scene.RegisterObject(object);
    }
    // An MD2 object has no ray test and adds nothing.
    auto* character = new C3DGameObject();
    character->AttachModel(MODEL_KIND_MD2, new SquareEntity({0, 0, 7, 5, -500, 1, 1, 0}));
    scene.RegisterObject(character);

    CRayTracer tracer(8, 6), alone(2, 2), empty;
    alone.Trace(); // without an object manager the image is left alone
    ExpectImage(alone, [](unsigned, unsigned) { return nullptr; });
    g_3DGameObjectManager = &scene;
    tracer.Trace();
    empty.Trace(); // an image of no size has nothing to do
    g_3DGameObjectManager = nullptr;
    ExpectImage(tracer, [&](unsigned x, unsigned y) {
        return x <= 3 ? &squares[1] : y <= 1 ? &squares[2] : &squares[0];
    });
}
