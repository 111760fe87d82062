// The 2D scene's per-frame costs. The collision pass over n moving objects, with the
// grid against the all-pairs search on the same scenes (results checked equal), and
// one frame of a 2D particle system: the CPU update alone, and the drawn frame under a
// display (xvfb-run works; run from the repository root so Data/ is found).
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTextureManager.h"
#include "render3d/CShaderManager.h"
#include "scene2d/CBoundingBox2D.h"
#include "scene2d/CParticleSystem2D.h"

namespace {

// n ship-sized objects (32 x 32) spread at one object per 80 x 80 pixels, each moving up
// to 6 pixels this frame: a busy but playable density, the same at every n.
std::vector<sBoxMove> Scene(int n, unsigned int seed = 42) {
    std::mt19937 random(seed);
    const float side = 80.0f * std::sqrt(float(n));
    std::uniform_real_distribution<float> at(0.0f, side), step(-6.0f, 6.0f);
    std::vector<sBoxMove> moves(n);
    for (sBoxMove& m : moves) {
        const float x = at(random), y = at(random);
        m.from = CBoundingBox2D(CVector2(x, y), CVector2(x + 32, y + 32));
        m.to = m.from;
        m.to.TransformPointsWith(CVector2(step(random), step(random)));
    }
    return moves;
}

std::map<int, std::vector<char>>& GridResults() {
    static std::map<int, std::vector<char>> results;
    return results;
}

void BM_CollisionGrid(benchmark::State& state) {
    const int n = int(state.range(0));
    const std::vector<sBoxMove> moves = Scene(n);
    // Frames differ in a game: cycling through several scenes keeps the processor from
    // learning one scene's branches by heart, which only a small scene would allow.
    std::vector<std::vector<sBoxMove>> frames;
    for (unsigned int seed = 1; seed <= 8; ++seed)
        frames.push_back(Scene(n, seed));
    // One resolver for every frame, as the object manager keeps it.
    CMoveResolver resolver;
    size_t frame = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(resolver.Resolve(frames[frame++ % frames.size()]).data());
    const std::vector<char> kept = resolver.Resolve(moves, BROAD_PHASE_GRID);
    size_t refused = 0;
    for (char k : kept)
        refused += !k;
    state.counters["refused"] = double(refused);
    GridResults()[int(state.range(0))] = kept;
}
BENCHMARK(BM_CollisionGrid)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CollisionAllPairs(benchmark::State& state) {
    const int n = int(state.range(0));
    const std::vector<sBoxMove> moves = Scene(n);
    std::vector<char> kept;
    for (auto _ : state) {
        kept = ResolveMoves(moves, BROAD_PHASE_ALL_PAIRS);
        benchmark::DoNotOptimize(kept.data());
    }
    std::vector<char> grid =
        GridResults().count(n) ? GridResults()[n] : ResolveMoves(moves, BROAD_PHASE_GRID);
    if (grid != kept) state.SkipWithError("the grid and all pairs disagree");
}
BENCHMARK(BM_CollisionAllPairs)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The frame interval the particles step by: 16 ms.
Uint32 g_Ticks = 0;
Uint32 FakeTicks() {
    return g_Ticks += 16;
}
void UseFrameInterval() {
    if (!g_Utils) g_Utils = new CUtils();
    CUtils::SetTickSource(FakeTicks);
    g_Utils->CalculateFrameRate();
    g_Utils->CalculateFrameRate();
}

// The fire emitter of the particle demo with n particles.
void SetUpFire(CParticleSystem2D& fire) {
    fire.SetWind(100.0f, 0.0f);
    fire.SetPosition(200.0f, 350.0f);
    fire.SetEnergyBounds(2, 12);
    fire.SetColor(1.0f, 0.4f, 0.0f, 0.0f);
    fire.SetGenerationBoxX(10, 50, 1.0f);
    fire.SetGenerationBoxY(0, 0, 10.0f);
    fire.SetParticleVelocityY(100, 180, -1.0f);
    fire.SetQuadParticleSize(40.0f, 40.0f);
}

void BM_Particles2DUpdate(benchmark::State& state) {
    UseFrameInterval();
    CParticleSystem2D fire;
    SetUpFire(fire);
    fire.CreateParticles(int(state.range(0)), sColor(1.0f, 0.4f, 0.0f, 0.0f));
    for (auto _ : state)
        fire.UpdateParticles();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Particles2DUpdate)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

bool SetUpWindow() {
    static bool ready = [] {
        g_Graphics = new CGraphicsCore();
        try {
            g_Graphics->Initialize(1024, 768, 24, false, true);
        } catch (const std::string& error) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        g_ShaderManager = new CShaderManager();
        g_ShaderManager->LoadDefaultShaders();
        g_TextureManager = new CTextureManager();
        return true;
    }();
    return ready;
}

// One drawn frame: update, quads and the buffer swap, finished on the GPU.
void BM_Particles2DFrame(benchmark::State& state) {
    if (!SetUpWindow()) {
        state.SkipWithError("no display");
        return;
    }
    UseFrameInterval();
    CParticleSystem2D fire;
    SetUpFire(fire);
    char texture[] = "Data/Particle/particle.png";
    fire.InitParticle(int(state.range(0)), texture, false);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        fire.RenderParticles();
        glFinish();
        SDL_GL_SwapBuffers();
    }
}
BENCHMARK(BM_Particles2DFrame)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
