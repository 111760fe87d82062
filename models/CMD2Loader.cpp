#include "models/CMD2Loader.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "models/MeshMath.h"

namespace {
constexpr size_t kHeaderSize = 68;
constexpr size_t kSkinRecordSize = 64;
constexpr size_t kTexCoordRecordSize = 4;
constexpr size_t kTriangleRecordSize = 12;
constexpr int64_t kFrameHeaderSize = 40;
} // namespace

CMD2Loader::CMD2Loader() {
    std::memset(&m_header, 0, sizeof(m_header));
}

bool CMD2Loader::Fail(const std::string& message) {
    if (m_error.empty()) m_error = message;
    return false;
}

bool CMD2Loader::ImportMD2(t3DModel* model, char* file, char* skin) {
    std::vector<uint8_t> bytes;
    bool ok;
    if (!ReadFileToMemory(file, bytes)) {
        m_error = "Unable to find the file";
        ReleaseModel(*model);
        ok = false;
    } else {
        ok = ImportMD2FromMemory(model, bytes.data(), bytes.size(), skin);
    }
    if (!ok) ReportLoadFailure(stderr, m_error, file);
    return ok;
}

bool CMD2Loader::ImportMD2FromMemory(t3DModel* model, const uint8_t* data, size_t size,
                                     const char* skin) {
    m_error.clear();
    m_reader = CByteReader(data, size);
    ReleaseModel(*model);
    if (!ReadMD2Data()) {
        CleanUp();
        return false;
    }
    ConvertDataStructures(model);
    CalculateNormals(model);
    ComputeBoundingBox(model);
    ComputeBoundingSphere(model);
    if (skin) {
        tMaterialInfo material = MakeEmptyMaterial();
        CopyName(material.strFile, sizeof(material.strFile), skin, std::strlen(skin));
        material.texureId = 0;
        material.uTile = 1.0f;
        model->pMaterials.push_back(material);
        model->numOfMaterials = 1;
    }
    CleanUp();
    return true;
}

bool CMD2Loader::ReadMD2Data() {
    CByteReader& r = m_reader;
    int32_t* fields = &m_header.magic;
    if (r.Size() < kHeaderSize) return Fail("Invalid file format (shorter than an MD2 header)");
    for (size_t i = 0; i < kHeaderSize / 4; ++i)
        r.ReadI32LE(fields[i]);
    if (m_header.version != 8) return Fail("Invalid file format (Version not 8)");

    const tMd2Header& h = m_header;
    if (h.numSkins < 0 || h.numVertices < 0 || h.numTexCoords < 0 || h.numTriangles < 0 ||
        h.numFrames < 0)
        return Fail("Corrupt MD2 file (negative count)");
    if (h.numFrames > 0) {
        if (h.frameSize > kMaxFrameSize)
            return Fail("Frame size above 8320 bytes is not supported");
        if (int64_t(h.frameSize) < kFrameHeaderSize + 4 * int64_t(h.numVertices))
            return Fail("Corrupt MD2 file (frame size too small for its vertices)");
    }
    auto blockFits = [&](int32_t offset, int32_t count, size_t recordSize) {
        return offset >= 0 && r.Fits(size_t(offset), size_t(count), recordSize);
    };
    if (!blockFits(h.offsetSkins, h.numSkins, kSkinRecordSize))
        return Fail("Corrupt MD2 file (skin block outside the file)");
    if (!blockFits(h.offsetTexCoords, h.numTexCoords, kTexCoordRecordSize))
        return Fail("Corrupt MD2 file (texture coordinates outside the file)");
    if (!blockFits(h.offsetTriangles, h.numTriangles, kTriangleRecordSize))
        return Fail("Corrupt MD2 file (triangles outside the file)");
    if (h.numFrames > 0 && !blockFits(h.offsetFrames, h.numFrames, size_t(h.frameSize)))
        return Fail("Corrupt MD2 file (frames outside the file)");

    r.Seek(size_t(h.offsetSkins));
    m_skins.resize(size_t(h.numSkins));
    for (std::string& skinName : m_skins) {
        char raw[kSkinRecordSize] = {};
        r.ReadBytes(raw, sizeof(raw));
        skinName.assign(raw, strnlen(raw, sizeof(raw)));
    }

    r.Seek(size_t(h.offsetTexCoords));
    m_texCoords.resize(size_t(h.numTexCoords));
    for (tMd2TexCoord& st : m_texCoords) {
        r.ReadI16LE(st.u);
        r.ReadI16LE(st.v);
    }

    r.Seek(size_t(h.offsetTriangles));
    m_triangles.resize(size_t(h.numTriangles));
    for (tMd2Face& tri : m_triangles) {
        for (int16_t& v : tri.vertexIndices)
            r.ReadI16LE(v);
        for (int16_t& t : tri.textureIndices)
            r.ReadI16LE(t);
        for (int k = 0; k < 3; ++k) {
            if (tri.vertexIndices[k] < 0 || tri.vertexIndices[k] >= h.numVertices)
                return Fail("Corrupt MD2 file (triangle vertex index out of range)");
            if (tri.textureIndices[k] < 0 || tri.textureIndices[k] >= h.numTexCoords)
                return Fail("Corrupt MD2 file (triangle texture coordinate index out of range)");
        }
    }

    m_frames.resize(size_t(h.numFrames));
    for (int32_t i = 0; i < h.numFrames; ++i) {
        r.Seek(size_t(h.offsetFrames) + size_t(i) * size_t(h.frameSize));
        float scale[3] = {0, 0, 0}, translate[3] = {0, 0, 0};
        for (float& s : scale)
            r.ReadF32LE(s);
        for (float& t : translate)
            r.ReadF32LE(t);
        tMd2Frame& frame = m_frames[size_t(i)];
        r.ReadBytes(frame.strName, sizeof(frame.strName));
        frame.vertices.resize(size_t(h.numVertices));
        for (CVector3& v : frame.vertices) {
            uint8_t packed[4] = {0, 0, 0, 0};
            r.ReadBytes(packed, sizeof(packed));
            // The file is z-up; the engine is y-up with the file's y negated into z.
            v.x = packed[0] * scale[0] + translate[0];
            v.z = -(packed[1] * scale[1] + translate[1]);
            v.y = packed[2] * scale[2] + translate[2];
        }
    }
    return true;
}

