#include "models/CMD3Loader.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "models/MeshMath.h"

namespace {
constexpr size_t kHeaderSize = 108;
constexpr size_t kFrameRecordSize = 56;
constexpr size_t kTagRecordSize = 112;
constexpr size_t kMeshHeaderSize = 108;
constexpr size_t kSkinRecordSize = 68;
constexpr size_t kTriangleRecordSize = 12;
constexpr size_t kTexCoordRecordSize = 8;
constexpr size_t kVertexRecordSize = 8;
// MD3 stores positions in 1/64 units.
constexpr float kPositionScale = 1.0f / 64.0f;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsSpace(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsSpace(s.back()))
        s.remove_suffix(1);
    return s;
}

// A texture file name as a line gives it: cut at a stray NUL (the name is kept as a C
// string) and without surrounding blanks; empty when nothing is left.
std::string_view TextureName(std::string_view text) {
    return Trim(text.substr(0, text.find('\0')));
}

void AppendTextureMaterial(t3DModel* model, t3DObject& mesh, std::string_view file) {
    tMaterialInfo material = MakeEmptyMaterial();
    CopyName(material.strFile, sizeof(material.strFile), file.data(), file.size());
    material.uTile = 1.0f;
    material.vTile = 1.0f;
    mesh.materialID = model->numOfMaterials;
    mesh.bHasTexture = true;
    model->pMaterials.push_back(material);
    ++model->numOfMaterials;
}

bool ReadTextFile(const char* file, std::vector<uint8_t>& bytes) {
    if (ReadFileToMemory(file, bytes)) return true;
    std::fprintf(stderr, "Unable to find the file: %s!\n", file ? file : "(null)");
    return false;
}
} // namespace

bool CLoadMD3::Fail(const std::string& message) {
    if (m_error.empty()) m_error = message;
    return false;
}

CVector3 CLoadMD3::DecodeNormal(const uint8_t packed[2]) {
    const float step = 2.0f * 3.14159265358979f / 256.0f;
    const float lat = float(packed[1]) * step;
    const float lng = float(packed[0]) * step;
    return CVector3(std::cos(lat) * std::sin(lng), std::sin(lat) * std::sin(lng), std::cos(lng));
}

bool CLoadMD3::ImportMD3(t3DModel* model, char* file) {
    if (!model) return false;
    std::vector<uint8_t> bytes;
    bool ok;
    if (!ReadFileToMemory(file, bytes)) {
        ReleaseMd3Model(*model);
        m_error = "Unable to find the file";
        ok = false;
    } else {
        ok = ImportMD3FromMemory(model, bytes.data(), bytes.size());
    }
    if (!ok) std::fprintf(stderr, "%s: %s!\n", m_error.c_str(), file ? file : "(null)");
    return ok;
}

bool CLoadMD3::ImportMD3FromMemory(t3DModel* model, const uint8_t* data, size_t size) {
    if (!model) return false;
    m_error.clear();
    ReleaseMd3Model(*model);
    m_reader = CByteReader(data, size);
    m_Header = tMd3Header{};
    m_MeshSkins.clear();
    bool ok = ReadHeader() && ReadTags(model);
    size_t position = m_reader.Tell();
    for (int i = 0; ok && i < m_Header.numMeshes; ++i)
        ok = ReadMesh(model, position, position);
    m_reader = CByteReader(nullptr, 0);
    std::vector<CVector2>().swap(m_TexCoords);
    std::vector<int32_t>().swap(m_Triangles);
    std::vector<tMd3Vertex>().swap(m_Vertices);
    if (!ok) {
        ReleaseMd3Model(*model);
        return false;
    }
    return true;
}

bool CLoadMD3::ReadHeader() {
    CByteReader& r = m_reader;
    if (r.Size() < kHeaderSize) return Fail("Invalid file format (shorter than an MD3 header)");
    r.ReadBytes(m_Header.fileID, 4);
    r.ReadI32LE(m_Header.version);
    r.ReadBytes(m_Header.strFile, sizeof(m_Header.strFile));
    int32_t* counts = &m_Header.numFrames;
    for (int i = 0; i < 8; ++i)
        r.ReadI32LE(counts[i]);
    if (std::memcmp(m_Header.fileID, "IDP3", 4) != 0 || m_Header.version != 15)
        return Fail("Invalid file format (Version not 15)");
    const tMd3Header& h = m_Header;
    if (h.numFrames < 1 || h.numTags < 0 || h.numMeshes < 0)
        return Fail("Corrupt MD3 file (negative count or no frames)");
    if (!r.Fits(r.Tell(), size_t(h.numFrames), kFrameRecordSize))
        return Fail("Corrupt MD3 file (frames run past the end of the file)");
    r.Skip(size_t(h.numFrames) * kFrameRecordSize);
    if (!r.Fits(r.Tell(), size_t(h.numFrames), size_t(h.numTags) * kTagRecordSize))
        return Fail("Corrupt MD3 file (tags run past the end of the file)");
    return true;
}

