#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "gl_texture_probe.h"
#include "image/bmp.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image_compare.h"
#include "support/gl_context.h"

using namespace image_test;

TEST(ImageUploadGL, PcxAndBmpUploadLevelZeroAndMipmaps) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    for (const char* file : {"pcx/wall_pcx8_13x11.pcx", "bmp/wall_bmp24_13x11.bmp"}) {
        const std::string path = CorpusImage(file);
        const GLuint texture = std::string(file).find(".pcx") != std::string::npos
                                   ? loadPCXTexture(path.c_str(), false)
                                   : loadBMPTexture(path.c_str(), false);
        ASSERT_NE(texture, 0u) << file;
        // GLU's mipmap builder rescales level 0 to powers of two: 13x11 becomes 16x8.
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 16) << file;
        EXPECT_EQ(LevelParameter(texture, 1, GL_TEXTURE_WIDTH), 8) << file;
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), 3);
        EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MIN_FILTER), float(GL_LINEAR_MIPMAP_LINEAR));
    }
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(ImageUploadGL, AnisotropyIsSetToTheMaximumWhenAsked) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    GLfloat maximum = 0;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    ASSERT_GT(maximum, 1.0f);
    const GLuint pcx = loadPCXTexture(CorpusImage("pcx/stones_pcx8.pcx").c_str(), true);
    EXPECT_EQ(TextureParameter(pcx, GL_TEXTURE_MAX_ANISOTROPY_EXT), maximum);
    EXPECT_EQ(TextureParameter(pcx, GL_TEXTURE_MIN_FILTER), float(GL_LINEAR));
    EXPECT_EQ(TextureParameter(pcx, GL_TEXTURE_WRAP_S), float(GL_REPEAT));
    std::string jpeg = CorpusImage("jpeg/wall_420.jpg");
    const GLuint jpg = LoadJPEG(&jpeg[0], true);
    EXPECT_EQ(TextureParameter(jpg, GL_TEXTURE_MAX_ANISOTROPY_EXT), maximum);
    const GLuint plain = LoadJPEG(&jpeg[0], false);
    EXPECT_EQ(TextureParameter(plain, GL_TEXTURE_MAX_ANISOTROPY_EXT), 1.0f);
    EXPECT_EQ(LevelParameter(plain, 1, GL_TEXTURE_WIDTH), 64); // 96 rescaled to 128 by GLU
    EXPECT_EQ(LevelParameter(plain, 0, GL_TEXTURE_INTERNAL_FORMAT), 4);
}

TEST(ImageUploadGL, FailuresReturnNoNameExceptJpegsEmptyTexture) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    testing::internal::CaptureStderr();
    EXPECT_EQ(loadPCXTexture("missing.pcx", false), 0u);
    EXPECT_EQ(loadBMPTexture(CorpusImage("pcx/stones_pcx8.pcx").c_str(), false), 0u);
    const std::string messages = testing::internal::GetCapturedStderr();
    EXPECT_NE(messages.find("error: couldn't open \"missing.pcx\"!"), std::string::npos);
    EXPECT_NE(messages.find("is not a valid BMP file!"), std::string::npos);

    // Progressive files decode; an arithmetic-coded one goes to SDL_image; a 12-bit one
    // neither reads: one message and a name without an image.
    std::string progressive = CorpusImage("jpeg/wall_420_progressive.jpg");
    std::string arithmetic = CorpusImage("jpeg/stones_arithmetic.jpg");
    for (std::string* file : {&progressive, &arithmetic}) {
        const GLuint texture = LoadJPEG(&(*file)[0], false);
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 128) << *file;
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), 4);
    }
    auto bytes = ReadCorpusBytes("jpeg/stones_444.jpg");
    const uint8_t frame[] = {0xFF, 0xC0};
    const size_t sof =
        size_t(std::search(bytes.begin(), bytes.end(), frame, frame + 2) - bytes.begin());
    ASSERT_LT(sof, bytes.size());
    bytes[sof + 1] = 0xC1; // extended sequential, 12-bit samples
    bytes[sof + 4] = 12;
    std::string twelveBit = zarvo_test::MakeTempDir("jpeg") + "/twelve.jpg";
    FILE* f = std::fopen(twelveBit.c_str(), "wb");
    ASSERT_TRUE(f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
    std::fclose(f);
    testing::internal::CaptureStderr();
    const GLuint empty = LoadJPEG(&twelveBit[0], false);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(empty, 0u);
    EXPECT_EQ(LevelParameter(empty, 0, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
    EXPECT_NE(message.find(twelveBit + ": unsupported sample precision, and SDL_image cannot"),
              std::string::npos)
        << message;
}
