#include <gtest/gtest.h>

#include "core/Engine.h"
#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/pixel_view.h"
#include "support/test_paths.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kWin = 256;

// A 256 x 256 font image: glyph 'A' of set 0 is opaque white, glyph 'A' of set 1 opaque
// red, everything else transparent. Stored bottom-up like most TGA files.
std::string WriteTestFont() {
    const std::string path = zarvo_test::MakeTempDir("font") + "/testfont.tga";
    std::vector<unsigned char> rgba(256 * 256 * 4, 0); // image rows, top first
    auto fillCell = [&](int glyph, unsigned char r, unsigned char g, unsigned char b) {
        const int cx = (glyph % 16) * 16, cy = (glyph / 16) * 16;
        for (int y = cy; y < cy + 16; ++y)
            for (int x = cx; x < cx + 16; ++x) {
                unsigned char* p = &rgba[(size_t(y) * 256 + x) * 4];
                p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
            }
    };
    fillCell('A' - 32, 255, 255, 255);
    fillCell(128 + 'A' - 32, 255, 0, 0);
    unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 32, 8};
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fwrite(header, 1, sizeof header, f);
    for (int row = 255; row >= 0; --row)
        for (int x = 0; x < 256; ++x) {
            const unsigned char* p = &rgba[(size_t(row) * 256 + x) * 4];
            const unsigned char bgra[4] = {p[2], p[1], p[0], p[3]};
            std::fwrite(bgra, 1, 4, f);
        }
    std::fclose(f);
    return path;
}

using zarvo_test::BuiltInShaders;

// withShader: built while the shader table exists, so it draws through the text shader;
// otherwise through the fixed pipeline.
CFont& BuildTestFont(bool withShader) {
    static CFont* fonts[2] = {nullptr, nullptr};
    CFont*& font = fonts[withShader];
    if (!font) {
        g_ShaderManager = withShader ? BuiltInShaders() : nullptr;
        font = new CFont();
        std::string path = WriteTestFont();
        font->BuildFont(path.data());
        g_ShaderManager = nullptr;
    }
    return *font;
}

void ClearScreen() {
    zarvo_test::SetPixelView();
    glDisable(GL_SCISSOR_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

bool Lit(int x, int y) {
    return zarvo_test::ReadPixelTopDown(x, y).r > 128;
}

// Horizontal extent [first, last] of lit pixels on row y, or {-1, -1}.
std::pair<int, int> LitSpan(int y) {
    int first = -1, last = -1;
    for (int x = 0; x < kWin; ++x)
        if (Lit(x, y)) {
            if (first < 0) first = x;
            last = x;
        }
    return {first, last};
}

class FontGL : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kWin, kWin);
        ClearScreen();
    }
    CFont& TestFont() { return BuildTestFont(GetParam()); }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(ShaderAndFixedPipeline, FontGL, ::testing::Bool());

TEST_P(FontGL, FirstGlyphTopLeftIsAtXYAndThePenAdvancesTwelvePixels) {
    CFont& font = TestFont();
    font.PrintText(3, 5, 0, "A");
    EXPECT_EQ(LitSpan(12), std::make_pair(3, 18));
    EXPECT_TRUE(Lit(3, 5));
    EXPECT_TRUE(Lit(10, 20));
    EXPECT_FALSE(Lit(10, 4));
    EXPECT_FALSE(Lit(10, 21));

    ClearScreen();
    font.PrintText(3, 5, 0, "A A");
    // glyphs at 3, 15 (space, transparent) and 27: 12-unit advance, 16-unit quads
    EXPECT_EQ(LitSpan(12), std::make_pair(3, 27 + 15));
    EXPECT_FALSE(Lit(20, 12));

    ClearScreen();
    font.PrintText(3, 5, 0, 1, 1, 1, 1, 2.0f, 2.0f, "A A");
    // scale 2 scales the quads and the advance about the start point
    EXPECT_EQ(LitSpan(20), std::make_pair(3, 3 + 48 + 31));
    EXPECT_TRUE(Lit(4, 5 + 31)); // corner pixels blend with the transparent cells beside
    EXPECT_FALSE(Lit(4, 5 + 32));
}

