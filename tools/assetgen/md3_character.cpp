// The MD3 character: lower body, upper body and head joined by tags, the standard
// animation configuration, skins, and the railgun hung on tag_weapon.
#include "tools/assetgen/content.h"
#include "tools/assetgen/humanoid.h"
#include "tools/assetgen/model_formats.h"

#include <sstream>

namespace assetgen {

namespace {

struct Md3Anim {
    const char* name;
    const char* curve; // pose curve of the humanoid
    int frames, loop, fps;
    bool loops;
};

// The 25 entries in their standard order: both, torso, then legs.
const Md3Anim kAnims[] = {
    {"BOTH_DEATH1", "death1", 20, 0, 20, false}, {"BOTH_DEAD1", "death1", 1, 0, 20, false},
    {"BOTH_DEATH2", "death2", 20, 0, 20, false}, {"BOTH_DEAD2", "death2", 1, 0, 20, false},
    {"BOTH_DEATH3", "death3", 20, 0, 20, false}, {"BOTH_DEAD3", "death3", 1, 0, 20, false},
    {"TORSO_GESTURE", "wave", 30, 0, 15, false}, {"TORSO_ATTACK", "attack", 6, 0, 15, false},
    {"TORSO_ATTACK2", "point", 6, 0, 15, false}, {"TORSO_DROP", "drop", 5, 0, 20, false},
    {"TORSO_RAISE", "raise", 5, 0, 20, false},   {"TORSO_STAND", "stand", 20, 20, 10, true},
    {"TORSO_STAND2", "stand", 20, 20, 10, true}, {"LEGS_WALKCR", "crwalk", 10, 10, 15, true},
    {"LEGS_WALK", "walk", 12, 12, 15, true},     {"LEGS_RUN", "run", 10, 10, 18, true},
    {"LEGS_BACK", "back", 10, 10, 18, true},     {"LEGS_SWIM", "swim", 10, 10, 15, true},
    {"LEGS_JUMP", "jump", 8, 0, 15, false},      {"LEGS_LAND", "land", 6, 0, 15, false},
    {"LEGS_JUMPB", "jump", 8, 0, 15, false},     {"LEGS_LANDB", "land", 6, 0, 15, false},
    {"LEGS_IDLE", "stand", 20, 20, 10, true},    {"LEGS_IDLECR", "crstnd", 10, 10, 10, true},
    {"LEGS_TURN", "turn", 8, 0, 15, false},
};

bool IsLegs(const Md3Anim& a) {
    return std::string(a.name).rfind("LEGS", 0) == 0;
}
bool IsTorso(const Md3Anim& a) {
    return std::string(a.name).rfind("TORSO", 0) == 0;
}

// Upper-body poses hold the rifle in both hands; legs come from the named curve.
Pose TorsoPose(const Md3Anim& a, float t) {
    std::string curve = a.curve;
    if (curve == "death1" || curve == "death2" || curve == "death3" || curve == "wave" ||
        curve == "point")
        return AnimatePose(curve, t);
    Pose p = AnimatePose("stand", t);
    float lowered = curve == "drop" ? t : curve == "raise" ? 1 - t : 0;
    float recoil = curve == "attack" ? std::sin(kPi * std::min(1.0f, t * 2)) : 0;
    p.joints[kShoulderR] = {-6, 0, 22 - 30 * lowered + 6 * recoil};
    p.joints[kElbowR] = {0, 0, 68 - 20 * lowered};
    p.joints[kWristR] = {0, 0, 0};
    p.joints[kShoulderL] = {-30, 0, 48 - 30 * lowered};
    p.joints[kElbowL] = {0, 0, 70};
    p.joints[kSpine].z += 4 * recoil;
    return p;
}

float Phase(const Md3Anim& a, int i) {
    return a.loops ? static_cast<float>(i) / a.frames
                   : static_cast<float>(i) / std::max(1, a.frames - 1);
}

Xform TorsoBase(const Humanoid& h, const Pose& p) {
    return h.JointWorld(p, kRoot) * Xform::Translate({0, 3, 0});
}

Xform WeaponGrip(const Humanoid& h, const Pose& p) {
    // The hand's frame, turned so the weapon's +x runs along the forearm.
    return h.JointWorld(p, kWristR) * Xform::Translate({0.2f, -2.2f, 0}) * Xform::Euler(0, 0, -90);
}

Mesh RailgunBody() {
    const UvRect metal{0, 0, 0.5f, 1}, grip{0.5f, 0, 1, 0.5f};
    Mesh m = Box({-9, -0.2f, -0.9f}, {13, 2.2f, 0.9f}, metal);       // body
    m.Append(Box({-14, -1.4f, -0.7f}, {-9, 1.8f, 0.7f}, grip));      // stock
    m.Append(Box({-1.2f, -4.5f, -0.6f}, {1.0f, -0.2f, 0.6f}, grip)); // grip under the hand
    Mesh barrel = Tube(14, {{0.7f, 0.7f}, {0.6f, 0.6f}}, 10, metal);
    barrel.Transform(Xform::Translate({12, 1.0f, 0}) * Xform::Euler(0, 0, -90));
    m.Append(barrel);
    m.Append(Box({2, 2.2f, -0.4f}, {9, 3.2f, 0.4f}, grip)); // scope rail
    return m;
}

Mesh RailgunCoils() {
    const UvRect glow{0.5f, 0.5f, 1, 1};
    Mesh m;
    for (int i = 0; i < 5; ++i) {
        Mesh ring = Tube(1.2f, {{1.3f, 1.3f}, {1.3f, 1.3f}}, 12, glow);
        ring.Transform(Xform::Translate({14.0f + i * 2.3f, 1.0f, 0}) * Xform::Euler(0, 0, -90));
        m.Append(ring);
    }
    return m;
}

Canvas PaintRailgun(int size) {
    Noise n(303);
    return PaintSquare(size, [&](float u, float v) {
        Color col;
        if (u < 0.5f) {
            col = Scale(Rgb(70, 76, 88), 0.85f + 0.2f * n.Value(u * 300, v * 10, 0));
            if (std::fmod(v * 8, 1.0f) < 0.06f) col = Rgb(120, 210, 140); // green status strips
            if (std::fmod(u * 4, 1.0f) > 0.25f && std::fmod(u * 4, 1.0f) < 0.5f)
                col = Scale(col, 1.2f);
        } else if (v < 0.5f) {
            col = Scale(Rgb(34, 34, 38), 0.85f + 0.25f * n.Fbm(u * 40, v * 40, 0, 3));
        } else {
            float band = 0.5f + 0.5f * std::cos((v - 0.75f) * 40);
            col = Mix(Rgb(40, 160, 70), Rgb(190, 255, 200), band);
        }
        return col;
    });
}

} // namespace

void WriteMd3Character(const std::string& root) {
    const std::string dir = "Data/Models/MD3/lara/";
    HumanoidStyle style;
    style.female = true;
    style.shoulderWidth = 6.6f;
    style.hipWidth = 3.5f;
    Humanoid lara(style);

    // Frame lists: both-animations go to both models; the lower model's legs frames
    // follow its both-frames directly, which is what the torso offset undoes.
    std::vector<Pose> upperPoses, lowerPoses;
    std::ostringstream cfg;
    cfg << "// animation config file\n\nsex f\n\nheadoffset 0 0 0\nfootsteps boot\n\n";
    cfg << "// first frame, num frames, looping frames, frames per second\n\n";
    int next = 0;
    for (const Md3Anim& a : kAnims) {
        cfg << next << "\t" << a.frames << "\t" << a.loop << "\t" << a.fps << "\t\t// " << a.name
            << "\n";
        next += a.frames;
        for (int i = 0; i < a.frames; ++i) {
            float t = Phase(a, i);
            if (std::string(a.name) == "BOTH_DEAD1" || std::string(a.name) == "BOTH_DEAD2" ||
                std::string(a.name) == "BOTH_DEAD3")
                t = 1;
            if (!IsLegs(a)) upperPoses.push_back(TorsoPose(a, t));
            if (!IsTorso(a)) lowerPoses.push_back(AnimatePose(a.curve, t));
        }
    }
    WriteText(root, dir + "lara_animation.cfg", cfg.str());

    // Lower body in model space, carrying tag_torso at the waist.
    Md3Surface legs{lara.Topology(Humanoid::kLowerBody), {}, "models/players/lara/lara.tga"};
    legs.topology.name = "l_legs";
    std::vector<std::vector<Md3Tag>> lowerTags;
    for (const Pose& p : lowerPoses) {
        legs.frames.push_back(lara.Posed(Humanoid::kLowerBody, p));
        lowerTags.push_back({{"tag_torso", TorsoBase(lara, p)}});
    }
    WriteFile(root, dir + "lara_lower.md3",
              EncodeMd3("lara_lower", {legs}, lowerTags, static_cast<int>(lowerPoses.size())));

    // Upper body relative to the waist, carrying tag_head and tag_weapon.
    Md3Surface torso{lara.Topology(Humanoid::kUpperBody), {}, "models/players/lara/lara.tga"};
    torso.topology.name = "u_torso";
    std::vector<std::vector<Md3Tag>> upperTags;
    for (const Pose& p : upperPoses) {
        Xform toWaist = TorsoBase(lara, p).Inverse();
        torso.frames.push_back(lara.Posed(Humanoid::kUpperBody, p, toWaist));
        upperTags.push_back({{"tag_head", toWaist * lara.JointWorld(p, kNeck)},
                             {"tag_weapon", toWaist * WeaponGrip(lara, p)}});
    }
    WriteFile(root, dir + "lara_upper.md3",
              EncodeMd3("lara_upper", {torso}, upperTags, static_cast<int>(upperPoses.size())));

    // Head in the neck's frame; it has no animation of its own.
    Pose rest;
    Md3Surface head{lara.Topology(Humanoid::kHeadOnly), {}, "models/players/lara/lara.tga"};
    head.topology.name = "h_head";
    head.frames.push_back(
        lara.Posed(Humanoid::kHeadOnly, rest, lara.JointWorld(rest, kNeck).Inverse()));
    WriteFile(root, dir + "lara_head.md3", EncodeMd3("lara_head", {head}, {{}}, 1));

    // Skins name each surface's texture; the loader keeps the part after the last '/'.
    WriteText(root, dir + "lara_lower.skin", "l_legs,models/players/lara/lara.tga\n");
    WriteText(root, dir + "lara_upper.skin", "u_torso,models/players/lara/lara.tga\n");
    WriteText(root, dir + "lara_head.skin", "h_head,models/players/lara/lara.tga\n");
    WriteFile(root, dir + "lara.tga", EncodeTga(PaintLaraSkin(512), false));

    Md3Surface body{RailgunBody(), {}, "models/weapons/railgun/railgun.tga"};
    body.topology.name = "w_railgun1";
    body.topology.Transform(Xform::Scale({0.75f, 0.75f, 0.75f}));
    body.frames.push_back({});
    for (const Vertex& v : body.topology.vertices)
        body.frames[0].push_back(v.position);
    Md3Surface coils{RailgunCoils(), {}, "models/weapons/railgun/railgun.tga"};
    coils.topology.name = "w_railgun2";
    coils.topology.Transform(Xform::Scale({0.75f, 0.75f, 0.75f}));
    coils.frames.push_back({});
    for (const Vertex& v : coils.topology.vertices)
        coils.frames[0].push_back(v.position);
    WriteFile(root, dir + "Railgun.md3", EncodeMd3("railgun", {body, coils}, {{}}, 1));
    // One texture file name per surface, in surface order.
    WriteText(root, dir + "Railgun.shader", "railgun.tga\nrailgun.tga\n");
    WriteFile(root, dir + "railgun.tga", EncodeTga(PaintRailgun(256), false));
}

} // namespace assetgen
