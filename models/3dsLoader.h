#pragma once
// Walks the chunk tree of a 3D Studio file into the shared model record: one
// t3DObject per named mesh, one tMaterialInfo per material; then normals, bounds and
// the per-mesh vertex buffers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/ByteReader.h"
#include "models/CEntity.h"

struct tChunk {
    unsigned short int ID;
    unsigned int length;
    unsigned int bytesRead;
};

// Un-indexed per-corner arrays of one mesh, as they go into its buffer objects.
struct t3DSCornerArrays {
    std::vector<float> positions; // 3 per corner
    std::vector<float> normals;   // 3 per corner
    std::vector<float> texCoords; // 2 per corner, textured meshes only
    std::vector<float> colors;    // 3 per corner, when the mesh gets a colour buffer
};

class CLoad3DS {
public:
    CLoad3DS();
    ~CLoad3DS();

    // Reads the file and fills the model. On failure the model is left empty, the
    // reason goes to standard output (and GetLastError) and false is returned.
    bool Import3DS(t3DModel* model, char* file, bool swap);
    // Parses a 3DS image in memory with normals and bounds, but creates no buffer
    // objects and prints nothing; false with GetLastError on failure.
    bool Import3DSFromMemory(t3DModel* model, const uint8_t* data, size_t size, bool swap);
    const std::string& GetLastError() const { return m_error; }

    void ComputeNormals(t3DModel* model);
    void ComputeBoundingBox(t3DModel* model);
    void ComputeBoundingSphere(t3DModel* model);
    // Uploads every mesh's corner arrays into buffer objects (needs a GL context;
    // does nothing without buffer-object support).
    void InitVBONEW(t3DModel* model);
    void CleanUp();

    static t3DSCornerArrays BuildCornerArrays(const t3DModel& model, const t3DObject& mesh);

private:
    // Each level walks its children up to end; a child must fit inside its parent.
    bool ProcessNextChunk(t3DModel* model, size_t end, int depth);
    bool ProcessNextObjectChunk(t3DModel* model, size_t object, size_t end, int depth);
    bool ProcessNextMaterialChunk(t3DModel* model, size_t material, size_t end, int depth);
    bool ReadChunk(tChunk& chunk, size_t parentEnd, size_t& chunkEnd);
    bool GetString(char* out, size_t outSize, size_t end);
    bool ReadColorChunk(tMaterialInfo& material, size_t end);
    bool ReadVertices(t3DObject& object, size_t end);
    bool ReadVertexIndices(t3DObject& object, size_t end);
    bool ReadUVCoordinates(t3DObject& object, size_t end);
    bool ReadObjectMaterial(t3DModel* model, t3DObject& object, size_t end);
    bool CheckIndices(t3DModel* model);
    bool Fail(const std::string& message);

    CByteReader m_reader{nullptr, 0};
    tChunk m_CurrentChunk{};
    tChunk m_TempChunk{};
    bool m_bSwap = false;
    std::string m_error;
};