bool CLoadMD3::ReadTags(t3DModel* model) {
    const size_t count = size_t(m_Header.numFrames) * size_t(m_Header.numTags);
    model->numOfTags = m_Header.numTags;
    if (m_Header.numTags > 0) {
        model->pLinks =
            static_cast<t3DModel**>(std::calloc(size_t(m_Header.numTags), sizeof(t3DModel*)));
        if (!model->pLinks) return Fail("Out of memory for the tag links");
    }
    if (count > 0) model->pTags = new tMd3Tag[count];
    for (size_t i = 0; i < count; ++i) {
        tMd3Tag& tag = model->pTags[i];
        const uint8_t* name = m_reader.Take(64);
        CopyName(tag.strName, sizeof(tag.strName), reinterpret_cast<const char*>(name), 64);
        m_reader.ReadF32LE(tag.vPosition.x);
        m_reader.ReadF32LE(tag.vPosition.y);
        m_reader.ReadF32LE(tag.vPosition.z);
        for (int k = 0; k < 9; ++k)
            m_reader.ReadF32LE(tag.rotation[k / 3][k % 3]);
    }
    return true;
}

bool CLoadMD3::ReadMesh(t3DModel* model, size_t start, size_t& next) {
    CByteReader& r = m_reader;
    const std::string which = "mesh " + std::to_string(model->pObject.size());
    if (!r.Seek(start) || !r.Fits(start, 1, kMeshHeaderSize))
        return Fail("Corrupt MD3 file (" + which + " header runs past the end of the file)");
    tMd3MeshInfo mesh{};
    r.ReadBytes(mesh.meshID, 4);
    r.ReadBytes(mesh.strName, sizeof(mesh.strName));
    int32_t* fields = &mesh.numMeshFrames;
    for (int i = 0; i < 9; ++i)
        r.ReadI32LE(fields[i]);
    if (mesh.meshSize < int32_t(kMeshHeaderSize) || size_t(mesh.meshSize) > r.Size() - start)
        return Fail("Corrupt MD3 file (" + which + " size runs past the end of the file)");
    if (mesh.numMeshFrames < 0 || mesh.numSkins < 0 || mesh.numVertices < 0 ||
        mesh.numTriangles < 0)
        return Fail("Corrupt MD3 file (" + which + " has a negative count)");
    if (mesh.numVertices > 0 && mesh.numMeshFrames < m_Header.numFrames)
        return Fail("Corrupt MD3 file (" + which + " has fewer frames than the file)");
    const size_t end = start + size_t(mesh.meshSize);
    // A block at offset (from the mesh start) of count records must end inside the mesh.
    auto inside = [&](int32_t offset, size_t count, size_t record) {
        return offset >= 0 && size_t(offset) <= end - start &&
               CByteReader(r.Data(), end).Fits(start + size_t(offset), count, record);
    };
    const size_t frames = size_t(m_Header.numFrames);
    const size_t verts = size_t(mesh.numVertices);
    // The skin names sit at the offset the header-size field gives (the header's end in
    // files that keep no other data in between).
    if (!inside(mesh.headerSize, size_t(mesh.numSkins), kSkinRecordSize) ||
        !inside(mesh.triStart, size_t(mesh.numTriangles), kTriangleRecordSize) ||
        !inside(mesh.uvStart, verts, kTexCoordRecordSize) ||
        !inside(mesh.vertexStart, verts * frames, kVertexRecordSize))
        return Fail("Corrupt MD3 file (" + which + " blocks run past the mesh)");

    std::vector<std::string> skins(size_t(mesh.numSkins));
    r.Seek(start + size_t(mesh.headerSize));
    for (std::string& skin : skins) {
        const char* name = reinterpret_cast<const char*>(r.Take(kSkinRecordSize));
        skin.assign(name, strnlen(name, 64));
    }
    m_MeshSkins.push_back(std::move(skins));
    m_Triangles.resize(size_t(mesh.numTriangles) * 3);
    r.Seek(start + size_t(mesh.triStart));
    for (int32_t& index : m_Triangles) {
        r.ReadI32LE(index);
        if (index < 0 || index >= mesh.numVertices)
            return Fail("Corrupt MD3 file (" + which + " triangle index " + std::to_string(index) +
                        " is not below its " + std::to_string(mesh.numVertices) + " vertices)");
    }
    m_TexCoords.resize(verts);
    r.Seek(start + size_t(mesh.uvStart));
    for (CVector2& uv : m_TexCoords) {
        r.ReadF32LE(uv.x);
        r.ReadF32LE(uv.y);
    }
    m_Vertices.resize(verts * frames);
    r.Seek(start + size_t(mesh.vertexStart));
    for (tMd3Vertex& v : m_Vertices) {
        for (int16_t& c : v.vertex)
            r.ReadI16LE(c);
        r.ReadBytes(v.normal, 2);
    }
    ConvertDataStructures(model, mesh);
    next = end;
    return true;
}

