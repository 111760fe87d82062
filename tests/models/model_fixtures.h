#pragma once
// What the model tests share: MD2, 3DS and MD3 files built in memory and small helpers.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "math/CRay.h"
#include "models/3dsLoader.h"
#include "models/3dsObject.h"
#include "models/CMD2Loader.h"
#include "models/CMD3Loader.h"
#include "models/CObjLoader.h"
#include "models/CTObject.h"
#include "support/test_paths.h"

namespace model_test {

using Ints = std::vector<int>;
using Floats = std::vector<float>;

// The values as printed, a space between each two.
template <class T, class... R> std::string Join(const T& first, const R&... rest) {
    std::ostringstream out;
    out << first;
    ((out << ' ' << rest), ...);
    return out.str();
}

template <class T> void Put(std::string& s, T v) {
    s.append(reinterpret_cast<const char*>(&v), sizeof v);
}
template <class C> void PutEach(std::string& s, const C& values) {
    for (auto v : values)
        Put(s, v);
}
template <class T> void PutAll(std::string& s, std::initializer_list<T> values) {
    PutEach(s, values);
}
// The bytes with the 32-bit value at `at` replaced.
inline std::string Patched(std::string bytes, size_t at, int32_t value) {
    std::memcpy(&bytes[at], &value, 4);
    return bytes;
}
inline const uint8_t* Bytes(const std::string& s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}
inline std::string Field(std::string name, size_t size) {
    name.resize(size, '\0');
    return name;
}
inline std::string TempFile(const std::string& name, const std::string& bytes) {
    const std::string path = zarvo_test::MakeTempDir("models") + "/" + name;
    zarvo_test::WriteFileBytes(path, bytes);
    return path;
}
inline std::string Corpus(const std::string& file) {
    std::string bytes;
    zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/models/" + file, bytes);
    return bytes;
}
// Runs f with standard output and error captured; returns both (output first).
template <class F> std::string Quiet(F f) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    f();
    const std::string out = testing::internal::GetCapturedStdout();
    return out + testing::internal::GetCapturedStderr();
}

// Initialises `object` from an XML model file of `xml`, its textures made by `textures`.
inline bool LoadXml(CTObject& object, const std::string& xml,
                    CTObjectLoader::TextureLoader textures) {
    const std::string path = TempFile("model.xml", xml);
    CTObjectLoader loader;
    loader.SetTextureLoader(textures);
    bool ok = false;
    Quiet([&] { ok = object.Init(path.c_str(), loader); });
    return ok;
}

// A model record released however the test ends.
struct Model : t3DModel {
    ~Model() { ReleaseMd3Model(*this); }
};
// Loads through '2' MD2, 'S' 3DS ('s' y-z swapped), '3' MD3 or 'O' OBJ; `error` gets why.
inline bool LoadAs(char format, const std::string& bytes, t3DModel& m, std::string* error = nullptr,
                   const char* skin = nullptr) {
    CMD2Loader md2;
    CLoad3DS tds;
    CLoadMD3 md3;
    CObjLoader obj;
    const size_t n = bytes.size();
    const bool ok = format == '2'   ? md2.ImportMD2FromMemory(&m, Bytes(bytes), n, skin)
                    : format == '3' ? md3.ImportMD3FromMemory(&m, Bytes(bytes), n)
                    : format == 'O' ? obj.ImportObjFromMemory(&m, bytes.data(), n)
                                    : tds.Import3DSFromMemory(&m, Bytes(bytes), n, format == 's');
    if (error)
        *error = md2.GetLastError() + tds.GetLastError() + md3.GetLastError() + obj.GetLastError();
    return ok;
}

// Every vertex normal of every mesh (or frame) one long.
inline void ExpectUnitNormals(const t3DModel& model) {
    for (const t3DObject& o : model.pObject)
        for (int v = 0; v < o.numOfVerts; ++v)
            ASSERT_NEAR(Magnitude(o.pNormals[v]), 1.0f, 1e-4f) << o.strName << " " << v;
}

