// Texture creation by file name: every reader the dispatch can pick must leave the
// decoded file in the texture, read back with glGetTexImage.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTexture.h"
#include "image/CTextureManager.h"
#include "image/gl_texture_probe.h"
#include "image/image_compare.h"
#include "support/gl_context.h"
#include "support/netpbm.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

struct Level0 {
    int width = 0, height = 0;
    std::vector<uint8_t> rgba; // texture row 0 first
};

Level0 ReadLevel0(GLuint name) {
    return {image_test::LevelParameter(name, 0, GL_TEXTURE_WIDTH),
            image_test::LevelParameter(name, 0, GL_TEXTURE_HEIGHT),
            image_test::TexturePixels(name, 0, GL_RGBA, 4)};
}

enum class Rows { TopFirst, BottomFirst };

// Compares a texture with a reference decode; rows says which reference row the
// texture's row 0 holds. An RGB reference ignores the texture's alpha, and colour under
// zero alpha is not compared. gluBuild2DMipmaps stretches sizes that are not powers of
// two with its own filter, so such textures are compared with the nearest reference
// pixel and only on average (a flipped or wrong image is off by tens of levels).
::testing::AssertionResult SameImage(const Level0& tex, const std::string& refPath, Rows rows,
                                     int maxAllowed = 0, double meanAllowed = 0.0) {
    zarvo_test::RefImage ref;
    std::string error;
    if (!zarvo_test::ReadNetpbm(refPath, ref, &error))
        return ::testing::AssertionFailure() << "reference " << refPath << ": " << error;
    if (tex.width == 0 || tex.height == 0) return ::testing::AssertionFailure() << "no image";
    const bool stretched = tex.width != ref.width || tex.height != ref.height;
    if (stretched && ((tex.width & (tex.width - 1)) || (tex.height & (tex.height - 1))))
        return ::testing::AssertionFailure() << "size " << tex.width << "x" << tex.height
                                             << ", reference " << ref.width << "x" << ref.height;
    int maxDiff = 0;
    long long total = 0, count = 0;
    for (int y = 0; y < tex.height; ++y) {
        int refY = int((y + 0.5) * ref.height / tex.height);
        if (rows == Rows::BottomFirst) refY = ref.height - 1 - refY;
        for (int x = 0; x < tex.width; ++x) {
            const int refX = int((x + 0.5) * ref.width / tex.width);
            const uint8_t* e = &ref.pixels[(size_t(refY) * ref.width + refX) * ref.channels];
            const uint8_t* t = &tex.rgba[(size_t(y) * tex.width + x) * 4];
            const bool transparent = ref.channels == 4 && e[3] == 0;
            for (int c = transparent ? 3 : 0; c < ref.channels; ++c) {
                const int d = std::abs(int(t[c]) - int(e[c]));
                maxDiff = std::max(maxDiff, d);
                total += d;
                ++count;
            }
        }
    }
    const double mean = count ? double(total) / double(count) : 0.0;
    if ((!stretched && maxDiff > maxAllowed) || mean > (stretched ? 8.0 : meanAllowed))
        return ::testing::AssertionFailure() << "max difference " << maxDiff << ", mean " << mean
                                             << (stretched ? " (stretched)" : "");
    return ::testing::AssertionSuccess();
}

using image_test::CorpusImage;

bool CopyFile(const std::string& from, const std::string& to) {
    std::string bytes;
    return zarvo_test::ReadFileBytes(from, bytes) && zarvo_test::WriteFileBytes(to, bytes);
}

class TextureCreationGL : public ::testing::Test {
protected:
    // The engine tests beside these open 1024 x 768 windows through the graphics core;
    // the same size here spares them a resize, and an open window is used as it is.
    void SetUp() override {
        ZARVO_REQUIRE_CORPUS();
        if (!SDL_GetVideoSurface()) ZARVO_REQUIRE_GL(1024, 768);
        g_Graphics = nullptr; // anisotropic generation off
    }
    GLuint Create(const std::string& path) {
        std::string file = path;
        const GLuint name = m_Utils.CreateTexture(file.data());
        m_Names.push_back(name);
        return name;
    }
    void TearDown() override {
        if (!m_Names.empty()) glDeleteTextures(GLsizei(m_Names.size()), m_Names.data());
    }

    CUtils m_Utils;
    std::vector<GLuint> m_Names;
};

} // namespace

TEST_F(TextureCreationGL, EveryReaderLeavesTheDecodedFile) {
    // Texture row 0 is the first row a reader hands over: the first stored row for TGA
    // (these files store the picture's top row first), the bottom row for BMP and PCX,
    // the top row for DDS, JPEG and the image library.
    struct Row {
        const char *file, *reference;
        Rows rows;
        int maxAllowed;
    };
    for (const Row& r :
         {Row{"tga/grad_t2_rgba32_bu.tga", "tga/grad_t2_rgba32_bu.ref.pam", Rows::TopFirst, 0},
          Row{"tga/stones_t10_rgb24_bu.tga", "tga/stones_t10_rgb24_bu.ref.ppm", Rows::TopFirst, 0},
          Row{"bmp/wall_bmp24.bmp", "bmp/wall_bmp24.ref.ppm", Rows::BottomFirst, 0},
          Row{"pcx/wall_pcx24.pcx", "pcx/wall_pcx24.ref.ppm", Rows::BottomFirst, 0},
          Row{"dds/stones_dxt1_nomip.dds", "dds/stones_dxt1_nomip.ref.ppm", Rows::TopFirst, 8},
          Row{"jpeg/stones_444.jpg", "jpeg/stones_444.float.ppm", Rows::TopFirst, 8},
          Row{"src/wall96.png", "tga/wall_t2_rgb24_bu.ref.ppm", Rows::TopFirst, 0}})
        EXPECT_TRUE(SameImage(ReadLevel0(Create(CorpusImage(r.file))), CorpusImage(r.reference),
                              r.rows, r.maxAllowed, r.maxAllowed ? 1.0 : 0.0))
            << r.file;
}

