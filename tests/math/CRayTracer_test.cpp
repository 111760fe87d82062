#include "math/CRayTracer.h"

#include <gtest/gtest.h>

#include <vector>

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
