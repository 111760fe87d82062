#include "tools/assetgen/humanoid.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

namespace {

// A limb that hangs from its joint: a tube built along +y, turned to point down.
Mesh HangingTube(float length, const std::vector<std::array<float, 2>>& radii, int segments,
                 const UvRect& uv) {
    std::vector<std::array<float, 2>> reversed(radii.rbegin(), radii.rend());
    Mesh m = Tube(length, reversed, segments, uv);
    m.Transform(Xform::Translate({0, -length, 0}));
    return m;
}

float Wave(float phase, float cycles = 1.0f, float offset = 0.0f) {
    return std::sin(2 * kPi * (phase * cycles + offset));
}

// Rises and falls once over a one-shot animation.
float Bump(float phase) {
    return std::sin(kPi * Clamp01(phase));
}

Pose Crouch(Pose p) {
    p.rootOffset.y -= 8;
    p.joints[kHipL].z += 70, p.joints[kHipR].z += 70;
    p.joints[kKneeL].z -= 115, p.joints[kKneeR].z -= 115;
    p.joints[kAnkleL].z += 45, p.joints[kAnkleR].z += 45;
    p.joints[kSpine].z -= 18;
    return p;
}

Pose Stand(float t) {
    Pose p;
    float s = Wave(t), breath = Wave(t, 4);
    p.rootOffset = {0, 0.25f * breath, 0.7f * s};
    p.rootEuler.x = -2.5f * s;
    p.joints[kSpine] = {2.5f * s, 10 * Wave(t, 1, 0.15f), -3 + 1.2f * breath};
    p.joints[kNeck] = {0, 38 * Wave(t, 1, 0.05f), 4 * Wave(t, 2)};
    p.joints[kShoulderL] = {10, 0, 8 * Wave(t, 1, 0.3f)};
    p.joints[kShoulderR] = {-10, 0, -8 * Wave(t, 1, 0.3f)};
    p.joints[kElbowL].z = 16 + 6 * Wave(t, 2);
    p.joints[kElbowR].z = 16 - 6 * Wave(t, 2);
    p.joints[kWristR].z = -40;
    p.joints[kHipL] = {4 + 2.5f * s, 0, 2};
    p.joints[kHipR] = {-4 + 2.5f * s, 0, -2};
    p.joints[kKneeL].z = -4 - 4 * std::max(0.0f, s);
    p.joints[kKneeR].z = -4 - 4 * std::max(0.0f, -s);
    return p;
}

Pose Run(float t, float stride = 1.0f, float direction = 1.0f) {
    Pose p;
    float phi = 2 * kPi * t * direction;
    float thigh = 40 * stride * std::sin(phi);
    p.rootOffset.y = -1.0f + 1.3f * stride * std::cos(2 * phi);
    p.joints[kSpine] = {0, 10 * std::sin(phi), -12 * stride};
    p.joints[kNeck].z = 8 * stride;
    p.joints[kHipL].z = thigh;
    p.joints[kHipR].z = -thigh;
    p.joints[kKneeL].z = -(15 + 65 * stride * std::max(0.0f, std::cos(phi)));
    p.joints[kKneeR].z = -(15 + 65 * stride * std::max(0.0f, -std::cos(phi)));
    p.joints[kAnkleL].z = -0.3f * thigh;
    p.joints[kAnkleR].z = 0.3f * thigh;
    p.joints[kShoulderL] = {8, 0, -35 * stride * std::sin(phi)};
    p.joints[kShoulderR] = {-8, 0, 35 * stride * std::sin(phi)};
    p.joints[kElbowL].z = p.joints[kElbowR].z = 75;
    p.joints[kWristR].z = -30;
    return p;
}

Pose Aim(Pose p, float recoil) {
    p.joints[kShoulderR] = {-4, 0, 85 + 14 * recoil};
    p.joints[kElbowR].z = 6;
    p.joints[kWristR].z = -80 - 10 * recoil;
    p.joints[kShoulderL] = {-22, 0, 55};
    p.joints[kElbowL].z = 55;
    p.joints[kSpine].z += 5 * recoil;
    p.joints[kNeck].z -= 6;
    return p;
}

Pose Pain(Pose p, float e, int variant) {
    p.joints[kSpine].z += (variant == 2 ? -18 : 16) * e;
    p.joints[kSpine].y += (variant == 3 ? 25 : 0) * e;
    p.joints[kNeck].z += 22 * e;
    p.joints[kShoulderL].x += 30 * e, p.joints[kShoulderR].x -= 30 * e;
    p.joints[kElbowL].z += 40 * e, p.joints[kElbowR].z += 40 * e;
    p.rootOffset.x -= 2.0f * e;
    return p;
}

Pose Death(float t, int variant) {
    float e = SmoothStep(0, 1, t);
    float early = SmoothStep(0, 0.4f, t);
    Pose p;
    if (variant == 1) { // backwards
        p.rootEuler.z = 88 * e;
        p.rootOffset = {-3 * e, -20.5f * e, 0};
        p.joints[kKneeL].z = -50 * Bump(t), p.joints[kKneeR].z = -40 * Bump(t);
    } else if (variant == 2) { // forwards, knees first
        p.rootEuler.z = -86 * SmoothStep(0.3f, 1, t);
        p.rootOffset = {4 * e, -20.5f * e, 0};
        p.joints[kHipL].z = 60 * Bump(t), p.joints[kHipR].z = 60 * Bump(t);
        p.joints[kKneeL].z = -90 * Bump(t), p.joints[kKneeR].z = -90 * Bump(t);
    } else { // spin and fall on the side
        p.rootEuler = {-87 * e, 120 * early, 0};
        p.rootOffset = {0, -20.0f * e, 3 * e};
        p.joints[kHipR].z = 35 * e, p.joints[kKneeR].z = -60 * e;
    }
    p.joints[kShoulderL] = {70 * e, 0, 40 * early};
    p.joints[kShoulderR] = {-70 * e, 0, 30 * early};
    p.joints[kElbowL].z = 30 * e, p.joints[kElbowR].z = 50 * e;
    p.joints[kNeck].z = 20 * early;
    return p;
}

Pose Gesture(const std::string& name, float t) {
    Pose p = Stand(0);
    float e = SmoothStep(0, 0.25f, t) * (1 - SmoothStep(0.75f, 1, t));
    if (name == "salute") {
        p.joints[kShoulderR] = {-75 * e, 0, 55 * e};
        p.joints[kElbowR].z = 145 * e;
        p.joints[kNeck].z = -5 * e;
    } else if (name == "wave") {
        p.joints[kShoulderR] = {-150 * e, 0, 10 * e};
        p.joints[kElbowR].z = (35 + 30 * Wave(t, 3)) * e;
        p.joints[kNeck].y = -20 * e;
    } else if (name == "point") {
        p.joints[kShoulderR] = {-10 * e, 0, 92 * e};
        p.joints[kElbowR].z = 0;
        p.joints[kWristR].z = -20 * e;
        p.joints[kNeck].y = 15 * e;
    } else { // taunt: both arms up, hips sway
        p.joints[kShoulderL] = {140 * e, 0, 20 * e};
        p.joints[kShoulderR] = {-140 * e, 0, 20 * e};
        p.joints[kElbowL].z = p.joints[kElbowR].z = 30 * e;
        p.joints[kSpine].y = 20 * Wave(t, 2) * e;
        p.rootOffset.z = 1.5f * Wave(t, 2) * e;
    }
    return p;
}

} // namespace