TEST_F(TextureCreationGL, BmpThroughTheImageLibraryPathTurnsRowsBottomUp) {
    // The anisotropic BMP path: odd widths and palettes arrive intact.
    for (const char* name : {"bmp/wall_bmp24", "bmp/stones_bmp8", "bmp/wall_bmp4_64x48"}) {
        std::string file = CorpusImage(std::string(name) + ".bmp");
        const GLuint texture = m_Utils.CreateTextureFromBMP(file.data());
        m_Names.push_back(texture);
        EXPECT_TRUE(SameImage(ReadLevel0(texture), CorpusImage(std::string(name) + ".ref.ppm"),
                              Rows::BottomFirst))
            << name;
    }
    char missing[] = "no/such/file.bmp";
    EXPECT_EQ(m_Utils.CreateTextureFromBMP(missing), 0u);
}

TEST_F(TextureCreationGL, AnisotropicGenerationPicksTheBmpPathAndSetsTheMaximum) {
    CGraphicsCore core;
    const SDL_Surface* screen = SDL_GetVideoSurface();
    core.Initialize(screen->w, screen->h, 24, false, true); // learns the card's extensions
    core.EnableAnistropicTexturing();
    if (!core.isAnisotropicTextureGenerationEnabled()) GTEST_SKIP() << "no anisotropic filtering";
    g_Graphics = &core;
    GLfloat maxAniso = 0;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maxAniso);
    for (const char* name : {"bmp/wall_bmp24", "src/wall96"}) {
        const std::string ext = std::string(name).rfind("src", 0) == 0 ? ".png" : ".bmp";
        const GLuint texture = Create(CorpusImage(name + ext));
        GLfloat aniso = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, &aniso);
        EXPECT_EQ(aniso, maxAniso) << name;
    }
    EXPECT_TRUE(SameImage(ReadLevel0(m_Names[0]), CorpusImage("bmp/wall_bmp24.ref.ppm"),
                          Rows::BottomFirst));
    g_Graphics = nullptr;
}

TEST_F(TextureCreationGL, TheWholePathIsSearchedAndCaseMattersExceptForBmpAndTga) {
    const std::string dir = zarvo_test::MakeTempDir("dispatch");
    // A folder named tgaimages sends its files to the TGA reader, whatever they are called.
    ASSERT_EQ(system(("mkdir -p '" + dir + "/tgaimages'").c_str()), 0);
    // Upper-case PCX is not the PCX reader's: the image library reads the PNG inside.
    // Upper-case TGA is the TGA reader's.
    for (const auto& c :
         {std::array<const char*, 3>{"tgaimages/picture.png", "tga/stones_t2_rgb24_bu.tga",
                                     "tga/stones_t2_rgb24_bu.ref.ppm"},
          {"PICTURE.PCX", "src/wall96.png", "tga/wall_t2_rgb24_bu.ref.ppm"},
          {"STONES.TGA", "tga/stones_t2_rgb24_bu.tga", "tga/stones_t2_rgb24_bu.ref.ppm"}}) {
        ASSERT_TRUE(CopyFile(CorpusImage(c[1]), dir + "/" + c[0]));
        EXPECT_TRUE(
            SameImage(ReadLevel0(Create(dir + "/" + c[0])), CorpusImage(c[2]), Rows::TopFirst))
            << c[0];
    }

    EXPECT_EQ(Create(dir + "/missing.png"), 0u);
}

TEST_F(TextureCreationGL, TextureObjectsTakeTheTgaBranchBySubstringToo) {
    CTextureManager manager;
    g_TextureManager = &manager;
    const std::string dir = zarvo_test::MakeTempDir("tgaobject");
    ASSERT_EQ(system(("mkdir -p '" + dir + "/tgaimages'").c_str()), 0);
    const std::string tgaAsPng = dir + "/tgaimages/picture.png";
    ASSERT_TRUE(CopyFile(CorpusImage("tga/grad_t2_rgba32_bu.tga"), tgaAsPng));
    {
        CTexture texture(tgaAsPng);
        EXPECT_EQ(texture.GetWidth(), 96.0f);
        EXPECT_EQ(texture.GetHeight(), 64.0f);
        EXPECT_EQ(texture.GetFileName(), "") << "the TGA branch keeps no file name";
        EXPECT_TRUE(manager.GetTextures().empty()) << "and registers nothing";
        EXPECT_TRUE(SameImage(ReadLevel0(texture.GetTextureName()),
                              CorpusImage("tga/grad_t2_rgba32_bu.ref.pam"), Rows::TopFirst));

        CTexture png(CorpusImage("src/wall96.png"));
        EXPECT_EQ(png.GetFileName(), CorpusImage("src/wall96.png"));
        EXPECT_EQ(manager.GetTextures().size(), 1u);
        EXPECT_TRUE(SameImage(ReadLevel0(png.GetTextureName()),
                              CorpusImage("tga/wall_t2_rgb24_bu.ref.ppm"), Rows::TopFirst));
    }
    EXPECT_TRUE(manager.GetTextures().empty());
    g_TextureManager = nullptr;
}
