// Frustum culling, matrix products and point transforms: the math the frame loop and the
// model loaders run most.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "math/CFrustum.h"
#include "math/Matrix4x4f.h"
#include "math/matrix4.h"

namespace {

struct Box {
    float x1, y1, z1, x2, y2, z2;
};

std::vector<Box> RandomBoxes(size_t count) {
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> position(-500, 500), size(0.5f, 40);
    std::vector<Box> boxes(count);
    for (Box& b : boxes) {
        b.x1 = position(rng), b.y1 = position(rng), b.z1 = position(rng);
        b.x2 = b.x1 + size(rng), b.y2 = b.y1 + size(rng), b.z2 = b.z1 + size(rng);
    }
    return boxes;
}

void BM_BoxInFrustum100k(benchmark::State& state) {
    MATRIX4X4 projection, view;
    projection.SetPerspective(60, 4.0f / 3.0f, 1, 1000);
    view.SetRotationY(30);
    CFrustum frustum;
    frustum.CalculateFrustum(projection, view);
    const std::vector<Box> boxes = RandomBoxes(100000);
    for (auto _ : state) {
        int visible = 0;
        for (const Box& b : boxes)
            visible += frustum.BoxInFrustum(b.x1, b.y1, b.z1, b.x2, b.y2, b.z2) != 0;
        benchmark::DoNotOptimize(visible);
    }
    state.SetItemsProcessed(state.iterations() * boxes.size());
}
BENCHMARK(BM_BoxInFrustum100k);

MATRIX4X4 RandomMatrix(std::mt19937& rng, bool affine) {
    std::uniform_real_distribution<float> value(-2, 2);
    MATRIX4X4 m;
    for (float& e : m.entries)
        e = value(rng);
    if (affine) m.entries[3] = m.entries[7] = m.entries[11] = 0, m.entries[15] = 1;
    return m;
}

// Chained products over a small pool, so the result feeds the next product.
void MatrixProducts(benchmark::State& state, bool affine) {
    std::mt19937 rng(2);
    std::vector<MATRIX4X4> pool;
    for (int i = 0; i < 64; ++i)
        pool.push_back(RandomMatrix(rng, affine));
    size_t i = 0;
    for (auto _ : state) {
        MATRIX4X4 r = pool[i & 63] * pool[(i + 1) & 63];
        benchmark::DoNotOptimize(r);
        ++i;
    }
    state.SetItemsProcessed(state.iterations());
}
void BM_Matrix4Product_Affine(benchmark::State& state) {
    MatrixProducts(state, true);
}
void BM_Matrix4Product_General(benchmark::State& state) {
    MatrixProducts(state, false);
}
BENCHMARK(BM_Matrix4Product_Affine);
BENCHMARK(BM_Matrix4Product_General);

void BM_TransformPoint1M(benchmark::State& state) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> value(-100, 100);
    std::vector<CVector3> source(1000000);
    for (CVector3& p : source)
        p = CVector3(value(rng), value(rng), value(rng));
    matrix4x4f rotation, translation;
    rotation.rotate_y(37);
    translation.translate(CVector3(5, -3, 12));
    const matrix4x4f m = translation * rotation;
    std::vector<CVector3> points;
    for (auto _ : state) {
        state.PauseTiming();
        points = source;
        state.ResumeTiming();
        for (CVector3& p : points)
            m.transformPoint(&p);
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(state.iterations() * source.size());
}
BENCHMARK(BM_TransformPoint1M);

} // namespace
