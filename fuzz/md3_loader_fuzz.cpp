// Feeds arbitrary bytes to the MD3 loader; the part must load or fail cleanly, and what
// the drawer reads (every frame of every corner, every tag) must be inside its arrays.
#include <cstddef>
#include <cstdint>

#include "models/CMD3Loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CLoadMD3 loader;
    t3DModel model;
    if (loader.ImportMD3FromMemory(&model, data, size)) {
        volatile float sink = 0.0f;
        const int frames = loader.GetFrameCount();
        for (const t3DObject& mesh : model.pObject)
            for (int f = 0; f < mesh.numOfFaces; ++f)
                for (int k = 0; k < 3; ++k) {
                    const int v = mesh.pFaces[f].vertIndex[k];
                    sink = sink + mesh.pTexVerts[v].x;
                    for (int frame = 0; frame<frames; frame += frames> 1 ? frames - 1 : 1)
                        sink = sink + mesh.pVerts[frame * mesh.numOfVerts + v].y +
                               mesh.pNormals[frame * mesh.numOfVerts + v].z;
                }
        for (int i = 0; i < frames * model.numOfTags; ++i)
            sink = sink + model.pTags[i].rotation[2][2];
        for (int i = 0; i < model.numOfTags; ++i)
            if (model.pLinks[i]) __builtin_trap();
    }
    ReleaseMd3Model(model);
    return 0;
}