Pose AnimatePose(const std::string& a, float t) {
    if (a == "stand" || a == "idle") return Stand(t);
    if (a == "run") return Run(t);
    if (a == "walk") return Run(t, 0.55f);
    if (a == "back") return Run(t, 0.6f, -1.0f);
    if (a == "attack") return Aim(Stand(t * 0.2f), Bump(std::min(1.0f, t * 2.5f)));
    if (a == "pain1" || a == "pain2" || a == "pain3")
        return Pain(Stand(0), Bump(t), a.back() - '0');
    if (a == "jump" || a == "flip" || a == "land") {
        Pose p;
        float e = a == "land" ? 1 - t : Bump(t);
        p.rootOffset.y =
            a == "land" ? -6 * Bump(t) : 12 * e - 6 * (1 - SmoothStep(0, 0.25f, t)) * (t < 0.25f);
        p.joints[kHipL].z = p.joints[kHipR].z = 55 * e;
        p.joints[kKneeL].z = p.joints[kKneeR].z = -95 * e;
        p.joints[kShoulderL] = {20, 0, 110 * e};
        p.joints[kShoulderR] = {-20, 0, 110 * e};
        if (a == "flip") p.rootEuler.z = 360 * SmoothStep(0.1f, 0.9f, t);
        return p;
    }
    if (a == "salute" || a == "wave" || a == "point" || a == "taunt") return Gesture(a, t);
    if (a == "crstnd") return Crouch(Stand(t));
    if (a == "crwalk") return Crouch(Run(t, 0.35f));
    if (a == "crattak") return Crouch(Aim(Stand(0), Bump(std::min(1.0f, t * 2.5f))));
    if (a == "crpain") return Crouch(Pain(Stand(0), Bump(t), 1));
    if (a == "crdeth") {
        Pose p = Crouch(Stand(0));
        p.rootEuler.x = -85 * SmoothStep(0, 1, t);
        p.rootOffset.y -= 11 * SmoothStep(0, 1, t);
        return p;
    }
    if (a == "death1" || a == "death2" || a == "death3") return Death(t, a.back() - '0');
    if (a == "swim") {
        Pose p = Run(t, 0.4f);
        p.rootEuler.z = -70;
        p.joints[kShoulderL].z = p.joints[kShoulderR].z = 150;
        return p;
    }
    if (a == "turn") {
        Pose p = Stand(0);
        p.rootEuler.y = 20 * Wave(t);
        p.joints[kHipL].z = 15 * std::max(0.0f, Wave(t));
        p.joints[kKneeL].z = -25 * std::max(0.0f, Wave(t));
        return p;
    }
    return Stand(t);
}

