#pragma once
// Builds small MD3 files and characters for the MD3 tests.
#include <array>
#include <fstream>
#include <string>
#include <vector>

#include "model_builders.h"

namespace model_test {

struct Md3Tag {
    std::string name;
    std::array<float, 3> position{};
    std::array<float, 9> axes{1, 0, 0, 0, 1, 0, 0, 0, 1};
};

struct Md3Mesh {
    std::string name;
    std::vector<std::vector<std::array<float, 3>>> frames; // positions per frame
    std::vector<std::array<int32_t, 3>> triangles;
};

struct Md3Part {
    int frames = 1;
    std::vector<std::vector<Md3Tag>> tags; // per frame
    std::vector<Md3Mesh> meshes;
};

inline void PutName(std::string& s, const std::string& name, size_t size) {
    std::string field = name;
    field.resize(size, '\0');
    s += field;
}

inline std::string BuildMd3(const Md3Part& part) {
    const int tags = part.tags.empty() ? 0 : int(part.tags[0].size());
    std::string out = "IDP3";
    PutI32(out, 15);
    PutName(out, "part", 68);
    for (int v : {part.frames, tags, int(part.meshes.size()), 0, 108, 0, 0, 0})
        PutI32(out, v);
    out.append(size_t(part.frames) * 56, '\0');
    for (const auto& frame : part.tags)
        for (const Md3Tag& tag : frame) {
            PutName(out, tag.name, 64);
            for (float f : tag.position)
                PutF32(out, f);
            for (float f : tag.axes)
                PutF32(out, f);
        }
    for (const Md3Mesh& mesh : part.meshes) {
        const int verts = mesh.frames.empty() ? 0 : int(mesh.frames[0].size());
        const int tris = int(mesh.triangles.size());
        const int ofsTris = 108 + 68, ofsSt = ofsTris + 12 * tris, ofsXyz = ofsSt + 8 * verts;
        const int end = ofsXyz + 8 * verts * int(mesh.frames.size());
        std::string m = "IDP3";
        PutName(m, mesh.name, 68);
        for (int v : {int(mesh.frames.size()), 1, verts, tris, ofsTris, 108, ofsSt, ofsXyz, end})
            PutI32(m, v);
        PutName(m, "skin", 68);
        for (const auto& t : mesh.triangles)
            for (int32_t i : t)
                PutI32(m, i);
        for (int i = 0; i < verts; ++i) {
            PutF32(m, float(i % 2));
            PutF32(m, float(i / 2));
        }
        for (const auto& frame : mesh.frames)
            for (const auto& p : frame) {
                for (float c : p)
                    PutI16(m, int16_t(c * 64.0f));
                PutI16(m, 0);
            }
        out += m;
    }
    SetI32(out, 104, int32_t(out.size()));
    return out;
}

// A square of side 1 in the MD3 x-z plane from x0 to x0 + 1 and z0 to z0 + 1.
inline Md3Mesh Square(const std::string& name, float x0, float z0, int frames = 1) {
    Md3Mesh mesh{name, {}, {{0, 1, 2}, {0, 2, 3}}};
    for (int f = 0; f < frames; ++f)
        mesh.frames.push_back({{x0, 0, z0}, {x0 + 1, 0, z0}, {x0 + 1, 0, z0 + 1}, {x0, 0, z0 + 1}});
    return mesh;
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace model_test
