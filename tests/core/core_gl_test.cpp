// The core under a real window, read back from GL, and the program run from any folder.
#include <gtest/gtest.h>

#include "core/CEventManager.h"
#include "core/CFrameBuffer.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTexture.h"
#include "image/CTextureManager.h"
#include "image/gl_texture_probe.h"
#include "image/image_compare.h"
#include "support/event_driver.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/program_run.h"
#include "support/test_paths.h"

#include <GL/glu.h>
#include <SDL.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <tuple>
#include <unistd.h>

using image_test::CorpusImage;
using image_test::LevelParameter;
using zarvo_test::ReadPixelTopDown;

namespace {

GLint Integer(GLenum name, int index = 0) {
    GLint v[4] = {};
    glGetIntegerv(name, v);
    return v[index];
}

std::array<float, 16> Matrix(GLenum which = GL_PROJECTION_MATRIX) {
    std::array<float, 16> m;
    glGetFloatv(which, m.data());
    return m;
}

// Starts the window through the graphics core or the whole engine; a failure to start SDL or
// the mode fails the test. What the start printed goes to `out`.
template <typename T>
std::unique_ptr<T> Open(std::unique_ptr<T> what, int w, int h, bool mode2D,
                        std::string* out = nullptr) {
    zarvo_test::PopMatrixStacksToBase();
    testing::internal::CaptureStdout();
    try {
        what->Initialize(w, h, 24, false, mode2D);
    } catch (const std::string& e) {
        ADD_FAILURE() << e;
        what.reset();
    }
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.find("Sorry"), std::string::npos) << printed;
    if (out) *out = printed;
    SDL_GL_SwapBuffers(); // Mesa picks up a re-sized window's buffers at a swap
    return what;
}

TEST(GraphicsCoreGL, TheWindowOpensWithTheRequestedBuffersShadowMapAndPerspective) {
    auto core = std::make_unique<CGraphicsCore>();
    core->SetShadowMapSize(2048, 512);
    core->SetDepthBufferSize(24);
    core->SetStencilBufferSize(8);
    core = Open(std::move(core), 1024, 768, false);
    ASSERT_TRUE(core);
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(std::make_tuple(screen->w, screen->h, bool(screen->flags & SDL_OPENGL),
                              bool(screen->flags & SDL_FULLSCREEN), core->Get3DEnabled()),
              std::make_tuple(1024, 768, true, false, true));
    int depthBits = 0, stencilBits = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depthBits);
    SDL_GL_GetAttribute(SDL_GL_STENCIL_SIZE, &stencilBits);
    EXPECT_TRUE(depthBits >= 24 && stencilBits >= 8) << depthBits << " " << stencilBits;
    // A depth texture of the requested size behind a complete frame buffer object.
    const GLuint map = core->GetShadowMapTexture();
    EXPECT_TRUE(LevelParameter(map, 0, GL_TEXTURE_WIDTH) == 2048 &&
                LevelParameter(map, 0, GL_TEXTURE_HEIGHT) == 512 &&
                LevelParameter(map, 0, GL_TEXTURE_DEPTH_SIZE) > 0);
    ASSERT_TRUE(core->isFBOSupported() && core->GetShadowMapFBO() != 0u);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, core->GetShadowMapFBO());
    EXPECT_EQ(glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT), GLenum(GL_FRAMEBUFFER_COMPLETE_EXT));
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    // The 60-degree perspective at 4:3, also kept as the camera projection.
    const float f = float(1.0 / std::tan(30.0 * M_PI / 180.0));
    const auto m = Matrix();
    EXPECT_LT(std::fabs(m[5] - f) + std::fabs(m[0] - f * 0.75f) + std::fabs(m[11] + 1), 1e-5);
    EXPECT_TRUE(std::equal(m.begin(), m.end(),
                           static_cast<const float*>(*core->GetCameraProjectionMatrix())));
    EXPECT_TRUE(Integer(GL_DEPTH_FUNC) == GL_ALWAYS && glIsEnabled(GL_LIGHTING));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