Humanoid::Humanoid(const HumanoidStyle& style) {
    const SkinLayout L;
    const float sw = style.shoulderWidth, hw = style.hipWidth;
    parent_ = {-1,      kRoot, kSpine, kSpine, kShoulderL, kElbowL, kSpine, kShoulderR,
               kElbowR, kRoot, kHipL,  kKneeL, kRoot,      kHipR,   kKneeR};
    offset_[kRoot] = {0, 2, 0};
    offset_[kSpine] = {0, 3, 0};
    offset_[kNeck] = {0, 14.5f, 0};
    offset_[kShoulderL] = {0, 12, -sw};
    offset_[kShoulderR] = {0, 12, sw};
    offset_[kElbowL] = offset_[kElbowR] = {0, -10, 0};
    offset_[kWristL] = offset_[kWristR] = {0, -9, 0};
    offset_[kHipL] = {0, -2, -hw};
    offset_[kHipR] = {0, -2, hw};
    offset_[kKneeL] = offset_[kKneeR] = {0, -11.5f, 0};
    offset_[kAnkleL] = offset_[kAnkleR] = {0, -10.5f, 0};

    const bool f = style.female;
    Mesh pelvis =
        Tube(7.5f, {{4.0f, f ? 6.3f : 5.8f}, {4.4f, f ? 6.9f : 6.4f}, {4.2f, f ? 6.4f : 6.0f}}, 10,
             L.pelvis);
    pelvis.Transform(Xform::Translate({0, -3.8f, 0}));
    parts_.push_back({kRoot, pelvis});
    std::vector<std::array<float, 2>> torso =
        f ? std::vector<std::array<float, 2>>{{3.5f, 5.6f},
                                              {3.4f, 5.0f},
                                              {4.6f, 5.8f},
                                              {4.4f, 6.4f},
                                              {2.6f, 4.6f}}
          : std::vector<std::array<float, 2>>{
                {4.0f, 5.9f}, {4.3f, 6.2f}, {4.9f, 7.0f}, {4.6f, 7.6f}, {2.8f, 5.0f}};
    parts_.push_back({kSpine, Tube(14.5f, torso, 10, L.torso)});
    parts_.push_back({kNeck, Tube(3.0f, {{1.9f, 1.9f}, {1.8f, 1.8f}}, 8, L.neck, false, false)});
    Mesh head = Ellipsoid({f ? 3.9f : 4.2f, 5.0f, f ? 3.6f : 3.9f}, 12, 8, L.head);
    head.Transform(Xform::Translate({0.3f, 6.8f, 0}));
    parts_.push_back({kNeck, head});
    if (f) { // braid down the back of the head
        Mesh braid = HangingTube(9.0f, {{1.2f, 1.2f}, {1.0f, 1.0f}, {0.7f, 0.7f}}, 6, L.hair);
        braid.Transform(Xform::Translate({-3.6f, 6.5f, 0}) * Xform::Euler(0, 0, -18));
        parts_.push_back({kNeck, braid});
    }
    for (Joint s : {kShoulderL, kShoulderR}) {
        parts_.push_back({s, HangingTube(10.5f, {{2.4f, 2.3f}, {1.8f, 1.7f}}, 8, L.upperArm)});
        parts_.push_back({static_cast<Joint>(s + 1),
                          HangingTube(9.2f, {{1.75f, 1.7f}, {1.3f, 1.25f}}, 8, L.forearm)});
        parts_.push_back(
            {static_cast<Joint>(s + 2), Box({-0.9f, -3.6f, -0.8f}, {1.2f, 0, 0.8f}, L.hand)});
    }
    for (Joint h : {kHipL, kHipR}) {
        parts_.push_back(
            {h, HangingTube(11.8f, {{3.1f, 3.0f}, {2.7f, 2.6f}, {2.1f, 2.1f}}, 8, L.thigh)});
        parts_.push_back(
            {static_cast<Joint>(h + 1),
             HangingTube(10.6f, {{2.1f, 2.1f}, {2.3f, 2.2f}, {1.5f, 1.5f}}, 8, L.shin)});
        parts_.push_back(
            {static_cast<Joint>(h + 2), Box({-1.6f, -2.0f, -1.5f}, {4.6f, 0.6f, 1.5f}, L.foot)});
    }
    if (style.pistol) {
        Mesh gun = Box({-0.6f, -3.2f, -0.5f}, {0.6f, 0.0f, 0.5f}, L.prop); // grip
        gun.Append(Box({-0.9f, -0.2f, -0.55f}, {4.6f, 1.3f, 0.55f}, L.prop));
        gun.Transform(Xform::Translate({0.2f, -2.4f, 0}));
        parts_.push_back({kWristR, gun});
    }
}

