#include <gtest/gtest.h>

#include "image/pcx.h"
#include "image_compare.h"

using namespace image_test;

namespace {

// A 128-byte header for a w x h image; palette entry i of the header is (i, 2i, 3i).
std::vector<uint8_t> Header(int w, int h, uint8_t planes, uint8_t bits, uint16_t bytesPerLine) {
    std::vector<uint8_t> header(128, 0);
    header[0] = 10;
    header[1] = 5;
    header[2] = 1;
    header[3] = bits;
    header[8] = uint8_t(w - 1);
    header[9] = uint8_t((w - 1) >> 8);
    header[10] = uint8_t(h - 1);
    header[11] = uint8_t((h - 1) >> 8);
    for (int i = 0; i < 16; ++i) {
        header[size_t(16 + 3 * i)] = uint8_t(i);
        header[size_t(17 + 3 * i)] = uint8_t(2 * i);
        header[size_t(18 + 3 * i)] = uint8_t(3 * i);
    }
    header[65] = planes;
    header[66] = uint8_t(bytesPerLine);
    header[67] = uint8_t(bytesPerLine >> 8);
    return header;
}

void AppendVgaPalette(std::vector<uint8_t>& bytes, uint8_t marker) {
    bytes.push_back(marker);
    for (int i = 0; i < 256; ++i)
        bytes.insert(bytes.end(), {uint8_t(i), uint8_t(255 - i), 7});
}

ePcxResult Decode(const std::vector<uint8_t>& bytes, sDecodedImage& image, std::string& error) {
    return DecodePCX(bytes.data(), bytes.size(), image, error);
}

} // namespace

TEST(pcx, CorpusFilesDecodeExactly) {
    ZARVO_REQUIRE_CORPUS();
    for (const std::string& file : CorpusFiles("pcx", ".pcx")) {
        sDecodedImage image;
        std::string error;
        ASSERT_EQ(Decode(ReadCorpusBytes(file), image, error), ePcxResult::Ok) << file << error;
        EXPECT_TRUE(image.bottomUp);
        const sDifference d = Compare(image, ReadReference(ReferenceOf(file)));
        EXPECT_TRUE(d.sameSize) << file;
        // Two ImageMagick 1-bit files carry a header palette (0 black, 1 white) that
        // contradicts ImageMagick's own decode of them; the reader follows the palette.
        const bool paletteDisagrees =
            file == "pcx/earth_pcx1.pcx" || file == "pcx/wall_pcx1_13x11.pcx";
        if (paletteDisagrees)
            EXPECT_EQ(d.maxDiff, 255) << file;
        else
            EXPECT_EQ(d.maxDiff, 0) << file;
    }
}

TEST(pcx, OneBitPixelsTakeHeaderPaletteEntriesZeroAndOne) {
    auto bytes = Header(10, 1, 1, 1, 2);
    bytes.insert(bytes.end(), {0xA5, 0xC1, 0xC0}); // bits 1010 0101 11 (0xC0 as a run of 1)
    sDecodedImage image;
    std::string error;
    ASSERT_EQ(Decode(bytes, image, error), ePcxResult::Ok) << error;
    const int bits[10] = {1, 0, 1, 0, 0, 1, 0, 1, 1, 1};
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(image.pixels[size_t(3 * x + 1)], 2 * bits[x]) << x;
}

TEST(pcx, RunsCarryOverRowsAndPlanesAndRowsAreStoredBottomUp) {
    // 24 bits, 2x2: one run of 6 covers row 0's three planes; row 1 is written raw.
    auto bytes = Header(2, 2, 3, 8, 2);
    bytes.insert(bytes.end(), {0xC6, 9, 1, 2, 3, 4, 5, 6});
    sDecodedImage image;
    std::string error;
    ASSERT_EQ(Decode(bytes, image, error), ePcxResult::Ok) << error;
    // Texture row 0 is the file's last row.
    const std::vector<uint8_t> expected = {1, 3, 5, 2, 4, 6, 9, 9, 9, 9, 9, 9};
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 12), expected);
}

TEST(pcx, ExtraValuesOfALineAreDecodedAndDropped) {
    // Three pixels with four bytes per line: the fourth value of each line is skipped.
    auto bytes = Header(3, 2, 1, 8, 4);
    bytes.insert(bytes.end(), {1, 2, 3, 150, 4, 5, 6, 151});
    AppendVgaPalette(bytes, 12);
    sDecodedImage image;
    std::string error;
    ASSERT_EQ(Decode(bytes, image, error), ePcxResult::Ok) << error;
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.pixels[0], 4); // bottom row first: 4, 5, 6
    EXPECT_EQ(image.pixels[3], 5);
    EXPECT_EQ(image.pixels[6], 6);
    EXPECT_EQ(image.pixels[9], 1);
    EXPECT_EQ(image.pixels[10], 254);
}

TEST(pcx, BadFilesGiveTheirMessages) {
    sDecodedImage image;
    std::string error;
    auto bytes = Header(2, 2, 1, 8, 2);
    bytes[0] = 11;
    EXPECT_EQ(Decode(bytes, image, error), ePcxResult::Failed);
    EXPECT_EQ(error, "error: bad version number! (11)\n");

    bytes = Header(2, 2, 2, 8, 2);
    EXPECT_EQ(Decode(bytes, image, error), ePcxResult::Failed);
    EXPECT_EQ(error, "error: unknown 16 bitcount pcx files\n");

    bytes = Header(2, 2, 1, 8, 2);
    bytes.insert(bytes.end(), {1, 2, 3, 4});
    AppendVgaPalette(bytes, 0x0b);
    EXPECT_EQ(Decode(bytes, image, error), ePcxResult::NoPalette);
    EXPECT_EQ(error, "error: colormap's first byte must be 0x0c! (0xb)\n");
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(pcx, TruncatedOrOversizedFilesAreRefused) {
    sDecodedImage image;
    std::string error;
    EXPECT_EQ(Decode(std::vector<uint8_t>(100, 10), image, error), ePcxResult::Failed);
    // 65535 x 65535 declared by a 200-byte file: refused before any allocation.
    auto bytes = Header(1, 1, 3, 8, 1);
    bytes[8] = bytes[9] = bytes[10] = bytes[11] = 0xFF;
    bytes.resize(200, 0);
    EXPECT_EQ(Decode(bytes, image, error), ePcxResult::Failed);
    EXPECT_EQ(image.pixels, nullptr);
    // Bytes per line too small for the width.
    bytes = Header(16, 1, 1, 8, 8);
    bytes.resize(2000, 1);
    EXPECT_EQ(Decode(bytes, image, error), ePcxResult::Failed);
    // Runs end before the image does.
    bytes = Header(64, 64, 3, 8, 64);
    bytes.resize(128 + 400, 0x05); // literal bytes: 400 of the 12288 values
    EXPECT_EQ(Decode(bytes, image, error), ePcxResult::Failed);
    EXPECT_EQ(error, "error: truncated pcx file!\n");
}
