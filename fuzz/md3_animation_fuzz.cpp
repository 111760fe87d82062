// Feeds arbitrary text to the animation.cfg reader, then runs the part clock over what
// it read; the frames it picks must stay inside the chosen animation.
#include <cstddef>
#include <cstdint>

#include "models/CMD3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CModelMD3 character;
    uint32_t now = 0;
    character.SetTickSource([&now] { return now; });
    t3DModel* lower = character.GetModel(CModelMD3::PART_LOWER);
    t3DModel* upper = character.GetModel(CModelMD3::PART_UPPER);
    CModelMD3::ParseAnimations(reinterpret_cast<const char*>(data), size, lower->pAnimations,
                               upper->pAnimations);
    for (t3DModel* part : {lower, upper}) {
        part->numOfAnimations = int(part->pAnimations.size());
        for (int a = 0; a < part->numOfAnimations && a < 8; ++a) {
            part->currentAnim = a;
            part->currentFrame = part->pAnimations[size_t(a)].startFrame;
            const tAnimationInfo& animation = part->pAnimations[size_t(a)];
            for (int step = 0; step < 4; ++step) {
                now += 97;
                character.UpdateModel(part);
                if (part->nextFrame != animation.startFrame &&
                    (part->nextFrame < animation.startFrame ||
                     part->nextFrame >= animation.endFrame))
                    __builtin_trap();
                if (part->t < 0.0f || part->t > 1.0f) __builtin_trap();
            }
        }
    }
    character.SetLegsAnimation("LEGS_IDLE");
    character.SetTorsoAnimation("torso_stand");
    return 0;
}
