// The MD2 models: a man in a vest, a small droid and the first-person gun.
#include "tools/assetgen/content.h"
#include "tools/assetgen/humanoid.h"
#include "tools/assetgen/model_formats.h"

#include <cstdio>
#include <functional>

namespace assetgen {

namespace {

struct AnimSpec {
    const char* name;
    int frames;
    const char* format; // printf pattern of the frame names
    bool loops;
};

// The classic player set, in the usual order and with the usual frame names.
const AnimSpec kPlayerAnims[] = {
    {"stand", 40, "stand%02d", true},    {"run", 6, "run%d", true},
    {"attack", 8, "attack%d", false},    {"pain1", 4, "pain1%02d", false},
    {"pain2", 4, "pain2%02d", false},    {"pain3", 4, "pain3%02d", false},
    {"jump", 6, "jump%d", false},        {"flip", 12, "flip%02d", false},
    {"salute", 11, "salute%02d", false}, {"taunt", 17, "taunt%02d", false},
    {"wave", 11, "wave%02d", false},     {"point", 12, "point%02d", false},
    {"crstnd", 19, "crstnd%02d", true},  {"crwalk", 6, "crwalk%d", true},
    {"crattak", 9, "crattak%d", false},  {"crpain", 4, "crpain%d", false},
    {"crdeth", 5, "crdeth%d", false},    {"death1", 6, "death1%02d", false},
    {"death2", 6, "death2%02d", false},  {"death3", 8, "death3%02d", false},
};

std::string FrameName(const char* format, int number) {
    char buf[32];
    std::snprintf(buf, sizeof buf, format, number);
    return buf;
}

float Phase(const AnimSpec& a, int i) {
    return a.loops ? static_cast<float>(i) / a.frames
                   : static_cast<float>(i) / std::max(1, a.frames - 1);
}

template <size_t N>
std::vector<Frame>
Animate(const AnimSpec (&anims)[N],
        const std::function<std::vector<Vec3>(const std::string&, float)>& pose) {
    std::vector<Frame> frames;
    for (const AnimSpec& a : anims)
        for (int i = 0; i < a.frames; ++i)
            frames.push_back({FrameName(a.format, i + 1), pose(a.name, Phase(a, i))});
    return frames;
}

void WriteMcClane(const std::string& root) {
    HumanoidStyle style;
    style.pistol = true;
    Humanoid man(style);
    Mesh topology = man.Topology(Humanoid::kWholeBody);
    auto frames = Animate(kPlayerAnims, [&](const std::string& a, float t) {
        return man.Posed(Humanoid::kWholeBody, AnimatePose(a, t));
    });
    const int skin = 512;
    WriteFile(root, "Data/Models/MD2/McClane/tris.MD2",
              EncodeMd2(topology, frames, skin, skin, "models/players/mcclane/nakatomi1.pcx"));
    WriteFile(root, "Data/Models/MD2/McClane/nakatomi1.pcx", EncodePcx(PaintMcClaneSkin(skin)));
}

// ---- Droid ----

const UvRect kDroidBody{0, 0, 1, 0.5f}, kDroidDome{0, 0.5f, 0.5f, 0.75f},
    kDroidLeg{0.5f, 0.5f, 1, 0.75f};
const UvRect kDroidEye{0.5f, 0.75f, 0.75f, 1}, kDroidMetal{0.75f, 0.75f, 1, 1};

struct DroidParts {
    Mesh body, head;
};

DroidParts BuildDroid() {
    DroidParts d;
    d.body = Tube(22, {{8.5f, 8.5f}, {8.6f, 8.6f}, {8.5f, 8.5f}}, 14, kDroidBody);
    d.body.Transform(Xform::Translate({0, -16, 0}));
    d.body.Append(Box({-3.5f, -25, -3}, {3.5f, -16, 3}, kDroidMetal)); // centre foot
    for (float side : {-1.0f, 1.0f}) {
        Mesh shoulder = Tube(2.5f, {{3.2f, 3.2f}, {3.2f, 3.2f}}, 10, kDroidLeg);
        shoulder.Transform(Xform::Translate({0, 2, side * 8.4f}) * Xform::Euler(side * 90, 0, 0));
        d.body.Append(shoulder);
        d.body.Append(
            Box({-2.2f, -21, side * 9.2f - 1.3f}, {2.2f, 2, side * 9.2f + 1.3f}, kDroidLeg));
        d.body.Append(
            Box({-5, -25, side * 9.2f - 2.2f}, {5.5f, -20.5f, side * 9.2f + 2.2f}, kDroidMetal));
    }
    std::vector<std::array<float, 2>> dome;
    for (int k = 0; k <= 6; ++k) {
        float y = k / 6.0f, r = 8.4f * std::sqrt(std::max(0.0f, 1 - y * y * 0.98f));
        dome.push_back({r, r});
    }
    d.head = Tube(8.4f, dome, 14, kDroidDome, false, false);
    d.head.Append(Box({6.0f, 3.0f, -1.6f}, {8.6f, 5.8f, 1.6f}, kDroidEye)); // main eye
    d.head.Append(Box({5.5f, 6.0f, 2.0f}, {7.0f, 7.2f, 3.2f}, kDroidEye));  // indicator
    return d;
}

std::vector<Vec3> PoseDroid(const DroidParts& d, float headYaw, float lean, float bob) {
    std::vector<Vec3> out;
    Xform body = Xform::Translate({0, bob, 0}) * Xform::Translate({0, -25, 0}) *
                 Xform::Euler(0, 0, lean) * Xform::Translate({0, 25, 0});
    for (const Vertex& v : d.body.vertices)
        out.push_back(body.Apply(v.position));
    Xform head = body * Xform::Translate({0, 6, 0}) * Xform::Euler(0, headYaw, 0);
    for (const Vertex& v : d.head.vertices)
        out.push_back(head.Apply(v.position));
    return out;
}

Canvas PaintDroidSkin(int size) {
    Canvas c(size, size, Rgb(200, 200, 205));
    Noise n(77);
    auto rect = [&](const UvRect& r, float s0, float t0, float s1, float t1, Color col) {
        c.FillRect((r.u0 + (r.u1 - r.u0) * s0) * size, (r.v0 + (r.v1 - r.v0) * t0) * size,
                   (r.u0 + (r.u1 - r.u0) * s1) * size, (r.v0 + (r.v1 - r.v0) * t1) * size, col);
    };
    const Color white = Rgb(232, 232, 236), blue = Rgb(36, 72, 170), silver = Rgb(178, 182, 192),
                dark = Rgb(40, 42, 48);
    rect(kDroidBody, 0, 0, 1, 1, white);
    rect(kDroidBody, 0, 0, 1, 0.07f, silver);
    rect(kDroidBody, 0, 0.93f, 1, 1, Rgb(150, 150, 158));
    for (int i = 0; i < 4; ++i) { // four faces of panels around the body
        float s = 0.125f + i * 0.25f;
        rect(kDroidBody, s - 0.08f, 0.14f, s + 0.08f, 0.42f, blue);
        rect(kDroidBody, s - 0.06f, 0.5f, s - 0.01f, 0.85f, blue);
        rect(kDroidBody, s + 0.02f, 0.5f, s + 0.07f, 0.68f, silver);
        for (int v = 0; v < 4; ++v)
            rect(kDroidBody, s + 0.02f, 0.72f + v * 0.035f, s + 0.07f, 0.735f + v * 0.035f, dark);
    }
    rect(kDroidDome, 0, 0, 1, 1, silver);
    for (int i = 0; i < 6; ++i) {
        float s = i / 6.0f + 0.04f;
        rect(kDroidDome, s, 0.25f, s + 0.09f, 0.5f, blue);
        rect(kDroidDome, s + 0.02f, 0.62f, s + 0.06f, 0.78f, blue);
    }
    rect(kDroidDome, 0, 0.88f, 1, 0.95f, Rgb(120, 124, 134));
    rect(kDroidLeg, 0, 0, 1, 1, white);
    rect(kDroidLeg, 0.3f, 0.2f, 0.7f, 0.8f, blue);
    rect(kDroidEye, 0, 0, 1, 1, Rgb(18, 18, 22));
    c.FillCircle((kDroidEye.u0 + 0.375f * (kDroidEye.u1 - kDroidEye.u0)) * size,
                 (kDroidEye.v0 + 0.5f * 0.25f) * size, 0.035f * size, Rgb(200, 30, 30));
    rect(kDroidMetal, 0, 0, 1, 1, Rgb(150, 152, 160));
    // Brushed metal and grime over everything.
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            float grime = n.Fbm(u * 12, v * 12, 12, 4);
            c.At(x, y) = Scale(c.At(x, y), 0.88f + 0.16f * grime);
        }
    // Light from the front on the body's unwrapped cylinder.
    c.ShadeRect(0, 0, size, size * 0.5f, 1.05f, 0.85f);
    return c;
}

void WriteDroid(const std::string& root) {
    DroidParts d = BuildDroid();
    Mesh topology = d.body;
    topology.Append(d.head);
    const AnimSpec anims[] = {
        {"stand", 40, "stand%02d", true}, {"run", 8, "run%d", true}, {"pain", 4, "pain%d", false}};
    auto frames = Animate(anims, [&](const std::string& a, float t) {
        if (a == "stand") return PoseDroid(d, 360 * t, 0, 0.15f * std::sin(4 * kPi * t));
        if (a == "run")
            return PoseDroid(d, 35 * std::sin(2 * kPi * t), -10,
                             0.5f * std::fabs(std::sin(2 * kPi * t)));
        return PoseDroid(d, 20 * std::sin(kPi * t), 14 * std::sin(kPi * t), 0);
    });
    WriteFile(root, "Data/Models/MD2/r2d2/tris.md2",
              EncodeMd2(topology, frames, 256, 256, "models/r2d2/r2d2.pcx"));
    WriteFile(root, "Data/Models/MD2/r2d2/r2d2.pcx", EncodePcx(PaintDroidSkin(256)));
}

// ---- First-person gun ----

const UvRect kGunMetal{0, 0, 0.5f, 0.5f}, kGunDark{0.5f, 0, 1, 0.5f}, kGunGlove{0, 0.5f, 0.5f, 1};
const UvRect kGunSleeve{0.5f, 0.5f, 1, 0.75f}, kGunFlash{0.5f, 0.75f, 1, 1};

struct GunParts {
    Mesh frame, slide, magazine, hand, flash;
};

// Built in eye space (camera at the origin looking down -z), grip near the origin.
GunParts BuildGun() {
    GunParts g;
    g.frame = Box({-0.07f, -0.05f, -0.75f}, {0.07f, 0.08f, 0.05f}, kGunDark);        // receiver
    g.frame.Append(Box({-0.06f, -0.32f, -0.12f}, {0.06f, -0.04f, 0.04f}, kGunDark)); // grip
    g.frame.Append(
        Box({-0.02f, -0.12f, -0.22f}, {0.02f, -0.05f, -0.12f}, kGunMetal)); // trigger guard
    Mesh barrel = Tube(0.5f, {{0.035f, 0.035f}, {0.035f, 0.035f}}, 10, kGunMetal);
    barrel.Transform(Xform::Translate({0, 0.1f, -0.7f}) * Xform::Euler(-90, 0, 0));
    g.slide = barrel;
    g.slide.Append(Box({-0.075f, 0.06f, -0.78f}, {0.075f, 0.15f, 0.02f}, kGunMetal));
    g.slide.Append(Box({-0.015f, 0.15f, -0.75f}, {0.015f, 0.19f, -0.7f}, kGunMetal)); // front sight
    g.slide.Append(Box({-0.04f, 0.15f, -0.04f}, {0.04f, 0.19f, 0.0f}, kGunMetal));    // rear sight
    g.magazine = Box({-0.05f, -0.4f, -0.1f}, {0.05f, -0.3f, 0.02f}, kGunMetal);
    Mesh fist = Ellipsoid({0.11f, 0.13f, 0.1f}, 10, 6, kGunGlove);
    fist.Transform(Xform::Translate({0.02f, -0.2f, -0.02f}));
    g.hand = fist;
    Mesh sleeve = Tube(0.9f, {{0.11f, 0.11f}, {0.14f, 0.14f}}, 10, kGunSleeve);
    sleeve.Transform(Xform::Translate({0.06f, -0.24f, 0.02f}) * Xform::Euler(110, 0, -10));
    g.hand.Append(sleeve);
    // Muzzle flash: two crossed quads, shown only while firing.
    for (int k = 0; k < 2; ++k) {
        Mesh q;
        Xform r = Xform::Euler(0, 0, 90.0f * k);
        int a = q.Add(r.Apply({-0.12f, 0, 0}), kGunFlash.At(0, 1)),
            b = q.Add(r.Apply({0.12f, 0, 0}), kGunFlash.At(1, 1));
        int c = q.Add(r.Apply({0.12f, 0, -0.3f}), kGunFlash.At(1, 0)),
            d = q.Add(r.Apply({-0.12f, 0, -0.3f}), kGunFlash.At(0, 0));
        q.Quad(a, b, c, d);
        q.Quad(a, d, c, b); // both sides
        q.Transform(Xform::Translate({0, 0.1f, -1.2f}));
        g.flash.Append(q);
    }
    return g;
}

struct GunPose {
    float kick = 0, slide = 0, flash = 0, magDrop = 0, tiltX = 0, tiltZ = 0, sway = 0;
};

std::vector<Vec3> PoseGun(const GunParts& g, const GunPose& p) {
    // Where the gun sits on screen, and how the demo places the model: translate
    // (-0.1, 0, -0.6), then turn 100 degrees about y. Undo that placement here.
    const Xform placement = Xform::Euler(0, -100, 0) * Xform::Translate({0.1f, 0, 0.6f});
    Xform hold = Xform::Translate({0.42f, -0.42f + p.sway * 0.02f, -1.2f + p.kick * 0.08f}) *
                 Xform::Euler(p.tiltX + p.kick * 9, p.sway * 2, p.tiltZ);
    Xform view = placement * hold * Xform::Scale({1.4f, 1.4f, 1.4f});
    std::vector<Vec3> out;
    auto add = [&](const Mesh& m, const Xform& x) {
        for (const Vertex& v : m.vertices)
            out.push_back((view * x).Apply(v.position));
    };
    add(g.frame, Xform{});
    add(g.slide, Xform::Translate({0, 0, p.slide * 0.14f}));
    add(g.magazine, Xform::Translate({0, -p.magDrop * 0.5f, 0}));
    add(g.hand, Xform{});
    Xform flash = Xform::Translate({0, 0.1f, -1.2f}) * Xform::Scale({p.flash, p.flash, p.flash}) *
                  Xform::Translate({0, -0.1f, 1.2f});
    add(g.flash, flash);
    return out;
}

Canvas PaintGunSkin(int size) {
    Canvas c(size, size, Rgb(60, 60, 64));
    Noise n(45);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            float u = static_cast<float>(x) / size, v = static_cast<float>(y) / size;
            Color col;
            if (v < 0.5f) {
                bool dark = u >= 0.5f;
                col = dark ? Rgb(46, 48, 54) : Rgb(104, 108, 118);
                col = Scale(col, 0.9f + 0.12f * n.Value(u * 400, v * 20, 0)); // brushed
                if (std::fmod(v * 16, 1.0f) < 0.05f) col = Scale(col, 0.75f); // machined edges
                float face = std::fmod(u * 4, 1.0f);
                if (face > 0.25f && face < 0.5f && v > 0.125f && v < 0.375f)
                    col = Scale(col, 1.25f);
                if (dark && v > 0.3f && std::fmod(u * 40, 1.0f) < 0.3f &&
                    std::fmod(v * 40, 1.0f) < 0.3f)
                    col = Scale(col, 0.7f); // grip checkering
            } else if (u < 0.5f) {
                col = Scale(Rgb(52, 40, 30),
                            0.85f + 0.25f * n.Fbm(u * 30, v * 30, 0, 4)); // leather glove
                if (std::fmod(v * 12, 1.0f) < 0.06f) col = Scale(col, 0.7f);
            } else if (v < 0.75f) {
                col = Scale(Rgb(58, 66, 50), 0.85f + 0.2f * n.Fbm(u * 60, v * 60, 0, 3)); // sleeve
            } else {
                float s = (u - 0.75f) / 0.25f, t = (v - 0.875f) / 0.125f; // flash, bright centre
                float r = std::sqrt(s * s * 0.6f + t * t);
                col = Mix(Rgb(255, 250, 200), Rgb(255, 140, 20), Clamp01(r));
                col = Scale(col, 1.2f - 0.5f * Clamp01(r));
            }
            c.At(x, y) = col;
        }
    return c;
}