void CMD2Loader::ParseAnimations(t3DModel* model) {
    const int numFrames = int(m_frames.size());
    std::string previous;
    int start = 0;
    auto clampFrame = [numFrames](int f) {
        return f < 0 ? 0 : (f >= numFrames ? numFrames - 1 : f);
    };
    for (int i = 0; i < numFrames; ++i) {
        char name[sizeof(m_frames[0].strName) + 1];
        CopyName(name, sizeof(name), m_frames[size_t(i)].strName, sizeof(m_frames[0].strName));
        const int length = int(std::strlen(name));
        int frameNumber = 0;
        // Only the last two characters can be the frame number; earlier digits belong
        // to the animation's name (pain101 is frame 1 of pain1).
        for (int p = length >= 2 ? length - 2 : 0; p < length; ++p) {
            if (std::isdigit(static_cast<unsigned char>(name[p]))) {
                frameNumber = std::atoi(name + p);
                name[p] = '\0';
                break;
            }
        }
        if (previous != name || i == numFrames - 1) {
            if (!previous.empty()) {
                tAnimationInfo animation;
                std::memset(&animation, 0, sizeof(animation));
                CopyName(animation.strName, sizeof(animation.strName), previous.c_str(),
                         previous.size());
                // Odd frame numbers could point the start outside the model.
                animation.startFrame = clampFrame(start);
                animation.endFrame = i;
                model->pAnimations.push_back(animation);
                ++model->numOfAnimations;
            }
            start = i + frameNumber - 1;
        }
        previous = name;
    }
}

void CMD2Loader::ConvertDataStructures(t3DModel* model) {
    ReleaseModel(*model);
    const tMd2Header& h = m_header;
    model->numOfObjects = h.numFrames;
    ParseAnimations(model);
    // A zero skin size would make every texture coordinate infinite.
    const float skinWidth = h.skinWidth != 0 ? float(h.skinWidth) : 1.0f;
    const float skinHeight = h.skinHeight != 0 ? float(h.skinHeight) : 1.0f;
    model->pObject.reserve(m_frames.size());
    for (size_t i = 0; i < m_frames.size(); ++i) {
        tMd2Frame& frame = m_frames[i];
        t3DObject object = MakeEmptyObject();
        CopyName(object.strName, sizeof(object.strName), frame.strName, sizeof(frame.strName));
        object.numOfVerts = h.numVertices;
        object.numOfFaces = h.numTriangles;
        object.numTexVertex = h.numTexCoords;
        object.pVerts = new CVector3[size_t(h.numVertices)];
        std::copy(frame.vertices.begin(), frame.vertices.end(), object.pVerts);
        object.pNormals = new CVector3[size_t(h.numVertices)];
        std::vector<CVector3>().swap(frame.vertices);
        if (i == 0) {
            object.pTexVerts = new CVector2[m_texCoords.size()];
            for (size_t t = 0; t < m_texCoords.size(); ++t) {
                object.pTexVerts[t].x = m_texCoords[t].u / skinWidth;
                object.pTexVerts[t].y = 1.0f - m_texCoords[t].v / skinHeight;
            }
            object.pFaces = new tFace[m_triangles.size()];
            for (size_t f = 0; f < m_triangles.size(); ++f) {
                for (int k = 0; k < 3; ++k) {
                    object.pFaces[f].vertIndex[k] = m_triangles[f].vertexIndices[k];
                    object.pFaces[f].coordIndex[k] = m_triangles[f].textureIndices[k];
                }
            }
        }
        model->pObject.push_back(object);
    }
}

void CMD2Loader::CalculateNormals(t3DModel* model) {
    if (model->pObject.empty()) return;
    const t3DObject& first = model->pObject[0];
    model->numOfVertices = first.numOfFaces * 3;
    for (t3DObject& frame : model->pObject)
        AccumulateVertexNormals(first.pFaces, first.numOfFaces, frame.pVerts, frame.numOfVerts,
                                1.0f, frame.pNormals);
}

void CMD2Loader::ComputeBoundingBox(t3DModel* model) {
    for (t3DObject& frame : model->pObject) {
        ResetBox(frame.boundingBox);
        GrowBox(frame.boundingBox, frame.pVerts, frame.numOfVerts);
    }
}

void CMD2Loader::ComputeBoundingSphere(t3DModel* model) {
    model->boundingSphere = ComputeSphereOverObjects(model->pObject);
}

void CMD2Loader::CleanUp() {
    m_reader = CByteReader(nullptr, 0);
    m_skins.clear();
    m_texCoords.clear();
    m_triangles.clear();
    m_frames.clear();
}
