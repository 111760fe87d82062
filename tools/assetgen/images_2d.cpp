// 2D content: the logo, cursors, crosshair, information window, sprite and flame
// frames, particle textures, the sky-dome clouds, the parallax layers and the
// height-field textures.
#include "tools/assetgen/content.h"
#include "tools/assetgen/encoders.h"
#include "tools/assetgen/text.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace assetgen {

namespace {

template <typename F> Canvas Paint(int w, int h, F f) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            c.At(x, y) = f((x + 0.5f) / w, (y + 0.5f) / h);
    return c;
}

// Text with a dark outline of `radius` pixels drawn under it.
void OutlinedText(Canvas& c, const TextFace& face, const std::string& text, float x, float y,
                  const Color& fill, const Color& outline, int radius, float tracking = 0) {
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (dx * dx + dy * dy <= radius * radius + 1)
                face.Draw(c, text, x + dx, y + dy, outline, tracking);
    face.Draw(c, text, x, y, fill, tracking);
}

// Multiplies the colour of every texel that has ink by a vertical gradient.
void GradientInk(Canvas& c, int y0, int y1, const Color& top, const Color& bottom,
                 const Color& only) {
    for (int y = std::max(0, y0); y < std::min(c.Height(), y1); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            Color& p = c.At(x, y);
            float match = 1 - std::min(1.0f, std::fabs(p.r - only.r) + std::fabs(p.g - only.g) +
                                                 std::fabs(p.b - only.b));
            if (p.a <= 0 || match <= 0) continue;
            Color g = Mix(top, bottom, static_cast<float>(y - y0) / (y1 - y0));
            p = Mix(p, Color{g.r, g.g, g.b, p.a}, match);
        }
}

Canvas Logo() {
    const int w = 320, h = 112;
    Canvas c(w, h);
    // Emblem: an isometric cube whose faces carry a Z, the engine's mark.
    const float cx = 56, cy = 56, r = 44;
    auto corner = [&](int k) {
        return std::array<float, 2>{cx + r * std::cos(kPi / 6 + k * kPi / 3),
                                    cy + r * std::sin(kPi / 6 + k * kPi / 3)};
    };
    c.FillCircle(cx, cy + 3, r + 6, Color{0, 0, 0, 0.35f}, 8);
    auto face = [&](int a, int b, int d, Color col) {
        auto p = corner(a), q = corner(b), s = corner(d);
        c.FillPolygon({cx, cy, p[0], p[1], q[0], q[1], s[0], s[1]}, col);
    };
    face(5, 4, 3, Rgb(255, 170, 40)); // top
    face(1, 0, 5, Rgb(220, 90, 30));  // right
    face(3, 2, 1, Rgb(160, 50, 30));  // left
    for (int k = 0; k < 6; ++k) {
        auto p = corner(k), q = corner((k + 1) % 6);
        c.Line(p[0], p[1], q[0], q[1], 2.5f, Rgb(60, 20, 10));
    }
    for (int k : {1, 3, 5})
        c.Line(cx, cy, corner(k)[0], corner(k)[1], 2.0f, Rgb(255, 230, 170, 0.8f));
    TextFace zFace(DejaVuPath("DejaVuSans-Bold.ttf"), 46);
    OutlinedText(c, zFace, "Z", cx - 15, cy + 17, Rgb(255, 255, 255), Rgb(60, 20, 10), 2);
    // Word mark.
    TextFace big(DejaVuPath("DejaVuSans-Bold.ttf"), 52),
        small(DejaVuPath("DejaVuSans-Bold.ttf"), 17);
    OutlinedText(c, big, "ZARVO", 112, 64, Rgb(255, 255, 255), Rgb(20, 24, 40), 3, 1);
    GradientInk(c, 20, 66, Rgb(255, 255, 255), Rgb(255, 190, 90), Rgb(255, 255, 255));
    float width = big.Measure("ZARVO", 1);
    c.FillRect(114, 74, 112 + width, 77, Rgb(255, 160, 50));
    float tracking = (width - small.Measure("ENGINE")) / 5;
    OutlinedText(c, small, "ENGINE", 114, 98, Rgb(170, 210, 255), Rgb(20, 24, 40), 2, tracking);
    return c;
}