inline void ExpectNear3(const CVector3& p, float x, float y, float z, float tol = 1e-3f) {
    EXPECT_NEAR(p.x, x, tol);
    EXPECT_NEAR(p.y, y, tol);
    EXPECT_NEAR(p.z, z, tol);
}
// "x y z" to `digits` significant digits (9: every digit a float holds), -0 as 0.
inline std::string Str(const CVector3& v, int digits = 9) {
    char text[96];
    std::snprintf(text, sizeof text, "%.*g %.*g %.*g", digits, v.x + 0.0f, digits, v.y + 0.0f,
                  digits, v.z + 0.0f);
    return text;
}
// A ray from `origin` along `direction`, once `target` has checked it for a hit.
template <class T> CRay Shot(T& target, CVector3 origin, CVector3 direction) {
    CRay ray;
    ray.SetOrigin(origin.x, origin.y, origin.z);
    ray.SetDirection(direction.x, direction.y, direction.z);
    target.CheckRayHit(ray);
    return ray;
}

// An engine XML model; its sub-object, material and parallax-map counts the digits of `counts`.
inline std::string XmlModel(const std::string& counts, const std::string& body,
                            const char* name = " name='t'") {
    return "<?xml version='1.0'?><ZarvoModelFormat><model" + std::string(name) +
           " numsubobjects='" + counts[0] + "' nummaterials='" + counts[1] +
           "' numofparallaxmap='" + counts[2] + "'>" + body + "</model></ZarvoModelFormat>";
}

// ---- MD2, 64 x 32 skin, st (8 i, 4 i); vertex i of frame f is (10 i, f, 5 if odd) by default.
struct Md2Recipe {
    std::vector<std::string> frameNames{"stand01"};
    int numVertices = 3;
    std::vector<std::array<int16_t, 6>> triangles{{0, 1, 2, 0, 1, 2}}; // vertices, coordinates
    std::vector<std::vector<uint8_t>> packed; // x, y, z bytes per vertex, per frame
};
// Header: 16 frame size, 20 skins, 24 vertices, 28 coordinates, 32 triangles, 40 frames.
inline std::string BuildMd2(const Md2Recipe& r) {
    std::string st, tris, frames;
    for (int i = 0; i < 3; ++i)
        PutAll(st, {int16_t(i * 8), int16_t(i * 4)});
    for (const auto& t : r.triangles)
        PutEach(tris, t);
    for (size_t f = 0; f < r.frameNames.size(); ++f) {
        PutAll(frames, {1.0f, 1.0f, 1.0f, 0.0f, 0.0f, 0.0f}); // scale, translation
        frames += Field(r.frameNames[f], 16);
        for (int i = 0; i < r.numVertices; ++i) {
            const uint8_t* p = f < r.packed.size() ? &r.packed[f][size_t(i) * 3] : nullptr;
            frames += p ? std::string(reinterpret_cast<const char*>(p), 3)
                        : std::string{char(i * 10), char(f), char(i % 2 ? 5 : 0)};
            frames += '\0';
        }
    }
    const int st0 = 68 + 64, tris0 = st0 + int(st.size()), frames0 = tris0 + int(tris.size());
    const int end = frames0 + int(frames.size());
    std::string out;
    PutAll(out, {0x32504449, 8, 64, 32, 40 + 4 * r.numVertices, 1, r.numVertices, 3,
                 int(r.triangles.size()), 0, int(r.frameNames.size()), 68, st0, tris0, frames0, end,
                 end});
    return out + std::string(64, '\0') + st + tris + frames;
}

// ---- 3DS: a chunk is its identifier, its length with the 6-byte header, its payload.
inline std::string Chunk(uint16_t id, const std::string& payload) {
    std::string s;
    Put(s, id);
    Put(s, int32_t(payload.size() + 6));
    return s + payload;
}
// A count of items then their floats: vertices (0x4110) 3 each, coordinates (0x4140) 2.
inline std::string FloatList(uint16_t id, size_t per, const std::vector<float>& values) {
    std::string s;
    Put(s, int16_t(values.size() / per));
    PutEach(s, values);
    return Chunk(id, s);
}
inline std::string VertexList(const std::vector<float>& xyz) {
    return FloatList(0x4110, 3, xyz);
}
inline std::string FaceList(const std::vector<int>& indices, const std::string& subChunks = "") {
    std::string s;
    Put(s, int16_t(indices.size() / 3));
    for (size_t i = 0; i < indices.size(); ++i) {
        Put(s, int16_t(indices[i]));
        if (i % 3 == 2) Put(s, int16_t(0)); // the face's flags
    }
    return Chunk(0x4120, s + subChunks);
}
inline std::string FaceMaterial(const std::string& name) {
    return Chunk(0x4130, name + std::string(3, '\0')); // the name's NUL, then no faces
}
inline std::string Mesh(const std::string& name, const std::string& meshChunks) {
    return Chunk(0x4000, name + '\0' + Chunk(0x4100, meshChunks));
}
inline std::string Material(const std::string& name, const std::string& texture, uint8_t r = 10,
                            uint8_t g = 20, uint8_t b = 30) {
    std::string body = Chunk(0xA000, name + '\0') +
                       Chunk(0xA020, Chunk(0x0011, std::string{char(r), char(g), char(b)}));
    if (!texture.empty()) body += Chunk(0xA200, Chunk(0xA300, texture + '\0'));
    return Chunk(0xAFFF, body);
}
// A whole file: version, mesh version 3, and an object-info chunk holding the chunks.
inline std::string Build3ds(const std::string& objectInfo, int32_t version = 3) {
    std::string v, meshVersion;
    Put(v, version);
    Put(meshVersion, int32_t(3));
    return Chunk(0x4D4D, Chunk(0x0002, v) + Chunk(0x3D3D, Chunk(0x3D3E, meshVersion) + objectInfo));
}
// The triangle (0,0,0), (1,0,0), (0,1,0); `extra` chunks go between its vertices and faces.
inline std::string TriangleMesh(const std::string& name = "tri", const std::string& material = "",
                                const std::string& extra = "") {
    std::string faces = FaceList({0, 1, 2}, material.empty() ? "" : FaceMaterial(material));
    return Mesh(name, VertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}) + extra + faces);
}

