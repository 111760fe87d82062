#pragma once
#include "image/CTGALoader.h"
#include "math/3DMath.h"

#include <cstdarg>

class CShader;

// One glyph quad of the 16 x 16 font grid: texture (u, v) at unit offset (x, y).
struct sGlyphCorner {
    float u, v, x, y;
};

namespace font_layout {
constexpr int kGlyphCount = 256;
constexpr float kGlyphSize = 16.0f;
constexpr float kAdvance = 12.0f;
constexpr int kTextBufferSize = 152; // 151 characters and the terminator

// The four corners of glyph g (0..255), in the order the display list sends them. Row 0
// of the grid is the top row of the image; the top edge is inset against bleeding.
void GlyphCorners(int glyph, sGlyphCorner out[4]);

// The glyph set a set argument draws (0 or 1) and whether it is bold (sets 2 and up; above
// 3 counts as 3).
struct SetStyle {
    int glyphSet;
    bool bold;
};
SetStyle ResolveSet(char set);

// Formats into buffer (size bytes), truncating text that does not fit. Returns false and
// leaves an empty string when fmt is null.
bool FormatText(char* buffer, int size, const char* fmt, va_list args);
} // namespace font_layout

// A bitmap font: a 16 x 16 glyph grid from a TGA image, drawn through 256 display lists.
class CFont {
public:
    // Colour stored red, blue, green, alpha like every colour record of the engine.
    struct Color {
        float r, b, g, a;
    };

    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // Loads the image and builds the lists. An image that cannot be loaded ends the
    // program with a message naming the file and a failure status.
    bool BuildFont(char* file);
    bool KillFont();
    bool SetSize(float x, float y);
    void SetFontColor(float r, float g, float b, float a);
    template <typename ColorRecord> void SetFontColor(ColorRecord c) {
        m_Color = Color{c.r, c.b, c.g, c.a};
    }

    bool PrintText(int x, int y, char set, const char* fmt, ...);
    bool PrintText(CVector2 pos, char set, const char* fmt, ...);
    bool PrintText(int x, int y, char set, float r, float g, float b, const char* fmt, ...);
    bool PrintText(int x, int y, char set, float r, float g, float b, float a, float scaleX,
                   float scaleY, const char* fmt, ...);

    unsigned int GetListBase() const { return m_ListBase; }
    unsigned int GetTextureName() const;
    const char* GetText() const { return m_Text; }
    Color GetColor() const { return m_Color; }

private:
    struct DrawArgs {
        float x, y;
        char set;
        float r, g, b, a;
        float scaleX, scaleY;
        bool setTextPosition; // the vector form also hands the bold pass's position over
    };
    bool Print(const DrawArgs& args, const char* fmt, va_list list);
    void DrawPass(const DrawArgs& args, int glyphSet, float x, bool secondPass);

    unsigned int m_ListBase = 0;
    float m_ScaleX = 1.0f;
    float m_ScaleY = 1.0f;
    Color m_Color{1.0f, 1.0f, 1.0f, 1.0f};
    CShader* m_Shader = nullptr;
    char m_Text[font_layout::kTextBufferSize] = {};
    CTGALoader m_Image;
    bool m_Built = false;
};