Canvas Arrow() {
    Canvas c(32, 32);
    std::vector<float> shape = {2, 2, 2, 24, 8, 18.5f, 12, 27, 16, 25.5f, 12, 17, 20, 17};
    std::vector<float> shadow = shape;
    for (size_t i = 0; i < shadow.size(); ++i)
        shadow[i] += 1.5f;
    c.FillPolygon(shadow, Color{0, 0, 0, 0.4f});
    for (int k = 0; k < 7; ++k) {
        size_t a = 2 * k, b = 2 * ((k + 1) % 7);
        c.Line(shape[a], shape[a + 1], shape[b], shape[b + 1], 2.2f, Rgb(10, 10, 14));
    }
    c.FillPolygon(shape, Rgb(250, 250, 250));
    for (int k = 0; k < 7; ++k) {
        size_t a = 2 * k, b = 2 * ((k + 1) % 7);
        c.Line(shape[a], shape[a + 1], shape[b], shape[b + 1], 1.2f, Rgb(10, 10, 14));
    }
    return c;
}

Canvas MoveCursor() {
    Canvas c(32, 32);
    const float m = 16;
    auto arrows = [&](const Color& col, float grow, float off) {
        c.FillRect(m - 1.5f - grow + off, 6 + off, m + 1.5f + grow + off, 26 + off, col);
        c.FillRect(6 + off, m - 1.5f - grow + off, 26 + off, m + 1.5f + grow + off, col);
        for (int k = 0; k < 4; ++k) {
            float a = k * kPi / 2, ca = std::cos(a), sa = std::sin(a);
            auto P = [&](float along, float across) {
                return std::array<float, 2>{m + ca * along - sa * across + off,
                                            m + sa * along + ca * across + off};
            };
            auto t = P(14 + grow, 0), l = P(7 - grow, -6 - grow), r = P(7 - grow, 6 + grow);
            c.FillPolygon({t[0], t[1], l[0], l[1], r[0], r[1]}, col);
        }
    };
    arrows(Color{0, 0, 0, 0.4f}, 0, 1.5f);
    arrows(Rgb(10, 10, 14), 1.2f, 0);
    arrows(Rgb(250, 250, 250), 0, 0);
    return c;
}

Canvas Crosshair() {
    Canvas c(64, 64);
    const Color dark = Color{0, 0, 0, 0.5f}, bright = Rgb(120, 255, 140, 0.95f);
    for (const auto& [col, wide] : {std::pair<Color, float>{dark, 3.5f}, {bright, 1.6f}}) {
        for (int k = 0; k < 64; ++k) { // ring with gaps at the ticks
            float a0 = 2 * kPi * k / 64, a1 = 2 * kPi * (k + 1) / 64;
            if (std::fmod(k + 4, 16.0f) < 8) continue;
            c.Line(32 + 18 * std::cos(a0), 32 + 18 * std::sin(a0), 32 + 18 * std::cos(a1),
                   32 + 18 * std::sin(a1), wide, col);
        }
        for (int k = 0; k < 4; ++k) {
            float a = k * kPi / 2;
            c.Line(32 + 8 * std::cos(a), 32 + 8 * std::sin(a), 32 + 26 * std::cos(a),
                   32 + 26 * std::sin(a), wide, col);
        }
    }
    c.FillCircle(32, 32, 2.6f, Color{0, 0, 0, 0.5f});
    c.FillCircle(32, 32, 1.6f, Rgb(255, 90, 70));
    return c;
}

