// The debug cube, and texture creation by name: each reader leaves the decoded file.
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

#include <GL/glu.h>
#include <SDL.h>

#include <sys/stat.h>

using image_test::CorpusImage;

namespace {

TEST(DebugDrawing, CubeShowsItsFaceColoursAndRestoresTexturingMatrixAndColour) {
    ZARVO_REQUIRE_GL(64, 64);
    CUtils utils;
    // Whatever earlier tests in this process left behind.
    glUseProgramObjectARB(0);
    glViewport(0, 0, 64, 64);
    for (GLenum cap : {GL_LIGHTING, GL_BLEND, GL_CULL_FACE, GL_SCISSOR_TEST})
        glDisable(cap);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4, 4, -4, 4, -20, 20);
    glMatrixMode(GL_MODELVIEW);
    // Seen along each axis, the cube shows the face turned that way.
    const int views[6][6] = {{0, 0, 5, 255, 0, 0},   {0, 0, -5, 255, 255, 0},
                             {0, 5, 0, 0, 255, 0},   {0, -5, 0, 255, 128, 0},
                             {5, 0, 0, 255, 0, 255}, {-5, 0, 0, 0, 0, 255}};
    for (const int* v : views) {
        glLoadIdentity();
        const bool alongY = v[0] == 0 && v[2] == 0;
        gluLookAt(v[0], v[1], v[2], 0, 0, 0, 0, alongY ? 0 : 1, alongY ? -1 : 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D);
        GLfloat before[16], after[16], colour[4];
        glGetFloatv(GL_MODELVIEW_MATRIX, before);
        utils.DrawCube(CVector3(0.5f, 0, 0));
        glGetFloatv(GL_MODELVIEW_MATRIX, after);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        const zarvo_test::Rgba p = zarvo_test::ReadPixelTopDown(32, 32);
        EXPECT_LE(std::max({std::abs(p.r - v[3]), std::abs(p.g - v[4]), std::abs(p.b - v[5])}), 1)
            << "from " << v[0] << "," << v[1] << "," << v[2];
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(after[i], before[i], 1e-5f);
        EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f) << "white again";
    }
    glDisable(GL_DEPTH_TEST);
    glLoadIdentity();
}

enum class Rows { TopFirst, BottomFirst };

// Level 0 against a reference decode (colour under zero alpha aside); textures stretched to
// powers of two by gluBuild2DMipmaps only on average against the nearest reference pixel.
::testing::AssertionResult SameImage(GLuint name, const std::string& refPath, Rows rows,
                                     int maxAllowed = 0) {
    const int width = image_test::LevelParameter(name, 0, GL_TEXTURE_WIDTH);
    const int height = image_test::LevelParameter(name, 0, GL_TEXTURE_HEIGHT);
    const std::vector<uint8_t> rgba = image_test::TexturePixels(name, 0, GL_RGBA, 4);
    const zarvo_test::RefImage ref = image_test::ReadReference(refPath);
    if (ref.pixels.empty() || width == 0 || height == 0)
        return ::testing::AssertionFailure() << "no image or no reference " << refPath;
    const bool stretched = width != ref.width || height != ref.height;
    if (stretched && ((width & (width - 1)) || (height & (height - 1))))
        return ::testing::AssertionFailure() << "size " << width << "x" << height << ", reference "
                                             << ref.width << "x" << ref.height;
    int maxDiff = 0, total = 0, count = 0;
    for (int y = 0; y < height; ++y) {
        int refY = int((y + 0.5) * ref.height / height);
        if (rows == Rows::BottomFirst) refY = ref.height - 1 - refY;
        for (int x = 0; x < width; ++x) {
            const int refX = int((x + 0.5) * ref.width / width);
            const uint8_t* e = &ref.pixels[(size_t(refY) * ref.width + refX) * ref.channels];
            const uint8_t* t = &rgba[(size_t(y) * width + x) * 4];
            for (int c = ref.channels == 4 && e[3] == 0 ? 3 : 0; c < ref.channels; ++c, ++count)
                maxDiff = std::max(maxDiff, std::abs(int(t[c]) - int(e[c]))),
                total += std::abs(int(t[c]) - int(e[c]));
        }
    }
    const double mean = count ? double(total) / double(count) : 0.0;
    if ((!stretched && maxDiff > maxAllowed) || mean > (stretched ? 8.0 : maxAllowed ? 1.0 : 0.0))
        return ::testing::AssertionFailure() << "max difference " << maxDiff << ", mean " << mean
                                             << (stretched ? " (stretched)" : "");
    return ::testing::AssertionSuccess();
}

class TextureCreationGL : public ::testing::Test {
protected:
    // An open window is used as it is (the graphics core tests open 1024 x 768).
    void SetUp() override {
        ZARVO_REQUIRE_CORPUS();
        if (!SDL_GetVideoSurface()) ZARVO_REQUIRE_GL(1024, 768);
        g_Graphics = nullptr; // anisotropic generation off
    }
    void TearDown() override {
        if (!m_Names.empty()) glDeleteTextures(GLsizei(m_Names.size()), m_Names.data());
    }
    GLuint Keep(GLuint name) {
        m_Names.push_back(name);
        return name;
    }
    GLuint Create(std::string path) { return Keep(m_Utils.CreateTexture(path.data())); }
    // The corpus file under another name in a temporary folder.
    static std::string CopyAs(const std::string& corpusFile, const std::string& name) {
        static const std::string dir = zarvo_test::MakeTempDir("dispatch");
        mkdir((dir + "/tgaimages").c_str(), 0755);
        std::string bytes;
        zarvo_test::ReadFileBytes(CorpusImage(corpusFile), bytes);
        EXPECT_TRUE(zarvo_test::WriteFileBytes(dir + "/" + name, bytes)) << name;
        return dir + "/" + name;
    }
    CUtils m_Utils;
    std::vector<GLuint> m_Names;
};

} // namespace

