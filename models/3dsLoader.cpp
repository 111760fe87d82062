#include "models/3dsLoader.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "models/MeshMath.h"

namespace {
enum : unsigned short {
    PRIMARY = 0x4D4D,
    VERSION = 0x0002,
    OBJECTINFO = 0x3D3D,
    OBJECT = 0x4000,
    MATERIAL = 0xAFFF,
    OBJECT_MESH = 0x4100,
    OBJECT_VERTICES = 0x4110,
    OBJECT_FACES = 0x4120,
    OBJECT_MATERIAL = 0x4130,
    OBJECT_UV = 0x4140,
    MATNAME = 0xA000,
    MATDIFFUSE = 0xA020,
    MATMAP = 0xA200,
    MATMAPFILE = 0xA300,
    COLOR_F = 0x0010,
    COLOR_24 = 0x0011,
    LIN_COLOR_24 = 0x0012,
    LIN_COLOR_F = 0x0013,
};
constexpr size_t kChunkHeaderSize = 6;
// Real files nest a handful of levels; the limit keeps hostile nesting off the stack.
constexpr int kMaxDepth = 32;

char HexDigit(unsigned v) {
    return "0123456789ABCDEF"[v & 15];
}
std::string ChunkName(unsigned short id) {
    std::string s = "0x";
    for (int shift = 12; shift >= 0; shift -= 4)
        s += HexDigit(unsigned(id) >> shift);
    return s;
}
} // namespace

CLoad3DS::CLoad3DS() = default;
CLoad3DS::~CLoad3DS() = default;

bool CLoad3DS::Fail(const std::string& message) {
    if (m_error.empty()) m_error = message;
    return false;
}

bool CLoad3DS::Import3DS(t3DModel* model, char* file, bool swap) {
    std::vector<uint8_t> bytes;
    bool ok;
    m_bSwap = swap;
    if (!ReadFileToMemory(file, bytes)) {
        m_error = "Unable to find the file";
        ReleaseModel(*model);
        ok = false;
    } else {
        ok = Import3DSFromMemory(model, bytes.data(), bytes.size(), swap);
    }
    if (!ok) {
        ReportLoadFailure(stdout, m_error, file);
        return false;
    }
    InitVBONEW(model);
    return true;
}

bool CLoad3DS::Import3DSFromMemory(t3DModel* model, const uint8_t* data, size_t size, bool swap) {
    m_error.clear();
    m_bSwap = swap;
    m_reader = CByteReader(data, size);
    ReleaseModel(*model);

    size_t primaryEnd = 0;
    const bool isPrimary = size >= kChunkHeaderSize && (data[0] | data[1] << 8) == PRIMARY;
    bool ok = isPrimary ? ReadChunk(m_CurrentChunk, size, primaryEnd)
                        : Fail("Unable to load PRIMARY chuck from file");
    ok = ok && ProcessNextChunk(model, primaryEnd, 0) && CheckIndices(model);
    if (!ok) {
        ReleaseModel(*model);
        CleanUp();
        return false;
    }
    ComputeNormals(model);
    ComputeBoundingBox(model);
    ComputeBoundingSphere(model);
    CleanUp();
    return true;
}

bool CLoad3DS::ReadChunk(tChunk& chunk, size_t parentEnd, size_t& chunkEnd) {
    const size_t start = m_reader.Tell();
    chunk.ID = 0;
    chunk.length = 0;
    chunk.bytesRead = 0;
    if (parentEnd - start < kChunkHeaderSize)
        return Fail("Corrupt 3DS file (truncated chunk header)");
    uint16_t id = 0;
    uint32_t length = 0;
    m_reader.ReadU16LE(id);
    m_reader.ReadU32LE(length);
    chunk.ID = id;
    chunk.length = length;
    chunk.bytesRead = kChunkHeaderSize;
    if (length < kChunkHeaderSize || length > parentEnd - start)
        return Fail("Corrupt 3DS file (chunk " + ChunkName(id) + " longer than its parent)");
    chunkEnd = start + length;
    return true;
}

