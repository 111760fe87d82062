// The image writers of zarvo-assets where the engine's readers on the generated content
// (content_engine_test) cannot show a fault: PCX runs read back by an independent decoder,
// the quantizer's error, and the layouts some readers depend on. PNG and JPEG files are
// checked there, through SDL_image, ImageMagick and the engine's baseline decoder.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "tools/assetgen/encoders.h"

using namespace assetgen;

namespace {

Canvas Pattern(int w, int h) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            c.At(x, y) = Rgb((x * 37) % 256, (y * 53) % 256, (x + y) * 11 % 256,
                             ((x ^ y) & 1) ? 1.0f : 0.5f);
    return c;
}

uint32_t U16(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}

} // namespace

// The generated TGA and BMP files are decoded by the engine's readers and compared with
// ImageMagick in content_engine_test; here only what that cannot show.
TEST(Encoders, TgaHasNoIdFieldAndBmpRefusesRowsThatNeedPadding) {
    EXPECT_EQ(EncodeTga(Pattern(5, 3), true)[0], 0) << "some readers take pixels from offset 18";
    // The engine's BMP reader does not skip row padding, so such widths must not be written.
    EXPECT_THROW(EncodeBmp(Pattern(5, 2)), std::runtime_error);
}

// Independent PCX decoder: RLE lines top-down, 256-colour palette after 0x0C.
static std::vector<uint8_t> DecodePcx(const Bytes& pcx, int& w, int& h) {
    w = U16(pcx, 8) - U16(pcx, 4) + 1;
    h = U16(pcx, 10) - U16(pcx, 6) + 1;
    int bytesPerLine = U16(pcx, 66);
    EXPECT_EQ(pcx[0], 10);
    EXPECT_EQ(pcx[3] * pcx[65], 8);
    EXPECT_EQ(bytesPerLine % 2, 0);
    EXPECT_EQ(pcx[pcx.size() - 769], 0x0C);
    const uint8_t* palette = &pcx[pcx.size() - 768];
    std::vector<uint8_t> rgb;
    size_t at = 128;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < bytesPerLine;) {
            uint8_t c = pcx.at(at++);
            int run = 1;
            if (c >= 0xC0) run = c & 0x3F, c = pcx.at(at++);
            for (int k = 0; k < run; ++k, ++x)
                if (x < w) rgb.insert(rgb.end(), palette + 3 * c, palette + 3 * c + 3);
            EXPECT_LE(x, bytesPerLine) << "a run crosses the end of a scan line";
        }
    }
    EXPECT_EQ(at, pcx.size() - 769) << "image data must end right at the palette marker";
    return rgb;
}

TEST(Encoders, PcxRoundTripsImagesOfAtMost256ColoursExactly) {
    // Odd width (padded line), long runs (> 63) and values >= 0xC0 that need a run byte.
    Canvas c(131, 7, Rgb(10, 20, 30));
    for (int x = 0; x < 131; ++x)
        c.At(x, 3) = Rgb(x, 255 - x, (x * 7) % 256);
    for (int x = 0; x < 131; x += 2)
        c.At(x, 5) = Rgb(200, 200, 200);
    int w = 0, h = 0;
    std::vector<uint8_t> rgb = DecodePcx(EncodePcx(c), w, h);
    ASSERT_EQ(w, 131);
    ASSERT_EQ(h, 7);
    std::vector<uint8_t> rgba = c.ToRgba8();
    ASSERT_EQ(rgb.size(), 131u * 7 * 3);
    for (size_t i = 0; i < 131 * 7; ++i)
        for (int k = 0; k < 3; ++k)
            ASSERT_EQ(rgb[3 * i + k], rgba[4 * i + k]) << "pixel " << i;
}

TEST(Encoders, QuantizerKeepsRichImagesCloseAndIsDeterministic) {
    Canvas c(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            c.At(x, y) = Color{x / 63.0f, y / 63.0f, (x * y) / 3969.0f, 1};
    Indexed a = Quantize(c), b = Quantize(c);
    EXPECT_EQ(a.palette, b.palette);
    EXPECT_EQ(a.indices, b.indices);
    std::vector<uint8_t> rgba = c.ToRgba8();
    double err = 0;
    for (size_t i = 0; i < a.indices.size(); ++i)
        for (int k = 0; k < 3; ++k)
            err += std::abs(int(a.palette[3 * a.indices[i] + k]) - int(rgba[4 * i + k]));
    EXPECT_LT(err / (a.indices.size() * 3), 6.0) << "mean error per channel";
}
