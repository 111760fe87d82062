#include <gtest/gtest.h>

#include "image/dds.h"
#include "image_compare.h"

using namespace image_test;

namespace {

bool Decode(const std::vector<uint8_t>& bytes, sDdsImage& dds, std::string& error) {
    return DecodeDDS(bytes.data(), bytes.size(), "x.dds", dds, error);
}

} // namespace

TEST(dds, CorpusLevelZeroDecompressesToTheReference) {
    ZARVO_REQUIRE_CORPUS();
    const auto files = CorpusFiles("dds", ".dds");
    ASSERT_EQ(files.size(), 7u);
    for (const std::string& file : files) {
        const auto bytes = ReadCorpusBytes(file);
        sDdsImage dds;
        sDecodedImage image;
        std::string error;
        ASSERT_TRUE(Decode(bytes, dds, error)) << file << ": " << error;
        ASSERT_TRUE(DecompressDdsLevel0(dds, image, error)) << file;
        EXPECT_EQ(Compare(image, ReadReference(ReferenceOf(file))).maxDiff, 0) << file;
    }
}

TEST(dds, MipmapWalkCountsBlocksOfEachLevel) {
    ZARVO_REQUIRE_CORPUS();
    struct Case {
        const char* file;
        int levels;
        GLenum format;
    } cases[] = {{"dds/stones_dxt1_mip.dds", 8, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
                 {"dds/earth_dxt1_mip3.dds", 4, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT},
                 {"dds/grad_dxt5_mip.dds", 8, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT},
                 {"dds/grad_dxt3_nomip.dds", 1, GL_COMPRESSED_RGBA_S3TC_DXT3_EXT}};
    for (const Case& c : cases) {
        const auto bytes = ReadCorpusBytes(c.file);
        sDdsImage dds;
        std::string error;
        ASSERT_TRUE(Decode(bytes, dds, error)) << c.file;
        EXPECT_EQ(dds.levels, c.levels) << c.file;
        EXPECT_EQ(dds.format, c.format) << c.file;
        size_t total = 0;
        for (int i = 0, w = dds.width, h = dds.height; i < dds.levels; ++i) {
            total += DdsLevelSize(w, h, dds.format);
            w = std::max(1, w / 2);
            h = std::max(1, h / 2);
        }
        EXPECT_EQ(total, dds.blockBytes) << c.file; // the levels fill the file exactly
    }
    EXPECT_EQ(DdsLevelSize(2, 1, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT), 16u); // partial block
    EXPECT_EQ(DdsLevelSize(128, 64, GL_COMPRESSED_RGBA_S3TC_DXT1_EXT), 4096u);
}

TEST(dds, MipmapCountsAreKeptWithinTheChainAndTheFile) {
    ZARVO_REQUIRE_CORPUS();
    auto bytes = ReadCorpusBytes("dds/stones_dxt1_mip.dds");
    sDdsImage dds;
    std::string error;
    PutLE32(bytes, 4 + 24, 0); // no levels: nothing to upload, yet the file loads
    ASSERT_TRUE(Decode(bytes, dds, error));
    EXPECT_EQ(dds.levels, 0);
    PutLE32(bytes, 4 + 24, 1000); // more than 128x128 has
    ASSERT_TRUE(Decode(bytes, dds, error));
    EXPECT_EQ(dds.levels, 8);
    bytes.pop_back(); // the 1x1 level is cut short
    EXPECT_FALSE(Decode(bytes, dds, error));
    EXPECT_EQ(error, "the file \"x.dds\" is truncated!\n");
}

TEST(dds, BadFilesGiveTheirMessages) {
    std::vector<uint8_t> bytes(128 + 8, 0);
    sDdsImage dds;
    std::string error;
    EXPECT_FALSE(Decode(bytes, dds, error));
    EXPECT_EQ(error, "the file \"x.dds\" doesn't appear to bea valid .dds file!\n");
    bytes[0] = 'D', bytes[1] = 'D', bytes[2] = 'S', bytes[3] = ' ';
    PutLE32(bytes, 4 + 8, 4);
    PutLE32(bytes, 4 + 12, 4);
    bytes[84] = 'A', bytes[85] = 'T', bytes[86] = 'I', bytes[87] = '2';
    EXPECT_FALSE(Decode(bytes, dds, error));
    EXPECT_EQ(error, "the file \"x.dds\" doesn't appear to becompressed using DXT1, DXT3, or "
                     "DXT5! [843666497]\n");
    bytes[84] = 'D', bytes[85] = 'X', bytes[86] = 'T', bytes[87] = '1';
    PutLE32(bytes, 4 + 12, 0x7FFFFFFF);
    EXPECT_FALSE(Decode(bytes, dds, error));
}
