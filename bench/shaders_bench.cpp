// Fill cost of the built-in programs on the current GL driver: one full 256 x 256 quad
// per iteration, finished before the clock stops. Run from the repository root under a
// display (xvfb-run works).
#include <benchmark/benchmark.h>

#include "render3d/CShaderManager.h"

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>

namespace {

constexpr int kSize = 256;

CShaderManager* Shaders() {
    static CShaderManager* manager = [] {
        SDL_Init(SDL_INIT_VIDEO);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
        if (!SDL_SetVideoMode(kSize, kSize, 24, SDL_OPENGL) || glewInit() != GLEW_OK) {
            std::fprintf(stderr, "no GL context: %s\n", SDL_GetError());
            return static_cast<CShaderManager*>(nullptr);
        }
        auto* m = new CShaderManager;
        m->LoadDefaultShaders();
        return m;
    }();
    return manager;
}

void SetUpScene() {
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -10, 10);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float position[4] = {0.3f, 0.2f, 1.0f, 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    static GLuint texture = 0;
    if (!texture) {
        const unsigned char texel[4] = {200, 180, 160, 255};
        glGenTextures(1, &texture);
        for (int unit = 0; unit < 4; ++unit) {
            glActiveTextureARB(GL_TEXTURE0_ARB + unit);
            glBindTexture(GL_TEXTURE_2D, texture);
        }
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    }
}

void Quad() {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(0, 0);
    glVertex3f(-1, -1, 0);
    glTexCoord2f(1, 0);
    glVertex3f(1, -1, 0);
    glTexCoord2f(1, 1);
    glVertex3f(1, 1, 0);
    glTexCoord2f(0, 1);
    glVertex3f(-1, 1, 0);
    glEnd();
}

// Program index -1 is the fixed-function pipeline with GL lighting, for scale.
void BM_FullScreenQuad(benchmark::State& state) {
    CShaderManager* manager = Shaders();
    if (!manager) {
        state.SkipWithError("no GL context");
        return;
    }
    SetUpScene();
    const int index = int(state.range(0));
    CShader* shader = index < 0 ? nullptr : manager->getDefaultShaders(Default_Shader_Types(index));
    if (shader) {
        shader->Begin();
        shader->uniform1i("shadowMap", 1);
        shader->uniform1i("HeightTexture", 2);
    } else {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
    }
    for (auto _ : state) {
        Quad();
        glFinish();
    }
    if (shader) shader->End();
    glDisable(GL_LIGHTING);
    state.SetItemsProcessed(state.iterations() * kSize * kSize);
}

} // namespace

// Fixed function, colour, directional per pixel, point light, shadow map per-pixel, PCF.
BENCHMARK(BM_FullScreenQuad)
    ->Arg(-1)
    ->Arg(SHADER_COLOR)
    ->Arg(SHADER_DIR_PER_PIXEL)
    ->Arg(SHADER_POINT_LIGHT)
    ->Arg(SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT)
    ->Arg(SHADER_SHADOW_MAPPING_PCF)
    ->Arg(SHADER_PARALLAX_SHADOW)
    ->UseRealTime() // llvmpipe shades on its own threads
    ->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
