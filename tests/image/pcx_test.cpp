#include <gtest/gtest.h>

#include "image/pcx.h"
#include "image_compare.h"

using namespace image_test;

namespace {

// A 128-byte header for a w x h image (header palette entry i is (i, 2i, 3i)), then `tail`,
// then with `vga` a 256-entry palette (i, 255 - i, 7) after that marker byte.
Bytes Pcx(int w, int h, uint8_t planes, uint8_t bits, uint16_t bytesPerLine, Bytes tail = {},
          int vga = -1) {
    Bytes b(128, 0);
    b[0] = 10;
    b[1] = 5;
    b[2] = 1;
    b[3] = bits;
    b[8] = uint8_t(w - 1);
    b[9] = uint8_t((w - 1) >> 8);
    b[10] = uint8_t(h - 1);
    b[11] = uint8_t((h - 1) >> 8);
    for (int i = 0; i < 48; ++i)
        b[size_t(16 + i)] = uint8_t(i / 3 * (i % 3 + 1));
    b[65] = planes;
    b[66] = uint8_t(bytesPerLine);
    b[67] = uint8_t(bytesPerLine >> 8);
    b.insert(b.end(), tail.begin(), tail.end());
    if (vga >= 0) b.push_back(uint8_t(vga));
    for (int i = 0; vga >= 0 && i < 256; ++i)
        b.insert(b.end(), {uint8_t(i), uint8_t(255 - i), 7});
    return b;
}

// The decoded bytes, texture row 0 (the file's last row) first.
Bytes Decoded(const Bytes& bytes) {
    sDecodedImage image;
    std::string error;
    EXPECT_EQ(DecodePCX(bytes.data(), bytes.size(), image, error), ePcxResult::Ok) << error;
    return image.pixels ? Bytes(image.pixels.get(), image.pixels.get() + image.ByteCount())
                        : Bytes();
}

} // namespace

TEST(pcx, CorpusFilesDecodeExactly) {
    ZARVO_REQUIRE_CORPUS();
    for (const std::string& file : CorpusFiles("pcx", ".pcx")) {
        sDecodedImage image;
        std::string error;
        const Bytes bytes = ReadCorpusBytes(file);
        ASSERT_EQ(DecodePCX(bytes.data(), bytes.size(), image, error), ePcxResult::Ok) << file;
        EXPECT_TRUE(image.bottomUp);
        // Two ImageMagick 1-bit files carry a header palette (0 black, 1 white) that
        // contradicts ImageMagick's own decode of them; the reader follows the palette.
        const bool paletteDisagrees =
            file == "pcx/earth_pcx1.pcx" || file == "pcx/wall_pcx1_13x11.pcx";
        EXPECT_TRUE(MatchesReference(image, file, paletteDisagrees ? 255 : 0));
    }
}

TEST(pcx, BitDepthsRunsAndLineLengths) {
    // 1 bit: bits 1010 0101 11 (0xC0 as a run of 1) take header entries 0 and 1.
    Bytes got = Decoded(Pcx(10, 1, 1, 1, 2, {0xA5, 0xC1, 0xC0}));
    Bytes green;
    for (size_t x = 0; x < got.size() / 3; ++x)
        green.push_back(got[3 * x + 1]);
    EXPECT_EQ(green, (Bytes{2, 0, 2, 0, 0, 2, 0, 2, 2, 2}));
    // 24 bits, 2x2: one run of 6 covers row 0's three planes; row 1 is written raw.
    EXPECT_EQ(Decoded(Pcx(2, 2, 3, 8, 2, {0xC6, 9, 1, 2, 3, 4, 5, 6})),
              (Bytes{1, 3, 5, 2, 4, 6, 9, 9, 9, 9, 9, 9}));
    // Three pixels with four bytes per line: the fourth value of each line is dropped.
    EXPECT_EQ(Decoded(Pcx(3, 2, 1, 8, 4, {1, 2, 3, 150, 4, 5, 6, 151}, 12)),
              (Bytes{4, 251, 7, 5, 250, 7, 6, 249, 7, 1, 254, 7, 2, 253, 7, 3, 252, 7}));
}

TEST(pcx, BadTruncatedOrOversizedFilesAreRefused) {
    Bytes badVersion = Pcx(2, 2, 1, 8, 2);
    badVersion[0] = 11;
    Bytes huge = Pcx(1, 1, 3, 8, 1); // 65535 x 65535 from 200 bytes: refused before allocation
    huge[8] = huge[9] = huge[10] = huge[11] = 0xFF;
    huge.resize(200, 0);
    Bytes shortLines = Pcx(16, 1, 1, 8, 8); // bytes per line too few for the width
    shortLines.resize(2000, 1);
    Bytes runsEnd = Pcx(64, 64, 3, 8, 64); // literal bytes: 400 of the 12288 values
    runsEnd.resize(128 + 400, 0x05);
    const struct {
        Bytes bytes;
        ePcxResult result;
        const char* message;
        bool partial = false; // may leave the pixels of an image it gave up on
    } cases[] = {
        {badVersion, ePcxResult::Failed, "error: bad version number! (11)\n"},
        {Pcx(2, 2, 2, 8, 2), ePcxResult::Failed, "error: unknown 16 bitcount pcx files\n"},
        {Pcx(2, 2, 1, 8, 2, {1, 2, 3, 4}, 0x0b), ePcxResult::NoPalette,
         "error: colormap's first byte must be 0x0c! (0xb)\n"},
        {Bytes(100, 10), ePcxResult::Failed, nullptr},
        {huge, ePcxResult::Failed, nullptr},
        {shortLines, ePcxResult::Failed, nullptr},
        {runsEnd, ePcxResult::Failed, "error: truncated pcx file!\n", true},
    };
    for (const auto& c : cases) {
        sDecodedImage image;
        std::string error;
        EXPECT_EQ(DecodePCX(c.bytes.data(), c.bytes.size(), image, error), c.result);
        EXPECT_EQ(error, c.message ? c.message : error);
        EXPECT_TRUE(c.partial || !image.pixels) << c.bytes.size();
    }
}