TEST(GraphicsCoreGL, PixelViewProjectionsStateAndTheFrameBufferImageAt320x200) {
    auto core = Open(std::make_unique<CGraphicsCore>(), 320, 200, false);
    ASSERT_TRUE(core);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(1, 2, 3);
    const auto before = Matrix(), modelview = Matrix(GL_MODELVIEW_MATRIX);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int frame = 0; frame < 3; ++frame) {
        core->InitGlOrthoMode();
        glLoadIdentity();
        glDisable(GL_TEXTURE_2D);
        glPointSize(1.0f);
        glBegin(GL_POINTS); // at the centres of pixel (0, 0) and pixel (319, 199)
        glColor3f(1, 0, 0);
        glVertex2f(0.5f, 0.5f);
        glColor3f(0, 1, 0);
        glVertex2f(320 - 0.5f, 200 - 0.5f);
        glEnd();
        glLoadIdentity();
        glTranslatef(1, 2, 3);
        core->ViewPerspective();
    }
    // The origin is top left.
    const zarvo_test::Rgba tl = ReadPixelTopDown(0, 0), br = ReadPixelTopDown(319, 199);
    EXPECT_EQ(std::make_tuple(tl.r, tl.g, br.r, br.g), std::make_tuple(255, 0, 0, 255));
    EXPECT_EQ(ReadPixelTopDown(319, 0).r + ReadPixelTopDown(0, 199).g, 0);
    // Returning restores the projection and model-view without GL errors.
    EXPECT_TRUE(Matrix() == before && Matrix(GL_MODELVIEW_MATRIX) == modelview);
    EXPECT_TRUE(Integer(GL_PROJECTION_STACK_DEPTH) == 1 && Integer(GL_DEPTH_FUNC) == GL_LEQUAL &&
                glIsEnabled(GL_BLEND));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));

    // SetOrthoMode: the given box with the top at 0, model-view reset.
    core->SetOrthoMode(0, 0, 100, 50);
    EXPECT_TRUE(std::fabs(Matrix()[0] - 0.02f) + std::fabs(Matrix()[5] + 0.04f) < 1e-7f &&
                Matrix(GL_MODELVIEW_MATRIX)[12] == 0.0f);
    core->ViewPerspective();
    EXPECT_EQ(Matrix()[5], before[5]);

    // Height zero counts as one.
    core->Init3DScreen(320, 0);
    const auto m = Matrix();
    EXPECT_TRUE(std::all_of(m.begin(), m.end(), [](float v) { return std::isfinite(v); }));
    EXPECT_NEAR(m[0], before[5] / 320.0f, 1e-6) << "the field of view over an aspect of 320";
    EXPECT_EQ(Integer(GL_VIEWPORT, 3), 1);
    core->Init3DScreen(320, 200);

    // Wireframe and window title reach GL and SDL.
    for (bool wire : {true, false}) {
        core->SetWireFrameMode(wire);
        EXPECT_TRUE(Integer(GL_POLYGON_MODE) == (wire ? GL_LINE : GL_FILL) &&
                    core->GetWireFrameMode() == wire);
    }
    core->setWindowTitle("Title Check");
    char *title = nullptr, *icon = nullptr;
    SDL_WM_GetCaption(&title, &icon);
    EXPECT_STREQ(title ? title : "", "Title Check");

    // The frame buffer image draws its rows bottom to top.
    glClear(GL_COLOR_BUFFER_BIT);
    CFrameBuffer image(4, 2);
    image.SetPixelColor(0, 0, 1, 0, 0); // first row: the bottom one on screen
    image.SetPixelColor(3, 1, 0, 0, 1);
    image.SetPixelColor(4, 0, 1, 1, 1); // outside: ignored
    for (GLenum cap : {GL_BLEND, GL_TEXTURE_2D, GL_DEPTH_TEST})
        glDisable(cap);
    glWindowPos2i(0, 0);
    image.DrawFrameBuffer();
    EXPECT_EQ(ReadPixelTopDown(0, 199).r + ReadPixelTopDown(3, 198).b, 2 * 255);
    EXPECT_EQ(ReadPixelTopDown(1, 199).r + ReadPixelTopDown(4, 199).r, 0) << "zeroed, not garbage";
}

