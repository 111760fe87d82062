#pragma once
// Reads a Quake 2 MD2 file into the shared model record: one t3DObject per animation
// frame (only frame 0 carries faces and texture coordinates), named animations,
// normals and bounds.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ByteReader.h"
#include "models/CEntity.h"

struct tMd2Header {
    int32_t magic;
    int32_t version;
    int32_t skinWidth;
    int32_t skinHeight;
    int32_t frameSize;
    int32_t numSkins;
    int32_t numVertices;
    int32_t numTexCoords;
    int32_t numTriangles;
    int32_t numGlCommands;
    int32_t numFrames;
    int32_t offsetSkins;
    int32_t offsetTexCoords;
    int32_t offsetTriangles;
    int32_t offsetFrames;
    int32_t offsetGlCommands;
    int32_t offsetEnd;
};

struct tMd2TexCoord {
    int16_t u, v;
};

struct tMd2Face {
    int16_t vertexIndices[3];
    int16_t textureIndices[3];
};

struct tMd2Frame {
    char strName[16];
    std::vector<CVector3> vertices;
};

class CMD2Loader {
public:
    // Largest frame record the loader accepts: 2048 vertices plus the frame header.
    static constexpr int kMaxFrameSize = 8320;

    CMD2Loader();

    // Reads the file and fills the model. On failure the model is left empty, the
    // reason goes to standard error (and GetLastError) and false is returned.
    bool ImportMD2(t3DModel* model, char* file, char* skin);
    // The same from an MD2 image in memory, without the message.
    bool ImportMD2FromMemory(t3DModel* model, const uint8_t* data, size_t size, const char* skin);
    const std::string& GetLastError() const { return m_error; }

    // Reads and checks the header fields, the blocks and every index against the buffer.
    bool ReadMD2Data();
    void ParseAnimations(t3DModel* model);
    void ConvertDataStructures(t3DModel* model);
    void CalculateNormals(t3DModel* model);
    void ComputeBoundingBox(t3DModel* model);
    void ComputeBoundingSphere(t3DModel* model);
    void CleanUp();

private:
    bool Fail(const std::string& message);

    CByteReader m_reader{nullptr, 0};
    tMd2Header m_header;
    std::vector<std::string> m_skins;
    std::vector<tMd2TexCoord> m_texCoords;
    std::vector<tMd2Face> m_triangles;
    std::vector<tMd2Frame> m_frames;
    std::string m_error;
};
