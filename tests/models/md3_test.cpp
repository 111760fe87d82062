#include <gtest/gtest.h>

#include "model_fixtures.h"
#include "models/CMD3.h"

using namespace model_test;

namespace {

struct Md3Model : t3DModel {
    ~Md3Model() { ReleaseMd3Model(*this); }
};

bool Load(CLoadMD3& loader, t3DModel& model, const std::string& bytes) {
    return loader.ImportMD3FromMemory(&model, Bytes(bytes), bytes.size());
}

Md3Part TwoFramePart() {
    return Md3Part{
        2, {{{"tag_torso", {0, 0, 1}}}, {{"tag_torso", {0, 0, 2}}}}, {Square("l", 0, 0, 2)}};
}

// "start end looping fps" of the named animation.
std::string Anim(const t3DModel* part, const char* name) {
    for (const tAnimationInfo& a : part->pAnimations)
        if (std::strcmp(a.strName, name) == 0)
            return std::to_string(a.startFrame) + " " + std::to_string(a.endFrame) + " " +
                   std::to_string(a.loopingFrames) + " " + std::to_string(a.framesPerSecond);
    return "none";
}

} // namespace

TEST(CModelMD3, TonyPartsMatchTheirFactsAndLoadWithAnimationsLinksAndSkins) {
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
    // Frames and tags | each mesh's name and triangle count | the box.
    const std::pair<t3DModel*, const char*> parts[] = {
        {legs, "261 tag_torso | l_belt 0 l_lower 386 | -4.28125 -16.90625 -15.09375 16.578125 "
               "17.6875 10.125"},
        {torso, "191 tag_head tag_weapon | u_body 506 u_vest 0 | -7 -24.578125 -1.921875 "
                "3.140625 24.578125 17.90625"},
        {head, "1 | h_head 298 | -4.9375 -5.40625 -1.03125 6.890625 5.40625 8"},
        {gun, "1 tag_flash | gun 398 energy.001 8 glass 8 | -12.90625 -4.171875 -1.890625 "
              "14.984375 4.171875 6.359375"}};
    for (const auto& [part, facts] : parts) {
        std::string outline = std::to_string(tony.GetFrameCount(part)) + " ";
        for (int i = 0; i < part->numOfTags; ++i)
            outline += std::string(part->pTags[i].strName) + " ";
        outline += "|";
        for (const t3DObject& mesh : part->pObject) {
            outline += " " + std::string(mesh.strName) + " " + std::to_string(mesh.numOfFaces);
            for (int v = 0; v < mesh.numOfVerts; ++v) // packed normals come out unit length
                ASSERT_NEAR(Magnitude(mesh.pNormals[v]), 1.0f, 1e-4f) << mesh.strName;
        }
        EXPECT_EQ(outline + " | " + Str(part->boundingBox.min) + " " + Str(part->boundingBox.max),
                  facts);
        EXPECT_EQ(part->numOfObjects, int(part->pObject.size()));
    }
    // Six BOTH entries in both lists, seven TORSO in the upper, twelve LEGS in the lower;
    // the legs' offset is entry 13 (LEGS_WALKCR, 96) minus entry 6 (TORSO_GESTURE, 95).
    EXPECT_EQ(Ints({legs->numOfAnimations, torso->numOfAnimations, head->numOfAnimations,
                    tony.GetTorsoOffset()}),
              Ints({18, 13, 0, 1}));
    EXPECT_EQ(Anim(legs, "LEGS_IDLE") + ", " + Anim(torso, "TORSO_ATTACK") + ", " +
                  Anim(torso, "BOTH_DEATH1") + ", " + Anim(torso, "LEGS_IDLE"),
              "185 200 15 12, 130 136 0 15, 0 29 0 15, none");
    // Links by tag name; the weapon's own tag (tag_flash) stays free.
    EXPECT_TRUE(legs->pLinks[0] == torso && torso->pLinks[0] == head && torso->pLinks[1] == gun);
    EXPECT_EQ(gun->pLinks[0], nullptr);
    // Skins with CRLF lines and folder paths name the files in the model folder.
    EXPECT_STREQ(legs->pMaterials[size_t(legs->pObject[1].materialID)].strFile, "suit.tga");
    EXPECT_STREQ(head->pMaterials[0].strFile, "head.tga");
    EXPECT_STREQ(gun->pMaterials[2].strFile, "tinfx2.tga");
}

