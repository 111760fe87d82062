#include "math/CRayTracer.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/Engine.h"
#include "models/CEntity.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"

namespace {

// A square facing the viewer at depth z, hit as a model's CheckRayHit would: offer the hit
// point to the ray and colour it only when the ray accepts it as its nearest.
struct FakeSquare {
    float x0, y0, x1, y1, z, r, g, b;
    void CheckRayHit(CRay& ray) const {
        const CVector3 o = ray.GetOrigin();
        if (o.x < x0 || o.x > x1 || o.y < y0 || o.y > y1) return;
        if (!ray.SetDistanceFromOriginToaPoint(CVector3(o.x, o.y, z))) return;
        ray.SetColor(r, g, b);
        ray.SetHit(true);
    }
};

const float* Pixel(const CRayTracer& tracer, unsigned x, unsigned y) {
    return tracer.GetFrameBuffer().GetPixels() + (y * tracer.GetWidth() + x) * 3;
}

} // namespace

TEST(CRayTracer, EachPixelTakesTheNearestObjectWhateverTheListOrder) {
    const FakeSquare back{0, 0, 7, 7, 50, 1, 0, 0};
    const FakeSquare front{2, 2, 5, 5, 10, 0, 1, 0};
    for (const std::vector<const FakeSquare*>& scene :
         {std::vector<const FakeSquare*>{&back, &front}, {&front, &back}}) {
        CRayTracer tracer(8, 6);
        tracer.TraceObjects(scene);
        EXPECT_EQ(1.0f, Pixel(tracer, 0, 0)[0]); // back only
        EXPECT_EQ(0.0f, Pixel(tracer, 3, 3)[0]); // front covers back
        EXPECT_EQ(1.0f, Pixel(tracer, 3, 3)[1]);
        EXPECT_EQ(1.0f, Pixel(tracer, 7, 5)[0]); // last row and column are traced too
    }
}

TEST(CRayTracer, PixelsNoRayHitsKeepTheirColour) {
    CRayTracer tracer(4, 4);
    tracer.TraceObjects(std::vector<const FakeSquare*>{});
    for (unsigned i = 0; i < 4 * 4 * 3; ++i)
        EXPECT_EQ(0.0f, tracer.GetFrameBuffer().GetPixels()[i]);
    CRayTracer empty;
    empty.TraceObjects(std::vector<const FakeSquare*>{}); // no size: nothing to do
    EXPECT_EQ(0u, empty.GetWidth());
}

namespace {

// The same square as a model inside a 3D game object, reached through the object's
// kind row as the engine's own ray-testable formats are.
class SquareEntity : public CEntity {
public:
    explicit SquareEntity(FakeSquare square) : square_(square) {}
    void CheckRayHit(CRay& ray) const { square_.CheckRayHit(ray); }

private:
    FakeSquare square_;
};

sModelKindOps SquareRow() {
    sModelKindOps row = GetModelKindOps(MODEL_KIND_ZARVO);
    row.checkRayHit = [](CEntity& model, CRay& ray) {
        static_cast<SquareEntity&>(model).CheckRayHit(ray);
    };
    return row;
}

} // namespace

TEST(CRayTracer, TraceColoursEachPixelWithTheNearestObjectOfTheScene) {
    const sModelKindOps row = SquareRow();
    const FakeSquare squares[] = {
        {0, 0, 7, 5, 50, 1, 0, 0},  // far red over the whole image
        {0, 0, 3, 5, -10, 0, 1, 0}, // nearest green on the left half
        {0, 0, 7, 1, 0, 0, 0, 1},   // blue in between on rows 0 and 1
        {6, 4, 7, 5, 80, 1, 1, 1},  // white behind the red: never seen
    };
    C3DGameObjectManager scene;
    for (const FakeSquare& square : squares) {
        auto* object = new C3DGameObject();
        object->AttachModel(MODEL_KIND_ZARVO, new SquareEntity(square), &row);
        scene.RegisterObject(object);
    }
    // An MD2 object has no ray test and adds nothing.
    auto* character = new C3DGameObject();
    character->AttachModel(MODEL_KIND_MD2, new SquareEntity({0, 0, 7, 5, -500, 1, 1, 0}));
    scene.RegisterObject(character);

    g_3DGameObjectManager = &scene;
    CRayTracer tracer(8, 6);
    tracer.Trace();
    g_3DGameObjectManager = nullptr;

    for (unsigned y = 0; y < 6; ++y)
        for (unsigned x = 0; x < 8; ++x) {
            const FakeSquare& nearest = x <= 3 ? squares[1] : y <= 1 ? squares[2] : squares[0];
            const float* p = Pixel(tracer, x, y);
            EXPECT_EQ(p[0], nearest.r) << x << "," << y;
            EXPECT_EQ(p[1], nearest.g) << x << "," << y;
            EXPECT_EQ(p[2], nearest.b) << x << "," << y;
        }
}

TEST(CRayTracer, TraceWithoutAnObjectManagerLeavesTheImage) {
    CRayTracer tracer(2, 2);
    tracer.Trace();
    for (unsigned i = 0; i < 2 * 2 * 3; ++i)
        EXPECT_EQ(0.0f, tracer.GetFrameBuffer().GetPixels()[i]);
}