void CLoadMD3::ConvertDataStructures(t3DModel* model, const tMd3MeshInfo& mesh) {
    t3DObject object = MakeEmptyObject();
    CopyName(object.strName, sizeof(object.strName), mesh.strName, 64);
    object.numOfVerts = mesh.numVertices;
    object.numTexVertex = mesh.numVertices;
    object.numOfFaces = mesh.numTriangles;
    object.arrayVertexCount = mesh.numTriangles * 3;
    if (!m_Vertices.empty()) {
        object.pVerts = new CVector3[m_Vertices.size()];
        object.pNormals = new CVector3[m_Vertices.size()];
        for (size_t i = 0; i < m_Vertices.size(); ++i) {
            const tMd3Vertex& v = m_Vertices[i];
            object.pVerts[i] = CVector3(v.vertex[0] * kPositionScale, v.vertex[1] * kPositionScale,
                                        v.vertex[2] * kPositionScale);
            object.pNormals[i] = DecodeNormal(v.normal);
        }
    }
    if (!m_TexCoords.empty()) {
        object.pTexVerts = new CVector2[m_TexCoords.size()];
        for (size_t i = 0; i < m_TexCoords.size(); ++i)
            object.pTexVerts[i] = CVector2(m_TexCoords[i].x, -m_TexCoords[i].y);
    }
    if (mesh.numTriangles > 0) {
        object.pFaces = new tFace[size_t(mesh.numTriangles)];
        for (int f = 0; f < mesh.numTriangles; ++f) {
            tFace& face = object.pFaces[f];
            face = tFace{};
            for (int k = 0; k < 3; ++k)
                face.vertIndex[k] = face.coordIndex[k] = m_Triangles[size_t(f) * 3 + size_t(k)];
        }
    }
    // Boxes of the first frame (the pose the part rests in).
    ResetBox(object.boundingBox);
    GrowBox(object.boundingBox, object.pVerts, object.numOfVerts);
    if (model->pObject.empty()) ResetBox(model->boundingBox);
    GrowBox(model->boundingBox, object.pVerts, object.numOfVerts);
    model->numOfVertices += object.arrayVertexCount;
    model->pObject.push_back(object);
    ++model->numOfObjects;
}

bool CLoadMD3::LoadSkin(t3DModel* model, char* file) {
    std::vector<uint8_t> bytes;
    if (!model || !ReadTextFile(file, bytes)) return false;
    LoadSkinFromMemory(model, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}

void CLoadMD3::LoadSkinFromMemory(t3DModel* model, const char* text, size_t size) {
    ForEachLine(text, size, [&](const char* start, size_t length) {
        const std::string_view line(start, length);
        for (t3DObject& mesh : model->pObject) {
            const std::string_view name(mesh.strName);
            // An unnamed mesh would match every line.
            if (name.empty() || line.find(name) == std::string_view::npos) continue;
            // The texture is the file name after the path; a line without a path names it
            // after the comma.
            size_t cut = line.find_last_of("/\\");
            if (cut == std::string_view::npos || cut == 0) cut = line.find(',');
            const std::string_view file =
                TextureName(cut == std::string_view::npos ? line : line.substr(cut + 1));
            if (!file.empty()) AppendTextureMaterial(model, mesh, file);
        }
    });
}

bool CLoadMD3::LoadShader(t3DModel* model, char* file) {
    std::vector<uint8_t> bytes;
    if (!model || !ReadTextFile(file, bytes)) return false;
    LoadShaderFromMemory(model, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return true;
}

void CLoadMD3::LoadShaderFromMemory(t3DModel* model, const char* text, size_t size) {
    size_t meshIndex = 0;
    ForEachLine(text, size, [&](const char* start, size_t length) {
        if (meshIndex >= model->pObject.size()) return;
        const std::string_view file = TextureName(std::string_view(start, length));
        t3DObject& mesh = model->pObject[meshIndex++];
        if (!file.empty()) AppendTextureMaterial(model, mesh, file);
    });
}

void ReleaseMd3Model(t3DModel& model) {
    std::free(model.pLinks);
    delete[] model.pTags;
    model.pLinks = nullptr;
    model.pTags = nullptr;
    ReleaseModel(model);
}
