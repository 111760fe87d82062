#include "models/CMD3.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "md3_builder.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

const tAnimationInfo* Find(const t3DModel* part, const char* name) {
    for (const tAnimationInfo& a : part->pAnimations)
        if (std::strcmp(a.strName, name) == 0) return &a;
    return nullptr;
}

std::vector<tAnimationInfo> lower, upper;
int Parse(const std::string& text) {
    lower.clear();
    upper.clear();
    return CModelMD3::ParseAnimations(text.data(), text.size(), lower, upper);
}

} // namespace

TEST(CModelMD3, TonyLoadsWithItsAnimationsAndLinkedParts) {
    ZARVO_REQUIRE_CORPUS();
    std::string folder = zarvo_test::CorpusDir() + "/models/tony";
    char name[] = "tony", weapon[] = "railgun";
    CModelMD3 tony;
    tony.SetTextureLoading(false);
    ASSERT_TRUE(tony.LoadModel(&folder[0], name));
    ASSERT_TRUE(tony.LoadWeapon(&folder[0], weapon));
    t3DModel* legs = tony.GetModel(CModelMD3::PART_LOWER);
    t3DModel* torso = tony.GetModel(CModelMD3::PART_UPPER);
    t3DModel* head = tony.GetModel(CModelMD3::PART_HEAD);
    t3DModel* gun = tony.GetModel(CModelMD3::PART_WEAPON);
    // Six BOTH entries in both lists, seven TORSO in the upper, twelve LEGS in the lower.
    EXPECT_EQ(legs->numOfAnimations, 18);
    EXPECT_EQ(torso->numOfAnimations, 13);
    EXPECT_EQ(head->numOfAnimations, 0);
    // Entry 13 (LEGS_WALKCR, 96) minus entry 6 (TORSO_GESTURE, 95).
    EXPECT_EQ(tony.GetTorsoOffset(), 1);
    const tAnimationInfo* idle = Find(legs, "LEGS_IDLE");
    ASSERT_NE(idle, nullptr);
    EXPECT_EQ(idle->startFrame, 185);
    EXPECT_EQ(idle->endFrame, 200);
    EXPECT_EQ(idle->loopingFrames, 15);
    EXPECT_EQ(idle->framesPerSecond, 12);
    EXPECT_EQ(Find(torso, "TORSO_ATTACK")->startFrame, 130);
    EXPECT_EQ(Find(torso, "BOTH_DEATH1")->endFrame, 29);
    EXPECT_EQ(Find(torso, "LEGS_IDLE"), nullptr);
    // Links by tag name; the weapon's own tag (tag_flash) stays free.
    EXPECT_EQ(legs->pLinks[0], torso);
    EXPECT_EQ(torso->pLinks[0], head);
    EXPECT_EQ(torso->pLinks[1], gun);
    EXPECT_EQ(gun->pLinks[0], nullptr);
    // Skins with CRLF lines and folder paths name the files in the model folder.
    EXPECT_STREQ(legs->pMaterials[size_t(legs->pObject[1].materialID)].strFile, "suit.tga");
    EXPECT_STREQ(head->pMaterials[0].strFile, "head.tga");
    EXPECT_STREQ(gun->pMaterials[2].strFile, "tinfx2.tga");
}

TEST(CModelMD3, AnimationConfigAssignsByNameAndShiftsLegs) {
    EXPECT_EQ(Parse("sex m\n0 30 0 25 // BOTH_DEATH1\n"), 0);
    ASSERT_EQ(lower.size(), 1u);
    ASSERT_EQ(upper.size(), 1u);
    EXPECT_EQ(lower[0].endFrame, 30);
    EXPECT_EQ(upper[0].framesPerSecond, 25);

    // Standard order: entries 6 (first torso) and 13 (first legs) give the offset.
    std::string standard;
    for (int i = 0; i < 6; ++i)
        standard += std::to_string(i * 10) + " 10 0 20 // BOTH_" + std::to_string(i) + "\n";
    for (int i = 0; i < 7; ++i)
        standard += std::to_string(60 + i * 5) + " 5 0 20 // TORSO_" + std::to_string(i) + "\n";
    standard += "95 8 8 15 // LEGS_WALKCR 96 103\n103 4 4 15\t\t//LEGS_WALK\n";
    EXPECT_EQ(Parse(standard), 35);
    ASSERT_EQ(lower.size(), 8u);
    EXPECT_EQ(lower[6].startFrame, 60);
    EXPECT_EQ(lower[7].startFrame, 68);
    EXPECT_STREQ(lower[7].strName, "LEGS_WALK");
    EXPECT_EQ(upper.size(), 13u);

    // A short file: the offset entries do not exist, the legs keep their numbers.
    EXPECT_EQ(Parse("0 10 0 20 // TORSO_A\n10 5 0 20 // LEGS_B\nbad 1 2 3 // LEGS_C\n"
                    "1 2 3 // LEGS_D\n-4 1 1 1 // LEGS_E\n"),
              0);
    ASSERT_EQ(lower.size(), 1u);
    EXPECT_EQ(lower[0].startFrame, 10);
}

