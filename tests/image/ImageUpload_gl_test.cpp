#include <gtest/gtest.h>

#include <algorithm>

#include "gl_texture_probe.h"
#include "image/bmp.h"
#include "image/dds.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image_compare.h"
#include "support/gl_context.h"

using namespace image_test;

class ImageUploadGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        ZARVO_REQUIRE_CORPUS();
    }
};

TEST_F(ImageUploadGL, PcxBmpAndJpegUploadMipmapsWithAnisotropyWhenAsked) {
    GLfloat maximum = 0;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    ASSERT_GT(maximum, 1.0f);
    std::string jpeg = CorpusImage("jpeg/wall_420.jpg");
    const struct {
        GLuint texture;
        GLint width0, width1, internal;
        GLenum minFilter;
        float anisotropy;
    } cases[] = {
        // GLU's mipmap builder rescales level 0 to powers of two: 13x11 becomes 16x8.
        {loadPCXTexture(CorpusImage("pcx/wall_pcx8_13x11.pcx").c_str(), false), 16, 8, 3,
         GL_LINEAR_MIPMAP_LINEAR, 1},
        {loadBMPTexture(CorpusImage("bmp/wall_bmp24_13x11.bmp").c_str(), false), 16, 8, 3,
         GL_LINEAR_MIPMAP_LINEAR, 1},
        {loadPCXTexture(CorpusImage("pcx/stones_pcx8.pcx").c_str(), true), 128, 64, 3, GL_LINEAR,
         maximum},
        {LoadJPEG(&jpeg[0], true), 128, 64, 4, GL_LINEAR_MIPMAP_LINEAR, maximum},
        {LoadJPEG(&jpeg[0], false), 128, 64, 4, GL_LINEAR_MIPMAP_LINEAR, 1},
    };
    for (const auto& c : cases) {
        const int i = int(&c - cases);
        ASSERT_NE(c.texture, 0u) << i;
        EXPECT_EQ(LevelParameter(c.texture, 0, GL_TEXTURE_WIDTH), c.width0) << i;
        EXPECT_EQ(LevelParameter(c.texture, 1, GL_TEXTURE_WIDTH), c.width1) << i;
        EXPECT_EQ(LevelParameter(c.texture, 0, GL_TEXTURE_INTERNAL_FORMAT), c.internal) << i;
        EXPECT_EQ(TextureParameter(c.texture, GL_TEXTURE_MIN_FILTER), float(c.minFilter)) << i;
        EXPECT_EQ(TextureParameter(c.texture, GL_TEXTURE_MAX_ANISOTROPY_EXT), c.anisotropy) << i;
    }
    EXPECT_EQ(TextureParameter(cases[2].texture, GL_TEXTURE_WRAP_S), float(GL_REPEAT));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST_F(ImageUploadGL, FailuresReturnNoNameExceptJpegsEmptyTexture) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPCXTexture("missing.pcx", false), 0u);
    EXPECT_EQ(loadBMPTexture(CorpusImage("pcx/stones_pcx8.pcx").c_str(), false), 0u);
    EXPECT_EQ(loadDDSTexture("missing.dds"), 0u);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("error: couldn't open \"missing.pcx\"!"), std::string::npos);
    EXPECT_NE(messages.find("is not a valid BMP file!"), std::string::npos);
    EXPECT_NE(messages.find("error: couldn't open \"missing.dds\"!\n"), std::string::npos);

    // Progressive and arithmetic-coded (SDL_image) files load; 12-bit: a message, no image.
    for (const char* file : {"jpeg/wall_420_progressive.jpg", "jpeg/stones_arithmetic.jpg"}) {
        std::string path = CorpusImage(file);
        const GLuint texture = LoadJPEG(&path[0], false);
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 128) << file;
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), 4);
    }
    Bytes bytes = ReadCorpusBytes("jpeg/stones_444.jpg");
    const uint8_t frame[] = {0xFF, 0xC0};
    const size_t sof =
        size_t(std::search(bytes.begin(), bytes.end(), frame, frame + 2) - bytes.begin());
    ASSERT_LT(sof, bytes.size());
    bytes[sof + 1] = 0xC1; // extended sequential, 12-bit samples
    bytes[sof + 4] = 12;
    std::string twelveBit = WriteTemp("twelve.jpg", bytes);
    testing::internal::CaptureStderr();
    GLuint texture = LoadJPEG(&twelveBit[0], false);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_NE(message.find(twelveBit + ": unsupported sample precision, and SDL_image cannot"),
              std::string::npos)
        << message;

    // A DDS file of zero mipmaps uploads nothing but gives a name.
    bytes = ReadCorpusBytes("dds/grad_dxt5_nomip.dds");
    PutLE32(bytes, 4 + 24, 0);
    texture = loadDDSTexture(WriteTemp("nolevels.dds", bytes).c_str());
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 0);
}

// The driver's block decoder may round interpolated colours 2 levels from the reference.
TEST_F(ImageUploadGL, DdsLevelZeroReadsBackAsTheReferenceAndEveryStoredLevelIsThere) {
    for (const std::string& file : CorpusFiles("dds", ".dds")) {
        const GLuint texture = loadDDSTexture(CorpusImage(file).c_str());
        ASSERT_NE(texture, 0u) << file;
        const Bytes bytes = ReadCorpusBytes(file);
        sDdsImage dds;
        sDecodedImage image;
        std::string error;
        ASSERT_TRUE(DecodeDDS(bytes.data(), bytes.size(), "", dds, error));
        ASSERT_TRUE(AllocateImage(image, dds.width, dds.height, 4, error));
        const Bytes pixels = TexturePixels(texture, 0, GL_RGBA, 4);
        ASSERT_EQ(pixels.size(), image.ByteCount()) << file;
        std::copy(pixels.begin(), pixels.end(), image.pixels.get());
        EXPECT_TRUE(MatchesReference(image, file, 2));
        for (int level = 0; level <= dds.levels; ++level) { // and nothing past the last
            const bool stored = level < dds.levels;
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_WIDTH),
                      stored ? std::max(1, dds.width >> level) : 0)
                << file << level;
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_HEIGHT),
                      stored ? std::max(1, dds.height >> level) : 0)
                << file << level;
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_COMPRESSED),
                      stored ? GL_TRUE : GL_FALSE);
        }
        EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAX_LEVEL), float(dds.levels - 1));
    }
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}
