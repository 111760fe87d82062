#pragma once
// FreeType text on a Canvas, with the DejaVu faces packaged by Debian.
#include "tools/assetgen/canvas.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace assetgen {

std::string DejaVuPath(const std::string& file); // e.g. "DejaVuSansMono.ttf"

class TextFace {
public:
    TextFace(const std::string& fontFile, int pixelSize);
    ~TextFace();
    TextFace(const TextFace&) = delete;
    TextFace& operator=(const TextFace&) = delete;

    // Coverage of one character, `left` and `top` relative to the pen on the baseline.
    struct Glyph {
        int width = 0, height = 0, left = 0, top = 0;
        float advance = 0;
        std::vector<uint8_t> coverage;
    };
    Glyph Render(uint32_t code) const;
    float Measure(const std::string& text, float tracking = 0) const;
    // Draws text with its baseline at y; returns the pen position after it.
    float Draw(Canvas& canvas, const std::string& text, float x, float y, const Color& color,
               float tracking = 0) const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace assetgen
