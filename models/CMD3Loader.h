#pragma once
// Reads one Quake 3 MD3 file into the shared model record: one t3DObject per mesh with
// the positions and normals of every frame (frame-major), the tags of every frame, and
// textures assigned from a .skin or .shader file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ByteReader.h"
#include "models/CEntity.h"

struct tMd3Header {
    char fileID[4];
    int32_t version;
    char strFile[68];
    int32_t numFrames;
    int32_t numTags;
    int32_t numMeshes;
    int32_t numMaxSkins;
    int32_t headerSize;
    int32_t tagStart;
    int32_t tagEnd;
    int32_t fileSize;
};

struct tMd3MeshInfo {
    char meshID[4];
    char strName[68];
    int32_t numMeshFrames;
    int32_t numSkins;
    int32_t numVertices;
    int32_t numTriangles;
    int32_t triStart;
    int32_t headerSize;
    int32_t uvStart;
    int32_t vertexStart;
    int32_t meshSize;
};

struct tMd3Vertex {
    int16_t vertex[3];
    uint8_t normal[2]; // longitude (low byte) and latitude (high byte) of the unit normal
};

class CLoadMD3 {
public:
    // Reads the file. On failure the model is left empty, the reason goes to standard
    // error (and GetLastError) and false is returned.
    bool ImportMD3(t3DModel* model, char* file);
    // The same from an MD3 image in memory, without the message.
    bool ImportMD3FromMemory(t3DModel* model, const uint8_t* data, size_t size);
    // Textures per mesh from a .skin file: lines "mesh,path/texture.tga".
    bool LoadSkin(t3DModel* model, char* file);
    void LoadSkinFromMemory(t3DModel* model, const char* text, size_t size);
    // Textures per mesh from a .shader file: the n-th line names the n-th mesh's texture.
    bool LoadShader(t3DModel* model, char* file);
    void LoadShaderFromMemory(t3DModel* model, const char* text, size_t size);
    const std::string& GetLastError() const { return m_error; }
    // Frames of the last file imported.
    int GetFrameCount() const { return m_Header.numFrames; }
    // The skin (shader) names each mesh of the last file lists, by mesh.
    const std::vector<std::vector<std::string>>& GetMeshSkins() const { return m_MeshSkins; }

    // The unit normal packed into two bytes by latitude and longitude.
    static CVector3 DecodeNormal(const uint8_t packed[2]);

private:
    bool Fail(const std::string& message);
    bool ReadHeader();
    bool ReadTags(t3DModel* model);
    bool ReadMesh(t3DModel* model, size_t start, size_t& next);
    void ConvertDataStructures(t3DModel* model, const tMd3MeshInfo& mesh);

    CByteReader m_reader{nullptr, 0};
    tMd3Header m_Header{};
    std::vector<CVector2> m_TexCoords;
    std::vector<int32_t> m_Triangles; // three vertex indices each
    std::vector<tMd3Vertex> m_Vertices;
    std::vector<std::vector<std::string>> m_MeshSkins;
    std::string m_error;
};

// Releases an MD3 part: its meshes, tags and links (the linked parts are not owned).
void ReleaseMd3Model(t3DModel& model);
// Calls fn(line, length) for each line of text, without its line end (LF or CRLF).
template <class Fn> void ForEachLine(const char* text, size_t size, Fn fn) {
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && text[end] != '\n')
            ++end;
        size_t length = end - start;
        if (length > 0 && text[start + length - 1] == '\r') --length;
        fn(text + start, length);
        start = end + 1;
    }
}
