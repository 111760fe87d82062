#pragma once
#include "render3d/CShader.h"

#include <cstddef>
#include <vector>

// Index of a built-in program in the shader manager's table.
enum Default_Shader_Types {
    SHADER_SIMPLE_TEXTURE = 0,
    SHADER_COLOR,
    SHADER_COLOR_WITH_TEX,
    SHADER_HFIELD,
    SHADER_DIR_PER_PIXEL,
    SHADER_DIR_PER_VERTEX,
    SHADER_POINT_LIGHT,
    SHADER_SPOT_LIGHT,
    SHADER_TOON,
    SHADER_DIR_PER_VERTEX_TEX,
    SHADER_DIR_PER_PIXEL_TEX,
    SHADER_SHADOW_MAPPING,
    SHADER_SHADOW_MAPPING_PCF,
    SHADER_PARALLAX,
    SHADER_PARALLAX_POINT_LIGHT,
    SHADER_POINT_LIGHT_TEX,
    SHADER_PARALLAX_SHADOW,
    SHADER_PARALLAX_SHADOW_PCF,
    SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT,
};

// Owns every program of the engine; a shader's position in the list is its
// Default_Shader_Types value.
class CShaderManager {
public:
    CShaderManager() = default;
    ~CShaderManager();
    CShaderManager(const CShaderManager&) = delete;
    CShaderManager& operator=(const CShaderManager&) = delete;

    // Takes ownership.
    void RegisterShader(CShader* shader);
    // Builds the nineteen built-in programs from shaders/ once the GL context exists.
    void LoadDefaultShaders();
    // Null for an index past the table instead of reading beyond it.
    CShader* getDefaultShaders(Default_Shader_Types type) const;
    size_t GetShaderCount() const { return m_Shaders.size(); }

private:
    std::vector<CShader*> m_Shaders;
};
