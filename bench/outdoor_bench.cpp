// Outdoor rendering costs. Light-map builders on 256 and 512 grids (no display needed; the
// point-light map's full search of every cell per grid point is timed on small grids for
// comparison), and single rendered frames under a display (xvfb-run works): 10 000 and
// 100 000 particles as quads and as point sprites, and a 256 x 256 terrain in shader and
// buffer mode. Run from the repository root after a build (Data/ is generated).
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTextureManager.h"
#include "render3d/CCamera.h"
#include "render3d/CHeightfield.h"
#include "render3d/CParticleSystem.h"
#include "render3d/CShaderManager.h"

namespace {

// Rolling hills between 0 and about 120, crossing the point light's height.
void Hills(CHeightField& field, int side) {
    field.SetGrid(side, side, CHeightField::DRAW_BUFFER, 1);
    for (int x = 0; x < side; ++x)
        for (int z = 0; z < side; ++z) {
            const double h = 60 + 35 * std::sin(x * 0.07) * std::cos(z * 0.05) +
                             25 * std::sin((x + 2 * z) * 0.021);
            field.SetHeight(x, z, (unsigned char)h);
        }
}

void BM_PointLightMap(benchmark::State& state) {
    CHeightField field;
    Hills(field, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(field.ComputeMyLightMap());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PointLightMap)->Arg(32)->Arg(64)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

// The definition the walk replaces: every cell for every grid point.
void BM_PointLightMapFullSearch(benchmark::State& state) {
    CHeightField field;
    const int side = int(state.range(0));
    Hills(field, side);
    for (auto _ : state) {
        int hits = 0;
        for (int x = 0; x < side - 1; ++x)
            for (int z = 0; z < side - 1; ++z) {
                const CVector3 segment[2] = {CHeightField::MY_LIGHT,
                                             CVector3(float(x), field.GetHeight(x, z), float(z))};
                bool hit = false;
                for (int cx = 0; cx < side - 1 && !hit; ++cx)
                    for (int cz = 0; cz < side - 1 && !hit; ++cz) {
                        CVector3 tri[2][3];
                        field.CellTriangles(cx, cz, tri);
                        hit = IntersectedPolygon(tri[0], segment, 3) ||
                              IntersectedPolygon(tri[1], segment, 3);
                    }
                hits += hit;
            }
        benchmark::DoNotOptimize(hits);
    }
}
BENCHMARK(BM_PointLightMapFullSearch)->Arg(32)->Arg(64)->Unit(benchmark::kMillisecond);

void BM_SunLightMap(benchmark::State& state) {
    CHeightField field;
    Hills(field, int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(
            field.ComputeLightmap(CVector3(-1, -0.6f, -0.4f), int(state.range(0))));
}
BENCHMARK(BM_SunLightMap)->Arg(256)->Arg(512)->Unit(benchmark::kMillisecond);

// --- Frames under a display ---------------------------------------------------------------

const int kWidth = 1024, kHeight = 768;

bool OpenDisplay() {
    static bool ready = [] {
        g_Graphics = new CGraphicsCore();
        g_Graphics->SetDepthBufferSize(24);
        g_Graphics->SetFOV(65.0);
        try {
            g_Graphics->Initialize(kWidth, kHeight, 24, false, false);
        } catch (const std::string& error) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        g_Utils = new CUtils();
        g_ShaderManager = new CShaderManager();
        g_ShaderManager->LoadDefaultShaders();
        g_TextureManager = new CTextureManager();
        g_Camera = new CCamera();
        return true;
    }();
    return ready;
}

// The view of the outdoor demo: from the edge of the field across it.
void BeginFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    g_Camera->PositionCamera(128, 200, 300, 128, 120, 100, 0, 1, 0);
    g_Camera->Look();
}

void EndFrame() {
    glFinish();
    SDL_GL_SwapBuffers();
}

void BM_ParticleFrame(benchmark::State& state) {
    if (!OpenDisplay()) return state.SkipWithError("no display");
    const bool sprites = state.range(1) != 0;
    char texture[] = "Data/Particle/particle.png";
    CParticleSystem system;
    system.SetPosition(128, 130, 128);
    system.SetGenerationBoxX(-2000, 2000, 100.0f);
    system.SetGenerationBoxZ(-2000, 2000, 100.0f);
    system.SetParticleVelocityY(100, 200, 10.0f);
    system.SetEnergyBounds(20, 40);
    system.EnableGravity(10.0f);
    system.SetQuadParticleSize(0.3f, 0.3f, 0.3f);
    system.InitParticle(int(state.range(0)), texture, sprites, false);
    for (auto _ : state) {
        BeginFrame();
        system.RenderParticles();
        EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ParticleFrame)
    ->ArgNames({"particles", "sprites"})
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({10000, 1})
    ->Args({100000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_TerrainFrame(benchmark::State& state) {
    if (!OpenDisplay()) return state.SkipWithError("no display");
    CHeightField field;
    char ground[] = "Data/Terrain/grass_1.png";
    if (state.range(0) == 1) {
        // Buffer mode from the same heights as a raw file, cells of one grid step.
        SDL_Surface* image = SDL_LoadBMP("Data/Terrain/heightmap.bmp");
        if (!image) return state.SkipWithError("Data/Terrain/heightmap.bmp missing");
        const std::string raw = "/tmp/zarvo-outdoor-bench.raw";
        std::ofstream out(raw, std::ios::binary);
        for (int x = 0; x < image->w; ++x)
            for (int z = 0; z < image->h; ++z)
                out.put(char(static_cast<Uint8*>(image->pixels)[z * image->pitch + x]));
        out.close();
        const int w = image->w, d = image->h;
        SDL_FreeSurface(image);
        if (!field.CreateFromRaw(raw.c_str(), w, d, ground, 1, 1))
            return state.SkipWithError("raw terrain");
    } else if (!field.CreateFromImage("Data/Terrain/heightmap.bmp", "Data/Terrain/sand_1.png",
                                      ground, "Data/Terrain/rock_1.png", 1)) {
        return state.SkipWithError("Data/Terrain/heightmap.bmp missing");
    }
    for (auto _ : state) {
        BeginFrame();
        field.Draw();
        EndFrame();
    }
}
BENCHMARK(BM_TerrainFrame)->ArgName("buffer")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
