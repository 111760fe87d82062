#include <gtest/gtest.h>

#include <cstring>

#include "image/CTGA.h"
#include "image/CTGALoader.h"
#include "image/tgaload.h"
#include "image_compare.h"
#include "tga_corpus.h"

using namespace image_test;

namespace {

bool Decode(const std::vector<uint8_t>& bytes, unsigned flags, sDecodedImage& out,
            std::string& error) {
    return tgaDecode(bytes.data(), bytes.size(), flags, out, error);
}

} // namespace

TEST(tgaload, TrueColourCorpusFilesDecodeExactly) {
    ZARVO_REQUIRE_CORPUS();
    for (const std::string& file : TrueColourTgaFiles()) {
        sDecodedImage image;
        std::string error;
        ASSERT_TRUE(Decode(ReadCorpusBytes(file), 0, image, error)) << file << ": " << error;
        const sDifference d = Compare(image, ReadReference(ReferenceOf(file)));
        EXPECT_TRUE(d.sameSize) << file;
        EXPECT_EQ(d.maxDiff, 0) << file;
    }
}

TEST(tgaload, GreyscaleNeedsTheLuminanceOrAlphaFlag) {
    ZARVO_REQUIRE_CORPUS();
    const auto bytes = ReadCorpusBytes("tga/earth_t3_grey8_bu.tga");
    sDecodedImage image;
    std::string error;
    EXPECT_FALSE(Decode(bytes, 0, image, error));
    EXPECT_EQ(error, "Must be LUMINANCE or ALPHA greyscale");
    for (unsigned flags : {TGA_LUMINANCE, TGA_ALPHA, TGA_LUMINANCE | TGA_ALPHA}) {
        image_t record;
        ASSERT_EQ(tgaDecodeImage(bytes.data(), bytes.size(), &record, flags, nullptr), 1);
        EXPECT_EQ(record.info.tgaColourType,
                  GLenum(flags & TGA_LUMINANCE ? GL_LUMINANCE : GL_ALPHA));
        EXPECT_EQ(record.info.components, 1);
        tgaFree(&record);
    }
    ASSERT_TRUE(Decode(bytes, TGA_LUMINANCE, image, error));
    EXPECT_EQ(Compare(image, ReadReference("tga/earth_t3_grey8_bu.ref.ppm")).maxDiff, 0);
}

// Pixels start after the ID field (and a colour map) in every TGA reader.
TEST(tgaload, EveryReaderSkipsTheIdField) {
    ZARVO_REQUIRE_CORPUS();
    using Reader = bool (*)(const std::vector<uint8_t>&, sDecodedImage&, std::string&);
    const Reader tgaloadReader = [](const std::vector<uint8_t>& b, sDecodedImage& out,
                                    std::string& error) { return Decode(b, 0, out, error); };
    const Reader loaderReader = [](const std::vector<uint8_t>& b, sDecodedImage& out,
                                   std::string& error) {
        CTGALoader loader;
        return loader.DecodeTGA(b.data(), b.size(), "x.tga", error) && loader.TakeImage(out);
    };
    const Reader ctgaReader = [](const std::vector<uint8_t>& b, sDecodedImage& out,
                                 std::string& error) {
        CTGA tga;
        error = "refused";
        return tga.Decode(b.data(), b.size()) && tga.TakeImage(out);
    };
    struct Case {
        const char* file;
        Reader reader;
        const char* truncatedMessage; // when the ID field runs past the end of the file
    } cases[] = {
        {"tga/stones_t2_rgb24_id.tga", tgaloadReader, "Truncated image data"},
        {"tga/grad_t10_rgba32_id.tga", tgaloadReader, "Truncated image data"},
        {"tga/stones_t2_rgb24_id.tga", loaderReader, "Could not read image data: x.tga"},
        {"tga/grad_t10_rgba32_id.tga", loaderReader, "Could not read image data: x.tga"},
        {"tga/stones_t2_rgb24_id.tga", ctgaReader, "refused"},
    };
    for (const Case& c : cases) {
        auto bytes = ReadCorpusBytes(c.file);
        ASSERT_GT(bytes[0], 0) << c.file;
        sDecodedImage image;
        std::string error;
        ASSERT_TRUE(c.reader(bytes, image, error)) << c.file << ": " << error;
        EXPECT_EQ(Compare(image, ReadReference(ReferenceOf(c.file))).maxDiff, 0) << c.file;
        bytes.resize(18 + bytes[0] - 1);
        EXPECT_FALSE(c.reader(bytes, image, error)) << c.file;
        EXPECT_EQ(error, c.truncatedMessage);
    }
    // A true-colour file may carry a colour map it does not use: skipped too.
    auto mapped = Header(2, 1, 1, 24, 2);
    mapped[1] = 1;  // colour map present
    mapped[5] = 3;  // three entries
    mapped[7] = 15; // of 15 bits, two bytes each
    mapped.insert(mapped.end(), {'i', 'd', 0, 0, 0, 0, 0, 0, 30, 20, 10});
    sDecodedImage image;
    std::string error;
    ASSERT_TRUE(Decode(mapped, 0, image, error)) << error;
    EXPECT_EQ(std::vector<uint8_t>(image.pixels.get(), image.pixels.get() + 3),
              (std::vector<uint8_t>{10, 20, 30}));
}

TEST(tgaload, RefusedTypesGiveTheirMessages) {
    struct Case {
        std::vector<uint8_t> header;
        const char* message;
    } cases[] = {
        {Header(1, 4, 4, 8), "8-bit colour no longer supported"},
        {Header(9, 4, 4, 8), "8-bit colour no longer supported"},
        {Header(2, 4, 4, 16), "Unsupported RGB format"},
        {Header(10, 4, 4, 16), "Unsupported compressed RGB format"},
        {Header(2, 0, 4, 24), "invalid image size 0x4"},
        {Header(2, 20000, 20000, 24), "image size 20000x20000 is too large"},
    };
    for (const Case& c : cases) {
        sDecodedImage image;
        std::string error;
        EXPECT_FALSE(Decode(c.header, 0, image, error));
        EXPECT_EQ(error, c.message);
    }
    // Types neither accepted nor refused load without pixels.
    const auto type11 = Header(11, 4, 4, 8);
    image_t record;
    std::string error;
    ASSERT_EQ(tgaDecodeImage(type11.data(), type11.size(), &record, 0, &error), 1);
    EXPECT_EQ(record.data, nullptr);
    EXPECT_EQ(record.info.tgaColourType, 0u);
}

TEST(tgaload, TruncatedFilesAreRefusedNotReadPastTheEnd) {
    std::vector<uint8_t> raw = Header(2, 4, 4, 24);
    raw.resize(raw.size() + 4 * 4 * 3 - 1); // one byte short
    std::vector<uint8_t> rle = Header(10, 100, 100, 32);
    rle.insert(rle.end(), {0xFF, 1, 2, 3, 4}); // 128 of 10000 pixels
    const std::vector<uint8_t> shortHeader = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0};
    for (const auto& bytes : {raw, rle, shortHeader}) {
        sDecodedImage image;
        std::string error;
        EXPECT_FALSE(Decode(bytes, 0, image, error));
        EXPECT_NE(error.find("Truncated"), std::string::npos) << error;
    }
    // Enough packet bytes for the size check, yet the packets end early.
    rle = Header(10, 200, 1, 24);
    rle.insert(rle.end(), {0x00, 1, 2, 3, 0x00, 1, 2, 3});
    sDecodedImage image;
    std::string error;
    EXPECT_FALSE(Decode(rle, 0, image, error));
    EXPECT_EQ(error, "Truncated image data");
}
