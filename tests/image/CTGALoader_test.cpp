#include <gtest/gtest.h>

#include "image/CTGALoader.h"
#include "image_compare.h"
#include "tga_corpus.h"

using namespace image_test;

namespace {

bool Decode(CTGALoader& loader, const std::vector<uint8_t>& bytes, std::string& error) {
    return loader.DecodeTGA(bytes.data(), bytes.size(), "x.tga", error);
}

} // namespace

TEST(CTGALoader, TrueColourCorpusFilesDecodeExactly) {
    ZARVO_REQUIRE_CORPUS();
    for (const std::string& file : TrueColourTgaFiles()) {
        CTGALoader loader;
        std::string error;
        ASSERT_TRUE(Decode(loader, ReadCorpusBytes(file), error)) << file << ": " << error;
        EXPECT_EQ(loader.type, GLuint(loader.bpp == 24 ? GL_RGB : GL_RGBA));
        sDecodedImage image;
        ASSERT_TRUE(loader.TakeImage(image));
        EXPECT_EQ(Compare(image, ReadReference(ReferenceOf(file))).maxDiff, 0) << file;
    }
}

TEST(CTGALoader, OnlyTheExactType2And10HeadersAreAccepted) {
    ZARVO_REQUIRE_CORPUS();
    // The ID length is not part of the 11-byte pattern, but a colour map is.
    for (const char* file : {"tga/earth_t3_grey8_bu.tga", "tga/stones_t1_cmap8.tga"}) {
        CTGALoader loader;
        std::string error;
        EXPECT_FALSE(Decode(loader, ReadCorpusBytes(file), error));
        EXPECT_EQ(error, "TGA file be type 2 or type 10, Invalid Image: x.tga");
    }
}

TEST(CTGALoader, BadHeadersAndDataGiveTheirMessages) {
    struct Case {
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        {{}, "Failed to read TGAcomment!"},
        {{0, 0, 2, 0}, "Could not read file header: x.tga"},
        {{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0}, "Could not read info header: x.tga"},
        {Header(2, 4, 4, 16), "Invalid texture information: x.tga"},
        {Header(2, 0, 4, 24), "Invalid texture information: x.tga"},
        {Header(2, 4, 4, 24), "Could not read image data: x.tga"},
        {Header(10, 60000, 60000, 24), "Invalid texture information: x.tga"},
    };
    for (const Case& c : cases) {
        CTGALoader loader;
        std::string error;
        EXPECT_FALSE(Decode(loader, c.bytes, error));
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(loader.imageData, nullptr);
    }
}

TEST(CTGALoader, ShortRleStreamsNameTheReadThatFailed) {
    auto rle = [](uint16_t w, std::vector<uint8_t> packets) {
        auto bytes = Header(10, w, 1, 24);
        bytes.insert(bytes.end(), packets.begin(), packets.end());
        return bytes;
    };
    struct Case {
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {
        // Too short for the declared size: found before the image is allocated.
        {rle(4, {}), "Could not read RLE header: x.tga"},
        {rle(200, {0xFF, 1, 2, 3}), "Could not read RLE header: x.tga"},
        {rle(4, {0x81, 1, 2}), "Could not read from file: x.tga"},
        {rle(4, {0x03, 1, 2, 3}), "Could not read image data: x.tga"},
        // Long enough for the declared size, cut short in the middle of the packets.
        {rle(4, {0x00, 1, 2, 3, 0x00, 4, 5, 6}), "Could not read RLE header: x.tga"},
        {rle(4, {0x80, 1, 2, 3, 0x80, 1}), "Could not read from file: x.tga"},
        {rle(4, {0x80, 1, 2, 3, 0x02, 4, 5, 6}), "Could not read image data: x.tga"},
    };
    for (const Case& c : cases) {
        CTGALoader loader;
        std::string error;
        EXPECT_FALSE(Decode(loader, c.bytes, error));
        EXPECT_EQ(error, c.message);
        EXPECT_EQ(loader.imageData, nullptr);
    }
}

TEST(CTGALoader, RlePacketPastTheImageStopsTheLoad) {
    auto bytes = Header(10, 2, 2, 24);
    bytes.insert(bytes.end(), {0x84, 1, 2, 3}); // five copies into four pixels
    CTGALoader loader;
    std::string error;
    EXPECT_FALSE(Decode(loader, bytes, error));
    EXPECT_EQ(error, "Too many pixels read: x.tga");
    EXPECT_EQ(loader.imageData, nullptr);

    bytes = Header(10, 2, 2, 24);
    bytes.insert(bytes.end(), {0x81, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(Decode(loader, bytes, error)) << error;
    const uint8_t expected[] = {3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7};
    EXPECT_EQ(std::vector<uint8_t>(loader.imageData, loader.imageData + 12),
              std::vector<uint8_t>(expected, expected + 12));
}
