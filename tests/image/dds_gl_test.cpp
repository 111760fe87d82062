#include <gtest/gtest.h>

#include "gl_texture_probe.h"
#include "image/dds.h"
#include "image_compare.h"
#include "support/gl_context.h"

using namespace image_test;

TEST(ddsGL, LevelZeroReadsBackAsTheReferenceAndEveryStoredLevelIsThere) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    for (const std::string& file : CorpusFiles("dds", ".dds")) {
        const GLuint texture = loadDDSTexture(CorpusImage(file).c_str());
        ASSERT_NE(texture, 0u) << file;
        const auto bytes = ReadCorpusBytes(file);
        sDdsImage dds;
        std::string error;
        ASSERT_TRUE(DecodeDDS(bytes.data(), bytes.size(), "", dds, error));
        sDecodedImage image;
        ASSERT_TRUE(AllocateImage(image, dds.width, dds.height, 4, error));
        const auto pixels = TexturePixels(texture, 0, GL_RGBA, 4);
        ASSERT_EQ(pixels.size(), image.ByteCount()) << file;
        std::copy(pixels.begin(), pixels.end(), image.pixels.get());
        // The driver's block decoder may round the interpolated colours differently.
        const sDifference d = Compare(image, ReadReference(ReferenceOf(file)));
        EXPECT_LE(d.maxDiff, 2) << file;
        int w = dds.width, h = dds.height;
        for (int level = 0; level < dds.levels; ++level) {
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_WIDTH), w) << file << level;
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_HEIGHT), h) << file << level;
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_COMPRESSED), GL_TRUE);
            w = std::max(1, w / 2);
            h = std::max(1, h / 2);
        }
        EXPECT_EQ(LevelParameter(texture, dds.levels, GL_TEXTURE_WIDTH), 0) << file;
        EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAX_LEVEL), float(dds.levels - 1));
    }
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(ddsGL, ZeroMipmapsUploadNothingButGiveAName) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    auto bytes = ReadCorpusBytes("dds/grad_dxt5_nomip.dds");
    bytes[4 + 24] = 0;
    const std::string path = zarvo_test::MakeTempDir("dds") + "/nolevels.dds";
    ASSERT_TRUE(zarvo_test::WriteFileBytes(path, std::string(bytes.begin(), bytes.end())));
    const GLuint texture = loadDDSTexture(path.c_str());
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadDDSTexture("missing.dds"), 0u);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "error: couldn't open \"missing.dds\"!\n");
}