bool CLoad3DS::ProcessNextChunk(t3DModel* model, size_t end, int depth) {
    if (depth > kMaxDepth) return Fail("Corrupt 3DS file (chunks nested too deeply)");
    while (m_reader.Tell() < end) {
        tChunk chunk;
        size_t chunkEnd = 0;
        if (!ReadChunk(chunk, end, chunkEnd)) return false;
        switch (chunk.ID) {
        case VERSION: {
            // Up to four bytes of version; anything beyond is skipped.
            uint8_t raw[4] = {0, 0, 0, 0};
            m_reader.ReadBytes(raw, std::min<size_t>(4, chunkEnd - m_reader.Tell()));
            const uint32_t version = uint32_t(raw[0]) | uint32_t(raw[1]) << 8 |
                                     uint32_t(raw[2]) << 16 | uint32_t(raw[3]) << 24;
            if (version > 3) {
                std::printf("This 3DS file is over version 3 so it may load incorrectly\n");
                std::fflush(stdout);
            }
            break;
        }
        case OBJECTINFO:
            // Its mesh-version sub-chunk is not interpreted and falls to the skip below.
            if (!ProcessNextChunk(model, chunkEnd, depth + 1)) return false;
            break;
        case OBJECT: {
            model->pObject.push_back(MakeEmptyObject());
            ++model->numOfObjects;
            const size_t index = model->pObject.size() - 1;
            t3DObject& object = model->pObject[index];
            if (!GetString(object.strName, sizeof(object.strName), chunkEnd)) return false;
            if (!ProcessNextObjectChunk(model, index, chunkEnd, depth + 1)) return false;
            break;
        }
        case MATERIAL:
            model->pMaterials.push_back(MakeEmptyMaterial());
            ++model->numOfMaterials;
            if (!ProcessNextMaterialChunk(model, model->pMaterials.size() - 1, chunkEnd, depth + 1))
                return false;
            break;
        default: // keyframer data and everything else
            break;
        }
        m_reader.Seek(chunkEnd);
    }
    return true;
}

bool CLoad3DS::ProcessNextObjectChunk(t3DModel* model, size_t index, size_t end, int depth) {
    if (depth > kMaxDepth) return Fail("Corrupt 3DS file (chunks nested too deeply)");
    while (m_reader.Tell() < end) {
        tChunk chunk;
        size_t chunkEnd = 0;
        if (!ReadChunk(chunk, end, chunkEnd)) return false;
        t3DObject& object = model->pObject[index];
        bool ok = true;
        switch (chunk.ID) {
        case OBJECT_MESH:
            ok = ProcessNextObjectChunk(model, index, chunkEnd, depth + 1);
            break;
        case OBJECT_VERTICES:
            ok = ReadVertices(object, chunkEnd);
            break;
        case OBJECT_FACES:
            // The face list's own sub-chunks (the material groups) follow its data.
            ok = ReadVertexIndices(object, chunkEnd) &&
                 ProcessNextObjectChunk(model, index, chunkEnd, depth + 1);
            break;
        case OBJECT_MATERIAL:
            ok = ReadObjectMaterial(model, object, chunkEnd);
            break;
        case OBJECT_UV:
            ok = ReadUVCoordinates(object, chunkEnd);
            break;
        default:
            break;
        }
        if (!ok) return false;
        m_reader.Seek(chunkEnd);
    }
    return true;
}

bool CLoad3DS::ProcessNextMaterialChunk(t3DModel* model, size_t index, size_t end, int depth) {
    if (depth > kMaxDepth) return Fail("Corrupt 3DS file (chunks nested too deeply)");
    while (m_reader.Tell() < end) {
        tChunk chunk;
        size_t chunkEnd = 0;
        if (!ReadChunk(chunk, end, chunkEnd)) return false;
        tMaterialInfo& material = model->pMaterials[index];
        const char* rest = reinterpret_cast<const char*>(m_reader.Current());
        const size_t restLength = chunkEnd - m_reader.Tell();
        switch (chunk.ID) {
        case MATNAME:
            CopyName(material.strName, sizeof(material.strName), rest, restLength);
            break;
        case MATDIFFUSE:
            if (!ReadColorChunk(material, chunkEnd)) return false;
            break;
        case MATMAP:
            if (!ProcessNextMaterialChunk(model, index, chunkEnd, depth + 1)) return false;
            break;
        case MATMAPFILE:
            CopyName(material.strFile, sizeof(material.strFile), rest, restLength);
            break;
        default:
            break;
        }
        m_reader.Seek(chunkEnd);
    }
    return true;
}

