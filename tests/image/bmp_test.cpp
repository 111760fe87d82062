#include <gtest/gtest.h>

#include "image/bmp.h"
#include "image_compare.h"

using namespace image_test;

// 'BM' and the little-endian words, then `tail`.
static Bytes Bmp(std::initializer_list<uint32_t> words, const Bytes& tail = {}) {
    Bytes b = {'B', 'M'};
    for (uint32_t v : words)
        for (int i = 0; i < 4; ++i)
            b.push_back(uint8_t(v >> 8 * i));
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}

// A Windows BMP with a palette of `colours` entries (entry i = blue i, green 2i, red 3i).
static Bytes WindowsBmp(int32_t w, int32_t h, uint32_t bits, uint32_t compression, int colours,
                        const Bytes& pixels = {}) {
    Bytes palette;
    for (int i = 0; i < colours; ++i)
        palette.insert(palette.end(), {uint8_t(i), uint8_t(2 * i), uint8_t(3 * i), 0});
    palette.insert(palette.end(), pixels.begin(), pixels.end());
    return Bmp({0, 0, 54 + 4 * uint32_t(colours), 40, uint32_t(w), uint32_t(h), 1 | bits << 16,
                compression, 0, 0, 0, 0, 0},
               palette);
}

static bool Decode(const Bytes& bytes, sDecodedImage& image, std::string& error) {
    return DecodeBMP(bytes.data(), bytes.size(), "x.bmp", image, error);
}

// The corpus covers row padding (widths 3, 5, 7, 13), partial last bytes of 1- and 4-bit rows,
// top-down files, OS/2 headers, V5 headers and RLE with its escapes.
TEST(bmp, CorpusAndSyntheticFilesDecodeExactlyAndBadOnesGiveTheirMessagesAndNoPixels) {
    sDecodedImage image;
    std::string error;
    const std::pair<Bytes, Bytes> cases[] = {
        // An OS/2 core header (2 x 1, 24 bits) whose pixels at the Windows compression offset
        // read 4: it claims a Windows header, but that compression sends it to the OS/2 reading.
        {Bmp({0, 0, 26, 40, 1 << 16 | 2, 24 << 16 | 1, 0x281E140A, 4}, Bytes(32)),
         {30, 20, 10, 0, 4, 40}},
        // Two of index 1, end of line, delta (1, 0), absolute run 3 4 5 (padded), end of bitmap.
        {WindowsBmp(4, 3, 8, 1, 8, {2, 1, 0, 0, 0, 2, 1, 0, 0, 3, 3, 4, 5, 0, 0, 1}),
         {3,  2, 1, 3,  2,  1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 9, 6, 3,
          12, 8, 4, 15, 10, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Decode(c.first, image, error)) << error;
        EXPECT_EQ(PixelBytes(image), c.second);
    }
    const std::pair<Bytes, const char*> bad[] = {
        {{'B', 'X', 0, 0}, "x.bmp is not a valid BMP file!\n"},
        {WindowsBmp(2, 2, 16, 0, 0), "unsupported bitmap type or bad filecompression type (0)\n"},
        {WindowsBmp(2, 2, 24, 1, 0), "unsupported bitmap type or bad filecompression type (1)\n"},
        {WindowsBmp(2, 2, 24, 0, 0), "error: truncated bmp file!\n"},
        {WindowsBmp(0x7FFFFFFF, 2, 24, 0, 0), "error: image size 2147483647x2 is too large!\n"},
        {WindowsBmp(8000, 8000, 8, 1, 256), "error: truncated bmp file!\n"},
        // RLE that stops early is an error, not half an image (which may keep its buffer).
        {WindowsBmp(4, 4, 8, 1, 4, {4, 1, 0, 0, 4}), nullptr},
    };
    for (const auto& [bytes, message] : bad) {
        sDecodedImage fresh;
        error.clear(); // each refusal must name its own reason
        EXPECT_FALSE(Decode(bytes, fresh, error));
        EXPECT_EQ(error, message ? message : error);
        EXPECT_TRUE(!message || !fresh.pixels);
    }
    ZARVO_REQUIRE_CORPUS(); // the made-up files above need none
    const auto files = CorpusFiles("bmp", ".bmp");
    ASSERT_GT(files.size(), 30u);
    for (const std::string& file : files) {
        ASSERT_TRUE(Decode(ReadCorpusBytes(file), image, error)) << file << ": " << error;
        EXPECT_EQ(image.components, 3);
        EXPECT_TRUE(MatchesReference(image, file));
    }
}