TEST(CModelMD3, ClockStepsFramesByFpsAndWrapsToTheAnimationStart) {
    CModelMD3 character;
    uint32_t now = 0;
    character.SetTickSource([&now] { return now; });
    t3DModel* legs = character.GetModel(CModelMD3::PART_LOWER);
    legs->pAnimations = {tAnimationInfo{"LEGS_A", 0, 4, 0, 10},
                         tAnimationInfo{"LEGS_B", 4, 6, 0, 10}};
    legs->numOfAnimations = 2;
    character.SetLegsAnimation("legs_b"); // names match ignoring case
    EXPECT_EQ(legs->currentAnim, 1);
    EXPECT_EQ(legs->currentFrame, 4);
    character.SetLegsAnimation("LEGS_NONE");
    EXPECT_EQ(legs->currentAnim, 1);

    const struct {
        uint32_t time;
        int current, next;
        float t;
    } steps[] = {{50, 4, 5, 0.5f},
                 {100, 5, 5, 1.0f},
                 {150, 5, 4, 0.5f},
                 {200, 4, 4, 1.0f},
                 {225, 4, 5, 0.25f}};
    for (const auto& s : steps) {
        now = s.time;
        character.UpdateModel(legs);
        EXPECT_EQ(legs->currentFrame, s.current) << s.time;
        EXPECT_EQ(legs->nextFrame, s.next) << s.time;
        EXPECT_FLOAT_EQ(legs->t, s.t) << s.time;
    }

    CMd3 entity;
    entity.GetModel()->SetTickSource([&now] { return now; });
    t3DModel* torso = entity.GetModel()->GetModel(CModelMD3::PART_UPPER);
    torso->pAnimations = {tAnimationInfo{"TORSO_A", 0, 2, 0, 0},
                          tAnimationInfo{"TORSO_B", 7, 9, 0, 5}};
    torso->numOfAnimations = 2;
    entity.IncreaseCharacterAnimation(CModelMD3::PART_UPPER);
    EXPECT_EQ(torso->currentAnim, 1);
    entity.GetModel()->UpdateModel(torso); // the old frame is outside: start over
    EXPECT_EQ(torso->nextFrame, 7);
    entity.IncreaseCharacterAnimation(CModelMD3::PART_UPPER);
    entity.GetModel()->UpdateModel(torso); // zero fps holds the frame
    EXPECT_EQ(torso->t, 0.0f);
}

TEST(CModelMD3, TagMatrixSlerpsRotationAndLerpsPosition) {
    const std::string dir = zarvo_test::MakeTempDir("md3");
    Md3Part part;
    part.frames = 2;
    // Frame 1 turns the tag 90 degrees about z: its x axis points along y.
    part.tags = {{{"tag_torso", {0, 0, 1}}},
                 {{"tag_torso", {2, 0, 3}, {0, 1, 0, -1, 0, 0, 0, 0, 1}}}};
    part.meshes = {Square("l", 0, 0, 2)};
    WriteText(dir + "/c_lower.md3", BuildMd3(part));
    CModelMD3 character;
    char folder[256], name[] = "c";
    std::strcpy(folder, dir.c_str());
    EXPECT_FALSE(character.LoadModel(folder, name)); // no upper, head, skins or config
    t3DModel* legs = character.GetModel(CModelMD3::PART_LOWER);
    ASSERT_EQ(legs->numOfObjects, 1);
    EXPECT_EQ(legs->pLinks[0], nullptr); // the missing upper body is not linked
    EXPECT_EQ(character.GetModel(CModelMD3::PART_UPPER)->numOfObjects, 0);

    legs->currentFrame = 0;
    legs->nextFrame = 1;
    const struct {
        float t, x0, x1, px, pz;
    } cases[] = {{0.0f, 1, 0, 0, 1}, {1.0f, 0, 1, 2, 3}, {0.5f, 0.70711f, 0.70711f, 1, 2}};
    for (const auto& c : cases) {
        legs->t = c.t;
        float m[16];
        character.TagMatrix(legs, 0, m);
        EXPECT_NEAR(m[0], c.x0, 1e-4f) << c.t; // the tag's x axis, column 0
        EXPECT_NEAR(m[1], c.x1, 1e-4f) << c.t;
        EXPECT_NEAR(m[12], c.px, 1e-5f) << c.t;
        EXPECT_NEAR(m[14], c.pz, 1e-5f) << c.t;
    }
    legs->nextFrame = 40; // past the part's frames: held at its last frame
    legs->t = 0.5f;
    float m[16];
    character.TagMatrix(legs, 0, m);
    EXPECT_NEAR(m[12], 1.0f, 1e-5f); // half way to frame 1, the last there is
}