TEST_P(FontGL, BoldIsASecondCopyOnePixelRightAndSetNineDrawsAsSetThree) {
    CFont& font = TestFont();
    font.PrintText(3, 5, 2, "A");
    EXPECT_EQ(LitSpan(12), std::make_pair(3, 19));
    EXPECT_GT(zarvo_test::ReadPixelTopDown(10, 12).g, 128); // set 0: white

    ClearScreen();
    font.PrintText(3, 5, 3, "A");
    const std::vector<uint8_t> set3 = zarvo_test::ReadFramebufferTopDown(kWin, kWin);
    const zarvo_test::Rgba red = zarvo_test::ReadPixelTopDown(10, 12);
    EXPECT_GT(red.r, 200);
    EXPECT_LT(red.g, 50);
    EXPECT_EQ(LitSpan(12), std::make_pair(3, 19));

    ClearScreen();
    font.PrintText(3, 5, 9, "A");
    EXPECT_EQ(zarvo_test::ReadFramebufferTopDown(kWin, kWin), set3);
}

TEST_P(FontGL, NullFormatDrawsNothing) {
    CFont& font = TestFont();
    const std::vector<uint8_t> before = zarvo_test::ReadFramebufferTopDown(kWin, kWin);
    font.PrintText(3, 5, 0, nullptr);
    EXPECT_EQ(zarvo_test::ReadFramebufferTopDown(kWin, kWin), before);
}

namespace {

const GLenum kCaps[5] = {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING, GL_SCISSOR_TEST, GL_BLEND};

// Every piece of state the font touches, as one list of numbers.
std::vector<double> GlState() {
    std::vector<double> s;
    for (GLenum cap : kCaps)
        s.push_back(glIsEnabled(cap));
    GLint v[4];
    for (GLenum name : {GL_MATRIX_MODE, GL_BLEND_SRC, GL_BLEND_DST, GL_PROJECTION_STACK_DEPTH,
                        GL_MODELVIEW_STACK_DEPTH}) {
        glGetIntegerv(name, v);
        s.push_back(v[0]);
    }
    glGetIntegerv(GL_VIEWPORT, v);
    s.insert(s.end(), v, v + 4);
    GLfloat m[16];
    for (GLenum name : {GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX}) {
        glGetFloatv(name, m);
        s.insert(s.end(), m, m + 16);
    }
    return s;
}

void SetCaps(bool on) {
    for (GLenum cap : kCaps)
        on ? glEnable(cap) : glDisable(cap);
}

} // namespace

TEST_P(FontGL, EveryTouchedStateIsAsBeforeTheCall) {
    CFont& font = TestFont();
    for (bool capsOn : {false, true}) {
        SetCaps(capsOn);
        glBlendFunc(capsOn ? GL_ONE : GL_DST_COLOR, capsOn ? GL_ZERO : GL_SRC_ALPHA);
        glViewport(8, 4, 200, 180);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glFrustum(-1, 1, -1, 1, 1, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(3, 4, 5);
        glMatrixMode(capsOn ? GL_TEXTURE : GL_PROJECTION);
        const std::vector<double> before = GlState();
        font.PrintText(3, 5, 2, "Current FPS: %d", 60);
        font.PrintText(CVector2(3, 5), 3, "x");
        EXPECT_EQ(before, GlState());
        EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
    }
    SetCaps(false);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    zarvo_test::SetPixelView();
    glBlendFunc(GL_ONE, GL_ZERO);
}

TEST_P(FontGL, TextIsPlacedInTheViewportWhateverTheModelview) {
    CFont& font = TestFont();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(50, 50, 0);
    font.PrintText(3, 5, 0, "A");
    glLoadIdentity();
    EXPECT_EQ(LitSpan(12), std::make_pair(3, 18));
}

TEST(FontManagerGL, LoadedFontsAreReleasedWithTheManagerRegisteredOnesAreNot) {
    ZARVO_REQUIRE_GL(kWin, kWin);
    std::string path = WriteTestFont();
    CFont registered;
    registered.BuildFont(path.data());
    GLuint loadedLists = 0;
    {
        CFontManager manager;
        manager.LoadFont(path.c_str());
        manager.RegisterFont(&registered);
        loadedLists = manager.getFont(1)->GetListBase();
        ASSERT_NE(loadedLists, 0u);
        EXPECT_TRUE(glIsList(loadedLists));
    }
    EXPECT_FALSE(glIsList(loadedLists));
    EXPECT_FALSE(glIsList(loadedLists + 255));
    EXPECT_TRUE(glIsList(registered.GetListBase()));
}
