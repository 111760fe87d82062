// The generator's writers where the engine's readers on the generated content
// (content_test) cannot show a fault: PCX runs read back by an independent decoder, the
// quantizer's error, the layouts some readers depend on, MD2 winding and the MD3 layout.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "tools/assetgen/encoders.h"
#include "tools/assetgen/model_formats.h"

using namespace assetgen;

namespace {

template <typename T> T Get(const Bytes& b, size_t at) {
    T v;
    std::memcpy(&v, &b.at(at + sizeof(T) - 1) - (sizeof(T) - 1), sizeof(T));
    return v;
}

// Independent PCX decoder: RLE lines top-down, 256-colour palette after 0x0C.
std::vector<uint8_t> DecodePcx(const Bytes& pcx, int& w, int& h) {
    w = Get<uint16_t>(pcx, 8) - Get<uint16_t>(pcx, 4) + 1;
    h = Get<uint16_t>(pcx, 10) - Get<uint16_t>(pcx, 6) + 1;
    const int bytesPerLine = Get<uint16_t>(pcx, 66);
    EXPECT_TRUE(pcx[0] == 10 && pcx[3] * pcx[65] == 8 && bytesPerLine % 2 == 0);
    EXPECT_EQ(pcx[pcx.size() - 769], 0x0C);
    const uint8_t* palette = &pcx[pcx.size() - 768];
    std::vector<uint8_t> rgb;
    size_t at = 128;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < bytesPerLine;) {
            uint8_t c = pcx.at(at++);
            int run = 1;
            if (c >= 0xC0) run = c & 0x3F, c = pcx.at(at++);
            for (int k = 0; k < run; ++k, ++x)
                if (x < w) rgb.insert(rgb.end(), palette + 3 * c, palette + 3 * c + 3);
            EXPECT_LE(x, bytesPerLine) << "a run crosses the end of a scan line";
        }
    EXPECT_EQ(at, pcx.size() - 769) << "image data must end right at the palette marker";
    return rgb;
}

} // namespace

TEST(Encoders, TgaHasNoIdFieldAndBmpRefusesRowsThatNeedPadding) {
    Canvas c(5, 3, Rgb(1, 2, 3));
    EXPECT_EQ(EncodeTga(c, true)[0], 0) << "some readers take pixels from offset 18";
    // The engine's BMP reader does not skip row padding, so such widths must not be written.
    EXPECT_THROW(EncodeBmp(c), std::runtime_error);
}

TEST(Encoders, PcxRoundTripsImagesOfAtMost256ColoursExactly) {
    // Odd width (padded line), long runs (> 63) and values >= 0xC0 that need a run byte.
    Canvas c(131, 7, Rgb(10, 20, 30));
    for (int x = 0; x < 131; ++x)
        c.At(x, 3) = Rgb(x, 255 - x, (x * 7) % 256);
    for (int x = 0; x < 131; x += 2)
        c.At(x, 5) = Rgb(200, 200, 200);
    int w = 0, h = 0;
    const std::vector<uint8_t> rgb = DecodePcx(EncodePcx(c), w, h), rgba = c.ToRgba8();
    ASSERT_TRUE(w == 131 && h == 7 && rgb.size() == 131u * 7 * 3) << w << "x" << h;
    for (size_t i = 0; i < 131 * 7; ++i)
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(rgb[3 * i + k], rgba[4 * i + k]) << "pixel " << i;
}

TEST(Encoders, QuantizerKeepsRichImagesClose) {
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            c.At(x, y) = Color{x / 63.0f, y / 63.0f, (x * y) / 3969.0f, 1};
    const Indexed a = Quantize(c);
    const std::vector<uint8_t> rgba = c.ToRgba8();
    double err = 0;
    for (size_t i = 0; i < a.indices.size(); ++i)
        for (int k = 0; k < 3; ++k)
            err += std::abs(int(a.palette[3 * a.indices[i] + k]) - int(rgba[4 * i + k]));
    EXPECT_LT(err / (a.indices.size() * 3), 6.0) << "mean error per channel";
}

