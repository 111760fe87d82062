// Outdoor content: the terrain's height image (8-bit grey BMP) and its rock texture; the
// sand and grass textures, the clouds and the particle textures come with the 2D images.
#include "tools/assetgen/content.h"
#include "tools/assetgen/encoders.h"

#include <cmath>

namespace assetgen {

namespace {

const int kTerrainSide = 256;

// Rolling hills around a shallow basin in the middle, where the demo's camera stands:
// the low ground is sand, the slopes grass, the ridges rock.
std::vector<uint8_t> TerrainHeights() {
    Noise n(1818);
    std::vector<uint8_t> h(size_t(kTerrainSide) * kTerrainSide);
    for (int z = 0; z < kTerrainSide; ++z)
        for (int x = 0; x < kTerrainSide; ++x) {
            const float u = float(x) / kTerrainSide, v = float(z) / kTerrainSide;
            const float hills = n.Fbm(u * 3, v * 3, 3, 4);
            const float basin = std::hypot(u - 0.5f, v - 0.55f) * 2; // 0 in the middle
            const float lift = SmoothStep(0.15f, 0.9f, basin);
            const float k = Clamp01(0.15f + 0.55f * lift + 0.45f * (hills - 0.5f));
            h[size_t(z) * kTerrainSide + x] = uint8_t(120 + 125 * k);
        }
    return h;
}

// An 8-bit BMP with a grey palette, so each pixel byte is its grey level; top row first in
// `pixels`, bottom row first in the file. The width must keep rows 4-aligned.
Bytes EncodeGreyBmp(int width, int height, const std::vector<uint8_t>& pixels) {
    const uint32_t paletteBytes = 256 * 4, offset = 14 + 40 + paletteBytes;
    const uint32_t imageBytes = uint32_t(width) * uint32_t(height);
    ByteWriter w;
    w.U8('B'), w.U8('M');
    w.U32(offset + imageBytes), w.U32(0), w.U32(offset);
    w.U32(40), w.I32(width), w.I32(height), w.U16(1), w.U16(8), w.U32(0), w.U32(imageBytes);
    w.U32(2835), w.U32(2835), w.U32(256), w.U32(0);
    for (int i = 0; i < 256; ++i)
        w.U8(i), w.U8(i), w.U8(i), w.U8(0);
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x)
            w.U8(pixels[size_t(y) * width + x]);
    return w.Data();
}

Canvas Rock() {
    Noise n(1919);
    return PaintSquare(256, [&](float u, float v) {
        const float k = n.Fbm(u * 8, v * 8, 8, 5), cracks = n.Fbm(u * 32, v * 6, 32, 3);
        Color c = Mix(Rgb(96, 92, 88), Rgb(150, 144, 136), k);
        return Scale(c, 0.7f + 0.45f * SmoothStep(0.3f, 0.7f, cracks));
    });
}

} // namespace

void WriteOutdoor(const std::string& root) {
    WriteFile(root, "Data/Terrain/heightmap.bmp",
              EncodeGreyBmp(kTerrainSide, kTerrainSide, TerrainHeights()));
    WriteFile(root, "Data/Terrain/rock_1.png", EncodePng(Rock()));
}

} // namespace assetgen
