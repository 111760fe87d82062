#include "models/CObjLoader.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "core/ByteReader.h"
#include "models/MeshMath.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

const char* SkipBlanks(const char* p, const char* end) {
    while (p < end && IsBlank(*p))
        ++p;
    return p;
}

bool ParseFloat(const char*& p, const char* end, float& out) {
    p = SkipBlanks(p, end);
    if (p < end && *p == '+') ++p;
    const std::from_chars_result r = std::from_chars(p, end, out);
    if (r.ec != std::errc() || !std::isfinite(out)) return false;
    p = r.ptr;
    return true;
}

bool ParseInt(const char*& p, const char* end, long& out) {
    if (p < end && *p == '+') ++p;
    const std::from_chars_result r = std::from_chars(p, end, out);
    if (r.ec != std::errc()) return false;
    p = r.ptr;
    return true;
}

// A 1-based or negative (counted back from the newest) OBJ index as a 0-based index into
// the `count` entries read so far; -1 when it names none of them.
long ResolveIndex(long index, size_t count) {
    const long n = long(count);
    if (index > 0) return index <= n ? index - 1 : -1;
    if (index < 0) return n + index >= 0 ? n + index : -1;
    return -1;
}

// Turns the file-wide indices of one mesh's corners into indices into the mesh's own
// array, which it returns. Files whose every index fits the mesh's own entries once
// rebased on the first index keep that rebasing (the layout the engine has always read);
// otherwise the indices keep their OBJ meaning and entries from earlier meshes are copied
// in once each. A corner without an index (-1) gets a zero entry appended once.
template <class T>
std::vector<T> MeshItems(const std::vector<T>& all, size_t ownStart, std::vector<int>& indices,
                         bool keepOwnWhenUnused) {
    const size_t ownCount = all.size() - ownStart;
    int first = -1;
    bool missing = false;
    for (int i : indices) {
        if (i >= 0 && first < 0) first = i;
        missing = missing || i < 0;
    }
    std::vector<T> items;
    if (first < 0) {
        if (keepOwnWhenUnused) items.assign(all.begin() + long(ownStart), all.end());
        return items;
    }
    bool rebased = true;
    for (int i : indices)
        if (i >= 0 && (i < first || size_t(i - first) >= ownCount)) {
            rebased = false;
            break;
        }
    items.assign(all.begin() + long(ownStart), all.end());
    if (rebased) {
        for (int& i : indices)
            if (i >= 0) i -= first;
    } else {
        std::unordered_map<int, int> copies;
        for (int& i : indices) {
            if (i < 0) continue;
            if (size_t(i) >= ownStart) {
                i -= int(ownStart);
                continue;
            }
            auto placed = copies.emplace(i, int(items.size()));
            if (placed.second) items.push_back(all[size_t(i)]);
            i = placed.first->second;
        }
    }
    if (missing) {
        const int zero = int(items.size());
        items.push_back(T());
        for (int& i : indices)
            if (i < 0) i = zero;
    }
    return items;
}

} // namespace

bool CObjLoader::Fail(const std::string& message) {
    if (m_error.empty()) m_error = message;
    return false;
}

bool CObjLoader::LineError(const char* what) {
    return Fail("Corrupt OBJ file (line " + std::to_string(m_lineNumber) + ": " + what + ")");
}