class CursorGL : public ::testing::Test {
protected:
    void SetUp() override {
        if (!SDL_GetVideoSurface()) ZARVO_REQUIRE_GL(1024, 768);
        g_Graphics = new CGraphicsCore();
        m_Normal = zarvo_test::SaveBmp(8, 8, {{0, 0, 255, 0, 0}});
        m_Move = zarvo_test::SaveBmp(8, 8, {{0, 0, 0, 255, 0}});
        zarvo_test::SetPixelView();
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_BLEND);
        glEnable(GL_TEXTURE_2D);
    }
    void TearDown() override {
        delete g_Graphics; // owns the cursor textures
        g_Graphics = nullptr;
        SDL_ShowCursor(1);
    }
    // Warps the pointer and lets the event manager sample it.
    bool MoveMouseTo(int x, int y) {
        if (!zarvo_test::WarpMouse(x, y)) return false;
        m_Events.PollEvents();
        return m_Events.GetMouseX() == x && m_Events.GetMouseY() == y;
    }
    // Draws the cursor over black; each pixel asked for reads 'r'ed, 'g'reen or '.' (black).
    static std::string DrawAndRead(std::initializer_list<std::pair<int, int>> points) {
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        g_Graphics->DrawCustomCursor();
        std::string seen;
        for (const auto& p : points) {
            const zarvo_test::Rgba c = ReadPixelTopDown(p.first, p.second);
            const bool red = (c.r > 200 && c.g < 55), green = (c.g > 200 && c.r < 55);
            seen += red ? 'r' : green ? 'g' : c.r < 55 && c.g < 55 ? '.' : '?';
        }
        return seen;
    }
    CTextureManager m_Textures;
    CEventManager m_Events;
    zarvo_test::ScopedGlobal<CTextureManager> m_TexturesGlobal{g_TextureManager, &m_Textures};
    zarvo_test::ScopedGlobal<CEventManager> m_EventsGlobal{g_EventManager, &m_Events};
    std::string m_Normal, m_Move;
};

TEST_F(CursorGL, TheImageTopLeftIsAtTheMouseAndTheWindowMoveCursorShowsOnlyOnceLoaded) {
    g_Graphics->LoadCustomMouseCursor(m_Normal.data());
    EXPECT_EQ(SDL_ShowCursor(-1), 0) << "the system cursor is hidden";
    ASSERT_TRUE(MoveMouseTo(100, 60));
    EXPECT_EQ(DrawAndRead({{100, 60}, {107, 67}, {99, 60}, {100, 59}, {108, 67}}), "rr...");
    // Before a window-move cursor exists the current one may be null: the normal one draws.
    g_Graphics->setActualCursorToWindowMove(true);
    EXPECT_EQ(g_Graphics->GetCurrentCursor(), nullptr);
    EXPECT_EQ(DrawAndRead({{101, 61}}), "r");
    g_Graphics->LoadCustomMouseCursorOnWindowMove(m_Move.data());
    for (bool move : {true, false}) {
        g_Graphics->setActualCursorToWindowMove(move);
        EXPECT_EQ(DrawAndRead({{101, 61}}), move ? "g" : "r");
    }
    // Loading both at once makes the normal one current.
    g_Graphics->setActualCursorToWindowMove(true);
    g_Graphics->LoadCustomMouseCursors(m_Normal.data(), m_Move.data());
    ASSERT_NE(g_Graphics->GetCurrentCursor(), nullptr);
    EXPECT_EQ(DrawAndRead({{102, 62}}), "r");
}

