// Feeds arbitrary text to the OBJ loader; the model must load or fail cleanly, and every
// index of a loaded model must stay inside its mesh's arrays.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "models/CObjLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CObjLoader loader;
    t3DModel model;
    if (loader.ImportObjFromMemory(&model, reinterpret_cast<const char*>(data), size)) {
        std::vector<float> positions, normals, texCoords;
        for (const t3DObject& mesh : model.pObject) {
            for (int f = 0; f < mesh.numOfFaces; ++f)
                for (int k = 0; k < 3; ++k) {
                    const tFace& face = mesh.pFaces[f];
                    if (face.vertIndex[k] < 0 || face.vertIndex[k] >= mesh.numOfVerts ||
                        (mesh.bHasTexture &&
                         (face.coordIndex[k] < 0 || face.coordIndex[k] >= mesh.numTexVertex)))
                        __builtin_trap();
                }
            CObjLoader::BuildCornerArrays(mesh, positions, normals, texCoords);
        }
    }
    ReleaseModel(model);
    return 0;
}
