// The two bitmap fonts: 16 x 16 cells of 16 pixels, character c of set 0 in glyph
// c - 32 and of set 1 in glyph c - 32 + 128, white with a soft dark edge so text
// reads on any background once the text shader tints it.
#include "tools/assetgen/content.h"
#include "tools/assetgen/encoders.h"
#include "tools/assetgen/text.h"

#include <algorithm>

namespace assetgen {

namespace {

constexpr int kCell = 16;
constexpr int kBaseline = 12; // from the top of a cell

struct FontStyle {
    const char* set0;
    const char* set1;
    int pixelSize;
    bool outline; // a full outline; otherwise a drop shadow
};

Canvas BuildSheet(const FontStyle& style) {
    Canvas sheet(kCell * 16, kCell * 16);
    for (int set = 0; set < 2; ++set) {
        TextFace face(DejaVuPath(set == 0 ? style.set0 : style.set1), style.pixelSize);
        for (int code = 33; code < 127; ++code) {
            TextFace::Glyph g = face.Render(static_cast<uint32_t>(code));
            int glyph = set * 128 + code - 32;
            int cellX = (glyph % 16) * kCell, cellY = (glyph / 16) * kCell;
            // Centre the ink in the 12-pixel advance so narrow glyphs do not drift left.
            int x0 = cellX + (12 - g.width) / 2, y0 = cellY + kBaseline - g.top;
            auto coverage = [&](int x, int y) {
                int gx = x - x0, gy = y - y0;
                if (gx < 0 || gy < 0 || gx >= g.width || gy >= g.height) return 0.0f;
                return g.coverage[gy * g.width + gx] / 255.0f;
            };
            for (int y = cellY; y < cellY + kCell; ++y)
                for (int x = cellX; x < cellX + kCell; ++x) {
                    float ink = coverage(x, y);
                    float edge = 0;
                    if (style.outline) {
                        for (int dy = -1; dy <= 1; ++dy)
                            for (int dx = -1; dx <= 1; ++dx)
                                edge = std::max(edge, coverage(x + dx, y + dy));
                    } else {
                        edge = std::max(coverage(x - 1, y - 1), 0.6f * coverage(x - 2, y - 2));
                    }
                    sheet.Blend(x, y, Color{0.05f, 0.05f, 0.08f, 1}, edge * 0.75f);
                    sheet.Blend(x, y, Color{1, 1, 1, 1}, ink);
                }
        }
    }
    // Colour under fully transparent texels stays white so filtering does not darken edges.
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x)
            if (sheet.At(x, y).a == 0) sheet.At(x, y) = Color{1, 1, 1, 0};
    return sheet;
}

} // namespace

void WriteFonts(const std::string& root) {
    WriteFile(root, "Data/Font/font.tga",
              EncodeTga(BuildSheet({"DejaVuSansMono.ttf", "DejaVuSansMono-Oblique.ttf", 15, false}),
                        true));
    WriteFile(root, "Data/Font/fontDemo.tga",
              EncodeTga(BuildSheet({"DejaVuSans-Bold.ttf", "DejaVuSans-BoldOblique.ttf", 14, true}),
                        true));
}

} // namespace assetgen