TEST(DebugDrawing, CubeShowsItsFaceColoursAndRestoresTexturingMatrixAndColour) {
    ZARVO_REQUIRE_GL(64, 64);
    CUtils utils;
    // Whatever earlier tests in this process left behind.
    glUseProgramObjectARB(0);
    zarvo_test::OrthoView(64, 64, -4, 4, -4, 4, -20, 20);
    for (GLenum cap : {GL_LIGHTING, GL_BLEND, GL_CULL_FACE, GL_SCISSOR_TEST})
        glDisable(cap);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LESS);
    glDepthMask(GL_TRUE);
    glClearDepth(1.0);
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
        GLfloat colour[4];
        const auto before = Matrix(GL_MODELVIEW_MATRIX);
        utils.DrawCube(CVector3(0.5f, 0, 0));
        glGetFloatv(GL_CURRENT_COLOR, colour);
        const zarvo_test::Rgba p = zarvo_test::ReadPixelTopDown(32, 32);
        EXPECT_LE(std::max({std::abs(p.r - v[3]), std::abs(p.g - v[4]), std::abs(p.b - v[5])}), 1)
            << "from " << v[0] << "," << v[1] << "," << v[2];
        EXPECT_TRUE(!glIsEnabled(GL_TEXTURE_2D) && Matrix(GL_MODELVIEW_MATRIX) == before);
        EXPECT_EQ(colour[0] + colour[1] + colour[2], 3.0f) << "white again";
    }
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
    int maxDiff = 0, total = 0, count = 0;
    for (int y = 0; y < height; ++y) {
        int refY = int((y + 0.5) * ref.height / height);
        if (rows == Rows::BottomFirst) refY = ref.height - 1 - refY;
        for (int x = 0; x < width; ++x) {
            const int refX = int((x + 0.5) * ref.width / width);
            const uint8_t* e = &ref.pixels[(size_t(refY) * ref.width + refX) * ref.channels];
            const uint8_t* t = &rgba[(size_t(y) * width + x) * 4];
            for (int c = ref.channels == 4 && e[3] == 0 ? 3 : 0; c < ref.channels; ++c) {
                const int d = std::abs(int(t[c]) - int(e[c]));
                maxDiff = std::max(maxDiff, d);
                total += d;
                ++count;
            }
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
    CUtils m_Utils;
    std::vector<GLuint> m_Names;
};

TEST_F(TextureCreationGL, EveryReaderTheDispatchPicksLeavesTheDecodedFile) {
    // Row 0 is the first row a reader hands over: the bottom one for BMP and PCX only. Which
    // reader a path picks is the image buffer tests' business; here each one's upload is.
    struct Row {
        const char *file, *reference;
        Rows rows;
        int maxAllowed;
        bool bmpPath; // the image-library BMP path taken with anisotropic generation
    };
    const Rows T = Rows::TopFirst, B = Rows::BottomFirst;
    const Row rows[] = {
        {"tga/grad_t2_rgba32_bu.tga", "tga/grad_t2_rgba32_bu.ref.pam", T, 0, false},
        {"tga/stones_t10_rgb24_bu.tga", "tga/stones_t10_rgb24_bu.ref.ppm", T, 0, false},
        {"bmp/wall_bmp24.bmp", "bmp/wall_bmp24.ref.ppm", B, 0, false},
        {"pcx/wall_pcx24.pcx", "pcx/wall_pcx24.ref.ppm", B, 0, false},
        {"dds/stones_dxt1_nomip.dds", "dds/stones_dxt1_nomip.ref.ppm", T, 8, false},
        {"jpeg/stones_444.jpg", "jpeg/stones_444.float.ppm", T, 8, false},
        {"src/wall96.png", "tga/wall_t2_rgb24_bu.ref.ppm", T, 0, false},
        // Odd widths and palettes arrive intact on the BMP path.
        {"bmp/wall_bmp24.bmp", "bmp/wall_bmp24.ref.ppm", B, 0, true},
        {"bmp/stones_bmp8.bmp", "bmp/stones_bmp8.ref.ppm", B, 0, true},
        {"bmp/wall_bmp4_64x48.bmp", "bmp/wall_bmp4_64x48.ref.ppm", B, 0, true}};
    for (const Row& r : rows) {
        std::string file = CorpusImage(r.file);
        const GLuint name =
            r.bmpPath ? Keep(m_Utils.CreateTextureFromBMP(file.data())) : Create(file);
        EXPECT_TRUE(SameImage(name, r.reference, r.rows, r.maxAllowed)) << r.file;
    }
    char missing[] = "no/such/file.bmp";
    EXPECT_EQ(m_Utils.CreateTextureFromBMP(missing), 0u);
    EXPECT_EQ(Create("no/such/file.png"), 0u);
    // Texture objects choose on their own, TGA by a substring of the whole path: no name kept,
    // nothing registered.
    CTextureManager manager;
    const zarvo_test::ScopedGlobal<CTextureManager> global(g_TextureManager, &manager);
    {
        CTexture texture(image_test::WriteTemp(
            "tgaimages_object.png", image_test::ReadCorpusBytes("tga/grad_t2_rgba32_bu.tga")));
        EXPECT_TRUE(texture.GetWidth() == 96 && texture.GetHeight() == 64 &&
                    texture.GetFileName().empty() && manager.GetTextures().empty());
        EXPECT_TRUE(
            SameImage(texture.GetTextureName(), "tga/grad_t2_rgba32_bu.ref.pam", Rows::TopFirst));
    }
}

TEST_F(TextureCreationGL, AnisotropicGenerationStaysOffUntilSupportedThenSetsTheMaximum) {
    CGraphicsCore core;
    core.EnableAnistropicTexturing(); // the card's extensions are not known yet
    EXPECT_FALSE(core.isAnisotropicTextureGenerationEnabled());
    const SDL_Surface* screen = SDL_GetVideoSurface();
    core.Initialize(screen->w, screen->h, 24, false, true); // learns them
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
    g_Graphics = nullptr;
}

void Frames(Engine& engine, int count) {
    for (int frame = 0; frame < count; ++frame) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        engine.MainLoop();
        ASSERT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR)) << "frame " << frame;
    }
}