TEST(CLoadMD3, FramesAreStoredFrameMajorWithTexturesFlipped) {
    CLoadMD3 loader;
    Md3Model model;
    Md3Part part = TwoFramePart();
    part.meshes[0].frames[1][2] = {3, 0, 4};
    ASSERT_TRUE(Load(loader, model, BuildMd3(part)));
    const t3DObject& mesh = model.pObject[0];
    EXPECT_EQ(mesh.numOfVerts, 4);
    EXPECT_EQ(Floats({mesh.pVerts[4 + 2].x, mesh.pVerts[4 + 2].z, mesh.pTexVerts[3].y,
                      model.pTags[1].vPosition.z}),
              Floats({3, 4, -1, 2}));
    // Packed normals: (longitude, latitude) bytes of 2 pi / 256 steps.
    const uint8_t up[2] = {0, 0}, x[2] = {64, 0}, y[2] = {64, 64};
    EXPECT_NEAR(CLoadMD3::DecodeNormal(up).z, 1.0f, 1e-5f);
    EXPECT_NEAR(CLoadMD3::DecodeNormal(x).x, 1.0f, 1e-5f);
    EXPECT_NEAR(CLoadMD3::DecodeNormal(y).y, 1.0f, 1e-5f);
}

TEST(CLoadMD3, CountsAndOffsetsOutsideTheFileAreRefused) {
    const std::string good = BuildMd3(TwoFramePart());
    const size_t mesh = 108 + 2 * 56 + 2 * 112;
    const struct {
        size_t at;
        int32_t value;
        const char* message;
    } cases[] = {{0, 0x32504449 /* IDP2 */, "Version not 15"},
                 {76, 0, "no frames"},
                 {80, 1000000, "tags run past the end"},
                 {84, 3, "mesh 1 header runs past"},
                 {mesh + 104, 1 << 20, "size runs past the end"},
                 {mesh + 72, 1, "fewer frames than the file"},
                 {mesh + 84, 1000, "blocks run past the mesh"},
                 {mesh + 100, -8, "blocks run past the mesh"},
                 {mesh + 108 + 68 + 4, 4, "triangle index 4 is not below its 4 vertices"},
                 {good.size(), 0, ""}}; // cut by one byte
    for (const auto& c : cases) {
        std::string bytes = good;
        if (c.at < good.size()) SetI32(bytes, c.at, c.value);
        if (c.at == good.size()) bytes.pop_back();
        CLoadMD3 loader;
        Md3Model model;
        ExpectRefused(Load(loader, model, bytes), loader.GetLastError(), c.message, model);
    }
}

TEST(CLoadMD3, SkinAndShaderLinesNameEachMeshTexture) {
    Model model;
    for (const char* name : {"u_body", "u_vest", "h_head"}) {
        model.pObject.push_back(MakeEmptyObject());
        std::strcpy(model.pObject.back().strName, name);
    }
    model.numOfObjects = 3;
    auto files = [&] {
        std::string s;
        for (const t3DObject& o : model.pObject)
            s += std::string(o.bHasTexture ? "" : "untextured ") +
                 model.pMaterials[size_t(o.materialID)].strFile + " ";
        return s;
    };
    CLoadMD3 loader;
    const std::string skin = "u_body,models/players/tony/suit.tga\r\n\r\ntag_head,\r\n"
                             "u_vest,red.tga\n h_head,models\\x\\" +
                             std::string(600, 'x') + ".tga\n";
    loader.LoadSkinFromMemory(&model, skin.data(), skin.size());
    ASSERT_EQ(model.numOfMaterials, 3);
    EXPECT_EQ(files(), "suit.tga red.tga " + std::string(254, 'x') + " ");
    // A line whose name starts with a NUL (found by fuzzing) names no texture: an empty
    // line leaves the mesh as it was.
    const std::string shader =
        "skin.tga\r\n" + std::string(3, '\0') + "x.tga\nextra.tga\nignored.tga\n";
    loader.LoadShaderFromMemory(&model, shader.data(), shader.size());
    EXPECT_EQ(model.numOfMaterials, 5);
    EXPECT_EQ(files(), "skin.tga red.tga extra.tga ");
}