Canvas InformationWindow() {
    const int w = 400, h = 300;
    Noise n(808);
    Canvas c = Paint(w, h, [&](float u, float v) {
        Color col = Mix(Rgb(22, 34, 58, 0.86f), Rgb(8, 12, 24, 0.9f), v);
        if (std::fmod(v * h, 4.0f) < 1) col = Scale(col, 1.15f); // scan lines
        return Scale(col, 0.95f + 0.1f * n.Value(u * 40, v * 30, 0));
    });
    // Rounded border: clear the corners, then frame it.
    const float radius = 12;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float dx = std::max({radius - x - 0.5f, x + 0.5f - (w - radius), 0.0f});
            float dy = std::max({radius - y - 0.5f, y + 0.5f - (h - radius), 0.0f});
            float d = std::sqrt(dx * dx + dy * dy) - radius;
            Color& p = c.At(x, y);
            p.a *= Clamp01(0.5f - d);
            float rim = Clamp01(1 - std::fabs(d + 2.0f) / 1.5f);
            p = Mix(p, Rgb(110, 170, 255, p.a), rim * 0.9f);
        }
    c.FillRect(14, 10, w - 14, 40, Rgb(60, 110, 190, 0.55f));
    c.ShadeRect(14, 10, w - 14, 40, 1.3f, 0.8f);
    TextFace title(DejaVuPath("DejaVuSans-Bold.ttf"), 17);
    OutlinedText(c, title, "INFORMATION", 26, 32, Rgb(235, 245, 255), Rgb(10, 20, 40), 1, 2);
    c.FillCircle(w - 32, 25, 6, Rgb(120, 255, 140, 0.9f));
    for (int k = 0; k < 4; ++k)
        c.FillRect(20, 58 + k * 56.0f, w - 20, 59 + k * 56.0f, Rgb(110, 170, 255, 0.25f));
    return c;
}

Canvas Ship() {
    Canvas c(64, 64);
    c.FillEllipse(33, 35, 22, 24, Color{0, 0, 0, 0.25f}, 6);
    c.FillPolygon({32, 4, 44, 40, 58, 50, 56, 56, 38, 52, 32, 58, 26, 52, 8, 56, 6, 50, 20, 40},
                  Rgb(190, 196, 210));
    c.FillPolygon({32, 4, 38, 36, 32, 52, 26, 36}, Rgb(230, 234, 240));
    c.FillPolygon({8, 56, 6, 50, 20, 40, 22, 46}, Rgb(200, 60, 50));
    c.FillPolygon({56, 56, 58, 50, 44, 40, 42, 46}, Rgb(200, 60, 50));
    c.FillEllipse(32, 26, 4, 8, Rgb(70, 160, 230));
    c.FillEllipse(31, 23, 1.5f, 3, Rgb(220, 245, 255));
    c.FillEllipse(27, 57, 2.5f, 3.5f, Rgb(255, 170, 50));
    c.FillEllipse(37, 57, 2.5f, 3.5f, Rgb(255, 170, 50));
    return c;
}

Canvas Flame(int frame, int frames) {
    Noise n(909);
    const int w = 64, h = 128;
    float time = static_cast<float>(frame) / frames;
    return Paint(w, h, [&](float u, float v) {
        // Noise scrolls up by one whole period over the cycle, so frame 8 leads into frame 1.
        float turb = n.Fbm(u * 4, v * 4 + time * 4, 4, 4);
        float x = (u - 0.5f) * 2 + (turb - 0.5f) * 0.6f * (1 - v);
        float height = 1 - v; // 0 at the bottom
        float body = 1 - std::fabs(x) / (0.75f * (1 - height * 0.85f) + 0.05f);
        float heat = Clamp01(body * 1.4f - height * 0.9f + (turb - 0.5f) * 0.8f);
        Color col = Mix(Rgb(200, 40, 10), Rgb(255, 160, 40), SmoothStep(0.1f, 0.5f, heat));
        col = Mix(col, Rgb(255, 250, 210), SmoothStep(0.55f, 0.9f, heat));
        col.a = SmoothStep(0.0f, 0.25f, heat);
        return col;
    });
}

Canvas Glow() {
    return Paint(64, 64, [](float u, float v) {
        float d = std::hypot(u - 0.5f, v - 0.5f) * 2;
        float a = std::pow(Clamp01(1 - d), 2.2f);
        return Color{1, 1, 1, a};
    });
}

