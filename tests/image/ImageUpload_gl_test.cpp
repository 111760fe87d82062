// What each reader leaves in GL: levels, internal formats, parameters and pixels.
#include <gtest/gtest.h>

#include "gl_texture_probe.h"
#include "image/CTGA.h"
#include "image/CTGALoader.h"
#include "image/bmp.h"
#include "image/dds.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"
#include "image_compare.h"
#include "support/gl_context.h"

using namespace image_test;

static GLuint Bound() {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    return name;
}

// tgaLoad into a new bound name.
static GLuint Load(std::string path, unsigned flags, image_t* keep = nullptr) {
    const GLuint name = Bound();
    image_t image;
    tgaLoad(&path[0], keep ? keep : &image, flags);
    return name;
}

static GLint Level0(GLuint texture, GLenum parameter) {
    return LevelParameter(texture, 0, parameter);
}

class ImageUploadGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        ZARVO_REQUIRE_CORPUS();
    }
    const std::string rgb = CorpusImage("tga/wall_t2_rgb24_bu.tga");
    const std::string rgba = CorpusImage("tga/grad_t2_rgba32_bu.tga");
    const std::string grey = CorpusImage("tga/earth_t3_grey8_bu.tga");
};

TEST_F(ImageUploadGL, TgaMipmapsUnlessLevelZeroOnlyIsAskedAndTheFlagsChooseTheInternalFormat) {
    const std::string odd = "tga/wall_t2_rgb24_13x11.tga";
    sDecodedImage expected;
    std::string error;
    const Bytes bytes = ReadCorpusBytes(odd);
    ASSERT_TRUE(tgaDecode(bytes.data(), bytes.size(), 0, expected, error));
    for (unsigned flags : {0u, TGA_NO_MIPMAPS}) {
        image_t image;
        const GLuint texture = Load(CorpusImage(odd), flags | TGA_FREE, &image);
        EXPECT_EQ(image.data, nullptr);
        // GLU's mipmap builder rescales to powers of two: 13x11 becomes 16x8.
        EXPECT_EQ(Level0(texture, GL_TEXTURE_WIDTH), flags ? 13 : 16);
        EXPECT_EQ(LevelParameter(texture, 1, GL_TEXTURE_WIDTH), flags ? 0 : 8) << flags;
        // An odd row length uploads unshifted.
        EXPECT_TRUE(!flags || TexturePixels(texture, 0, GL_RGB, 3) == PixelBytes(expected));
    }

    const auto internal = [](const std::string& file, unsigned flags) {
        return Level0(Load(file, flags | TGA_NO_MIPMAPS | TGA_FREE), GL_TEXTURE_INTERNAL_FORMAT);
    };
    EXPECT_EQ(internal(rgb, 0), GL_RGB);
    EXPECT_EQ(internal(rgb, TGA_LOW_QUALITY), GL_RGB4);
    EXPECT_EQ(internal(rgba, TGA_LOW_QUALITY), GL_RGBA4);
    EXPECT_EQ(internal(grey, TGA_LUMINANCE), GL_LUMINANCE);
    EXPECT_EQ(internal(grey, TGA_ALPHA), GL_ALPHA);
    EXPECT_EQ(internal(grey, TGA_ALPHA | TGA_LUMINANCE), GL_LUMINANCE);
    EXPECT_EQ(internal(grey, TGA_LUMINANCE | TGA_LOW_QUALITY), GL_LUMINANCE4);
    EXPECT_EQ(internal(grey, TGA_ALPHA | TGA_LOW_QUALITY), GL_ALPHA4);
    // Compressed wins over 4-bit while compressed textures are allowed.
    for (bool allowed : {true, false}) {
        tgaCompressedTexSupport = allowed;
        const GLuint texture =
            Load(rgb, TGA_COMPRESS | TGA_LOW_QUALITY | TGA_NO_MIPMAPS | TGA_FREE);
        EXPECT_EQ(Level0(texture, GL_TEXTURE_COMPRESSED), allowed ? GL_TRUE : GL_FALSE);
        EXPECT_EQ(Level0(texture, GL_TEXTURE_INTERNAL_FORMAT) == GL_RGB4, !allowed);
    }
    tgaCompressedTexSupport = true;
    // TGA_NO_PASS keeps the pixels and uploads nothing.
    image_t image;
    EXPECT_EQ(Level0(Load(rgb, TGA_NO_PASS, &image), GL_TEXTURE_WIDTH), 0);
    EXPECT_NE(image.data, nullptr);
    tgaFree(&image);
}

