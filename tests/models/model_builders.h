#pragma once
// Builds small MD2 and 3DS files in memory for the model tests.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace model_test {

inline void PutI32(std::string& s, int32_t v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
}
inline void PutI16(std::string& s, int16_t v) {
    s.append(reinterpret_cast<const char*>(&v), 2);
}
inline void PutF32(std::string& s, float v) {
    s.append(reinterpret_cast<const char*>(&v), 4);
}
inline void SetI32(std::string& s, size_t at, int32_t v) {
    std::memcpy(&s[at], &v, 4);
}

struct Md2Triangle {
    int16_t v[3];
    int16_t t[3];
};

// Frame f moves vertex i to packed bytes (i, f, 0) scaled by 1 and translated by 0 unless
// positions are given.
struct Md2Recipe {
    std::vector<std::string> frameNames{"stand01"};
    int numVertices = 3;
    std::vector<Md2Triangle> triangles{{{0, 1, 2}, {0, 1, 2}}};
    int numTexCoords = 3;
    int skinWidth = 64, skinHeight = 32;
    // Packed vertex bytes per frame (x, y, z), numVertices each; default pattern if empty.
    std::vector<std::vector<uint8_t>> packed;
    float scale[3] = {1, 1, 1};
    float translate[3] = {0, 0, 0};
};

// Header field offsets, for tests that corrupt one.
enum Md2Field {
    kFrameSize = 16,
    kNumSkins = 20,
    kNumVertices = 24,
    kNumTexCoords = 28,
    kNumTriangles = 32,
    kNumFrames = 40,
    kOfsSkins = 44,
    kOfsTexCoords = 48,
    kOfsTriangles = 52,
    kOfsFrames = 56
};

inline std::string BuildMd2(const Md2Recipe& recipe) {
    const int frameSize = 40 + 4 * recipe.numVertices;
    std::string st, tris, frames;
    for (int i = 0; i < recipe.numTexCoords; ++i) {
        PutI16(st, int16_t(i * 8));
        PutI16(st, int16_t(i * 4));
    }
    for (const Md2Triangle& t : recipe.triangles) {
        for (int16_t v : t.v)
            PutI16(tris, v);
        for (int16_t c : t.t)
            PutI16(tris, c);
    }
    for (size_t f = 0; f < recipe.frameNames.size(); ++f) {
        for (float s : recipe.scale)
            PutF32(frames, s);
        for (float t : recipe.translate)
            PutF32(frames, t);
        std::string name = recipe.frameNames[f];
        name.resize(16, '\0');
        frames += name;
        for (int i = 0; i < recipe.numVertices; ++i) {
            if (f < recipe.packed.size()) {
                frames.append(reinterpret_cast<const char*>(&recipe.packed[f][size_t(i) * 3]), 3);
            } else {
                frames += char(i * 10);
                frames += char(f);
                frames += char(i % 2 ? 5 : 0);
            }
            frames += char(0);
        }
    }
    std::string skins(64, '\0');
    const int ofsSkins = 68, ofsSt = ofsSkins + 64, ofsTris = ofsSt + int(st.size());
    const int ofsFrames = ofsTris + int(tris.size()), ofsEnd = ofsFrames + int(frames.size());
    std::string out;
    const int32_t header[17] = {0x32504449,
                                8,
                                recipe.skinWidth,
                                recipe.skinHeight,
                                frameSize,
                                1,
                                recipe.numVertices,
                                recipe.numTexCoords,
                                int32_t(recipe.triangles.size()),
                                0,
                                int32_t(recipe.frameNames.size()),
                                ofsSkins,
                                ofsSt,
                                ofsTris,
                                ofsFrames,
                                ofsEnd,
                                ofsEnd};
    for (int32_t v : header)
        PutI32(out, v);
    return out + skins + st + tris + frames;
}

// One 3DS chunk: identifier, length including the 6-byte header, payload.
inline std::string Chunk(uint16_t id, const std::string& payload) {
    std::string s;
    PutI16(s, int16_t(id));
    PutI32(s, int32_t(payload.size() + 6));
    return s + payload;
}
inline std::string Cstr(const std::string& s) {
    return s + std::string(1, '\0');
}

inline std::string VertexList(const std::vector<float>& xyz) {
    std::string s;
    PutI16(s, int16_t(xyz.size() / 3));
    for (float f : xyz)
        PutF32(s, f);
    return Chunk(0x4110, s);
}
inline std::string FaceList(const std::vector<int>& indices, const std::string& subChunks = "") {
    std::string s;
    PutI16(s, int16_t(indices.size() / 3));
    for (size_t i = 0; i < indices.size(); i += 3) {
        for (int k = 0; k < 3; ++k)
            PutI16(s, int16_t(indices[i + size_t(k)]));
        PutI16(s, 0);
    }
    return Chunk(0x4120, s + subChunks);
}
inline std::string FaceMaterial(const std::string& name) {
    std::string s = Cstr(name);
    PutI16(s, 0);
    return Chunk(0x4130, s);
}
inline std::string UvList(const std::vector<float>& uv) {
    std::string s;
    PutI16(s, int16_t(uv.size() / 2));
    for (float f : uv)
        PutF32(s, f);
    return Chunk(0x4140, s);
}
inline std::string Mesh(const std::string& name, const std::string& meshChunks) {
    return Chunk(0x4000, Cstr(name) + Chunk(0x4100, meshChunks));
}
inline std::string Material(const std::string& name, const std::string& texture, uint8_t r = 10,
                            uint8_t g = 20, uint8_t b = 30) {
    std::string color = Chunk(0xA020, Chunk(0x0011, std::string{char(r), char(g), char(b)}));
    std::string body = Chunk(0xA000, Cstr(name)) + color;
    if (!texture.empty()) body += Chunk(0xA200, Chunk(0xA300, Cstr(texture)));
    return Chunk(0xAFFF, body);
}
inline std::string Version(int32_t v) {
    std::string s;
    PutI32(s, v);
    return Chunk(0x0002, s);
}
// A whole file: version 3 and an object-info chunk holding the given chunks.
inline std::string Build3ds(const std::string& objectInfo, int32_t version = 3) {
    std::string meshVersion;
    PutI32(meshVersion, 3);
    return Chunk(0x4D4D, Version(version) + Chunk(0x3D3D, Chunk(0x3D3E, meshVersion) + objectInfo));
}
// One triangle mesh with a material.
inline std::string TriangleMesh(const std::string& name = "tri", const std::string& material = "") {
    std::string faces = FaceList({0, 1, 2}, material.empty() ? "" : FaceMaterial(material));
    return Mesh(name, VertexList({0, 0, 0, 1, 0, 0, 0, 1, 0}) + faces);
}

} // namespace model_test