bool Humanoid::InSet(PartSet set, Joint j) {
    switch (set) {
    case kWholeBody:
        return true;
    case kLowerBody:
        return j == kRoot || (j >= kHipL && j <= kAnkleR);
    case kUpperBody:
        return j == kSpine || (j >= kShoulderL && j <= kWristR);
    case kHeadOnly:
        return j == kNeck;
    }
    return false;
}

Mesh Humanoid::Topology(PartSet set) const {
    Mesh m;
    for (const Part& p : parts_)
        if (InSet(set, p.joint)) m.Append(p.mesh);
    return m;
}

Xform Humanoid::JointWorld(const Pose& pose, Joint joint) const {
    std::array<Joint, kJointCount> chain{};
    int n = 0;
    for (int j = joint; j >= 0; j = parent_[j])
        chain[n++] = static_cast<Joint>(j);
    Xform w;
    for (int i = n - 1; i >= 0; --i) {
        Joint j = chain[i];
        const Vec3& e = pose.joints[j];
        if (j == kRoot)
            w = Xform::Translate(offset_[kRoot] + pose.rootOffset) *
                Xform::Euler(pose.rootEuler.x, pose.rootEuler.y, pose.rootEuler.z) *
                Xform::Euler(e.x, e.y, e.z);
        else
            w = w * Xform::Translate(offset_[j]) * Xform::Euler(e.x, e.y, e.z);
    }
    return w;
}

std::vector<Vec3> Humanoid::Posed(PartSet set, const Pose& pose, const Xform& space) const {
    std::vector<Vec3> out;
    for (const Part& p : parts_) {
        if (!InSet(set, p.joint)) continue;
        Xform w = space * JointWorld(pose, p.joint);
        for (const Vertex& v : p.mesh.vertices)
            out.push_back(w.Apply(v.position));
    }
    return out;
}

// ---- Skins ----

