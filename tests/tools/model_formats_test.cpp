// The MD2 winding and the MD3 writer, read back field by field.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "tools/assetgen/model_formats.h"

using namespace assetgen;

namespace {

int32_t I32(const Bytes& b, size_t at) {
    int32_t v;
    std::memcpy(&v, &b.at(at + 3) - 3, 4);
    return v;
}
int16_t I16(const Bytes& b, size_t at) {
    int16_t v;
    std::memcpy(&v, &b.at(at + 1) - 1, 2);
    return v;
}
float F32(const Bytes& b, size_t at) {
    float v;
    std::memcpy(&v, &b.at(at + 3) - 3, 4);
    return v;
}

} // namespace

// The MD2 files' headers and blocks are checked by the engine's loader on the generated
// content (content_engine_test).
TEST(Md2Writer, TrianglesWindClockwiseSeenFromOutside) {
    // A single upward-facing triangle, counter-clockwise from above in the generator.
    Mesh m;
    m.Add({0, 0, 0}, {0, 0}), m.Add({0, 0, 1}, {0, 1}), m.Add({1, 0, 0}, {1, 0});
    m.Triangle(0, 1, 2);
    Vec3 n = Cross(m.vertices[1].position - m.vertices[0].position,
                   m.vertices[2].position - m.vertices[0].position);
    ASSERT_GT(n.y, 0);
    Bytes md2 = EncodeMd2(
        m, {{"a", {m.vertices[0].position, m.vertices[1].position, m.vertices[2].position}}}, 8, 8,
        "");
    size_t tri = I32(md2, 52), frame = I32(md2, 56);
    Vec3 p[3];
    for (int k = 0; k < 3; ++k) {
        int v = I16(md2, tri + 2 * k);
        const uint8_t* b = &md2[frame + 40 + 4 * v];
        Vec3 f{b[0] * F32(md2, frame) + F32(md2, frame + 12),
               b[1] * F32(md2, frame + 4) + F32(md2, frame + 16),
               b[2] * F32(md2, frame + 8) + F32(md2, frame + 20)};
        p[k] = {f.x, f.z, -f.y}; // back to y up
    }
    EXPECT_LT(Cross(p[1] - p[0], p[2] - p[0]).y, 0) << "front faces of MD2 models are clockwise";
}

TEST(Md3Writer, SurfacesTagsAndFramesAreWhereTheHeaderSays) {
    Md3Surface s{Box({-1, -1, -1}, {1, 1, 1}, UvRect{}), {}, "models/x/skin.tga"};
    s.topology.name = "u_torso";
    std::vector<std::vector<Md3Tag>> tags;
    for (int f = 0; f < 2; ++f) {
        std::vector<Vec3> pos;
        for (const Vertex& v : s.topology.vertices)
            pos.push_back(v.position + Vec3{0, f * 1.0f, 0});
        s.frames.push_back(pos);
        Xform turn = Xform::Translate({0, 3, 0}) * Xform::Euler(0, 90.0f * f, 0);
        tags.push_back({{"tag_head", turn}, {"tag_weapon", Xform{}}});
    }
    Bytes md3 = EncodeMd3("test", {s}, tags, 2);
    EXPECT_EQ(std::memcmp(md3.data(), "IDP3", 4), 0);
    EXPECT_EQ(I32(md3, 4), 15);
    EXPECT_EQ(I32(md3, 76), 2);
    EXPECT_EQ(I32(md3, 80), 2);
    EXPECT_EQ(I32(md3, 84), 1);
    EXPECT_EQ(I32(md3, 104), static_cast<int32_t>(md3.size()));
    // Readers walk frames and tags sequentially from the header.
    size_t tagsAt = 108 + 56 * 2;
    EXPECT_EQ(I32(md3, 96), static_cast<int32_t>(tagsAt));
    EXPECT_STREQ(reinterpret_cast<const char*>(&md3[tagsAt]), "tag_head");
    EXPECT_STREQ(reinterpret_cast<const char*>(&md3[tagsAt + 112]), "tag_weapon");
    // tag_head of frame 0: at y = 3, which is z = 3 in the file; identity axes.
    EXPECT_FLOAT_EQ(F32(md3, tagsAt + 64 + 8), 3.0f);
    EXPECT_FLOAT_EQ(F32(md3, tagsAt + 76), 1.0f);
    EXPECT_FLOAT_EQ(F32(md3, tagsAt + 76 + 16), 1.0f);
    EXPECT_FLOAT_EQ(F32(md3, tagsAt + 76 + 32), 1.0f);
    // Frame 1 turns 90 degrees about the vertical: file x axis becomes -file y... rows stay unit
    // length.
    size_t t1 = tagsAt + 2 * 112;
    for (int row = 0; row < 3; ++row) {
        float len = 0;
        for (int k = 0; k < 3; ++k)
            len += std::pow(F32(md3, t1 + 76 + 12 * row + 4 * k), 2.0f);
        EXPECT_NEAR(len, 1.0f, 1e-5f);
    }
    EXPECT_NEAR(F32(md3, t1 + 76 + 2 * 4), 0.0f, 1e-6f) << "a turn about the up axis keeps x level";
    // The surface: its own header, triangles and 1/64-unit vertices for both frames.
    size_t surf = I32(md3, 100);
    EXPECT_EQ(std::memcmp(&md3[surf], "IDP3", 4), 0);
    EXPECT_STREQ(reinterpret_cast<const char*>(&md3[surf + 4]), "u_torso");
    int nv = I32(md3, surf + 80), nt = I32(md3, surf + 84);
    EXPECT_EQ(nv, 24);
    EXPECT_EQ(nt, 12);
    EXPECT_EQ(surf + I32(md3, surf + 104), md3.size());
    size_t xyz = surf + I32(md3, surf + 100);
    EXPECT_EQ(I16(md3, xyz + 8 * nv + 4) - I16(md3, xyz + 4), 64)
        << "frame 1 is one unit higher (file z)";
}