// Initialises `object` from a 3DS file of `chunks`, its textures under `folder`; returns the
// output.
inline std::string Load3ds(C3DSObject& object, const std::string& chunks, std::string folder = "") {
    std::string path = TempFile("scene.3ds", Build3ds(chunks));
    return Quiet([&] { object.Init(&folder[0], &path[0], false); });
}

// ---- MD3: parts of frames, tags per frame and meshes of positions per frame.
struct Md3Tag {
    std::string name;
    std::array<float, 3> position{};
    std::array<float, 9> axes{1, 0, 0, 0, 1, 0, 0, 0, 1};
};
struct Md3Mesh {
    std::string name;
    std::vector<std::vector<std::array<float, 3>>> frames;
    std::vector<std::array<int32_t, 3>> triangles;
};
struct Md3Part {
    int frames = 1;
    std::vector<std::vector<Md3Tag>> tags;
    std::vector<Md3Mesh> meshes;
};
inline std::string BuildMd3(const Md3Part& part) {
    const int tags = part.tags.empty() ? 0 : int(part.tags[0].size());
    std::string out = "IDP3";
    Put(out, int32_t(15));
    out += Field("part", 68);
    PutAll(out, {part.frames, tags, int(part.meshes.size()), 0, 108, 0, 0, 0});
    out.append(size_t(part.frames) * 56, '\0');
    for (const auto& frame : part.tags)
        for (const Md3Tag& tag : frame) {
            out += Field(tag.name, 64);
            PutEach(out, tag.position);
            PutEach(out, tag.axes);
        }
    for (const Md3Mesh& mesh : part.meshes) {
        const int verts = mesh.frames.empty() ? 0 : int(mesh.frames[0].size());
        const int tris = int(mesh.triangles.size());
        const int ofsTris = 108 + 68, ofsSt = ofsTris + 12 * tris, ofsXyz = ofsSt + 8 * verts;
        const int end = ofsXyz + 8 * verts * int(mesh.frames.size());
        std::string m = "IDP3" + Field(mesh.name, 68);
        PutAll(m, {int(mesh.frames.size()), 1, verts, tris, ofsTris, 108, ofsSt, ofsXyz, end});
        m += Field("skin", 68);
        for (const auto& t : mesh.triangles)
            PutEach(m, t);
        for (int i = 0; i < verts; ++i)
            PutAll(m, {float(i % 2), float(i / 2)});
        for (const auto& frame : mesh.frames)
            for (const auto& p : frame)
                PutAll(m, {int16_t(p[0] * 64), int16_t(p[1] * 64), int16_t(p[2] * 64), int16_t(0)});
        out += m;
    }
    return Patched(out, 104, int32_t(out.size()));
}
// A unit square in the MD3 x-z plane from (x0, z0).
inline Md3Mesh Square(const std::string& name, float x0, float z0, int frames = 1) {
    Md3Mesh mesh{name, {}, {{0, 1, 2}, {0, 2, 3}}};
    for (int f = 0; f < frames; ++f)
        mesh.frames.push_back({{x0, 0, z0}, {x0 + 1, 0, z0}, {x0 + 1, 0, z0 + 1}, {x0, 0, z0 + 1}});
    return mesh;
}

} // namespace model_test
