// Feeds arbitrary text to the .skin and .shader readers over a part with named meshes;
// every mesh they texture must point at a material that exists.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "models/CMD3Loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const kNames[] = {"l_lower", "u_body", "h_head", "a", ""};
    t3DModel model;
    for (const char* name : kNames) {
        t3DObject mesh = MakeEmptyObject();
        std::strcpy(mesh.strName, name);
        model.pObject.push_back(mesh);
    }
    model.numOfObjects = int(model.pObject.size());
    CLoadMD3 loader;
    const char* text = reinterpret_cast<const char*>(data);
    const size_t half = size / 2;
    loader.LoadSkinFromMemory(&model, text, half);
    loader.LoadShaderFromMemory(&model, text + half, size - half);
    if (model.numOfMaterials != int(model.pMaterials.size())) __builtin_trap();
    for (const t3DObject& mesh : model.pObject)
        if (mesh.bHasTexture &&
            (mesh.materialID < 0 || mesh.materialID >= model.numOfMaterials ||
             std::strlen(model.pMaterials[size_t(mesh.materialID)].strFile) == 0))
            __builtin_trap();
    for (const tMaterialInfo& material : model.pMaterials)
        if (std::strlen(material.strFile) >= sizeof(material.strFile)) __builtin_trap();
    ReleaseModel(model);
    return 0;
}