TEST(Md2Writer, TrianglesWindClockwiseSeenFromOutside) {
    // A single upward-facing triangle, counter-clockwise from above in the generator.
    Mesh m;
    m.Add({0, 0, 0}, {0, 0}), m.Add({0, 0, 1}, {0, 1}), m.Add({1, 0, 0}, {1, 0});
    m.Triangle(0, 1, 2);
    const Vec3 p0 = m.vertices[0].position, p1 = m.vertices[1].position,
               p2 = m.vertices[2].position;
    ASSERT_GT(Cross(p1 - p0, p2 - p0).y, 0);
    const Bytes md2 = EncodeMd2(m, {{"a", {p0, p1, p2}}}, 8, 8, "");
    const size_t tri = Get<int32_t>(md2, 52), frame = Get<int32_t>(md2, 56);
    Vec3 p[3];
    for (int k = 0; k < 3; ++k) {
        const uint8_t* b = &md2[frame + 40 + 4 * Get<int16_t>(md2, tri + 2 * k)];
        float f[3];
        for (int a = 0; a < 3; ++a) // scale, then translation
            f[a] = b[a] * Get<float>(md2, frame + 4 * a) + Get<float>(md2, frame + 12 + 4 * a);
        p[k] = {f[0], f[2], -f[1]}; // back to y up
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
        const Xform turn = Xform::Translate({0, 3, 0}) * Xform::Euler(0, 90.0f * f, 0);
        tags.push_back({{"tag_head", turn}, {"tag_weapon", Xform{}}});
    }
    const Bytes md3 = EncodeMd3("test", {s}, tags, 2);
    EXPECT_EQ(std::memcmp(md3.data(), "IDP3", 4), 0);
    // Version, frames, tags, surfaces and end of file.
    for (const auto& field :
         {std::pair<size_t, size_t>{4, 15}, {76, 2}, {80, 2}, {84, 1}, {104, md3.size()}})
        EXPECT_EQ(size_t(Get<int32_t>(md3, field.first)), field.second) << field.first;
    // Readers walk frames and tags sequentially from the header.
    const size_t tagsAt = 108 + 56 * 2, t1 = tagsAt + 2 * 112;
    EXPECT_EQ(Get<int32_t>(md3, 96), int32_t(tagsAt));
    EXPECT_STREQ(reinterpret_cast<const char*>(&md3[tagsAt]), "tag_head");
    EXPECT_STREQ(reinterpret_cast<const char*>(&md3[tagsAt + 112]), "tag_weapon");
    // tag_head of frame 0: at y = 3, which is z = 3 in the file; identity axes.
    EXPECT_FLOAT_EQ(Get<float>(md3, tagsAt + 64 + 8), 3.0f);
    for (int row = 0; row < 3; ++row) {
        EXPECT_FLOAT_EQ(Get<float>(md3, tagsAt + 76 + 16 * row), 1.0f) << row;
        // Frame 1 turns 90 degrees about the vertical: the axes stay unit length.
        float len = 0;
        for (int k = 0; k < 3; ++k)
            len += std::pow(Get<float>(md3, t1 + 76 + 12 * row + 4 * k), 2.0f);
        EXPECT_NEAR(len, 1.0f, 1e-5f) << row;
    }
    EXPECT_NEAR(Get<float>(md3, t1 + 76 + 8), 0.0f, 1e-6f)
        << "a turn about the up axis keeps x level";
    // Frame 1 of the surface (24 vertices, 1/64 units) is one unit higher (file z); the
    // surface layout itself is read back from the generated character in content_test.
    const size_t surf = Get<int32_t>(md3, 100);
    const int nv = Get<int32_t>(md3, surf + 80);
    EXPECT_EQ(nv, 24);
    EXPECT_STREQ(reinterpret_cast<const char*>(&md3[surf + 4]), "u_torso") << "skins go by name";
    const size_t xyz = surf + Get<int32_t>(md3, surf + 100);
    EXPECT_EQ(Get<int16_t>(md3, xyz + 8 * nv + 4) - Get<int16_t>(md3, xyz + 4), 64)
        << "frame 1 is one unit higher (file z)";
}