namespace {

// Runs `paint(s, t)` over a layout rectangle; s, t in [0, 1] across the rectangle.
template <typename F> void Region(Canvas& c, const UvRect& r, F paint) {
    int x0 = static_cast<int>(r.u0 * c.Width()), x1 = static_cast<int>(r.u1 * c.Width());
    int y0 = static_cast<int>(r.v0 * c.Height()), y1 = static_cast<int>(r.v1 * c.Height());
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            c.At(x, y) = paint((x + 0.5f - x0) / (x1 - x0), (y + 0.5f - y0) / (y1 - y0));
}

// Light from the front and above on an unwrapped tube (s = 0.5 faces forward).
float TubeLight(float s, float t) {
    float around = 0.5f + 0.5f * std::cos(2 * kPi * (s - 0.5f) - 0.5f);
    return (0.62f + 0.38f * around) * (1.04f - 0.1f * t);
}

Color Cloth(const Noise& n, Color base, float s, float t, float scale) {
    float weave = 0.92f + 0.08f * n.Fbm(s * scale, t * scale, 0, 3);
    float dirt = SmoothStep(0.55f, 0.8f, n.Fbm(s * 5 + 3, t * 5, 0, 4));
    return Mix(Scale(base, weave), Scale(base, 0.6f), 0.5f * dirt);
}

Color SkinTone(const Noise& n, Color base, float s, float t) {
    return Scale(base, 0.95f + 0.07f * n.Fbm(s * 16, t * 16, 0, 3));
}

struct Palette {
    Color skin, top, bottom, belt, shoes, hair, lips, eyes, gloves;
    bool female;
};

void PaintFace(Canvas& c, const UvRect& r, const Palette& p, const Noise& n) {
    Region(c, r, [&](float s, float t) {
        Color col = SkinTone(n, p.skin, s, t);
        float fs = s - 0.5f; // across the face
        // Cheeks and nose ridge catch light; eye sockets and under the chin are darker.
        float light = 0.75f + 0.3f * std::cos(2 * kPi * fs) - 0.2f * SmoothStep(0.7f, 1.0f, t);
        light -= 0.12f * std::exp(-(std::pow((std::fabs(fs) - 0.055f) / 0.03f, 2) +
                                    std::pow((t - 0.47f) / 0.04f, 2)));
        light += 0.08f * std::exp(-(std::pow(fs / 0.012f, 2) + std::pow((t - 0.55f) / 0.05f, 2)));
        col = Scale(col, light);
        if (!p.female && t > 0.58f && std::fabs(fs) < 0.2f) // stubble
            col = Mix(col, Scale(p.hair, 0.9f),
                      0.35f * n.Value(s * 300, t * 300, 0) * SmoothStep(0.58f, 0.66f, t));
        // Hair: cap and back of the head (s near 0 or 1 is the back).
        float back = std::min(s, 1 - s);
        float hairline = p.female ? 0.34f : 0.27f;
        hairline += (0.33f - hairline) * (1 - SmoothStep(0.1f, 0.3f, back)) * 1.2f;
        float strands = 0.8f + 0.2f * n.Value(s * 160, t * 12, 0);
        if (t < hairline)
            col = Mix(col, Scale(p.hair, strands), SmoothStep(hairline, hairline - 0.025f, t));
        return col;
    });
    auto px = [&](float s, float t) {
        return std::array<float, 2>{(r.u0 + (r.u1 - r.u0) * s) * c.Width(),
                                    (r.v0 + (r.v1 - r.v0) * t) * c.Height()};
    };
    float sx = (r.u1 - r.u0) * c.Width(), sy = (r.v1 - r.v0) * c.Height();
    for (float side : {-1.0f, 1.0f}) {
        auto e = px(0.5f + side * 0.058f, 0.47f);
        c.FillEllipse(e[0], e[1], sx * 0.022f, sy * 0.018f, Rgb(240, 236, 228));
        c.FillCircle(e[0] + side * -0.002f * sx, e[1], sy * 0.014f, p.eyes);
        c.FillCircle(e[0], e[1], sy * 0.007f, Rgb(15, 12, 10));
        c.FillCircle(e[0] - sx * 0.004f, e[1] - sy * 0.005f, sy * 0.0035f,
                     Rgb(255, 255, 255, 0.9f));
        auto b = px(0.5f + side * 0.06f, p.female ? 0.415f : 0.425f);
        c.Line(b[0] - sx * 0.028f, b[1] + sy * 0.004f * side * 0, b[0] + sx * 0.026f,
               b[1] - sy * 0.006f, sy * (p.female ? 0.008f : 0.013f), Scale(p.hair, 0.8f));
        if (p.female)
            c.Line(e[0] - sx * 0.024f, e[1] - sy * 0.016f, e[0] + sx * 0.024f, e[1] - sy * 0.016f,
                   sy * 0.006f, Rgb(20, 14, 10));
        auto ear = px(0.5f + side * 0.25f, 0.5f);
        c.FillEllipse(ear[0], ear[1], sx * 0.03f, sy * 0.06f, Scale(p.skin, 0.85f));
    }
    auto nose = px(0.5f, 0.575f);
    c.FillEllipse(nose[0], nose[1], sx * 0.022f, sy * 0.012f, Scale(p.skin, 0.72f));
    auto mouth = px(0.5f, 0.66f);
    c.FillEllipse(mouth[0], mouth[1], sx * 0.04f, sy * (p.female ? 0.012f : 0.008f), p.lips);
    c.Line(mouth[0] - sx * 0.04f, mouth[1], mouth[0] + sx * 0.04f, mouth[1], sy * 0.004f,
           Scale(p.lips, 0.5f));
}

Canvas PaintPerson(int size, const Palette& p, uint32_t seed) {
    const SkinLayout L;
    Noise n(seed);
    Canvas c(size, size, Rgb(40, 40, 40));
    // Torso: a top with straps and arm holes; skin shows at the neckline and shoulders.
    Region(c, L.torso, [&](float s, float t) {
        float side = std::min(std::fabs(s - 0.25f), std::fabs(s - 0.75f));
        float strap = p.female ? 0.03f : 0.04f;
        float arm = (p.female ? 0.42f : 0.38f) * (1 - SmoothStep(strap, 0.15f, side));
        float neck = (std::fabs(s - 0.5f) < 0.25f ? (p.female ? 0.3f : 0.26f) : 0.18f) *
                     SmoothStep(strap, 0.2f, side);
        float edge = std::max(arm, neck);
        Color skin = SkinTone(n, p.skin, s, t);
        Color top = Cloth(n, p.top, s, t, 90);
        if (p.female) top = Scale(top, 0.92f + 0.08f * std::cos(t * 30)); // ribbed knit
        float hem = SmoothStep(edge, edge + 0.02f, t);
        Color col = Mix(skin, top, hem);
        if (hem > 0.5f && t < edge + 0.04f) col = Scale(col, 0.85f); // seam
        if (!p.female && t > 0.85f)
            col = Scale(col, 0.9f + 0.1f * std::cos(s * 90)); // folds at the waist
        return Scale(col, TubeLight(s, t));
    });
    Region(c, L.pelvis, [&](float s, float t) {
        Color col = Cloth(n, p.bottom, s, t, 70);
        if (t < 0.3f) col = Cloth(n, p.belt, s, t, 40);
        if (t < 0.3f && std::fabs(s - 0.5f) < 0.025f) col = Rgb(170, 165, 150);
        if (std::fabs(t - 0.3f) < 0.03f) col = Scale(col, 0.7f);
        if (std::fabs(s - 0.25f) < 0.006f || std::fabs(s - 0.75f) < 0.006f)
            col = Scale(col, 0.75f);                                          // side seams
        if (std::fabs(s - 0.5f) < 0.004f && t > 0.3f) col = Scale(col, 0.7f); // fly
        return Scale(col, TubeLight(s, t));
    });
    Region(c, L.thigh, [&](float s, float t) {
        Color col = Cloth(n, p.bottom, s, t, 70);
        if (p.female && t > 0.32f)
            col = SkinTone(n, p.skin, s, t); // shorts end
        else if (p.female && t > 0.27f)
            col = Scale(col, 0.8f); // rolled hem
        if (!p.female && (std::fabs(s - 0.25f) < 0.008f || std::fabs(s - 0.75f) < 0.008f))
            col = Scale(col, 0.75f);
        if (!p.female && std::fabs(s - 0.75f) < 0.1f && t > 0.35f && t < 0.65f) // cargo pocket
            col =
                Scale(col, (std::fabs(s - 0.75f) > 0.09f || t < 0.37f || t > 0.63f) ? 0.7f : 1.05f);
        return Scale(col, TubeLight(s, t));
    });
    Region(c, L.shin, [&](float s, float t) {
        Color col = Cloth(n, p.bottom, s, t, 70);
        if (p.female) {
            col = SkinTone(n, p.skin, s, t);
            if (t > 0.3f) col = Cloth(n, p.shoes, s, t, 30);
            if (t > 0.3f && t < 0.38f) col = Rgb(190, 185, 175); // socks
            if (t > 0.45f && std::fmod(t * 12, 1.0f) < 0.15f && std::fabs(s - 0.5f) < 0.05f)
                col = Rgb(30, 22, 16); // laces
        } else if (std::fabs(t - 0.08f) < 0.1f) {
            col = Scale(col, 0.9f + 0.1f * std::cos(s * 60)); // knee creases
        }
        return Scale(col, TubeLight(s, t));
    });
    Region(c, L.foot, [&](float s, float t) {
        Color col = Cloth(n, p.shoes, s, t, 30);
        if (t > 0.62f && t < 0.75f) col = Rgb(60, 56, 52); // sole band
        if (t > 0.75f) col = Rgb(45, 42, 40);
        if (t < 0.25f && s > 0.3f && s < 0.45f && std::fmod(s * 40, 1.0f) < 0.3f)
            col = Rgb(90, 85, 80); // laces
        return Scale(col, t < 0.25f ? 1.1f : 0.9f);
    });
    for (const UvRect& r : {L.upperArm, L.forearm, L.neck}) {
        Region(c, r,
               [&](float s, float t) { return Scale(SkinTone(n, p.skin, s, t), TubeLight(s, t)); });
    }
    Region(c, L.hand, [&](float s, float t) {
        Color col = SkinTone(n, p.skin, s, t);
        if (p.female) col = Cloth(n, p.gloves, s, t, 40);
        if (t > 0.55f && std::fmod(s * 16, 1.0f) < 0.12f) col = Scale(col, 0.8f); // fingers
        return col;
    });
    Region(c, L.prop, [&](float s, float t) {
        float brushed = 0.9f + 0.1f * n.Value(s * 200, t * 8, 0);
        Color col = Scale(Rgb(58, 60, 66), brushed);
        if (t < 0.25f || (s > 0.25f && s < 0.5f))
            col = Scale(col, 1.35f); // top and right side catch light
        if (std::fmod(t * 20, 1.0f) < 0.12f && t > 0.75f) col = Scale(col, 0.6f); // grip checkering
        return col;
    });
    Region(c, L.hair, [&](float s, float t) {
        float plait = 0.7f + 0.3f * std::fabs(std::sin((s * 3 + t * 10) * kPi));
        return Scale(p.hair, plait * TubeLight(s, t));
    });
    PaintFace(c, L.head, p, n);
    return c;
}

} // namespace