bool CLoad3DS::GetString(char* out, size_t outSize, size_t end) {
    const char* start = reinterpret_cast<const char*>(m_reader.Current());
    const size_t available = end - m_reader.Tell();
    const void* terminator = std::memchr(start, 0, available);
    if (!terminator) return Fail("Corrupt 3DS file (name without its terminating zero)");
    const size_t length = size_t(static_cast<const char*>(terminator) - start);
    // Longer names are cut to the field; the whole string is still consumed.
    CopyName(out, outSize, start, length);
    m_reader.Skip(length + 1);
    return true;
}

bool CLoad3DS::ReadColorChunk(tMaterialInfo& material, size_t end) {
    size_t colorEnd = 0;
    if (!ReadChunk(m_TempChunk, end, colorEnd)) return false;
    if (m_TempChunk.ID == COLOR_24 || m_TempChunk.ID == LIN_COLOR_24) {
        if (colorEnd - m_reader.Tell() < 3) return Fail("Corrupt 3DS file (short colour)");
        m_reader.ReadBytes(material.color, 3);
    } else if (m_TempChunk.ID == COLOR_F || m_TempChunk.ID == LIN_COLOR_F) {
        // Float colours are converted to the record's bytes.
        if (colorEnd - m_reader.Tell() < 12) return Fail("Corrupt 3DS file (short colour)");
        for (unsigned char& channel : material.color) {
            float f = 0.0f;
            m_reader.ReadF32LE(f);
            const float scaled = f * 255.0f + 0.5f;
            channel = scaled >= 255.0f ? 255 : (scaled > 0.0f ? (unsigned char)scaled : 0);
        }
    }
    return true;
}

bool CLoad3DS::ReadVertices(t3DObject& object, size_t end) {
    uint16_t count = 0;
    if (end - m_reader.Tell() < 2 || !m_reader.ReadU16LE(count))
        return Fail("Corrupt 3DS file (truncated vertex list)");
    if (!m_reader.Fits(m_reader.Tell(), count, 12) || size_t(count) * 12 > end - m_reader.Tell())
        return Fail("Corrupt 3DS file (vertex list longer than its chunk)");
    delete[] object.pVerts;
    object.numOfVerts = count;
    object.pVerts = new CVector3[count];
    for (uint16_t i = 0; i < count; ++i) {
        CVector3& v = object.pVerts[i];
        m_reader.ReadF32LE(v.x);
        m_reader.ReadF32LE(v.y);
        m_reader.ReadF32LE(v.z);
        if (m_bSwap) {
            const float y = v.y;
            v.y = v.z;
            v.z = -y;
        }
    }
    return true;
}

bool CLoad3DS::ReadVertexIndices(t3DObject& object, size_t end) {
    uint16_t count = 0;
    if (end - m_reader.Tell() < 2 || !m_reader.ReadU16LE(count))
        return Fail("Corrupt 3DS file (truncated face list)");
    if (size_t(count) * 8 > end - m_reader.Tell())
        return Fail("Corrupt 3DS file (face list longer than its chunk)");
    delete[] object.pFaces;
    object.numOfFaces = count;
    object.pFaces = new tFace[count];
    for (uint16_t f = 0; f < count; ++f) {
        uint16_t values[4] = {0, 0, 0, 0};
        for (uint16_t& value : values)
            m_reader.ReadU16LE(value);
        tFace& face = object.pFaces[f];
        for (int k = 0; k < 3; ++k) {
            face.vertIndex[k] = values[k];
            face.coordIndex[k] = values[k];
        }
    }
    return true;
}

bool CLoad3DS::ReadUVCoordinates(t3DObject& object, size_t end) {
    uint16_t count = 0;
    if (end - m_reader.Tell() < 2 || !m_reader.ReadU16LE(count))
        return Fail("Corrupt 3DS file (truncated texture coordinates)");
    if (size_t(count) * 8 > end - m_reader.Tell())
        return Fail("Corrupt 3DS file (texture coordinates longer than their chunk)");
    delete[] object.pTexVerts;
    object.numTexVertex = count;
    object.pTexVerts = new CVector2[count];
    for (uint16_t i = 0; i < count; ++i) {
        m_reader.ReadF32LE(object.pTexVerts[i].x);
        m_reader.ReadF32LE(object.pTexVerts[i].y);
    }
    return true;
}

