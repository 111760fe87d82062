// Feeds arbitrary bytes to the MD2 loader; the model must load or fail cleanly.
#include <cstddef>
#include <cstdint>

#include "models/CMD2Loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMD2Loader loader;
    t3DModel model;
    char skin[] = "skin.pcx";
    if (loader.ImportMD2FromMemory(&model, data, size, skin)) {
        // Touch what the drawer reads: faces index vertices and coordinates of frame 0.
        volatile float sink = 0.0f;
        if (!model.pObject.empty()) {
            const t3DObject& first = model.pObject[0];
            for (int f = 0; f < first.numOfFaces; ++f)
                for (int k = 0; k < 3; ++k) {
                    sink = sink + first.pNormals[first.pFaces[f].vertIndex[k]].x +
                           first.pTexVerts[first.pFaces[f].coordIndex[k]].y;
                    for (const t3DObject& frame : model.pObject)
                        sink = sink + frame.pVerts[first.pFaces[f].vertIndex[k]].z;
                }
        }
        for (const tAnimationInfo& a : model.pAnimations)
            if (a.startFrame < 0 || a.startFrame >= model.numOfObjects || a.endFrame < 1 ||
                a.endFrame >= model.numOfObjects)
                __builtin_trap();
    }
    ReleaseModel(model);
    return 0;
}
