#include <gtest/gtest.h>

#include "core/Utils.h"
#include "gl_texture_probe.h"
#include "image/CTGA.h"
#include "image/CTGALoader.h"
#include "image/tgaload.h"
#include "image_compare.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

#include <fstream>

#include <GL/glu.h>

using namespace image_test;

namespace {

GLuint NewBoundTexture() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    return name;
}

void ExpectCheckerboard(GLuint texture) {
    ASSERT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 128);
    ASSERT_EQ(LevelParameter(texture, 0, GL_TEXTURE_HEIGHT), 128);
    EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_LUMINANCE4);
    const auto pixels = TexturePixels(texture, 0, GL_LUMINANCE, 1);
    int wrong = 0;
    for (int r = 0; r < 128; ++r)
        for (int c = 0; c < 128; ++c)
            wrong += pixels[size_t(r * 128 + c)] != (((r ^ c) & 16) ? 0 : 255);
    EXPECT_EQ(wrong, 0);
}

} // namespace

TEST(tgaloadGL, MipmapsUnlessLevelZeroOnlyIsAsked) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    std::string path = CorpusImage("tga/wall_t2_rgb24_13x11.tga");
    for (unsigned flags : {0u, TGA_NO_MIPMAPS}) {
        const GLuint texture = NewBoundTexture();
        image_t image;
        tgaLoad(&path[0], &image, flags | TGA_FREE);
        EXPECT_EQ(image.data, nullptr);
        // GLU's mipmap builder rescales to powers of two: 13x11 becomes 16x8.
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), flags ? 13 : 16);
        EXPECT_EQ(LevelParameter(texture, 1, GL_TEXTURE_WIDTH), flags ? 0 : 8) << flags;
        if (flags) { // an odd row length uploads unshifted
            sDecodedImage expected;
            std::string error;
            const auto bytes = ReadCorpusBytes("tga/wall_t2_rgb24_13x11.tga");
            ASSERT_TRUE(tgaDecode(bytes.data(), bytes.size(), 0, expected, error));
            EXPECT_EQ(TexturePixels(texture, 0, GL_RGB, 3),
                      std::vector<uint8_t>(expected.pixels.get(),
                                           expected.pixels.get() + expected.ByteCount()));
        }
    }
}

TEST(tgaloadGL, FlagWordChoosesTheInternalFormat) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    std::string rgb = CorpusImage("tga/wall_t2_rgb24_bu.tga");
    std::string rgba = CorpusImage("tga/grad_t2_rgba32_bu.tga");
    std::string grey = CorpusImage("tga/earth_t3_grey8_bu.tga");
    struct Case {
        std::string* file;
        unsigned flags;
        GLint internal;
    } cases[] = {
        {&rgb, 0, GL_RGB},
        {&rgb, TGA_LOW_QUALITY, GL_RGB4},
        {&rgba, TGA_LOW_QUALITY, GL_RGBA4},
        {&grey, TGA_LUMINANCE, GL_LUMINANCE},
        {&grey, TGA_ALPHA, GL_ALPHA},
        {&grey, TGA_ALPHA | TGA_LUMINANCE, GL_LUMINANCE},
        {&grey, TGA_LUMINANCE | TGA_LOW_QUALITY, GL_LUMINANCE4},
        {&grey, TGA_ALPHA | TGA_LOW_QUALITY, GL_ALPHA4},
    };
    for (const Case& c : cases) {
        const GLuint texture = NewBoundTexture();
        image_t image;
        tgaLoad(&(*c.file)[0], &image, c.flags | TGA_NO_MIPMAPS | TGA_FREE);
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), c.internal) << c.flags;
    }
    // Compressed wins over 4-bit while compressed textures are allowed.
    for (bool allowed : {true, false}) {
        tgaCompressedTexSupport = allowed;
        const GLuint texture = NewBoundTexture();
        image_t image;
        tgaLoad(&rgb[0], &image, TGA_COMPRESS | TGA_LOW_QUALITY | TGA_NO_MIPMAPS | TGA_FREE);
        EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_COMPRESSED), allowed ? GL_TRUE : GL_FALSE);
        if (!allowed) {
            EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB4);
        }
    }
    tgaCompressedTexSupport = true;
    // TGA_NO_PASS keeps the pixels and uploads nothing.
    const GLuint texture = NewBoundTexture();
    image_t image;
    tgaLoad(&rgb[0], &image, TGA_NO_PASS);
    EXPECT_NE(image.data, nullptr);
    EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_WIDTH), 0);
    tgaFree(&image);
}

