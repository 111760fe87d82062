// Feeds documents to the engine's XML model loader: a model that loads must be safe to
// draw, light and shadow (every index in range); anything else must fail cleanly.
#include <cstddef>
#include <cstdint>

#include "models/CTObjectLoader.h"
#include "render3d/CShadowVolume.h"

namespace {
int NoTexture(const std::string&) {
    return 7;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTObjectLoader loader;
    loader.SetTextureLoader(NoTexture);
    T3DModel model;
    if (!loader.LoadModelFromMemory(data, size, "fuzz.xml", model)) {
        if (!model.objects.empty() || model.totalVertices != 0) __builtin_trap();
        return 0;
    }
    unsigned total = 0;
    for (const T3DModelObject& object : model.objects) {
        const int n = int(object.vertices.size());
        if (object.numVertices != object.vertices.size()) __builtin_trap();
        total += object.numVertices;
        for (const T3DFace& f : object.faces) {
            for (int index : {f.a, f.b, f.c})
                if (index < 0 || index >= n) __builtin_trap();
            if (f.d != -1 && (f.d < 0 || f.d >= n)) __builtin_trap();
            if (f.materialIndex >= int(model.materials.size()) ||
                f.parallaxMapIndex >= int(model.parallaxMaps.size()))
                __builtin_trap();
        }
    }
    if (total != model.totalVertices) __builtin_trap();
    loader.CalculateTangentSpaceVectors(&model);
    CShadowVolume volume;
    CVector3 position;
    volume.buildShadowVolume(&model, CVector3(3, 50, 2), &position);
    return 0;
}