TEST_F(ImageUploadGL, FailedTgaLoadsLeaveTheCheckerboardOthersNoNameExceptJpegsEmptyTexture) {
    // A type the reader does not know has no pixels: reported, not an empty texture.
    const std::string unknown =
        WriteTemp("type11.tga", {0, 0, 11, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 4, 0, 8, 0});
    const std::pair<std::string, std::string> cases[] = {
        {grey, "Must be LUMINANCE or ALPHA greyscale - " + grey + "\n"},
        {"no-such-file.tga", "File not found - no-such-file.tga\n"},
        {unknown, "Image type has no pixels to load - " + unknown + "\n"}};
    Bytes board; // 128 x 128 in squares of 16
    for (int i = 0; i < 128 * 128; ++i)
        board.push_back(((i / 128 ^ i % 128) & 16) ? 0 : 255);
    for (const auto& c : cases)
        for (bool andBind : {false, true}) { // which makes the name first, so it gets the board
            std::string path = c.first;
            image_t image{};
            testing::internal::CaptureStdout();
            const GLuint texture = andBind ? tgaLoadAndBind(&path[0], 0) : Bound();
            if (!andBind) tgaLoad(&path[0], &image, 0);
            EXPECT_EQ(testing::internal::GetCapturedStdout(), c.second);
            EXPECT_TRUE(andBind || (image.data == nullptr && image.info.width == 128));
            EXPECT_EQ(Level0(texture, GL_TEXTURE_INTERNAL_FORMAT), GL_LUMINANCE4);
            EXPECT_TRUE(TexturePixels(texture, 0, GL_LUMINANCE, 1) == board) << c.first << andBind;
        }
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
        EXPECT_EQ(Level0(texture, GL_TEXTURE_WIDTH), 128) << file;
        EXPECT_EQ(Level0(texture, GL_TEXTURE_INTERNAL_FORMAT), 4);
    }
    Bytes bytes = ReadCorpusBytes("jpeg/stones_444.jpg");
    const size_t sof = FindSegment(bytes, 0xC0);
    bytes[sof + 1] = 0xC1; // extended sequential, 12-bit samples
    bytes[sof + 4] = 12;
    std::string twelveBit = WriteTemp("twelve.jpg", bytes);
    testing::internal::CaptureStderr();
    GLuint texture = LoadJPEG(&twelveBit[0], false);
    const std::string message = testing::internal::GetCapturedStderr();
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(Level0(texture, GL_TEXTURE_WIDTH), 0);
    EXPECT_NE(message.find(twelveBit + ": unsupported sample precision, and SDL_image cannot"),
              std::string::npos);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;

    // A DDS file of zero mipmaps uploads nothing but gives a name.
    bytes = ReadCorpusBytes("dds/grad_dxt5_nomip.dds");
    PutLE32(bytes, 4 + 24, 0);
    texture = loadDDSTexture(WriteTemp("nolevels.dds", bytes).c_str());
    EXPECT_NE(texture, 0u);
    EXPECT_EQ(Level0(texture, GL_TEXTURE_WIDTH), 0);
}