Uint32 g_FakeTicks = 0;

TEST(EngineMainLoopGL, FramesEndInTheModesProjectionTimeOnlyWhileCountingAndDrawTheFpsText) {
    for (const bool mode2D : {true, false}) {
        std::string out;
        auto engine = Open(std::make_unique<Engine>(), 640, 480, mode2D, &out);
        ASSERT_TRUE(engine);
        EXPECT_NE(out.find("Detected Video Card Vendor: "), std::string::npos) << out;
        EXPECT_EQ(g_Graphics->Get3DEnabled(), !mode2D);
        Frames(*engine, 100); // more frames than any projection stack holds
        float m[16];
        glGetFloatv(GL_PROJECTION_MATRIX, m);
        if (mode2D) { // the pixel view
            EXPECT_LT(std::max({std::fabs(m[0] - 2.0f / 640.0f), std::fabs(m[5] + 2.0f / 480.0f),
                                std::fabs(m[12] + 1.0f), std::fabs(m[13] - 1.0f)}),
                      1e-6f);
            continue;
        }
        EXPECT_TRUE(std::equal(
            m, m + 16, static_cast<const float*>(*g_Graphics->GetCameraProjectionMatrix())));
        EXPECT_EQ(std::make_tuple(Integer(GL_PROJECTION_STACK_DEPTH),
                                  Integer(GL_MODELVIEW_STACK_DEPTH), Integer(GL_DEPTH_FUNC)),
                  std::make_tuple(1, 1, GL_LEQUAL));

        // Frame timing advances only while FPS counting is on.
        CUtils::SetTickSource([] { return g_FakeTicks; });
        g_FakeTicks = 100000;
        // Off, on (the first measured frame spans all before it), off again: the value stays.
        for (const auto& step : {std::make_tuple(false, 5, 16u, 0.0),
                                 {true, 2, 16u, 0.016},
                                 {false, 1, 500u, 0.016}}) {
            engine->EnableFPSCounting(std::get<0>(step));
            for (int frame = 0; frame < std::get<1>(step); ++frame) {
                g_FakeTicks += std::get<2>(step);
                engine->MainLoop();
            }
            EXPECT_NEAR(g_Utils->GetFrameInterval(), std::get<3>(step), 1e-3);
        }
        CUtils::SetTickSource(nullptr);

        // "Current FPS: N" only while counting: glyph cells from (3, 5), 16 high, 12 apart.
        for (bool counting : {false, true}) {
            engine->EnableFPSCounting(counting);
            glClearColor(0, 0, 0, 1);
            Frames(*engine, 1);
            const std::vector<uint8_t> px = zarvo_test::ReadFramebufferTopDown(640, 480);
            int x0 = 640, y0 = 60, x1 = -1, y1 = -1; // the lit box in the top 60 rows
            for (int i = 0; i < 640 * 60; ++i) {
                if (std::max({px[4 * i], px[4 * i + 1], px[4 * i + 2]}) <= 100) continue;
                x0 = std::min(x0, i % 640);
                y0 = std::min(y0, i / 640);
                x1 = std::max(x1, i % 640);
                y1 = std::max(y1, i / 640);
            }
            if (!counting) {
                EXPECT_EQ(x1, -1) << "nothing drawn without FPS counting";
                continue;
            }
            EXPECT_TRUE(x0 >= 3 && y0 >= 5 && y1 <= 5 + 15 && x1 <= 3 + 12 * 14 + 15)
                << x0 << "," << y0 << " " << x1 << "," << y1;
            EXPECT_GT(x1, 3 + 12 * 10) << "the text runs over its whole length";
        }
    }
}

