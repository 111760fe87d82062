#include "render3d/CShaderManager.h"

#include <cstdio>

namespace {

struct BuiltInShader {
    const char* message;
    const char* vertexFile;
    const char* fragmentFile;
};

// Row i is Default_Shader_Types value i.
const BuiltInShader kBuiltInShaders[] = {
    {"Loading simple texture shader...", "shaders/simpleTexture.vert",
     "shaders/simpleTexture.frag"},
    {"Loading simple color shader...", "shaders/color.vert", "shaders/color.frag"},
    {"Loading color eith texture shader...", "shaders/colorWithTex.vert",
     "shaders/colorWithTex.frag"},
    {"Loading heightmap texture shader...", "shaders/hfield.vert", "shaders/hfield.frag"},
    {"Loading Directional Per Pixel Diffuse lightning shader...", "shaders/dirPerPixel.vert",
     "shaders/dirPerPixel.frag"},
    {"Loading Directional Per Vertex Diffuse lightning shader...", "shaders/dirPerVertex.vert",
     "shaders/dirPerVertex.frag"},
    {"Loading Point Per Pixel lightning shader...", "shaders/pointlight.vert",
     "shaders/pointlight.frag"},
    {"Loading Spot Per Pixel lightning shader...", "shaders/spotlight.vert",
     "shaders/spotlight.frag"},
    {"Loading Toon shader...", "shaders/toonf2.vert", "shaders/toonf2.frag"},
    {"Loading vertex diffuse light with texture shader...", "shaders/dirPerVertexTEX.vert",
     "shaders/dirPerVertexTEX.frag"},
    {"Loading pixel diffuse light with texture shader...", "shaders/dirPerPixelTEX.vert",
     "shaders/dirPerPixelTEX.frag"},
    {"Loading shadow mapping shader...", "shaders/ShadowMapping.vert",
     "shaders/ShadowMapping.frag"},
    {"Loading shadow mapping pcf shader...", "shaders/ShadowMappingPCF.vert",
     "shaders/ShadowMappingPCF.frag"},
    {"Loading parallax mapping shader...", "shaders/parallax3.vert", "shaders/parallax3.frag"},
    {"Loading parallax mapping with lightning shader...", "shaders/parallaxWithPointLight.vert",
     "shaders/parallaxWithPointLight.frag"},
    {"Loading point light with texture mapping shader...", "shaders/pointlightTEX.vert",
     "shaders/pointlightTEX.frag"},
    {"Loading parallax mapping with shadow shader...", "shaders/parallax3Shadow.vert",
     "shaders/parallax3Shadow.frag"},
    {"Loading parallax mapping with pcf shadow shader...", "shaders/parallax3ShadowPCF.vert",
     "shaders/parallax3ShadowPCF.frag"},
    {"Loading shadow mapping per pixel light shader...", "shaders/ShadowMappingPerPixelLight.vert",
     "shaders/ShadowMappingPerPixelLight.frag"},
};

static_assert(sizeof kBuiltInShaders / sizeof kBuiltInShaders[0] ==
                  SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT + 1,
              "one table row per Default_Shader_Types value");

} // namespace

CShaderManager::~CShaderManager() {
    for (CShader* shader : m_Shaders)
        delete shader;
}

void CShaderManager::RegisterShader(CShader* shader) {
    m_Shaders.push_back(shader);
}

void CShaderManager::LoadDefaultShaders() {
    std::printf("\n-------------========= Loading built in shaders ==========------------\n\n");
    for (const BuiltInShader& row : kBuiltInShaders) {
        std::printf("%s\n", row.message);
        CShader* shader = new CShader;
        shader->setShaders(row.fragmentFile, row.vertexFile);
        // Registered even when its files are missing, so later indices never shift.
        RegisterShader(shader);
    }
    std::printf("\n");
}

CShader* CShaderManager::getDefaultShaders(Default_Shader_Types type) const {
    const size_t index = size_t(type);
    return index < m_Shaders.size() ? m_Shaders[index] : nullptr;
}
