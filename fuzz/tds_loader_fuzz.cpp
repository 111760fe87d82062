// Feeds arbitrary bytes to the 3DS loader; the model must load or fail cleanly.
#include <cstddef>
#include <cstdint>

#include "models/3dsLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CLoad3DS loader;
    t3DModel model;
    if (loader.Import3DSFromMemory(&model, data, size, (size & 1) != 0)) {
        // Build the buffer contents too: they index vertices, normals and coordinates.
        for (const t3DObject& mesh : model.pObject) {
            t3DSCornerArrays arrays = CLoad3DS::BuildCornerArrays(model, mesh);
            if (arrays.positions.size() != size_t(mesh.numOfFaces) * 9) __builtin_trap();
        }
    }
    ReleaseModel(model);
    return 0;
}