bool CLoad3DS::ReadObjectMaterial(t3DModel* model, t3DObject& object, size_t end) {
    char name[255];
    if (!GetString(name, sizeof(name), end)) return false;
    object.materialID = -1;
    for (int i = 0; i < model->numOfMaterials; ++i) {
        const tMaterialInfo& material = model->pMaterials[size_t(i)];
        if (std::strcmp(name, material.strName) == 0) {
            object.materialID = i;
            if (material.strFile[0] != '\0') object.bHasTexture = true;
            break;
        }
    }
    return true;
}

bool CLoad3DS::CheckIndices(t3DModel* model) {
    for (t3DObject& object : model->pObject) {
        for (int f = 0; f < object.numOfFaces; ++f)
            for (int index : object.pFaces[f].vertIndex)
                if (index >= object.numOfVerts)
                    return Fail(
                        std::string("Corrupt 3DS file (face vertex index out of range in ") +
                        object.strName + ")");
        // Texture coordinates are looked up by vertex index: pad a short list with zeros.
        if (object.pTexVerts && object.numTexVertex < object.numOfVerts) {
            CVector2* padded = new CVector2[size_t(object.numOfVerts)];
            std::copy(object.pTexVerts, object.pTexVerts + object.numTexVertex, padded);
            delete[] object.pTexVerts;
            object.pTexVerts = padded;
            object.numTexVertex = object.numOfVerts;
        }
        object.arrayVertexCount = object.numOfFaces * 3;
        if (!object.pNormals) object.pNormals = new CVector3[size_t(object.numOfVerts)];
    }
    return true;
}

void CLoad3DS::ComputeNormals(t3DModel* model) {
    ComputeMeshNormals(*model);
}

void CLoad3DS::ComputeBoundingBox(t3DModel* model) {
    ComputeMeshBoxes(*model);
}

void CLoad3DS::ComputeBoundingSphere(t3DModel* model) {
    model->boundingSphere = ComputeSphereOverObjects(model->pObject);
}

t3DSCornerArrays CLoad3DS::BuildCornerArrays(const t3DModel& model, const t3DObject& mesh) {
    t3DSCornerArrays arrays;
    const size_t corners = size_t(mesh.numOfFaces) * 3;
    const bool textured = mesh.bHasTexture;
    const bool colored = textured || model.numOfMaterials > 0;
    // Untextured meshes of an unknown material get white.
    unsigned char rgb[3] = {255, 255, 255};
    if (mesh.materialID >= 0 && mesh.materialID < model.numOfMaterials)
        std::memcpy(rgb, model.pMaterials[size_t(mesh.materialID)].color, 3);
    arrays.positions.reserve(corners * 3);
    arrays.normals.reserve(corners * 3);
    if (textured) arrays.texCoords.reserve(corners * 2);
    if (colored) arrays.colors.reserve(corners * 3);
    for (int f = 0; f < mesh.numOfFaces; ++f) {
        for (int k = 0; k < 3; ++k) {
            const int v = mesh.pFaces[f].vertIndex[k];
            const CVector3& p = mesh.pVerts[v];
            const CVector3& n = mesh.pNormals[v];
            arrays.positions.insert(arrays.positions.end(), {p.x, p.y, p.z});
            arrays.normals.insert(arrays.normals.end(), {n.x, n.y, n.z});
            if (textured) {
                // A textured mesh without coordinates samples the texture's corner.
                const CVector2 uv = mesh.pTexVerts ? mesh.pTexVerts[v] : CVector2();
                arrays.texCoords.insert(arrays.texCoords.end(), {uv.x, uv.y});
            }
            if (colored)
                arrays.colors.insert(arrays.colors.end(),
                                     {rgb[0] / 255.0f, rgb[1] / 255.0f, rgb[2] / 255.0f});
        }
    }
    return arrays;
}

void CLoad3DS::InitVBONEW(t3DModel* model) {
    // Without a context (or the extension) there is nothing to upload to.
    if (!HaveBufferObjects()) return;
    for (t3DObject& mesh : model->pObject) {
        t3DSCornerArrays arrays = BuildCornerArrays(*model, mesh);
        mesh.vertexBuffer = UploadFloatBuffer(arrays.positions);
        mesh.normalBuffer = UploadFloatBuffer(arrays.normals);
        if (!arrays.texCoords.empty() || mesh.bHasTexture)
            mesh.texCoordBuffer = UploadFloatBuffer(arrays.texCoords);
        if (!arrays.colors.empty()) mesh.colorBuffer = UploadFloatBuffer(arrays.colors);
    }
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}

void CLoad3DS::CleanUp() {
    m_reader = CByteReader(nullptr, 0);
}