Canvas Smoke() {
    Noise n(1010);
    return Paint(64, 64, [&](float u, float v) {
        float d = std::hypot(u - 0.5f, v - 0.5f) * 2;
        float puff = n.Fbm(u * 4, v * 4, 4, 4);
        float a = Clamp01((1 - d) * 1.6f) * SmoothStep(0.25f, 0.7f, puff + 0.3f * (1 - d));
        float shade = 0.75f + 0.25f * puff;
        return Color{shade, shade, shade, a};
    });
}

Canvas RainDrop() {
    return Paint(8, 64, [](float u, float v) {
        float across = std::pow(Clamp01(1 - std::fabs(u - 0.5f) * 2.6f), 1.5f);
        return Color{0.8f, 0.88f, 1, across * SmoothStep(0, 0.7f, v) * 0.9f};
    });
}

Canvas SkyDomeClouds() {
    Noise n(1111);
    const int size = 512;
    return Paint(size, size, [&](float u, float v) {
        // The dome maps the horizon to the middle row and the zenith to the last row.
        float elevation = Clamp01(std::fabs(v - 0.5f) * 2);
        Color sky = Mix(Rgb(190, 214, 236), Rgb(50, 104, 186), std::pow(elevation, 0.6f));
        float stretch = 1 + 3 * (1 - elevation); // clouds flatten toward the horizon
        float cloud = n.Fbm(u * 8, v * 8 * stretch, 8, 6);
        float cover = SmoothStep(0.45f, 0.75f, cloud);
        Color white = Scale(Rgb(255, 255, 255), 0.85f + 0.2f * n.Fbm(u * 16 + 3, v * 16, 16, 3));
        return Mix(sky, white, cover * (0.4f + 0.6f * elevation));
    });
}

// ---- Parallax layers ----

Canvas FarSky() {
    Noise n(1212);
    return Paint(1024, 1024, [&](float u, float v) {
        Color col = Mix(Rgb(30, 50, 110), Rgb(250, 160, 100), std::pow(v, 1.6f));
        col = Mix(col, Rgb(255, 220, 170), SmoothStep(0.8f, 1.0f, v) * 0.6f);
        float cloud = SmoothStep(0.5f, 0.75f, n.Fbm(u * 3, v * 6, 3, 5));
        Color lit = Mix(Rgb(255, 200, 170), Rgb(140, 110, 150), 1 - v);
        return Mix(col, lit, cloud * 0.6f);
    });
}

// The ground line of the scrolling world, in world pixels, shared by neighbouring tiles.
float GroundLine(const Noise& n, float x) {
    return 760 + 120 * (n.Fbm(x / 512.0f, 3.5f, 0, 4) - 0.5f) * 2;
}

Canvas Terrain(int tileX, int tileY) {
    Noise n(1313);
    const int size = 1024;
    Canvas c(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float wx = tileX * 1024.0f + x, wy = tileY * 1024.0f + y;
            float ground = GroundLine(n, wx);
            float depth = wy - ground;
            Color col{0, 0, 0, 0};
            if (depth > 0) {
                float strata = n.Fbm(wx / 200.0f, wy / 60.0f, 0, 4);
                col = Mix(Rgb(120, 84, 56), Rgb(70, 52, 46), Clamp01(depth / 900.0f));
                col = Scale(col, 0.75f + 0.4f * strata);
                if (depth < 26)
                    col = Mix(Rgb(90, 160, 60), Rgb(60, 120, 40), depth / 26.0f); // grass
                if (depth < 4) col = Rgb(150, 210, 90);
                // Caves below the surface.
                float cave = n.Fbm(wx / 300.0f, wy / 160.0f, 0, 4);
                if (depth > 200 && cave > 0.62f)
                    col = Color{0, 0, 0, 0};
                else if (depth > 200 && cave > 0.58f)
                    col = Scale(col, 0.55f);
                if (depth > 1300 &&
                    n.Hash(static_cast<int>(wx / 40), static_cast<int>(wy / 40)) > 0.985f)
                    col = Rgb(120, 230, 255); // crystals
                col.a = col.a > 0 ? Clamp01(depth) : 0;
            }
            c.At(x, y) = col;
        }
    // Floating islands above the ground on the surface tiles.
    if (tileY == 0) {
        Rng rng(1400 + tileX);
        for (int i = 0; i < 2; ++i) {
            float ix = rng.Range(150, 870), iy = rng.Range(260, 480), iw = rng.Range(90, 160);
            c.FillEllipse(ix, iy + 8, iw, 40, Rgb(96, 70, 50));
            c.FillPolygon({ix - iw, iy + 8, ix + iw, iy + 8, ix + iw * 0.2f, iy + 120,
                           ix - iw * 0.3f, iy + 90},
                          Rgb(96, 70, 50));
            c.FillEllipse(ix, iy, iw, 14, Rgb(90, 160, 60));
        }
    }
    return c;
}

