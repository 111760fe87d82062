#include "tools/assetgen/canvas.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Color Rgb(int r, int g, int b, float a) {
    return Color{r / 255.0f, g / 255.0f, b / 255.0f, a};
}

Color Mix(const Color& x, const Color& y, float t) {
    return Color{x.r + (y.r - x.r) * t, x.g + (y.g - x.g) * t, x.b + (y.b - x.b) * t,
                 x.a + (y.a - x.a) * t};
}

Color Scale(const Color& c, float k) {
    return Color{c.r * k, c.g * k, c.b * k, c.a};
}

float Clamp01(float v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

float SmoothStep(float e0, float e1, float x) {
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

Canvas::Canvas(int width, int height, Color fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

Color& Canvas::Wrapped(int x, int y) {
    x %= width_;
    y %= height_;
    if (x < 0) x += width_;
    if (y < 0) y += height_;
    return At(x, y);
}

Color Canvas::Sample(float u, float v) const {
    float fx = u * width_ - 0.5f, fy = v * height_ - 0.5f;
    int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    float tx = fx - x0, ty = fy - y0;
    auto px = [&](int x, int y) {
        x %= width_;
        y %= height_;
        if (x < 0) x += width_;
        if (y < 0) y += height_;
        return At(x, y);
    };
    return Mix(Mix(px(x0, y0), px(x0 + 1, y0), tx), Mix(px(x0, y0 + 1), px(x0 + 1, y0 + 1), tx),
               ty);
}

void Canvas::Blend(int x, int y, const Color& c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    float a = Clamp01(c.a * coverage);
    if (a <= 0) return;
    Color& d = At(x, y);
    float outA = a + d.a * (1 - a);
    if (outA <= 0) return;
    d.r = (c.r * a + d.r * d.a * (1 - a)) / outA;
    d.g = (c.g * a + d.g * d.a * (1 - a)) / outA;
    d.b = (c.b * a + d.b * d.a * (1 - a)) / outA;
    d.a = outA;
}

void Canvas::FillRect(float x0, float y0, float x1, float y1, const Color& c) {
    int ix0 = std::max(0, static_cast<int>(std::floor(x0))),
        iy0 = std::max(0, static_cast<int>(std::floor(y0)));
    int ix1 = std::min(width_, static_cast<int>(std::ceil(x1))),
        iy1 = std::min(height_, static_cast<int>(std::ceil(y1)));
    for (int y = iy0; y < iy1; ++y)
        for (int x = ix0; x < ix1; ++x) {
            float cx = std::min(x1, x + 1.0f) - std::max(x0, static_cast<float>(x));
            float cy = std::min(y1, y + 1.0f) - std::max(y0, static_cast<float>(y));
            Blend(x, y, c, Clamp01(cx) * Clamp01(cy));
        }
}

void Canvas::FillEllipse(float cx, float cy, float rx, float ry, const Color& c, float soft) {
    int x0 = static_cast<int>(std::floor(cx - rx - 1)),
        x1 = static_cast<int>(std::ceil(cx + rx + 1));
    int y0 = static_cast<int>(std::floor(cy - ry - 1)),
        y1 = static_cast<int>(std::ceil(cy + ry + 1));
    float r = std::min(rx, ry);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float dx = (x + 0.5f - cx) / rx, dy = (y + 0.5f - cy) / ry;
            float d = (std::sqrt(dx * dx + dy * dy) - 1.0f) * r; // approx. pixels outside the rim
            Blend(x, y, c, Clamp01(0.5f - d / std::max(soft, 0.001f)));
        }
}

void Canvas::FillCircle(float cx, float cy, float radius, const Color& c, float soft) {
    FillEllipse(cx, cy, radius, radius, c, soft);
}

void Canvas::Line(float x0, float y0, float x1, float y1, float width, const Color& c) {
    float minx = std::min(x0, x1) - width, maxx = std::max(x0, x1) + width;
    float miny = std::min(y0, y1) - width, maxy = std::max(y0, y1) + width;
    float dx = x1 - x0, dy = y1 - y0, len2 = std::max(dx * dx + dy * dy, 1e-6f);
    for (int y = static_cast<int>(miny); y <= static_cast<int>(maxy); ++y)
        for (int x = static_cast<int>(minx); x <= static_cast<int>(maxx); ++x) {
            float px = x + 0.5f - x0, py = y + 0.5f - y0;
            float t = Clamp01((px * dx + py * dy) / len2);
            float ex = px - t * dx, ey = py - t * dy;
            float d = std::sqrt(ex * ex + ey * ey) - width * 0.5f;
            Blend(x, y, c, Clamp01(0.5f - d));
        }
}

void Canvas::FillPolygon(const std::vector<float>& xy, const Color& c) {
    size_t n = xy.size() / 2;
    if (n < 3) return;
    float minx = xy[0], maxx = xy[0], miny = xy[1], maxy = xy[1];
    for (size_t i = 0; i < n; ++i) {
        minx = std::min(minx, xy[2 * i]);
        maxx = std::max(maxx, xy[2 * i]);
        miny = std::min(miny, xy[2 * i + 1]);
        maxy = std::max(maxy, xy[2 * i + 1]);
    }
    auto inside = [&](float px, float py) {
        bool in = false;
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            float xi = xy[2 * i], yi = xy[2 * i + 1], xj = xy[2 * j], yj = xy[2 * j + 1];
            if ((yi > py) != (yj > py) && px < (xj - xi) * (py - yi) / (yj - yi) + xi) in = !in;
        }
        return in;
    };
    for (int y = static_cast<int>(std::floor(miny)); y <= static_cast<int>(std::ceil(maxy)); ++y)
        for (int x = static_cast<int>(std::floor(minx)); x <= static_cast<int>(std::ceil(maxx));
             ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += inside(x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4);
            if (hits) Blend(x, y, c, hits / 16.0f);
        }
}

void Canvas::ShadeRect(float x0, float y0, float x1, float y1, float top, float bottom,
                       bool vertical) {
    for (int y = std::max(0, static_cast<int>(y0)); y < std::min(height_, static_cast<int>(y1));
         ++y)
        for (int x = std::max(0, static_cast<int>(x0)); x < std::min(width_, static_cast<int>(x1));
             ++x) {
            float t = vertical ? (y + 0.5f - y0) / (y1 - y0) : (x + 0.5f - x0) / (x1 - x0);
            float k = top + (bottom - top) * Clamp01(t);
            Color& p = At(x, y);
            p = Scale(p, k);
        }
}

std::vector<uint8_t> Canvas::ToRgba8() const {
    std::vector<uint8_t> out(pixels_.size() * 4);
    auto q = [](float v) { return static_cast<uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
    for (size_t i = 0; i < pixels_.size(); ++i) {
        out[4 * i] = q(pixels_[i].r);
        out[4 * i + 1] = q(pixels_[i].g);
        out[4 * i + 2] = q(pixels_[i].b);
        out[4 * i + 3] = q(pixels_[i].a);
    }
    return out;
}

float Noise::Hash(int x, int y) const {
    uint32_t h = seed_ * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^
                 static_cast<uint32_t>(y) * 0xC2B2AE3Du;
    h ^= h >> 15;
    h *= 0x2C1B3C6Du;
    h ^= h >> 12;
    h *= 0x297A2D39u;
    h ^= h >> 15;
    return (h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float Noise::Value(float x, float y, int period) const {
    int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
    float tx = x - x0, ty = y - y0;
    tx = tx * tx * (3 - 2 * tx);
    ty = ty * ty * (3 - 2 * ty);
    auto h = [&](int ix, int iy) {
        if (period > 0) {
            ix = ((ix % period) + period) % period;
            iy = ((iy % period) + period) % period;
        }
        return Hash(ix, iy);
    };
    float a = h(x0, y0), b = h(x0 + 1, y0), c = h(x0, y0 + 1), d = h(x0 + 1, y0 + 1);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float Noise::Fbm(float x, float y, int period, int octaves, float gain) const {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Value(x, y, period);
        norm += amp;
        amp *= gain;
        x *= 2;
        y *= 2;
        if (period > 0) period *= 2;
    }
    return sum / norm;
}

uint64_t Rng::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

float Rng::Uniform() {
    return static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24);
}

int Rng::Int(int lo, int hi) {
    return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1));
}

} // namespace assetgen