bool CObjLoader::ImportObj(t3DModel* model, char* file) {
    if (!model || !file) return false;
    std::vector<uint8_t> bytes;
    bool ok;
    if (!ReadFileToMemory(file, bytes)) {
        m_error = "Unable to find or open the file";
        ok = false;
    } else {
        ok = ImportObjFromMemory(model, reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    if (!ok) {
        std::fprintf(stderr, "%s: %s\n", m_error.c_str(), file);
        return false;
    }
    InitVBONEW(model);
    return true;
}

bool CObjLoader::ImportObjFromMemory(t3DModel* model, const char* data, size_t size) {
    if (!model) return false;
    m_error.clear();
    ReleaseModel(*model);
    m_cur = data;
    m_end = data + size;
    m_lineNumber = 0;
    m_Positions.clear();
    m_TexCoords.clear();
    m_Faces.clear();
    m_meshPositionStart = m_meshTexCoordStart = 0;
    m_bTexCoordsSeen = m_bJustReadAFace = false;
    const bool ok = ReadObjFile(model);
    // The file-wide lists are only needed while reading.
    std::vector<CVector3>().swap(m_Positions);
    std::vector<CVector2>().swap(m_TexCoords);
    std::vector<tFace>().swap(m_Faces);
    if (!ok) {
        ReleaseModel(*model);
        return false;
    }
    ComputeNormals(model);
    ComputeBoundingBox(model);
    return true;
}

bool CObjLoader::ReadObjFile(t3DModel* model) {
    while (m_cur < m_end) {
        const char* newline =
            static_cast<const char*>(std::memchr(m_cur, '\n', size_t(m_end - m_cur)));
        m_lineEnd = newline ? newline : m_end;
        ++m_lineNumber;
        m_cur = SkipBlanks(m_cur, m_lineEnd);
        if (m_cur < m_lineEnd) {
            if (*m_cur == 'v') {
                // Vertex data after faces begins the next mesh.
                if (m_bJustReadAFace) FillInObjectInfo(model);
                if (!ReadVertexInfo()) return false;
            } else if (*m_cur == 'f' && m_cur + 1 < m_lineEnd && IsBlank(m_cur[1])) {
                if (!ReadFaceInfo()) return false;
            }
        }
        m_cur = newline ? newline + 1 : m_end;
    }
    FillInObjectInfo(model);
    return true;
}

bool CObjLoader::ReadVertexInfo() {
    const char* p = m_cur + 1;
    if (p < m_lineEnd && IsBlank(*p)) {
        CVector3 v;
        if (!ParseFloat(p, m_lineEnd, v.x) || !ParseFloat(p, m_lineEnd, v.y) ||
            !ParseFloat(p, m_lineEnd, v.z))
            return LineError("a position needs three finite numbers");
        m_Positions.push_back(v);
    } else if (p < m_lineEnd && *p == 't' && p + 1 < m_lineEnd && IsBlank(p[1])) {
        ++p;
        CVector2 t;
        if (!ParseFloat(p, m_lineEnd, t.x))
            return LineError("a texture coordinate needs a finite number");
        // The second number is optional in OBJ (1D textures); a third (w) is ignored.
        const char* q = p;
        if (ParseFloat(q, m_lineEnd, t.y)) p = q;
        m_TexCoords.push_back(t);
        m_bTexCoordsSeen = true;
    }
    // Normals ("vn"), parameter-space vertices and anything else starting with v: skipped.
    return true;
}

bool CObjLoader::ReadFaceInfo() {
    const char* p = m_cur + 1;
    m_corners.clear();
    for (;;) {
        p = SkipBlanks(p, m_lineEnd);
        if (p >= m_lineEnd || *p == '#') break;
        long v = 0, t = 0, n = 0;
        if (!ParseInt(p, m_lineEnd, v)) return LineError("a face corner must start with a number");
        if (p < m_lineEnd && *p == '/') {
            ++p;
            if (p < m_lineEnd && *p != '/' && !ParseInt(p, m_lineEnd, t))
                return LineError("bad texture index in a face corner");
            if (p < m_lineEnd && *p == '/') {
                ++p;
                if (!ParseInt(p, m_lineEnd, n))
                    return LineError("bad normal index in a face corner");
            }
        }
        if (p < m_lineEnd && !IsBlank(*p)) return LineError("unexpected text in a face corner");
        const long vertex = ResolveIndex(v, m_Positions.size());
        if (vertex < 0) {
            const std::string what = "vertex index " + std::to_string(v) + " outside the " +
                                     std::to_string(m_Positions.size()) + " positions read";
            return LineError(what.c_str());
        }
        long coord = -1;
        if (t != 0) {
            coord = ResolveIndex(t, m_TexCoords.size());
            if (coord < 0) {
                const std::string what = "texture index " + std::to_string(t) + " outside the " +
                                         std::to_string(m_TexCoords.size()) +
                                         " texture coordinates read";
                return LineError(what.c_str());
            }
        }
        m_corners.push_back(int(vertex));
        m_corners.push_back(int(coord));
    }
    const size_t count = m_corners.size() / 2;
    if (count < 3) return LineError("a face needs at least three corners");
    // Polygons become a fan around their first corner.
    for (size_t k = 1; k + 1 < count; ++k) {
        tFace face{};
        const size_t corner[3] = {0, k, k + 1};
        for (int c = 0; c < 3; ++c) {
            face.vertIndex[c] = m_corners[corner[c] * 2];
            face.coordIndex[c] = m_corners[corner[c] * 2 + 1];
        }
        m_Faces.push_back(face);
    }
    m_bJustReadAFace = true;
    return true;
}

void CObjLoader::FillInObjectInfo(t3DModel* model) {
    const bool ownPositions = m_Positions.size() > m_meshPositionStart;
    if (m_Faces.empty() && !ownPositions) return;
    const size_t corners = m_Faces.size() * 3;
    std::vector<int> vertIndices(corners), coordIndices(corners);
    for (size_t f = 0; f < m_Faces.size(); ++f)
        for (int k = 0; k < 3; ++k) {
            vertIndices[f * 3 + size_t(k)] = m_Faces[f].vertIndex[k];
            coordIndices[f * 3 + size_t(k)] = m_Faces[f].coordIndex[k];
        }
    const std::vector<CVector3> verts =
        MeshItems(m_Positions, m_meshPositionStart, vertIndices, true);
    const std::vector<CVector2> coords =
        MeshItems(m_TexCoords, m_meshTexCoordStart, coordIndices, false);

    t3DObject object = MakeEmptyObject();
    object.numOfVerts = int(verts.size());
    object.numOfFaces = int(m_Faces.size());
    object.numTexVertex = int(coords.size());
    object.materialID = -1;
    if (!verts.empty()) {
        object.pVerts = new CVector3[verts.size()];
        object.pNormals = new CVector3[verts.size()];
        std::copy(verts.begin(), verts.end(), object.pVerts);
    }
    if (!coords.empty()) {
        object.pTexVerts = new CVector2[coords.size()];
        std::copy(coords.begin(), coords.end(), object.pTexVerts);
        object.bHasTexture = true;
    }
    if (!m_Faces.empty()) {
        object.pFaces = new tFace[m_Faces.size()];
        for (size_t f = 0; f < m_Faces.size(); ++f) {
            tFace& face = object.pFaces[f];
            face = tFace{};
            for (int k = 0; k < 3; ++k) {
                face.vertIndex[k] = vertIndices[f * 3 + size_t(k)];
                face.coordIndex[k] = object.bHasTexture ? coordIndices[f * 3 + size_t(k)] : 0;
            }
        }
    }
    object.arrayVertexCount = object.numOfFaces * 3;
    model->pObject.push_back(object);
    model->numOfObjects = int(model->pObject.size());

    m_Faces.clear();
    m_meshPositionStart = m_Positions.size();
    m_meshTexCoordStart = m_TexCoords.size();
    m_bTexCoordsSeen = false;
    m_bJustReadAFace = false;
}

void CObjLoader::SetObjectMaterial(t3DModel* model, int object, int material) {
    if (model && object >= 0 && model->numOfObjects > object)
        model->pObject[size_t(object)].materialID = material;
}

void CObjLoader::AddMaterial(t3DModel* model, const char* name, const char* file, int r, int g,
                             int b) {
    if (!model) return;
    tMaterialInfo material = MakeEmptyMaterial();
    material.color[0] = static_cast<unsigned char>(r);
    material.color[1] = static_cast<unsigned char>(g);
    material.color[2] = static_cast<unsigned char>(b);
    if (file) CopyName(material.strFile, sizeof(material.strFile), file, std::strlen(file));
    if (name) CopyName(material.strName, sizeof(material.strName), name, std::strlen(name));
    model->pMaterials.push_back(material);
    ++model->numOfMaterials;
}

void CObjLoader::ComputeNormals(t3DModel* model) {
    ComputeMeshNormals(*model);
    // The ray tracer shades hits with each face's own normal.
    for (t3DObject& object : model->pObject)
        for (int f = 0; f < object.numOfFaces; ++f) {
            tFace& face = object.pFaces[f];
            const CVector3& a = object.pVerts[face.vertIndex[0]];
            face.normal = Normalize(Cross(Vector(object.pVerts[face.vertIndex[1]], a),
                                          Vector(object.pVerts[face.vertIndex[2]], a)));
        }
}

void CObjLoader::ComputeBoundingBox(t3DModel* model) {
    ComputeMeshBoxes(*model);
}

void CObjLoader::BuildCornerArrays(const t3DObject& mesh, std::vector<float>& positions,
                                   std::vector<float>& normals, std::vector<float>& texCoords) {
    const size_t corners = size_t(mesh.numOfFaces) * 3;
    positions.clear();
    normals.clear();
    texCoords.clear();
    positions.reserve(corners * 3);
    normals.reserve(corners * 3);
    if (mesh.bHasTexture) texCoords.reserve(corners * 2);
    for (int f = 0; f < mesh.numOfFaces; ++f)
        for (int k = 0; k < 3; ++k) {
            const int v = mesh.pFaces[f].vertIndex[k];
            const CVector3& p = mesh.pVerts[v];
            const CVector3& n = mesh.pNormals[v];
            positions.insert(positions.end(), {p.x, p.y, p.z});
            normals.insert(normals.end(), {n.x, n.y, n.z});
            if (mesh.bHasTexture) {
                const CVector2& uv = mesh.pTexVerts[mesh.pFaces[f].coordIndex[k]];
                texCoords.insert(texCoords.end(), {uv.x, uv.y});
            }
        }
}

void CObjLoader::InitVBONEW(t3DModel* model) {
    if (!model || !HaveBufferObjects()) return;
    std::vector<float> positions, normals, texCoords;
    for (t3DObject& mesh : model->pObject) {
        if (mesh.numOfFaces == 0) continue;
        BuildCornerArrays(mesh, positions, normals, texCoords);
        mesh.vertexBuffer = UploadFloatBuffer(positions);
        mesh.normalBuffer = UploadFloatBuffer(normals);
        if (mesh.bHasTexture) mesh.texCoordBuffer = UploadFloatBuffer(texCoords);
    }
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
}
