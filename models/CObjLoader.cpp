#include "models/CObjLoader.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdint>
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

// Plain decimals ("-12.375") with fewer than eight significant digits and at most ten
// after the point: the digits and the power of ten are exact floats, so one float
// division rounds exactly as a full conversion would. False leaves anything else, p
// untouched, to std::from_chars.
[[gnu::always_inline]] inline bool ParseShortDecimal(const char*& p, const char* end, float& out) {
    static const float kPowersOfTen[] = {1e0f, 1e1f, 1e2f, 1e3f, 1e4f, 1e5f,
                                         1e6f, 1e7f, 1e8f, 1e9f, 1e10f};
    const char* q = p;
    const bool negative = q < end && *q == '-';
    if (negative) ++q;
    uint32_t mantissa = 0;
    int digits = 0, fraction = 0;
    for (; q < end && unsigned(*q - '0') < 10u && digits < 8; ++q, ++digits)
        mantissa = mantissa * 10 + unsigned(*q - '0');
    if (q < end && *q == '.') {
        for (++q; q < end && unsigned(*q - '0') < 10u && digits < 8 && fraction < 10;
             ++q, ++digits, ++fraction)
            mantissa = mantissa * 10 + unsigned(*q - '0');
    }
    if (digits == 0 || digits == 8) return false;
    if (q < end && (unsigned(*q - '0') < 10u || *q == '.' || *q == 'e' || *q == 'E')) return false;
    const float value = float(mantissa) / kPowersOfTen[fraction];
    out = negative ? -value : value;
    p = q;
    return true;
}

[[gnu::always_inline]] inline bool ParseFloat(const char*& p, const char* end, float& out) {
    p = SkipBlanks(p, end);
    if (p < end && *p == '+') ++p;
    if (ParseShortDecimal(p, end, out)) return true;
    const std::from_chars_result r = std::from_chars(p, end, out);
    if (r.ec != std::errc() || !std::isfinite(out)) return false;
    p = r.ptr;
    return true;
}

// The number of decimal digits at the start of eight bytes read little-endian (the
// first character in the lowest byte).
[[gnu::always_inline]] inline int LeadingDigits(uint64_t chunk) {
    // A byte is a digit when its high nibble is 3 and adding 6 keeps it so. A carry out
    // of a byte above 0xF9 only disturbs the bytes after it, which are past a non-digit.
    const uint64_t high = chunk & 0xF0F0F0F0F0F0F0F0ULL;
    const uint64_t bumped = (chunk + 0x0606060606060606ULL) & 0xF0F0F0F0F0F0F0F0ULL;
    const uint64_t other = (high ^ 0x3030303030303030ULL) | (bumped ^ 0x3030303030303030ULL);
    if (other == 0) return 8;
    return __builtin_ctzll(other) / 8;
}

// The value of the first `digits` (1 to 8) decimal digits of a chunk, all at once.
[[gnu::always_inline]] inline uint64_t DigitsValue(uint64_t chunk, int digits) {
    // Digits become 0-9; shifting up leaves zero bytes as leading zero digits.
    uint64_t v = (chunk ^ 0x3030303030303030ULL) << (8 * (8 - digits));
    v = v * 10 + (v >> 8);
    v = (((v & 0x000000FF000000FFULL) * (100 + (1000000ULL << 32))) +
         (((v >> 16) & 0x000000FF000000FFULL) * (1 + (10000ULL << 32)))) >>
        32;
    return v;
}

// An optionally signed decimal index; false when there are no digits or it is too large.
// Inlined: it runs several times for every face corner. Up to eight digits are read at
// once where eight bytes remain before `bufferEnd` (digits never run past the line end,
// which is a newline or the buffer's end); longer numbers go on a digit at a time.
[[gnu::always_inline]] inline bool ParseInt(const char*& p, const char* end, const char* bufferEnd,
                                            long& out) {
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    const char* const start = p;
    unsigned long long value = 0;
    bool more = true; // false once a short number has been read whole
    if (bufferEnd - p >= 8) {
        uint64_t chunk;
        std::memcpy(&chunk, p, 8);
        const int digits = LeadingDigits(chunk);
        if (digits > 0) value = DigitsValue(chunk, digits);
        p += digits;
        more = digits == 8;
    }
    while (more && p < end && unsigned(*p - '0') < 10u) {
        value = value * 10 + unsigned(*p++ - '0');
        if (value > 0x7fffffffULL) return false;
    }
    if (p == start) return false;
    out = negative ? -long(value) : long(value);
    return true;
}