TEST(CModelMD3, AnimationConfigAssignsByNameAndShiftsLegs) {
    std::vector<tAnimationInfo> lower, upper;
    auto parse = [&](const std::string& text) {
        lower.clear();
        upper.clear();
        return CModelMD3::ParseAnimations(text.data(), text.size(), lower, upper);
    };
    EXPECT_EQ(parse("sex m\n0 30 0 25 // BOTH_DEATH1\n"), 0);
    ASSERT_EQ(lower.size() + upper.size(), 2u);
    EXPECT_EQ(Ints({lower[0].endFrame, upper[0].framesPerSecond}), Ints({30, 25}));
    // Standard order: entries 6 (first torso) and 13 (first legs) give the offset.
    std::string standard;
    for (int i = 0; i < 13; ++i)
        standard += std::to_string(i < 6 ? i * 10 : 30 + i * 5) +
                    (i < 6 ? " 10 0 20 // BOTH_" : " 5 0 20 // TORSO_") + std::to_string(i) + "\n";
    EXPECT_EQ(parse(standard + "95 8 8 15 // LEGS_WALKCR 96 103\n103 4 4 15\t\t//LEGS_WALK\n"), 35);
    ASSERT_EQ(lower.size(), 8u);
    EXPECT_EQ(Ints({lower[6].startFrame, lower[7].startFrame, int(upper.size())}),
              Ints({60, 68, 13}));
    EXPECT_STREQ(lower[7].strName, "LEGS_WALK");
    // A short file: the offset entries do not exist, the legs keep their numbers; lines
    // that are not four numbers, or start below zero, are skipped.
    EXPECT_EQ(parse("0 10 0 20 // TORSO_A\n10 5 0 20 // LEGS_B\nbad 1 2 3 // LEGS_C\n"
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
    character.SetLegsAnimation("LEGS_NONE");
    EXPECT_EQ(Ints({legs->currentAnim, legs->currentFrame}), Ints({1, 4}));
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
        EXPECT_EQ(Ints({legs->currentFrame, legs->nextFrame}), Ints({s.current, s.next})) << s.time;
        EXPECT_FLOAT_EQ(legs->t, s.t) << s.time;
    }
    CMd3 entity;
    entity.GetModel()->SetTickSource([&now] { return now; });
    t3DModel* torso = entity.GetModel()->GetModel(CModelMD3::PART_UPPER);
    torso->pAnimations = {tAnimationInfo{"TORSO_A", 0, 2, 0, 0},
                          tAnimationInfo{"TORSO_B", 7, 9, 0, 5}};
    torso->numOfAnimations = 2;
    entity.IncreaseCharacterAnimation(CModelMD3::PART_UPPER);
    entity.GetModel()->UpdateModel(torso); // the old frame is outside: start over
    EXPECT_EQ(Ints({torso->currentAnim, torso->nextFrame}), Ints({1, 7}));
    entity.IncreaseCharacterAnimation(CModelMD3::PART_UPPER);
    entity.GetModel()->UpdateModel(torso); // zero fps holds the frame
    EXPECT_EQ(torso->t, 0.0f);
}

TEST(CModelMD3, TagMatrixSlerpsRotationAndLerpsPosition) {
    // Frame 1 turns the tag 90 degrees about z: its x axis points along y.
    Md3Part part{
        2,
        {{{"tag_torso", {0, 0, 1}}}, {{"tag_torso", {2, 0, 3}, {0, 1, 0, -1, 0, 0, 0, 0, 1}}}},
        {Square("l", 0, 0, 2)}};
    std::string folder = TempFile("c_lower.md3", BuildMd3(part));
    folder.resize(folder.rfind('/'));
    CModelMD3 character;
    char name[] = "c";
    EXPECT_FALSE(character.LoadModel(&folder[0], name)); // no upper, head, skins or config
    t3DModel* legs = character.GetModel(CModelMD3::PART_LOWER);
    ASSERT_EQ(legs->numOfObjects, 1);
    EXPECT_EQ(legs->pLinks[0], nullptr); // the missing upper body is not linked
    EXPECT_EQ(character.GetModel(CModelMD3::PART_UPPER)->numOfObjects, 0);
    legs->currentFrame = 0;
    // Next frame, t, then the tag's x axis (column 0) and position (column 3) x and z; a
    // next frame past the part's frames holds at its last.
    const Floats cases[] = {{1, 0, 1, 0, 0, 1},
                            {1, 1, 0, 1, 2, 3},
                            {1, 0.5f, 0.70711f, 0.70711f, 1, 2},
                            {40, 0.5f, 0.70711f, 0.70711f, 1, 2}};
    for (const Floats& c : cases) {
        legs->nextFrame = int(c[0]);
        legs->t = c[1];
        float m[16];
        character.TagMatrix(legs, 0, m);
        for (int k : {0, 1, 12, 14})
            EXPECT_NEAR(m[k],
                        c[k < 12    ? 2 + k
                          : k == 12 ? 4
                                    : 5],
                        k < 12 ? 1e-4f : 1e-5f)
                << c[0] << " " << c[1] << " " << k;
    }
}
