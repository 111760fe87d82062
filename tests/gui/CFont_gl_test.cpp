// Text drawn through a made-up font, with and without the text shader, and read back.
#include <gtest/gtest.h>

#include "gui/CFont.h"
#include "gui/CFontManager.h"
#include "render3d/CShaderManager.h"
#include "support/demo_fixtures.h"

#include <vector>

using namespace zarvo_test;

constexpr int kWin = 256;

// A 256 x 256 TGA, bottom row first: glyph 'A' of set 0 opaque white, of set 1 opaque red,
// every other cell transparent.
static std::string WriteTestFont() {
    std::string tga("\0\0\2\0\0\0\0\0\0\0\0\0\0\1\0\1\x20\x08", 18);
    for (int row = 255; row >= 0; --row)
        for (int x = 0; x < 256; ++x) {
            const int glyph = row / 16 * 16 + x / 16;
            const char on = glyph == 'A' - 32 ? char(255) : 0; // B, G, R, A
            tga += glyph == 128 + 'A' - 32 ? std::string{0, 0, char(255), char(255)}
                                           : std::string{on, on, on, on};
        }
    const std::string path = MakeTempDir("font") + "/testfont.tga";
    EXPECT_TRUE(WriteFileBytes(path, tga));
    return path;
}

static bool Lit(int x, int y) {
    return ReadPixelTopDown(x, y).r > 128;
}

// Parameter: built while the shader table exists (the text shader) or not (fixed pipeline).
class FontGL : public PixelViewGL<kWin, ::testing::TestWithParam<bool>> {
protected:
    CFont& TestFont() {
        static CFont* fonts[2] = {nullptr, nullptr};
        CFont*& font = fonts[GetParam()];
        if (!font) {
            g_ShaderManager = GetParam() ? BuiltInShaders() : nullptr;
            font = new CFont();
            font->BuildFont(WriteTestFont().data());
            g_ShaderManager = nullptr;
        }
        return *font;
    }
};

INSTANTIATE_TEST_SUITE_P(ShaderAndFixedPipeline, FontGL, ::testing::Bool());

TEST_P(FontGL, GlyphsStartAtXYWhateverTheModelviewAdvanceTwelveBoldAddsOneAndStateIsRestored) {
    CFont& font = TestFont();
    // Prints on a cleared screen at (3, 5); the extent of lit pixels on row y, or {-1, -1}.
    auto span = [&](int y, int set, const char* text, float scale = 1.0f) {
        Clear();
        glTranslatef(50, 50, 0); // ignored
        font.PrintText(3, 5, set, 1, 1, 1, 1, scale, scale, text);
        glLoadIdentity();
        std::pair<int, int> s{-1, -1};
        for (int x = 0; x < kWin; ++x)
            if (Lit(x, y)) s = {s.first < 0 ? x : s.first, x};
        return s;
    };
    const std::vector<uint8_t> blank = ReadFramebufferTopDown(kWin, kWin);
    font.PrintText(3, 5, 0, nullptr);
    EXPECT_EQ(ReadFramebufferTopDown(kWin, kWin), blank) << "null format";
    EXPECT_EQ(span(12, 0, "A"), std::make_pair(3, 18));
    EXPECT_TRUE(Lit(3, 5) && Lit(10, 20) && !Lit(10, 4) && !Lit(10, 21));
    // Glyphs at 3, 15 (a transparent space) and 27.
    EXPECT_EQ(span(12, 0, "A A"), std::make_pair(3, 27 + 15));
    EXPECT_FALSE(Lit(20, 12));
    EXPECT_EQ(span(20, 0, "A A", 2.0f), std::make_pair(3, 3 + 48 + 31)); // quads and advance
    EXPECT_TRUE(Lit(4, 5 + 31) && !Lit(4, 5 + 32)); // corners blend with the cells beside
    // Bold (sets 2 and 3) adds a copy one pixel right; sets above 3 draw as 3.
    EXPECT_EQ(span(12, 2, "A"), std::make_pair(3, 19));
    EXPECT_GT(ReadPixelTopDown(10, 12).g, 128); // set 0: white
    EXPECT_EQ(span(12, 3, "A"), std::make_pair(3, 19));
    const std::vector<uint8_t> set3 = ReadFramebufferTopDown(kWin, kWin);
    EXPECT_TRUE(ReadPixelTopDown(10, 12).r > 200 && ReadPixelTopDown(10, 12).g < 50);
    span(12, 9, "A");
    EXPECT_EQ(ReadFramebufferTopDown(kWin, kWin), set3);

    // Every touched state is as before the call.
    const GLenum caps[] = {GL_TEXTURE_2D, GL_DEPTH_TEST, GL_LIGHTING, GL_SCISSOR_TEST, GL_BLEND};
    auto state = [&caps] { // every piece of state the font touches
        std::vector<double> s;
        for (GLenum cap : caps)
            s.push_back(glIsEnabled(cap));
        for (GLenum name :
             {GL_MATRIX_MODE, GL_BLEND_SRC, GL_BLEND_DST, GL_PROJECTION_STACK_DEPTH,
              GL_MODELVIEW_STACK_DEPTH, GL_VIEWPORT, GL_PROJECTION_MATRIX, GL_MODELVIEW_MATRIX}) {
            GLfloat v[16] = {};
            glGetFloatv(name, v);
            s.insert(s.end(), v, v + 16);
        }
        return s;
    };
    for (bool on : {false, true}) {
        for (GLenum cap : caps)
            on ? glEnable(cap) : glDisable(cap);
        glBlendFunc(on ? GL_ONE : GL_DST_COLOR, on ? GL_ZERO : GL_SRC_ALPHA);
        glViewport(8, 4, 200, 180);
        glMatrixMode(GL_PROJECTION);
        glFrustum(-1, 1, -1, 1, 1, 100);
        glMatrixMode(GL_MODELVIEW);
        glTranslatef(3, 4, 5);
        glMatrixMode(on ? GL_TEXTURE : GL_PROJECTION);
        const std::vector<double> before = state();
        font.PrintText(3, 5, 2, "Current FPS: %d", 60);
        font.PrintText(CVector2(3, 5), 3, "x");
        EXPECT_EQ(before, state());
        EXPECT_EQ(TakeGLError(), GLenum(GL_NO_ERROR));
    }
}

TEST(FontManagerGL, LoadedFontsAreReleasedWithTheManagerRegisteredOnesAreNot) {
    ZARVO_REQUIRE_GL(kWin, kWin);
    std::string path = WriteTestFont();
    CFont registered;
    registered.BuildFont(path.data());
    CFontManager* manager = new CFontManager();
    manager->LoadFont(path.c_str());
    manager->RegisterFont(&registered);
    const GLuint loadedLists = manager->getFont(1)->GetListBase();
    EXPECT_TRUE(loadedLists != 0 && glIsList(loadedLists));
    delete manager;
    EXPECT_FALSE(glIsList(loadedLists) || glIsList(loadedLists + 255));
    EXPECT_TRUE(glIsList(registered.GetListBase()));
}