// A 1-based or negative (counted back from the newest) OBJ index as a 0-based index into
// the `count` entries read so far; -1 when it names none of them.
[[gnu::always_inline]] inline long ResolveIndex(long index, size_t count) {
    const long n = long(count);
    if (index > 0) return index <= n ? index - 1 : -1;
    if (index < 0) return n + index >= 0 ? n + index : -1;
    return -1;
}

// One kind of index (positions or texture coordinates) in a mesh's triangles: three
// ints a triangle, `stride` ints apart.
struct sIndexColumn {
    int* first;
    size_t triangles;
    size_t stride;

    template <class Visit> void ForEach(Visit visit) const {
        for (size_t t = 0; t < triangles; ++t)
            for (int k = 0; k < 3; ++k)
                visit(first[t * stride + size_t(k)]);
    }
};

// Gives one mesh its own array for the file-wide indices of its corners and returns it
// with its length; each corner's index into it is then index - shift. Files whose every
// index fits the mesh's own entries once rebased on the first index keep that rebasing
// (the layout the engine has always read); otherwise the indices keep their OBJ meaning,
// and entries from earlier meshes are copied in once each (the indices are rewritten and
// shift is 0). A corner without an index (-1) is pointed at a zero entry appended once.
template <class T>
T* MeshItems(const std::vector<T>& all, size_t ownStart, const sIndexColumn& indices,
             bool keepOwnWhenUnused, int& count, int& shift) {
    const int ownCount = int(all.size() - ownStart);
    int first = -1, low = 0x7fffffff, high = -1;
    bool missing = false;
    indices.ForEach([&](int i) {
        if (i < 0) {
            missing = true;
            return;
        }
        if (first < 0) first = i;
        low = std::min(low, i);
        high = std::max(high, i);
    });
    count = 0;
    shift = 0;
    if (first < 0 && !keepOwnWhenUnused) return nullptr;
    std::vector<int> copied; // earlier entries the mesh refers back to, in first-use order
    if (first >= 0 && low >= first && high - first < ownCount) {
        shift = first;
    } else if (first >= 0 && low >= int(ownStart)) {
        shift = int(ownStart);
    } else if (first >= 0) {
        std::unordered_map<int, int> copies;
        indices.ForEach([&](int& i) {
            if (i < 0) return;
            if (i >= int(ownStart)) {
                i -= int(ownStart);
                return;
            }
            auto placed = copies.emplace(i, ownCount + int(copied.size()));
            if (placed.second) copied.push_back(i);
            i = placed.first->second;
        });
    }
    const int total = ownCount + int(copied.size()) + (missing && first >= 0 ? 1 : 0);
    if (total == 0) return nullptr;
    T* items = new T[size_t(total)];
    std::copy(all.begin() + long(ownStart), all.end(), items);
    for (size_t k = 0; k < copied.size(); ++k)
        items[size_t(ownCount) + k] = all[size_t(copied[k])];
    if (total > ownCount + int(copied.size())) {
        items[total - 1] = T();
        // The fill loop subtracts shift again.
        indices.ForEach([&](int& i) {
            if (i < 0) i = total - 1 + shift;
        });
    }
    count = total;
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
    const CFileBytes bytes(file);
    bool ok;
    if (!bytes.IsValid()) {
        m_error = "Unable to find or open the file";
        ReleaseModel(*model);
        ok = false;
    } else {
        ok = ImportObjFromMemory(model, reinterpret_cast<const char*>(bytes.Data()), bytes.Size());
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
    m_Triangles.clear();
    // Generous guesses from the shortest lines; pages never written cost nothing.
    m_Positions.reserve(size / 16);
    m_Triangles.reserve(size / 8);
    m_meshPositionStart = m_meshTexCoordStart = 0;
    m_bTexCoordsSeen = m_bJustReadAFace = false;
    const bool ok = ReadObjFile(model);
    // The file-wide lists are only needed while reading.
    std::vector<CVector3>().swap(m_Positions);
    std::vector<CVector2>().swap(m_TexCoords);
    std::vector<sTriangle>().swap(m_Triangles);
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

bool CObjLoader::IndexError(const char* what, long index, size_t count) {
    const std::string text = std::string(what) + " index " + std::to_string(index) +
                             " outside the " + std::to_string(count) + " " +
                             (what[0] == 'v' ? "positions" : "texture coordinates") + " read";
    return LineError(text.c_str());
}

bool CObjLoader::ReadFaceInfo() {
    const char* p = m_cur + 1;
    const char* const end = m_lineEnd;
    const size_t positions = m_Positions.size(), coords = m_TexCoords.size();
    // Polygons become a fan around their first corner, emitted from the third corner on.
    int corners = 0, firstVertex = 0, firstCoord = 0, lastVertex = 0, lastCoord = 0;
    for (;;) {
        p = SkipBlanks(p, end);
        if (p >= end || *p == '#') break;
        long v = 0, t = 0, n = 0;
        if (!ParseInt(p, end, m_end, v)) return LineError("a face corner must start with a number");
        if (p < end && *p == '/') {
            ++p;
            if (p < end && *p != '/' && !ParseInt(p, end, m_end, t))
                return LineError("bad texture index in a face corner");
            if (p < end && *p == '/') {
                ++p;
                if (!ParseInt(p, end, m_end, n))
                    return LineError("bad normal index in a face corner");
            }
        }
        if (p < end && !IsBlank(*p)) return LineError("unexpected text in a face corner");
        const long vertex = ResolveIndex(v, positions);
        if (vertex < 0) return IndexError("vertex", v, positions);
        const long coord = t != 0 ? ResolveIndex(t, coords) : -1;
        if (t != 0 && coord < 0) return IndexError("texture", t, coords);
        if (corners == 0) {
            firstVertex = int(vertex);
            firstCoord = int(coord);
        } else if (corners >= 2) {
            m_Triangles.push_back(
                {{firstVertex, lastVertex, int(vertex)}, {firstCoord, lastCoord, int(coord)}});
        }
        lastVertex = int(vertex);
        lastCoord = int(coord);
        ++corners;
    }
    if (corners < 3) return LineError("a face needs at least three corners");
    m_bJustReadAFace = true;
    return true;
}

void CObjLoader::FillInObjectInfo(t3DModel* model) {
    const bool ownPositions = m_Positions.size() > m_meshPositionStart;
    const size_t faces = m_Triangles.size();
    if (faces == 0 && !ownPositions) return;
    t3DObject object = MakeEmptyObject();
    int vertShift = 0, coordShift = 0;
    sTriangle* triangles = m_Triangles.data();
    const size_t stride = sizeof(sTriangle) / sizeof(int);
    object.pVerts = MeshItems(m_Positions, m_meshPositionStart, {triangles->vert, faces, stride},
                              true, object.numOfVerts, vertShift);
    object.pTexVerts =
        MeshItems(m_TexCoords, m_meshTexCoordStart, {triangles->coord, faces, stride}, false,
                  object.numTexVertex, coordShift);
    object.bHasTexture = object.pTexVerts != nullptr;
    if (object.pVerts) object.pNormals = new CVector3[size_t(object.numOfVerts)];
    object.numOfFaces = int(faces);
    object.materialID = -1;
    if (faces > 0) {
        object.pFaces = new tFace[faces];
        for (size_t f = 0; f < faces; ++f) {
            const sTriangle& from = triangles[f];
            tFace& face = object.pFaces[f];
            for (int k = 0; k < 3; ++k)
                face.vertIndex[k] = from.vert[k] - vertShift;
            if (object.bHasTexture)
                for (int k = 0; k < 3; ++k)
                    face.coordIndex[k] = from.coord[k] - coordShift;
            else
                face.coordIndex[0] = face.coordIndex[1] = face.coordIndex[2] = 0;
        }
    }
    object.arrayVertexCount = object.numOfFaces * 3;
    model->pObject.push_back(object);
    model->numOfObjects = int(model->pObject.size());

    m_Triangles.clear();
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
    // The ray tracer shades hits with each face's own normal.
    ComputeMeshNormals(*model, true);
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
