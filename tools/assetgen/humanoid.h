#pragma once
// A jointed human figure: solids attached to a small skeleton, posed per frame by
// procedural animation curves. Faces +x with its right side towards +z; feet
// rest at y = -24 and the head reaches about y = 32, the usual player box.
#include "tools/assetgen/canvas.h"
#include "tools/assetgen/mesh.h"

#include <array>
#include <string>
#include <vector>

namespace assetgen {

enum Joint {
    kRoot,
    kSpine,
    kNeck,
    kShoulderL,
    kElbowL,
    kWristL,
    kShoulderR,
    kElbowR,
    kWristR,
    kHipL,
    kKneeL,
    kAnkleL,
    kHipR,
    kKneeR,
    kAnkleR,
    kJointCount
};

struct Pose {
    Vec3 rootOffset;                        // added to the pelvis position
    Vec3 rootEuler;                         // whole-body rotation (degrees), about the pelvis
    std::array<Vec3, kJointCount> joints{}; // Euler degrees per joint
};

// Named animation curves; phase runs over [0, 1) for loops and [0, 1] for one-shots.
Pose AnimatePose(const std::string& animation, float phase);

struct HumanoidStyle {
    bool female = false;
    float shoulderWidth = 7.5f;
    float hipWidth = 3.8f;
    bool pistol = false; // a sidearm in the right hand
};

// Texture regions of the shared skin layout (fractions of the skin image).
struct SkinLayout {
    UvRect torso{0, 0, 0.5f, 0.25f}, pelvis{0.5f, 0, 1, 0.125f}, head{0.5f, 0.125f, 1, 0.375f};
    UvRect neck{0.5f, 0.375f, 0.625f, 0.4375f}, hand{0.625f, 0.375f, 0.75f, 0.5f};
    UvRect upperArm{0, 0.25f, 0.25f, 0.5f}, forearm{0.25f, 0.25f, 0.5f, 0.5f};
    UvRect thigh{0, 0.5f, 0.25f, 0.75f}, shin{0.25f, 0.5f, 0.5f, 0.75f},
        foot{0.5f, 0.5f, 0.75f, 0.75f};
    UvRect prop{0.75f, 0.5f, 1, 0.75f}, hair{0.75f, 0.375f, 1, 0.5f};
};

class Humanoid {
public:
    explicit Humanoid(const HumanoidStyle& style);

    // The joints a part set contains, for splitting into MD3 pieces.
    enum PartSet { kWholeBody, kLowerBody, kUpperBody, kHeadOnly };
    Mesh Topology(PartSet set) const;
    // Positions of the set's vertices under a pose, expressed in `space` (world if identity).
    std::vector<Vec3> Posed(PartSet set, const Pose& pose, const Xform& space = Xform{}) const;
    Xform JointWorld(const Pose& pose, Joint joint) const;

private:
    struct Part {
        Joint joint;
        Mesh mesh; // in the joint's rest frame
    };
    static bool InSet(PartSet set, Joint joint);
    std::array<int, kJointCount> parent_{};
    std::array<Vec3, kJointCount> offset_{};
    std::vector<Part> parts_;
};

// Skin painters for the two people; colours and details differ, the layout is shared.
Canvas PaintMcClaneSkin(int size);
Canvas PaintLaraSkin(int size);

} // namespace assetgen