TEST(tgaloadGL, FailedLoadsLeaveTheCheckerboard) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    std::string grey = CorpusImage("tga/earth_t3_grey8_bu.tga");
    GLuint texture = NewBoundTexture();
    image_t image;
    testing::internal::CaptureStdout();
    tgaLoad(&grey[0], &image, 0);
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "Must be LUMINANCE or ALPHA greyscale - " + grey + "\n");
    EXPECT_EQ(image.info.width, 128);
    EXPECT_EQ(image.data, nullptr);
    ExpectCheckerboard(texture);

    std::string missing = "no-such-file.tga";
    testing::internal::CaptureStdout();
    texture = tgaLoadAndBind(&missing[0], 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "File not found - no-such-file.tga\n");
    ASSERT_NE(texture, 0u);
    ExpectCheckerboard(texture); // the new name receives it

    // A type the reader does not know has no pixels: reported, not an empty texture.
    std::string unknown = zarvo_test::MakeTempDir("tga") + "/type11.tga";
    std::ofstream(unknown, std::ios::binary)
        << std::string("\0\0\x0b\0\0\0\0\0\0\0\0\0\x04\0\x04\0\x08\0", 18);
    testing::internal::CaptureStdout();
    texture = tgaLoadAndBind(&unknown[0], 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Image type has no pixels to load - " + unknown + "\n");
    ExpectCheckerboard(texture);
}

TEST(tgaloadGL, LoadAndBindUploadsMipmappedIntoANewName) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    std::string path = CorpusImage("tga/grad_t10_rgba32_bu.tga");
    const GLuint texture = tgaLoadAndBind(&path[0], 0);
    tgaSetTexParams(GL_LINEAR, GL_NEAREST, GL_MODULATE);
    EXPECT_EQ(LevelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(LevelParameter(texture, 1, GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAG_FILTER), float(GL_NEAREST));
}

TEST(CTGALoaderGL, UploadsLevelZeroOnly) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    std::string path = CorpusImage("tga/wall_t10_rgb24_7x9.tga");
    CTGALoader loader;
    ASSERT_TRUE(loader.LoadTGA(&path[0]));
    EXPECT_EQ(LevelParameter(loader.texID, 0, GL_TEXTURE_WIDTH), 7);
    EXPECT_EQ(LevelParameter(loader.texID, 1, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(TexturePixels(loader.texID, 0, GL_RGB, 3),
              std::vector<uint8_t>(loader.imageData, loader.imageData + 7 * 9 * 3));
    std::string missing = "missing.tga";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loader.LoadTGA(&missing[0]));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not open texture file: missing.tga\n");

    CTGA tga;
    path = CorpusImage("tga/stones_t2_rgb24_id.tga");
    ASSERT_TRUE(tga.LoadTGA(&path[0]));
    EXPECT_EQ(LevelParameter(tga.texID, 0, GL_TEXTURE_WIDTH), 96);
    EXPECT_EQ(LevelParameter(tga.texID, 1, GL_TEXTURE_WIDTH), 0);
}

// Texture creation by name goes through tgaload: the files with an ID field must give
// the texture their reference pixels would, mipmap rescaling included.
TEST(tgaloadGL, TextureCreationSkipsTheIdField) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    CUtils utils;
    // A copy under a relative name: the dispatch matches "jpeg" etc. anywhere in the path.
    std::string path = "tgaload_id_field.tga";
    for (const char* file : {"tga/stones_t2_rgb24_id.tga", "tga/grad_t10_rgba32_id.tga"}) {
        const auto bytes = ReadCorpusBytes(file);
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
        std::fclose(f);
        const GLuint created = utils.CreateTexture(&path[0]);
        const zarvo_test::RefImage ref = ReadReference(ReferenceOf(file));
        const GLenum format = ref.channels == 4 ? GL_RGBA : GL_RGB;
        const GLuint expected = NewBoundTexture();
        gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(format), ref.width, ref.height, format,
                          GL_UNSIGNED_BYTE, ref.pixels.data());
        EXPECT_EQ(TexturePixels(created, 0, format, ref.channels),
                  TexturePixels(expected, 0, format, ref.channels))
            << file;
    }
    std::remove(path.c_str());
}