TEST_F(ImageUploadGL, TgaLoadAndBindAndTheOtherReadersUploadWithMipmapsAndAnisotropyWhenAsked) {
    std::string path = CorpusImage("tga/grad_t10_rgba32_bu.tga");
    const GLuint bound = tgaLoadAndBind(&path[0], 0);
    tgaSetTexParams(GL_LINEAR, GL_NEAREST, GL_MODULATE);
    EXPECT_EQ(Level0(bound, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(LevelParameter(bound, 1, GL_TEXTURE_WIDTH), 64);
    EXPECT_EQ(TextureParameter(bound, GL_TEXTURE_MAG_FILTER), float(GL_NEAREST));

    // CTGALoader and CTGA upload level 0 only.
    path = CorpusImage("tga/wall_t10_rgb24_7x9.tga");
    CTGALoader loader;
    ASSERT_TRUE(loader.LoadTGA(&path[0]));
    EXPECT_EQ(LevelParameter(loader.texID, 1, GL_TEXTURE_WIDTH), 0);
    EXPECT_EQ(TexturePixels(loader.texID, 0, GL_RGB, 3),
              Bytes(loader.imageData, loader.imageData + 7 * 9 * 3));
    std::string missing = "missing.tga";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(loader.LoadTGA(&missing[0]));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Could not open texture file: missing.tga\n");
    CTGA tga;
    path = CorpusImage("tga/stones_t2_rgb24_id.tga");
    ASSERT_TRUE(tga.LoadTGA(&path[0]));
    EXPECT_EQ(Level0(tga.texID, GL_TEXTURE_WIDTH), 96);
    EXPECT_EQ(LevelParameter(tga.texID, 1, GL_TEXTURE_WIDTH), 0);
    // GLU's mipmap builder rescales level 0 to powers of two: 13x11 becomes 16x8.
    GLfloat most = 0;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &most);
    ASSERT_GT(most, 1.0f);
    const auto pcx = [](const char* file, bool aniso) {
        return loadPCXTexture(CorpusImage(file).c_str(), aniso);
    };
    std::string jpeg = CorpusImage("jpeg/wall_420.jpg");
    const GLenum mipmaps = GL_LINEAR_MIPMAP_LINEAR;
    // Texture, level 0 width (level 1 is half), internal format, minifying filter, anisotropy.
    const std::tuple<GLuint, GLint, GLint, GLenum, float> uploads[] = {
        {pcx("pcx/wall_pcx8_13x11.pcx", false), 16, 3, mipmaps, 1},
        {loadBMPTexture(CorpusImage("bmp/wall_bmp24_13x11.bmp").c_str(), false), 16, 3, mipmaps, 1},
        {pcx("pcx/stones_pcx8.pcx", true), 128, 3, GL_LINEAR, most},
        {LoadJPEG(&jpeg[0], true), 128, 4, mipmaps, most},
        {LoadJPEG(&jpeg[0], false), 128, 4, mipmaps, 1},
    };
    for (const auto& [texture, width0, internal, minFilter, anisotropy] : uploads) {
        ASSERT_NE(texture, 0u) << width0 << " " << internal;
        EXPECT_EQ(Level0(texture, GL_TEXTURE_WIDTH), width0) << texture;
        EXPECT_EQ(LevelParameter(texture, 1, GL_TEXTURE_WIDTH), width0 / 2) << texture;
        EXPECT_EQ(Level0(texture, GL_TEXTURE_INTERNAL_FORMAT), internal) << texture;
        EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MIN_FILTER), float(minFilter)) << texture;
        EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAX_ANISOTROPY_EXT), anisotropy) << texture;
    }
    EXPECT_EQ(TextureParameter(std::get<0>(uploads[2]), GL_TEXTURE_WRAP_S), float(GL_REPEAT));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
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
            const auto size = [&](int full) { return stored ? std::max(1, full >> level) : 0; };
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_WIDTH), size(dds.width));
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_HEIGHT), size(dds.height));
            EXPECT_EQ(LevelParameter(texture, level, GL_TEXTURE_COMPRESSED), stored) << level;
        }
        EXPECT_EQ(TextureParameter(texture, GL_TEXTURE_MAX_LEVEL), float(dds.levels - 1)) << file;
    }
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}
