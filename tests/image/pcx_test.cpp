#include <gtest/gtest.h>

#include "image/pcx.h"
#include "image_compare.h"

using namespace image_test;

// A 128-byte header for a w x h image (header palette entry i is (i, 2i, 3i)), then `tail`,
// then with `vga` a 256-entry palette (i, 255 - i, 7) after that marker byte.
static Bytes Pcx(int w, int h, int planes, int bits, int perLine, const Bytes& tail = {},
                 int vga = -1) {
    Bytes b = {10, 5, 1, uint8_t(bits), 0, 0, 0, 0};
    for (int v : {w - 1, h - 1})
        b.insert(b.end(), {uint8_t(v), uint8_t(v >> 8)});
    b.resize(16, 0);
    for (int i = 0; i < 48; ++i)
        b.push_back(uint8_t(i / 3 * (i % 3 + 1)));
    b.insert(b.end(), {0, uint8_t(planes), uint8_t(perLine), uint8_t(perLine >> 8)});
    b.resize(128, 0);
    b.insert(b.end(), tail.begin(), tail.end());
    for (int i = -1; vga >= 0 && i < 256; ++i)
        for (int v : {i < 0 ? vga : i, 255 - i, 7})
            if (i >= 0 || v == vga) b.push_back(uint8_t(v));
    return b;
}

static ePcxResult Decode(const Bytes& bytes, sDecodedImage& image, std::string& error) {
    return DecodePCX(bytes.data(), bytes.size(), image, error);
}

TEST(pcx, CorpusAndSyntheticFilesDecodeExactlyAndBadTruncatedOrOversizedOnesAreRefused) {
    sDecodedImage image;
    std::string error;
    // Texture row 0 is the file's last row.
    const std::pair<Bytes, Bytes> cases[] = {
        // 1 bit: bits 1010 0101 11 (0xC0 as a run of 1) take header entries 0 and 1.
        {Pcx(10, 1, 1, 1, 2, {0xA5, 0xC1, 0xC0}), {1, 2, 3, 0, 0, 0, 1, 2, 3, 0, 0, 0, 0, 0, 0,
                                                   1, 2, 3, 0, 0, 0, 1, 2, 3, 1, 2, 3, 1, 2, 3}},
        // 24 bits, 2x2: one run of 6 covers row 0's three planes; row 1 is written raw.
        {Pcx(2, 2, 3, 8, 2, {0xC6, 9, 1, 2, 3, 4, 5, 6}), {1, 3, 5, 2, 4, 6, 9, 9, 9, 9, 9, 9}},
        // Three pixels with four bytes per line: the fourth value of each line is dropped.
        {Pcx(3, 2, 1, 8, 4, {1, 2, 3, 150, 4, 5, 6, 151}, 12),
         {4, 251, 7, 5, 250, 7, 6, 249, 7, 1, 254, 7, 2, 253, 7, 3, 252, 7}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Decode(c.first, image, error), ePcxResult::Ok) << error;
        EXPECT_EQ(PixelBytes(image), c.second);
    }
    Bytes badVersion = Pcx(2, 2, 1, 8, 2);
    badVersion[0] = 11;
    // The bytes, result, message and whether it may leave the pixels of an image it gave up on.
    const std::tuple<Bytes, ePcxResult, const char*, bool> bad[] = {
        {badVersion, ePcxResult::Failed, "error: bad version number! (11)\n", false},
        {Pcx(2, 2, 2, 8, 2), ePcxResult::Failed, "error: unknown 16 bitcount pcx files\n", false},
        {Pcx(2, 2, 1, 8, 2, {1, 2, 3, 4}, 0x0b), ePcxResult::NoPalette,
         "error: colormap's first byte must be 0x0c! (0xb)\n", false},
        {Bytes(100, 10), ePcxResult::Failed, nullptr, false},
        // 65535 x 65535 from 200 bytes: refused before any allocation.
        {Pcx(65536, 65536, 3, 8, 1, Bytes(72)), ePcxResult::Failed, nullptr, false},
        {Pcx(16, 1, 1, 8, 8, Bytes(1872, 1)), ePcxResult::Failed, nullptr, false}, // line too short
        // Literal bytes for 400 of the 12288 values.
        {Pcx(64, 64, 3, 8, 64, Bytes(400, 5)), ePcxResult::Failed, "error: truncated pcx file!\n",
         true},
    };
    for (const auto& [bytes, result, message, partial] : bad) {
        sDecodedImage fresh;
        error.clear(); // each refusal must name its own reason
        EXPECT_EQ(Decode(bytes, fresh, error), result);
        EXPECT_EQ(error, message ? message : error);
        EXPECT_TRUE(partial || !fresh.pixels) << bytes.size();
    }
    ZARVO_REQUIRE_CORPUS(); // the made-up files above need none
    for (const std::string& file : CorpusFiles("pcx", ".pcx")) {
        ASSERT_EQ(Decode(ReadCorpusBytes(file), image, error), ePcxResult::Ok) << file;
        EXPECT_TRUE(image.bottomUp);
        // Two 1-bit files' header palettes contradict ImageMagick's decode; the reader obeys.
        const bool paletteDisagrees =
            file == "pcx/earth_pcx1.pcx" || file == "pcx/wall_pcx1_13x11.pcx";
        EXPECT_TRUE(MatchesReference(image, file, paletteDisagrees ? 255 : 0));
    }
}