Canvas PaintMcClaneSkin(int size) {
    Palette p{
        Rgb(214, 160, 122), Rgb(228, 224, 212), Rgb(66, 72, 58),   Rgb(72, 46, 26), Rgb(30, 28, 26),
        Rgb(78, 56, 38),    Rgb(170, 100, 90),  Rgb(70, 110, 150), Rgb(0, 0, 0),    false};
    Canvas c = PaintPerson(size, p, 1988);
    // A few battle marks on the vest.
    const SkinLayout L;
    Rng rng(31);
    for (int i = 0; i < 9; ++i) {
        float x = (L.torso.u0 + (L.torso.u1 - L.torso.u0) * rng.Range(0.3f, 0.7f)) * size;
        float y = (L.torso.v0 + (L.torso.v1 - L.torso.v0) * rng.Range(0.4f, 0.9f)) * size;
        c.FillCircle(x, y, rng.Range(1.5f, 5.0f), Rgb(110, 85, 60, 0.35f), 3);
    }
    return c;
}

Canvas PaintLaraSkin(int size) {
    Palette p{
        Rgb(226, 178, 142), Rgb(40, 118, 124), Rgb(118, 86, 54), Rgb(36, 28, 22), Rgb(88, 58, 36),
        Rgb(62, 38, 22),    Rgb(176, 82, 80),  Rgb(92, 70, 40),  Rgb(50, 36, 28), true};
    return PaintPerson(size, p, 1996);
}

} // namespace assetgen