TEST_F(TextureCreationGL, EveryReaderTheDispatchPicksLeavesTheDecodedFile) {
    // Row 0 is the first row a reader hands over: the bottom one for BMP and PCX only.
    struct Row {
        const char *file, *reference, *copyAs;
        Rows rows;
        int maxAllowed;
        bool bmpPath; // the image-library BMP path taken with anisotropic generation
    };
    const Row rows[] = {
        {"tga/grad_t2_rgba32_bu.tga", "tga/grad_t2_rgba32_bu.ref.pam", "", Rows::TopFirst, 0,
         false},
        {"bmp/wall_bmp24.bmp", "bmp/wall_bmp24.ref.ppm", "", Rows::BottomFirst, 0, false},
        {"pcx/wall_pcx24.pcx", "pcx/wall_pcx24.ref.ppm", "", Rows::BottomFirst, 0, false},
        {"dds/stones_dxt1_nomip.dds", "dds/stones_dxt1_nomip.ref.ppm", "", Rows::TopFirst, 8,
         false},
        {"jpeg/stones_444.jpg", "jpeg/stones_444.float.ppm", "", Rows::TopFirst, 8, false},
        {"src/wall96.png", "tga/wall_t2_rgb24_bu.ref.ppm", "", Rows::TopFirst, 0, false},
        // Odd widths and palettes arrive intact on the BMP path.
        {"bmp/wall_bmp24.bmp", "bmp/wall_bmp24.ref.ppm", "", Rows::BottomFirst, 0, true},
        {"bmp/stones_bmp8.bmp", "bmp/stones_bmp8.ref.ppm", "", Rows::BottomFirst, 0, true},
        {"bmp/wall_bmp4_64x48.bmp", "bmp/wall_bmp4_64x48.ref.ppm", "", Rows::BottomFirst, 0, true},
        // Copies: "tga" anywhere in the path picks TGA; case matters except for BMP and TGA.
        {"tga/stones_t2_rgb24_bu.tga", "tga/stones_t2_rgb24_bu.ref.ppm", "tgaimages/picture.png",
         Rows::TopFirst, 0, false},
        {"src/wall96.png", "tga/wall_t2_rgb24_bu.ref.ppm", "PICTURE.PCX", Rows::TopFirst, 0, false},
        {"tga/stones_t2_rgb24_bu.tga", "tga/stones_t2_rgb24_bu.ref.ppm", "STONES.TGA",
         Rows::TopFirst, 0, false}};
    for (const Row& r : rows) {
        std::string file = *r.copyAs ? CopyAs(r.file, r.copyAs) : CorpusImage(r.file);
        const GLuint name =
            r.bmpPath ? Keep(m_Utils.CreateTextureFromBMP(file.data())) : Create(file);
        EXPECT_TRUE(SameImage(name, r.reference, r.rows, r.maxAllowed))
            << r.file << " " << r.copyAs;
    }
    char missing[] = "no/such/file.bmp";
    EXPECT_EQ(m_Utils.CreateTextureFromBMP(missing), 0u);
    EXPECT_EQ(Create("no/such/file.png"), 0u);
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
    for (const char* file : {"bmp/wall_bmp24.bmp", "src/wall96.png"})
        EXPECT_EQ(
            image_test::TextureParameter(Create(CorpusImage(file)), GL_TEXTURE_MAX_ANISOTROPY_EXT),
            maxAniso)
            << file;
    EXPECT_TRUE(SameImage(m_Names[0], "bmp/wall_bmp24.ref.ppm", Rows::BottomFirst));
    g_Graphics = nullptr;
}

TEST_F(TextureCreationGL, TextureObjectsTakeTheTgaBranchBySubstringToo) {
    CTextureManager manager;
    g_TextureManager = &manager;
    {
        CTexture texture(CopyAs("tga/grad_t2_rgba32_bu.tga", "tgaimages/picture.png"));
        EXPECT_EQ(texture.GetWidth(), 96.0f);
        EXPECT_EQ(texture.GetHeight(), 64.0f);
        EXPECT_EQ(texture.GetFileName(), "") << "the TGA branch keeps no file name";
        EXPECT_TRUE(manager.GetTextures().empty()) << "and registers nothing";
        EXPECT_TRUE(
            SameImage(texture.GetTextureName(), "tga/grad_t2_rgba32_bu.ref.pam", Rows::TopFirst));
        CTexture png(CorpusImage("src/wall96.png"));
        EXPECT_EQ(png.GetFileName(), CorpusImage("src/wall96.png"));
        EXPECT_EQ(manager.GetTextures().size(), 1u);
        EXPECT_TRUE(
            SameImage(png.GetTextureName(), "tga/wall_t2_rgb24_bu.ref.ppm", Rows::TopFirst));
    }
    EXPECT_TRUE(manager.GetTextures().empty());
    g_TextureManager = nullptr;
}