// Data/ and shaders/ are found beside the executable, or through ZARVO_DATA_DIR for a copy.
TEST(DataRootGL, TheProgramRunsFromAnyFolder) {
    const std::string env = "SDL_AUDIODRIVER=dummy MESA_EXTENSION_OVERRIDE='-GL_EXT_texture_"
                            "filter_anisotropic -GL_ARB_texture_filter_anisotropic'";
    const std::string elsewhere = zarvo_test::MakeTempDir("elsewhere");
    // Far from any Data/ folder: the program looks a few folders up from itself.
    const std::string lonely = "/tmp/zarvo-lonely-" + std::to_string(::getpid());
    const std::string copy = "rm -rf " + lonely + " && mkdir " + lonely + " && cp ";
    ASSERT_EQ(std::system((copy + ZARVO_BINARY_DIR + "/zarvo " + lonely).c_str()), 0);
    const std::string withVariable = env + " ZARVO_DATA_DIR=" + zarvo_test::SourceDir();
    // The copy runs the demo that loads the most kinds of file.
    for (const auto& run :
         {std::make_tuple(env, std::string("zarvo"), ""),
          std::make_tuple(withVariable, lonely + "/zarvo", "--demo enginetest ")}) {
        const auto [result, image] =
            zarvo_test::RunToFrame(std::get<2>(run) + std::string("--windowed"), 5, elsewhere,
                                   std::get<0>(run), std::get<1>(run));
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(zarvo_test::FindErrorText(result.output), "") << result.output;
        ASSERT_TRUE(image.Valid()) << result.output;
        EXPECT_GT(zarvo_test::MeasureFrame(image).colours, 200u) << "blank frame";
    }
    const auto alone =
        zarvo_test::RunProgram("--windowed --frames 5", elsewhere, env, lonely + "/zarvo");
    EXPECT_NE(alone.status, 0) << "a lonely copy finds nothing without the variable";
    std::system(("rm -rf " + lonely).c_str());
}

} // namespace
