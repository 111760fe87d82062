// Frame time of the shadow-map pass on the demo-sized scene: two animated characters in
// the 3DS scene at 1024 x 768, depth pass from the light plus the lit pass, with and
// without PCF. Run from the repository root after a build (Data/ is generated) under a
// display (xvfb-run works).
#include <benchmark/benchmark.h>

#include <GL/glew.h>
#include <SDL.h>

#include <cstdio>
#include <string>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTextureManager.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"
#include "render3d/CShaderManager.h"

namespace {

bool SetUpDemoScene() {
    static bool ready = [] {
        g_Graphics = new CGraphicsCore();
        g_Graphics->SetDepthBufferSize(24);
        g_Graphics->SetStencilBufferSize(4);
        g_Graphics->SetFOV(65.0);
        try {
            g_Graphics->Initialize(1024, 768, 24, false, false);
        } catch (const std::string& error) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return false;
        }
        g_Utils = new CUtils();
        g_ShaderManager = new CShaderManager();
        g_ShaderManager->LoadDefaultShaders();
        g_TextureManager = new CTextureManager();
        g_3DGameObjectManager = new C3DGameObjectManager();
        g_LightManager = new CLightManager();
        g_Camera = new CCamera();

        std::string mcclane = "Data/Models/MD2/McClane/tris.MD2";
        std::string mcclaneSkin = "Data/Models/MD2/McClane/nakatomi1.pcx";
        std::string droid = "Data/Models/MD2/r2d2/tris.md2";
        std::string droidSkin = "Data/Models/MD2/r2d2/r2d2.pcx";
        std::string folder = "Data/Models/demo/";
        std::string scene = "Data/Models/demo/26_okolie.3DS";

        auto* first = new C3DGameObject();
        first->LoadMD2Model(mcclane.data(), mcclaneSkin.data());
        first->SetAnimationSpeed(5.0f);
        first->SetPosition(-35, 24, 20);
        first->SetAngle(0);
        first->SetCastShadow(true);
        first->SetSize(1, 1, 1);
        g_3DGameObjectManager->RegisterObject(first);
        auto* second = new C3DGameObject();
        second->LoadMD2Model(droid.data(), droidSkin.data());
        second->SetPosition(20, 10, 20);
        second->SetAngle(270);
        second->SetCastShadow(true);
        second->SetSize(0.4f, 0.4f, 0.4f);
        g_3DGameObjectManager->RegisterObject(second);
        auto* ground = new C3DGameObject();
        ground->Load3DS(folder.data(), scene.data(), false);
        ground->SetCastShadow(false);
        ground->SetPosition(0, 51, 0);
        ground->SetSize(7, 15, 7);
        g_3DGameObjectManager->RegisterObject(ground);

        auto* light = new CLight();
        g_LightManager->RegisterLight(light);
        g_LightManager->EnableLight(1);
        g_Camera->SetPosition(68, 80, 68);
        g_Graphics->EnableShadows(true);
        g_Graphics->SetActiveShadowMethod(SHADOW_MAPPING);
        return true;
    }();
    return ready;
}

void ShadowMapFrame(benchmark::State& state) {
    if (!SetUpDemoScene()) {
        state.SkipWithError("no GL context");
        return;
    }
    g_Graphics->EnablePCFShadow(state.range(0) != 0);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        g_Camera->Look();
        g_3DGameObjectManager->Render();
        glFinish();
    }
    state.SetLabel(state.range(0) ? "PCF" : "single tap");
}
BENCHMARK(ShadowMapFrame)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

// The same scene without shadows: what the shadow map costs on top.
void PlainLitFrame(benchmark::State& state) {
    if (!SetUpDemoScene()) {
        state.SkipWithError("no GL context");
        return;
    }
    g_Graphics->EnableShadows(false);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        g_Camera->Look();
        g_3DGameObjectManager->Render();
        glFinish();
    }
    g_Graphics->EnableShadows(true);
}
BENCHMARK(PlainLitFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

} // namespace
