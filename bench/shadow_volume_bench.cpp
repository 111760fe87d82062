// Shadow-volume build cost on closed meshes, beside the linear-search edge matching
// it replaces.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "render3d/CShadowVolume.h"

namespace {

struct Torus {
    std::vector<CVector3> verts;
    std::vector<tFace> faces;
    t3DObject object{};
};

// A closed torus of 2 * rings * segments triangles with shared vertices.
Torus MakeTorus(int rings, int segments) {
    Torus t;
    const float pi = 3.14159265f;
    for (int i = 0; i < rings; ++i) {
        const float u = 2 * pi * float(i) / float(rings);
        for (int j = 0; j < segments; ++j) {
            const float v = 2 * pi * float(j) / float(segments);
            const float r = 10.f + 3.f * std::cos(v);
            t.verts.push_back(CVector3(r * std::cos(u), 3.f * std::sin(v), r * std::sin(u)));
        }
    }
    auto at = [&](int i, int j) { return (i % rings) * segments + (j % segments); };
    for (int i = 0; i < rings; ++i) {
        for (int j = 0; j < segments; ++j) {
            tFace a{}, b{};
            a.vertIndex[0] = at(i, j);
            a.vertIndex[1] = at(i, j + 1);
            a.vertIndex[2] = at(i + 1, j);
            b.vertIndex[0] = at(i + 1, j);
            b.vertIndex[1] = at(i, j + 1);
            b.vertIndex[2] = at(i + 1, j + 1);
            t.faces.push_back(a);
            t.faces.push_back(b);
        }
    }
    t.object.numOfVerts = int(t.verts.size());
    t.object.numOfFaces = int(t.faces.size());
    t.object.pVerts = t.verts.data();
    t.object.pFaces = t.faces.data();
    return t;
}

void BuildVolume(benchmark::State& state) {
    Torus torus = MakeTorus(int(state.range(0)), int(state.range(1)));
    CVector3 light(40, 60, 25), position(0, 0, 0), size(1, 1, 1), axis(0, 1, 0);
    CShadowVolume volume;
    for (auto _ : state) {
        volume.buildShadowV3DS(torus.object, light, position, size, 15.f, axis);
        benchmark::DoNotOptimize(volume.GetVolumeVertexCount());
    }
    state.counters["triangles"] = double(torus.faces.size());
    state.counters["walls"] = double(volume.GetVolumeVertexCount() / 6);
}
BENCHMARK(BuildVolume)->Args({100, 100})->Args({250, 200})->Unit(benchmark::kMillisecond);

// The same lit-edge stream matched by searching the edge list front to back.
void LinearSearchEdgeMatching(benchmark::State& state) {
    Torus torus = MakeTorus(int(state.range(0)), int(state.range(1)));
    CVector3 light(40, 60, 25), position(0, 0, 0), size(1, 1, 1), axis(0, 1, 0);
    CShadowVolume volume; // computes the face normals the stream is chosen by
    volume.buildShadowV3DS(torus.object, light, position, size, 15.f, axis);
    std::vector<std::pair<int, int>> stream;
    for (const tFace& f : torus.faces) {
        if (Dot(f.normal, light) < 0.1f) continue;
        stream.push_back({f.vertIndex[0], f.vertIndex[1]});
        stream.push_back({f.vertIndex[1], f.vertIndex[2]});
        stream.push_back({f.vertIndex[2], f.vertIndex[0]});
    }
    for (auto _ : state) {
        std::vector<CShadowVolume::edge> edges;
        for (const auto& [a, b] : stream) {
            bool found = false;
            for (auto& e : edges) {
                if (e.unique && ((e.a == a && e.b == b) || (e.a == b && e.b == a))) {
                    e.unique = false;
                    found = true;
                    break;
                }
            }
            if (!found) edges.push_back({a, b, true});
        }
        benchmark::DoNotOptimize(edges.data());
    }
    state.counters["triangles"] = double(torus.faces.size());
}
BENCHMARK(LinearSearchEdgeMatching)->Args({100, 100})->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
