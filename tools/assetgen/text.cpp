#include "tools/assetgen/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace assetgen {

std::string DejaVuPath(const std::string& file) {
    for (const char* dir : {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/dejavu/",
                            "/usr/local/share/fonts/"}) {
        std::string path = std::string(dir) + file;
        if (std::filesystem::exists(path)) return path;
    }
    throw std::runtime_error("font not found: " + file + " (install fonts-dejavu-core)");
}

struct TextFace::Impl {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
};

TextFace::TextFace(const std::string& fontFile, int pixelSize) : impl_(new Impl) {
    if (FT_Init_FreeType(&impl_->library))
        throw std::runtime_error("FreeType initialisation failed");
    if (FT_New_Face(impl_->library, fontFile.c_str(), 0, &impl_->face)) {
        FT_Done_FreeType(impl_->library);
        throw std::runtime_error("cannot open font " + fontFile);
    }
    FT_Set_Pixel_Sizes(impl_->face, 0, pixelSize);
}

TextFace::~TextFace() {
    FT_Done_Face(impl_->face);
    FT_Done_FreeType(impl_->library);
}

TextFace::Glyph TextFace::Render(uint32_t code) const {
    Glyph g;
    if (FT_Load_Char(impl_->face, code, FT_LOAD_RENDER)) return g;
    FT_GlyphSlot slot = impl_->face->glyph;
    g.width = static_cast<int>(slot->bitmap.width);
    g.height = static_cast<int>(slot->bitmap.rows);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.advance = slot->advance.x / 64.0f;
    g.coverage.resize(static_cast<size_t>(g.width) * g.height);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x)
            g.coverage[y * g.width + x] = slot->bitmap.buffer[y * slot->bitmap.pitch + x];
    return g;
}

float TextFace::Measure(const std::string& text, float tracking) const {
    float w = 0;
    for (unsigned char c : text)
        w += Render(c).advance + tracking;
    return w - tracking;
}

float TextFace::Draw(Canvas& canvas, const std::string& text, float x, float y, const Color& color,
                     float tracking) const {
    for (unsigned char c : text) {
        Glyph g = Render(c);
        int ox = static_cast<int>(std::lround(x)) + g.left,
            oy = static_cast<int>(std::lround(y)) - g.top;
        for (int gy = 0; gy < g.height; ++gy)
            for (int gx = 0; gx < g.width; ++gx)
                canvas.Blend(ox + gx, oy + gy, color, g.coverage[gy * g.width + gx] / 255.0f);
        x += g.advance + tracking;
    }
    return x;
}

} // namespace assetgen
