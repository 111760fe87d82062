#include <gtest/gtest.h>

#include "image/bmp.h"
#include "image_compare.h"

using namespace image_test;

namespace {

// A Windows BMP header with a palette of `colours` entries (entry i = blue i, green 2i, red 3i).
Bytes WindowsBmp(int32_t w, int32_t h, uint16_t bits, uint32_t compression, int colours) {
    Bytes b(54 + 4 * size_t(colours), 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLE32(b, 10, uint32_t(b.size()));
    PutLE32(b, 14, 40);
    PutLE32(b, 18, uint32_t(w));
    PutLE32(b, 22, uint32_t(h));
    b[26] = 1;
    b[28] = uint8_t(bits);
    PutLE32(b, 30, compression);
    for (int i = 0; i < colours; ++i)
        PutLE32(b, size_t(54 + 4 * i), uint32_t(i | 2 * i << 8 | 3 * i << 16));
    return b;
}

bool Decode(const Bytes& bytes, sDecodedImage& image, std::string& error) {
    return DecodeBMP(bytes.data(), bytes.size(), "x.bmp", image, error);
}

} // namespace

// Covers row padding (widths 3, 5, 7, 13), partial last bytes of 1- and 4-bit rows,
// top-down files, OS/2 headers, V5 headers and RLE with its escapes.
TEST(bmp, CorpusFilesDecodeExactly) {
    ZARVO_REQUIRE_CORPUS();
    const auto files = CorpusFiles("bmp", ".bmp");
    ASSERT_GT(files.size(), 30u);
    for (const std::string& file : files) {
        sDecodedImage image;
        std::string error;
        ASSERT_TRUE(Decode(ReadCorpusBytes(file), image, error)) << file << ": " << error;
        EXPECT_EQ(image.components, 3);
        EXPECT_TRUE(MatchesReference(image, file));
    }
}

TEST(bmp, SyntheticHeadersAndRleEscapes) {
    // An OS/2 core header whose bytes at the Windows compression offset read 4: it claims a
    // Windows header, but that compression sends it to the OS/2 reading.
    Bytes b(14 + 12 + 40, 0);
    b[0] = 'B';
    b[1] = 'M';
    PutLE32(b, 10, 14 + 12);
    PutLE32(b, 14, 40);
    PutLE32(b, 30, 4);
    b[18] = 2;  // 16-bit width 2
    b[20] = 1;  // 16-bit height 1
    b[24] = 24; // bits
    for (int i = 0; i < 6; ++i)
        b[size_t(26 + i)] = uint8_t(10 * (i + 1));
    sDecodedImage image;
    std::string error;
    ASSERT_TRUE(Decode(b, image, error)) << error;
    EXPECT_TRUE(image.width == 2 && image.height == 1);
    EXPECT_EQ(image.pixels[0], 30);
    EXPECT_EQ(image.pixels[5], 40);

    // Two of index 1, end of line, delta (1, 0), absolute run 3 4 5 (padded), end of bitmap.
    b = WindowsBmp(4, 3, 8, 1, 8);
    b.insert(b.end(), {2, 1, 0, 0, 0, 2, 1, 0, 0, 3, 3, 4, 5, 0, 0, 1});
    ASSERT_TRUE(Decode(b, image, error)) << error;
    Bytes red;
    for (int i = 0; i < 12; ++i)
        red.push_back(image.pixels[size_t(i) * 3]);
    EXPECT_EQ(red, (Bytes{3, 3, 0, 0, 0, 9, 12, 15, 0, 0, 0, 0}));
}

TEST(bmp, BadFilesGiveTheirMessagesAndNoPixels) {
    Bytes stopsEarly = WindowsBmp(4, 4, 8, 1, 4); // RLE that stops: an error, not half an image
    stopsEarly.insert(stopsEarly.end(), {4, 1, 0, 0, 4});
    const struct {
        Bytes bytes;
        const char* message;
    } cases[] = {
        {{'B', 'X', 0, 0}, "x.bmp is not a valid BMP file!\n"},
        {WindowsBmp(2, 2, 16, 0, 0), "unsupported bitmap type or bad filecompression type (0)\n"},
        {WindowsBmp(2, 2, 24, 1, 0), "unsupported bitmap type or bad filecompression type (1)\n"},
        {WindowsBmp(2, 2, 24, 0, 0), "error: truncated bmp file!\n"},
        {WindowsBmp(0x7FFFFFFF, 2, 24, 0, 0), "error: image size 2147483647x2 is too large!\n"},
        {WindowsBmp(8000, 8000, 8, 1, 256), "error: truncated bmp file!\n"},
        {stopsEarly, nullptr},
    };
    for (const auto& c : cases) {
        sDecodedImage image;
        std::string error;
        EXPECT_FALSE(Decode(c.bytes, image, error));
        EXPECT_EQ(error, c.message ? c.message : error);
        EXPECT_TRUE(!c.message || !image.pixels); // one that stops early may leave its buffer
    }
}
