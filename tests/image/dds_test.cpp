#include <gtest/gtest.h>

#include "image/dds.h"
#include "image_compare.h"

using namespace image_test;

static bool Decode(const Bytes& bytes, sDdsImage& dds, std::string& error) {
    return DecodeDDS(bytes.data(), bytes.size(), "x.dds", dds, error);
}

// Level 0 decompresses to the reference, and the levels' blocks fill the file exactly.
TEST(dds, CorpusFilesDecodeTheMipmapWalkCountsEveryBlockAndCountsStayWithinChainAndFile) {
    ZARVO_REQUIRE_CORPUS();
    const auto files = CorpusFiles("dds", ".dds");
    ASSERT_EQ(files.size(), 7u);
    for (const std::string& file : files) {
        // The names give the block format and the levels: 128 x 128 chains have 8, mip3 has 4.
        const auto has = [&](const char* part) { return file.find(part) != std::string::npos; };
        const int levels = has("_nomip") ? 1 : has("_mip3") ? 4 : 8;
        const GLenum format = has("dxt1")   ? GL_COMPRESSED_RGBA_S3TC_DXT1_EXT
                              : has("dxt3") ? GL_COMPRESSED_RGBA_S3TC_DXT3_EXT
                                            : GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
        sDdsImage dds;
        sDecodedImage image;
        std::string error;
        const Bytes bytes = ReadCorpusBytes(file); // the decode points into it
        ASSERT_TRUE(Decode(bytes, dds, error)) << file << ": " << error;
        ASSERT_TRUE(DecompressDdsLevel0(dds, image, error)) << file;
        EXPECT_TRUE(MatchesReference(image, file));
        EXPECT_EQ(dds.levels, levels) << file;
        EXPECT_EQ(dds.format, format) << file;
        size_t total = 0;
        for (int i = 0, w = dds.width, h = dds.height; i < dds.levels; ++i)
            total += DdsLevelSize(std::max(1, w >> i), std::max(1, h >> i), dds.format);
        EXPECT_EQ(total, dds.blockBytes) << file;
    }
    EXPECT_EQ(DdsLevelSize(2, 1, GL_COMPRESSED_RGBA_S3TC_DXT5_EXT), 16u); // partial block
    Bytes bytes = ReadCorpusBytes("dds/stones_dxt1_mip.dds");
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

    bytes.assign(128 + 8, 0);
    EXPECT_FALSE(Decode(bytes, dds, error));
    EXPECT_EQ(error, "the file \"x.dds\" doesn't appear to bea valid .dds file!\n");
    PutLE32(bytes, 0, 0x20534444); // "DDS "
    PutLE32(bytes, 4 + 8, 4);
    PutLE32(bytes, 4 + 12, 4);
    PutLE32(bytes, 84, 0x32495441); // "ATI2"
    EXPECT_FALSE(Decode(bytes, dds, error));
    EXPECT_EQ(error, "the file \"x.dds\" doesn't appear to becompressed using DXT1, DXT3, or "
                     "DXT5! [843666497]\n");
    PutLE32(bytes, 84, 0x31545844); // "DXT1"
    PutLE32(bytes, 4 + 12, 0x7FFFFFFF);
    EXPECT_FALSE(Decode(bytes, dds, error));
}
