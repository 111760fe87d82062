// Cost of the object layer's per-frame culling: one frustum test per registered object.
#include <benchmark/benchmark.h>

#include <vector>

#include "core/Engine.h"
#include "math/CFrustum.h"
#include "models/CEntity.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"

namespace {

class BoxEntity : public CEntity {
public:
    BoxEntity(float x, float z) {
        CVector3 min(x - 1, -1, z - 1), max(x + 1, 1, z + 1);
        TransformModelLevelBoundingBoxCoordinates(min, max);
    }
};

// A 45 degree, 1..1000 perspective looking down -z from the origin, built without GL.
void PlaceCameraFrustum(CCamera& camera) {
    const float f = 2.4142136f; // cot(22.5 degrees)
    const float n = 1.0f, far = 1000.0f;
    const float projection[16] = {
        f, 0, 0, 0, 0, f, 0, 0, 0, 0, -(far + n) / (far - n), -1, 0, 0, -2 * far * n / (far - n),
        0};
    const float modelview[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    camera.GetFrustum()->CalculateFrustum(projection, modelview);
}

void BM_CheckFrustum(benchmark::State& state) {
    CCamera camera;
    PlaceCameraFrustum(camera);
    g_Camera = &camera;
    C3DGameObjectManager manager;
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) {
        auto* object = new C3DGameObject();
        // A grid in front of and behind the camera, so half the objects are culled.
        object->AttachModel(MODEL_KIND_3DS, new BoxEntity(static_cast<float>(i % 64) * 4 - 128,
                                                          static_cast<float>(i / 64) * 4 - 200));
        manager.RegisterObject(object);
    }
    const std::vector<C3DGameObject*> objects = manager.Get3DObjects();
    for (auto _ : state) {
        int visible = 0;
        for (C3DGameObject* object : objects) {
            object->checkFrustum();
            visible += object->IsObjectInFrustum();
        }
        benchmark::DoNotOptimize(visible);
    }
    state.SetItemsProcessed(state.iterations() * count);
    g_Camera = nullptr;
}
BENCHMARK(BM_CheckFrustum)->Arg(1000)->Arg(10000)->Arg(100000);

} // namespace