Canvas CloudVeil() {
    Noise n(1515);
    return Paint(1024, 1024, [&](float u, float v) {
        float cloud = n.Fbm(u * 4, v * 4, 4, 5);
        float band = SmoothStep(0.55f, 0.0f, v) * 0.9f + 0.1f;
        float a = SmoothStep(0.55f, 0.8f, cloud) * band * 0.8f;
        float shade = 0.85f + 0.15f * n.Fbm(u * 8, v * 8, 8, 3);
        return Color{shade, shade, shade * 1.02f, a};
    });
}

Canvas GroundTexture(uint32_t seed, Color a, Color b) {
    Noise n(seed);
    return Paint(256, 256, [&](float u, float v) {
        float k = n.Fbm(u * 8, v * 8, 8, 5), fine = n.Value(u * 128, v * 128, 128);
        return Scale(Mix(a, b, k), 0.85f + 0.25f * fine);
    });
}

} // namespace

void WriteImages2d(const std::string& root) {
    WriteFile(root, "Data/Logo/z3dlogo.png", EncodePng(Logo()));
    WriteFile(root, "Data/MousePointer.png", EncodePng(Arrow()));
    WriteFile(root, "Data/moveWindow.png", EncodePng(MoveCursor()));
    WriteFile(root, "Data/Crosshair/CrossHairPoint.png", EncodePng(Crosshair()));
    WriteFile(root, "Data/informationConsol2.png", EncodePng(InformationWindow()));
    WriteFile(root, "Data/Sprite/sample1.png", EncodePng(Ship()));
    for (int f = 0; f < 8; ++f)
        WriteFile(root, "Data/Flame/flame" + std::to_string(f + 1) + ".png",
                  EncodePng(Flame(f, 8)));
    WriteFile(root, "Data/Particle/particle.png", EncodePng(Glow()));
    WriteFile(root, "Data/Particle/texture.png", EncodePng(Smoke()));
    WriteFile(root, "Data/Particle/rain.PNG", EncodePng(RainDrop()));
    WriteFile(root, "Data/SkyDome/clouds2.png", EncodePng(SkyDomeClouds()));
    WriteFile(root, "Data/scroll/BackgroundCloud012.png", EncodePng(FarSky()));
    const int tiles[][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}, {1, 2}};
    for (int i = 0; i < 5; ++i)
        WriteFile(root, "Data/scroll/Background0" + std::to_string(i + 1) + "_big_alpha.png",
                  EncodePng(Terrain(tiles[i][0], tiles[i][1])));
    WriteFile(root, "Data/scroll/BackgroundCloud_layer3.png", EncodePng(CloudVeil()));
    WriteFile(root, "Data/Terrain/grass_1.png",
              EncodePng(GroundTexture(1616, Rgb(60, 100, 40), Rgb(110, 140, 60))));
    WriteFile(root, "Data/Terrain/sand_1.png",
              EncodePng(GroundTexture(1717, Rgb(200, 176, 130), Rgb(232, 214, 170))));
}

} // namespace assetgen