void WriteGun(const std::string& root) {
    GunParts g = BuildGun();
    Mesh topology = g.frame;
    for (const Mesh* m : {&g.slide, &g.magazine, &g.hand, &g.flash})
        topology.Append(*m);
    const AnimSpec anims[] = {{"fire", 8, "fire%d", false},
                              {"reload", 14, "reload%02d", false},
                              {"idle", 12, "idle%02d", true}};
    auto frames = Animate(anims, [&](const std::string& a, float t) {
        GunPose p;
        if (a == "fire") {
            float e = t < 0.15f ? t / 0.15f : std::exp(-(t - 0.15f) * 6);
            p.kick = e, p.slide = e, p.flash = t > 0.05f && t < 0.3f ? 1.0f : 0.0f;
        } else if (a == "reload") {
            float e = SmoothStep(0, 0.25f, t) * (1 - SmoothStep(0.75f, 1, t));
            p.tiltX = -25 * e, p.tiltZ = 30 * e;
            p.magDrop = SmoothStep(0.25f, 0.4f, t) * (1 - SmoothStep(0.55f, 0.7f, t));
            p.slide = t > 0.78f && t < 0.9f ? 1.0f : 0.0f;
        } else {
            p.sway = std::sin(2 * kPi * t);
        }
        return PoseGun(g, p);
    });
    WriteFile(root, "Data/Models/MD2/fegyver/OwnGun.md2",
              EncodeMd2(topology, frames, 256, 256, "OwnGun.bmp"));
    WriteFile(root, "Data/Models/MD2/fegyver/OwnGun.bmp", EncodeBmp(PaintGunSkin(256)));
}

} // namespace

void WriteMd2Characters(const std::string& root) {
    WriteMcClane(root);
    WriteDroid(root);
    WriteGun(root);
}

} // namespace assetgen
