#pragma once
// Float RGBA raster that every procedural texture is painted on, plus the seeded
// noise the painters share. Everything here is deterministic for a given seed.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace assetgen {

constexpr float kPi = 3.14159265358979f;

struct Color {
    float r = 0, g = 0, b = 0, a = 1;
};

Color Rgb(int r, int g, int b, float a = 1.0f);
Color Mix(const Color& x, const Color& y, float t);
Color Scale(const Color& c, float k); // scales rgb, keeps alpha
float Clamp01(float v);
float SmoothStep(float e0, float e1, float x);

class Canvas {
public:
    Canvas(int width, int height, Color fill = Color{0, 0, 0, 0});
    int Width() const { return width_; }
    int Height() const { return height_; }
    Color& At(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Color& At(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }

    void FillRect(float x0, float y0, float x1, float y1, const Color& c);
    // Alpha-composites c over the canvas with an antialiased coverage.
    void Blend(int x, int y, const Color& c, float coverage);
    void FillCircle(float cx, float cy, float radius, const Color& c, float soft = 1.0f);
    void FillEllipse(float cx, float cy, float rx, float ry, const Color& c, float soft = 1.0f);
    void Line(float x0, float y0, float x1, float y1, float width, const Color& c);
    void FillPolygon(const std::vector<float>& xy, const Color& c); // even-odd, 4x4 supersampled
    // Multiplies rgb inside a rectangle by a vertical or horizontal ramp (cheap shading).
    void ShadeRect(float x0, float y0, float x1, float y1, float top, float bottom,
                   bool vertical = true);
    // Copies the canvas into tightly packed 8-bit RGBA, top row first.
    std::vector<uint8_t> ToRgba8() const;

private:
    int width_, height_;
    std::vector<Color> pixels_;
};

// A size x size canvas with every pixel set to paint(u, v), where u = x / size and
// v = y / size: the base layer of most procedural textures.
template <class Paint> Canvas PaintSquare(int size, Paint paint) {
    Canvas c(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            c.At(x, y) = paint(static_cast<float>(x) / size, static_cast<float>(y) / size);
    return c;
}

// Seeded lattice value noise with an integer period, so textures tile.
class Noise {
public:
    explicit Noise(uint32_t seed) : seed_(seed) {}
    float Value(float x, float y, int period) const;                               // [0,1]
    float Fbm(float x, float y, int period, int octaves, float gain = 0.5f) const; // [0,1]
    float Hash(int x, int y) const;                                                // [0,1]

private:
    uint32_t seed_;
};

// Small deterministic generator (splitmix64); std distributions differ between libraries.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    float Uniform(); // [0,1)
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

private:
    uint64_t state_;
};

} // namespace assetgen
