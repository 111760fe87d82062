// The MD2, 3DS, MD3 and OBJ loaders and the objects that animate, place and shadow them.

#include <charconv>
#include <random>

#include "model_fixtures.h"
#include "models/3dsObject.h"
#include "models/CMD2Object.h"
#include "models/CMD3.h"
#include "models/CObj.h"

using namespace model_test;
using namespace zarvo_test;

namespace {

std::string Anim(const tAnimationInfo& a) {
    return Join(a.strName, a.startFrame, a.endFrame);
}

// The frame names facts.json lists for one file (a plain scan: the file is trusted).
std::vector<std::string> FactFrameNames(const std::string& file) {
    std::string json;
    ReadFileBytes(CorpusDir() + "/facts.json", json);
    const size_t at = json.find('[', json.find("\"frame_names\"", json.find("\"" + file + "\"")));
    std::vector<std::string> names;
    for (size_t p = json.find('"', at), q; p < json.find(']', at); p = json.find('"', q + 1)) {
        q = json.find('"', p + 1);
        names.push_back(json.substr(p + 1, q - p - 1));
    }
    return names;
}

// An MD2 object of a built file, its clock under the test's control.
struct ClockedModel {
    CMD2Object object;
    uint32_t now = 0;
    explicit ClockedModel(const std::vector<std::string>& frames, Md2Recipe recipe = {}) {
        recipe.frameNames = frames;
        std::string path = TempFile("model.md2", BuildMd2(recipe));
        object.SetTickSource([this] { return now; });
        object.Init(&path[0], nullptr);
    }
    int Frame() { return object.getModel()->currentFrame; }
    // One draw's worth of clock work, without GL.
    float Step(uint32_t at) {
        now = at;
        return object.ReturnCurrentTime(object.NextFrame(true));
    }
};

// "name vertices faces coordinates material textured corners;" for each mesh.
std::string Outline(const t3DModel& m) {
    std::string s;
    for (const t3DObject& o : m.pObject)
        s += Join(o.strName, o.numOfVerts, o.numOfFaces, o.numTexVertex, o.materialID,
                  o.bHasTexture, o.arrayVertexCount) +
             "; ";
    return s;
}

// "start end looping fps" of the named animation.
std::string Anim(const t3DModel* part, const char* name) {
    for (const tAnimationInfo& a : part->pAnimations)
        if (std::strcmp(a.strName, name) == 0)
            return Join(a.startFrame, a.endFrame, a.loopingFrames, a.framesPerSecond);
    return "none";
}

// The positions of corners (triangle, corner) of a mesh to five digits.
std::string Corners(const t3DObject& mesh, std::initializer_list<std::pair<int, int>> corners) {
    std::string s;
    for (const auto& [f, k] : corners)
        s += Str(mesh.pVerts[mesh.pFaces[f].vertIndex[k]], 5) + ", ";
    return s;
}

} // namespace

TEST(CMD2Loader, CorpusModelsMatchTheirFactsAndAssimpBounds) {
    ZARVO_REQUIRE_CORPUS();
    // Frames, vertices, texture coordinates, faces | assimp's frame-0 box (the same axes).
    const std::pair<const char*, const char*> files[] = {
        {"sydney.md2", "198 342 456 679 | -7.7346 -24.014 -10.103 5.5013 30.943 11.989"},
        {"faerie.md2", "198 366 487 654 | -16.814 -24.53 -12.083 3.2717 27.438 14.131"}};
    for (const auto& [file, facts] : files) {
        Model model;
        ASSERT_TRUE(LoadAs('2', Corpus(file), model)) << file;
        const t3DObject& f = model.pObject[0];
        ASSERT_EQ(Join(model.pObject.size(), f.numOfVerts, f.numTexVertex, f.numOfFaces, "|",
                       Str(f.boundingBox.min, 5), Str(f.boundingBox.max, 5)),
                  facts);
        EXPECT_EQ(Ints({model.numOfObjects, model.numOfVertices}), Ints({198, f.numOfFaces * 3}));
        std::vector<std::string> names;
        for (const t3DObject& frame : model.pObject)
            names.push_back(frame.strName);
        EXPECT_EQ(names, FactFrameNames(std::string("models/") + file));
        ExpectUnitNormals(model);
        // In pain101..104 the digits before the last two stay in the name.
        const std::vector<tAnimationInfo>& a = model.pAnimations;
        if (file[0] == 'f') {
            EXPECT_EQ(Join(Anim(a[0]), Anim(a[1]), Anim(a[3]), a[4].strName, Anim(a.back())),
                      "stand 0 40 run 40 46 pain1 54 58 pain2 death3 190 197");
        }
    }
}

TEST(CMD2Loader, FrameNumbersStayInsideTheModelAndSkinCoordinatesScale) {
    // Frames stay in range ("x99" is not frame 98); "end1" only closes "walk".
    Md2Recipe recipe;
    recipe.frameNames = {"x99", "x98", "walk", "walk", "end1"};
    recipe.numVertices = 4; // vertex 3 belongs to no face: it points up
    Model model;
    ASSERT_TRUE(LoadAs('2', BuildMd2(recipe), model, nullptr, "skin.pcx"));
    ASSERT_EQ(model.numOfAnimations, 2);
    EXPECT_EQ(Join(model.pAnimations[0].startFrame, Anim(model.pAnimations[1])), "4 walk 1 4");
    EXPECT_EQ(
        Join(Str(model.pObject[0].pNormals[3]), model.numOfMaterials, model.pMaterials[0].strFile),
        "0 1 0 1 skin.pcx");
    const CVector2& st = model.pObject[0].pTexVerts[1];
    EXPECT_EQ(Floats({st.x, st.y, model.pMaterials[0].uTile}),
              Floats({8.0f / 64, 1.0f - 4.0f / 32, 1}));
}

TEST(CMD2Object, AnimationsWrapAndHandOverToTheDefault) {
    // a [0, 3], b [3, 5]; -1 wraps to b; after b: frame 0, or the default's start.
    const std::vector<std::string> frames = {"a1", "a2", "a3", "b1", "b2", "b3"};
    ClockedModel plain(frames), fallback(frames);
    fallback.object.SetDefaultAnimation(0);
    std::string shown;
    for (ClockedModel* c : {&plain, &fallback}) {
        c->object.SetAnim(-1);
        shown += std::to_string(c->Frame());
        for (uint32_t t = 200; t <= (c == &plain ? 1200u : 400u); t += 200) {
            c->Step(t);
            shown += std::to_string(c->Frame());
        }
        shown += " ";
    }
    EXPECT_EQ(Join(shown, fallback.object.getModel()->currentAnim), "3401234 343  0");
    EXPECT_FLOAT_EQ(plain.Step(1500), 1.5f); // the clock's factor is not clamped
}

// The first build only starts the clock; a 1 s stall must not pass the next pose.
TEST(CMD2Object, ShadowShapeStopsAtTheNextPoseAfterAStall) {
    Md2Recipe recipe;
    recipe.triangles = {{0, 1, 2, 0, 1, 2}, {0, 2, 1, 0, 2, 1}};
    recipe.packed = {{0, 0, 0, 10, 0, 0, 0, 10, 0},
                     {20, 0, 0, 30, 0, 0, 20, 10, 5},
                     {40, 0, 0, 50, 0, 0, 40, 10, 9}};
    auto volumeAfter = [&](uint32_t secondCall) {
        ClockedModel m({"run1", "run2", "run3"}, recipe);
        m.object.SetAnimationSpeed(5.0f); // 200 ms a frame
        m.object.BuildShadowVolume(CVector3(300, 700, 500));
        EXPECT_EQ(m.object.GetShadowVolume()->GetVolumeVertexCount(), 0u);
        m.now = secondCall;
        m.object.BuildShadowVolume(CVector3(300, 700, 500));
        EXPECT_EQ(m.object.GetShadowVolume()->GetVolumeVertexCount() % 6, 0u);
        Floats xyz;
        for (const vertex& v : m.object.GetShadowVolume()->GetVolumeVertices())
            xyz.insert(xyz.end(), {v.x, v.y, v.z});
        return xyz;
    };
    const Floats atStep = volumeAfter(200);
    ASSERT_FALSE(atStep.empty());
    EXPECT_EQ(volumeAfter(1000), atStep);
}

TEST(CLoad3DS, RoomMatchesItsFactsAndAssimpBounds) {
    ZARVO_REQUIRE_CORPUS();
    const std::string bytes = Corpus("room.3ds");
    for (bool swap : {false, true}) {
        Model model;
        ASSERT_TRUE(LoadAs(swap ? 's' : 'S', bytes, model));
        EXPECT_EQ(Outline(model),
                  "mesh02 14 20 14 0 0 60; mesh03 14 20 14 0 0 60; mesh04 14 20 14 0 0 60; "
                  "mesh01 74 96 74 0 0 288; ");
        ExpectUnitNormals(model);
        ASSERT_EQ(model.numOfMaterials, 1); // assimp: 156 faces
        EXPECT_EQ(Join(model.numOfObjects, model.numOfVertices, model.pMaterials[0].strName,
                       model.pMaterials[0].strFile),
                  "4 468  -- default -- ");
        // Swapped (x, z, -y) is what assimp reports.
        const sBoundingBox& box = model.boundingBox;
        ExpectNear3(box.min, -406.9888f, swap ? -0.00024f : -349.0432f,
                    swap ? -351.9168f : -0.0002f);
        ExpectNear3(box.max, 402.3912f, swap ? 503.77f : 351.9168f, swap ? 349.0432f : 503.77f);
    }
}

TEST(CLoad3DS, LaterVersionsWarnNormalsFlipAndMaterialsTexturesColoursAndNamesLoad) {
    std::string floatColour;
    PutAll(floatColour, {1.0f, 0.5f, 0.0f});
    const std::string glow = Chunk(0xAFFF, Chunk(0xA000, std::string("glow\0", 5)) +
                                               Chunk(0xA020, Chunk(0x0010, floatColour)));
    const std::string file =
        Build3ds(Material("wood", "wood.bmp", 200, 100, 50) + glow + TriangleMesh("a", "wood") +
                     TriangleMesh("b", "glow") + TriangleMesh("c", "missing"),
                 4);
    Model model;
    bool ok = false;
    EXPECT_EQ(Quiet([&] { ok = LoadAs('S', file, model); }),
              "This 3DS file is over version 3 so it may load incorrectly\n");
    ASSERT_TRUE(ok);
    // Cross(p0 - p2, p2 - p1) of (0,0,0), (1,0,0), (0,1,0) is (0, 0, -1); 3DS flips it.
    ExpectNear3(model.pObject[0].pNormals[2], 0, 0, 1, 1e-6f);
    EXPECT_FLOAT_EQ(model.boundingSphere.center.x, 1.0f / 3);
    EXPECT_EQ(Outline(model), "a 3 1 0 0 1 3; b 3 1 0 1 0 3; c 3 1 0 -1 0 3; ");
    ASSERT_EQ(model.numOfMaterials, 2);
    EXPECT_STREQ(model.pMaterials[0].strFile, "wood.bmp");
    const uint8_t *c0 = model.pMaterials[0].color, *c1 = model.pMaterials[1].color;
    EXPECT_EQ(Ints({c0[0], c1[0], c1[1], c1[2]}), Ints({200, 255, 128, 0}));
    // No coordinates: zeros; colours are material / 255, white for an unknown material.
    const t3DSCornerArrays a = CLoad3DS::BuildCornerArrays(model, model.pObject[0]);
    const t3DSCornerArrays white = CLoad3DS::BuildCornerArrays(model, model.pObject[2]);
    EXPECT_EQ(a.texCoords, Floats(6, 0.0f));
    EXPECT_TRUE(a.colors.size() == 9 && std::fabs(a.colors[0] - 200 / 255.0f) < 1e-6f);
    EXPECT_TRUE(white.texCoords.empty() && white.colors == Floats(9, 1.0f));
    // Names are cut to fit; short coordinate lists are zero-padded.
    const std::string name(400, 'n'), uvs = FloatList(0x4140, 2, {0.5f, 0.25f});
    Model named;
    ASSERT_TRUE(LoadAs('S', Build3ds(Material(name, name) + TriangleMesh(name, "", uvs)), named));
    const t3DObject& n = named.pObject[0];
    EXPECT_EQ(std::string(n.strName) + named.pMaterials[0].strFile, std::string(508, 'n'));
    ASSERT_EQ(n.numTexVertex, 3);
    EXPECT_EQ(Floats({n.pTexVerts[0].x, n.pTexVerts[2].x}), Floats({0.5f, 0.0f}));
}

TEST(C3DSObject, TexturesOfMoreThanTenMaterialsJoinTheFolderAsItStands) {
    EXPECT_EQ(C3DSObject::TexturePath("Data/Models/demo", "floor.bmp"),
              "Data/Models/demofloor.bmp");
    std::string chunks;
    for (int i = 0; i < 12; ++i)
        chunks += Material("m" + std::to_string(i), "t" + std::to_string(i) + ".bmp");
    C3DSObject object;
    const std::string out = Load3ds(object, chunks + TriangleMesh("tri", "m11"), "tex/");
    for (const char* texture : {"tex/t0.bmp\n", "tex/t11.bmp\n"})
        EXPECT_NE(out.find(texture), std::string::npos) << out;
    const t3DModel& m = *object.getModel();
    EXPECT_EQ(Ints({m.numOfMaterials, m.pMaterials[11].texureId, m.pObject[0].materialID,
                    object.GetModelVertexNum()}),
              Ints({12, 11, 11, 3}));
}

TEST(CModelMD3, TonyPartsMatchTheirFactsAndLoadWithAnimationsLinksAndSkins) {
    ZARVO_REQUIRE_CORPUS();
    std::string folder = CorpusDir() + "/models/tony";
    char name[] = "tony", weapon[] = "railgun";
    CModelMD3 tony;
    tony.SetTextureLoading(false);
    ASSERT_TRUE(tony.LoadModel(&folder[0], name));
    ASSERT_TRUE(tony.LoadWeapon(&folder[0], weapon));
    t3DModel* legs = tony.GetModel(CModelMD3::PART_LOWER);
    t3DModel* torso = tony.GetModel(CModelMD3::PART_UPPER);
    t3DModel* head = tony.GetModel(CModelMD3::PART_HEAD);
    t3DModel* gun = tony.GetModel(CModelMD3::PART_WEAPON);
    // Frames tags | mesh triangles | box.
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
        for (const t3DObject& mesh : part->pObject)
            outline += " " + Join(mesh.strName, mesh.numOfFaces);
        EXPECT_EQ(Join(outline, "|", Str(part->boundingBox.min), Str(part->boundingBox.max)),
                  facts);
        EXPECT_EQ(part->numOfObjects, int(part->pObject.size()));
        ExpectUnitNormals(*part); // packed normals come out unit length
    }
    // Legs' offset: entry 13 (LEGS_WALKCR, 96) minus entry 6 (TORSO_GESTURE, 95).
    EXPECT_EQ(Join(legs->numOfAnimations, torso->numOfAnimations, head->numOfAnimations,
                   tony.GetTorsoOffset()),
              "18 13 0 1");
    EXPECT_EQ(Join(Anim(legs, "LEGS_IDLE"), Anim(torso, "TORSO_ATTACK"), Anim(torso, "BOTH_DEATH1"),
                   Anim(torso, "LEGS_IDLE")),
              "185 200 15 12 130 136 0 15 0 29 0 15 none");
    EXPECT_TRUE(legs->pLinks[0] == torso && torso->pLinks[0] == head && torso->pLinks[1] == gun &&
                !gun->pLinks[0]);
    // Skins: CRLF lines, folder paths stripped.
    EXPECT_EQ(Join(legs->pMaterials[size_t(legs->pObject[1].materialID)].strFile,
                   head->pMaterials[0].strFile, gun->pMaterials[2].strFile),
              "suit.tga head.tga tinfx2.tga");
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
    // A line starting with NUL (fuzzing) names nothing: the mesh keeps its texture.
    const std::string shader =
        "skin.tga\r\n" + std::string(3, '\0') + "x.tga\nextra.tga\nignored.tga\n";
    loader.LoadShaderFromMemory(&model, shader.data(), shader.size());
    EXPECT_EQ(Join(model.numOfMaterials, files()), "5 skin.tga red.tga extra.tga ");
}

TEST(CModelMD3, AnimationsSwitchStepWrapAndHoldAtZeroFps) {
    uint32_t now = 0;
    CMd3 entity;
    EXPECT_TRUE(entity.IsEmpty());
    entity.GetModel()->SetTickSource([&now] { return now; });
    t3DModel* torso = entity.GetModel()->GetModel(CModelMD3::PART_UPPER);
    torso->pAnimations = {{"TORSO_A", 0, 2, 0, 0}, {"TORSO_B", 7, 9, 0, 5}};
    torso->numOfAnimations = 2;
    entity.IncreaseCharacterAnimation(CModelMD3::PART_UPPER);
    entity.GetModel()->UpdateModel(torso); // the old frame is outside: start over
    EXPECT_EQ(Ints({torso->currentAnim, torso->nextFrame}), Ints({1, 7}));
    entity.IncreaseCharacterAnimation(CModelMD3::PART_UPPER);
    entity.GetModel()->UpdateModel(torso); // zero fps holds the frame
    EXPECT_EQ(torso->t, 0.0f);
    // Names ignore case; at 10 fps b steps and wraps.
    t3DModel* legs = entity.GetModel()->GetModel(CModelMD3::PART_LOWER);
    legs->pAnimations = {{"LEGS_A", 0, 4, 0, 10}, {"LEGS_B", 4, 6, 0, 10}};
    legs->numOfAnimations = 2;
    entity.SetAnim("legs_b", "TORSO_NONE");
    std::string frames = std::to_string(legs->currentAnim) + ":";
    for (now = 50; now <= 200; now += 50) {
        entity.GetModel()->UpdateModel(legs);
        frames += " " + std::to_string(legs->currentFrame) + std::to_string(legs->nextFrame);
    }
    EXPECT_EQ(frames, "1: 45 55 54 44");
}

TEST(CModelMD3, FramesAreFrameMajorAndTagMatrixSlerpsRotationAndLerpsPosition) {
    // Frame 1 turns the tag 90 degrees about z: its x axis points along y.
    Md3Part part{
        2,
        {{{"tag_torso", {0, 0, 1}}}, {{"tag_torso", {2, 0, 3}, {0, 1, 0, -1, 0, 0, 0, 0, 1}}}},
        {Square("l", 0, 0, 2)}};
    part.meshes[0].frames[1][2] = {3, 0, 4};
    std::string folder = TempFile("c_lower.md3", BuildMd3(part));
    folder.resize(folder.rfind('/'));
    CModelMD3 character;
    char name[] = "c";
    EXPECT_FALSE(character.LoadModel(&folder[0], name)); // no upper, head, skins or config
    t3DModel* legs = character.GetModel(CModelMD3::PART_LOWER);
    ASSERT_EQ(legs->numOfObjects, 1);
    // Frame-major vertices; flipped texture coordinates.
    const t3DObject& mesh = legs->pObject[0];
    EXPECT_EQ(Floats({mesh.pVerts[4 + 2].x, mesh.pVerts[4 + 2].z, mesh.pTexVerts[3].y}),
              Floats({3, 4, -1}));
    EXPECT_TRUE(!legs->pLinks[0] && character.GetModel(CModelMD3::PART_UPPER)->numOfObjects == 0);
    legs->currentFrame = 0;
    // Next frame, t, x axis x y, position x z; a next frame past the end holds the last.
    const Floats cases[] = {{1, 0, 1, 0, 0, 1},
                            {1, 1, 0, 1, 2, 3},
                            {1, 0.5f, 0.70711f, 0.70711f, 1, 2},
                            {40, 0.5f, 0.70711f, 0.70711f, 1, 2}};
    for (const Floats& c : cases) {
        legs->nextFrame = int(c[0]);
        legs->t = c[1];
        float m[16];
        character.TagMatrix(legs, 0, m);
        for (int k : {0, 1, 2, 3})
            EXPECT_NEAR(m[Ints({0, 1, 12, 14})[size_t(k)]], c[size_t(k) + 2], k < 2 ? 1e-4f : 1e-5f)
                << c[0] << " " << c[1] << " " << k;
    }
    // Packed normals: (longitude, latitude) bytes of 2 pi / 256 steps.
    const uint8_t up[2] = {0, 0}, x[2] = {64, 0}, y[2] = {64, 64};
    EXPECT_NEAR(CLoadMD3::DecodeNormal(up).z, 1.0f, 1e-5f);
    EXPECT_NEAR(CLoadMD3::DecodeNormal(x).x, 1.0f, 1e-5f);
    EXPECT_NEAR(CLoadMD3::DecodeNormal(y).y, 1.0f, 1e-5f);
}

TEST(CObjLoader, CorpusFilesLoadWithTheirTrianglesAndBounds) {
    ZARVO_REQUIRE_CORPUS();
    const Floats sydney = {-7.7346f, -24.0143f, -10.103f, 5.5013f, 30.9431f, 11.9887f};
    // One mesh each, of these triangles.
    const std::tuple<const char*, int, Floats> cases[] = {
        {"sydney_simple.obj", 679, sydney},
        {"grid_200k.obj", 199712, {0, -4.5f, 0, 316, 4.5f, 316}},
        {"sydney_full.obj", 679, sydney},
        {"room_full.obj", 156, {-406.9888f, -0.0002f, -351.9168f, 402.3912f, 503.77f, 349.0432f}}};
    for (const auto& [file, triangles, box] : cases) {
        Model model;
        ASSERT_TRUE(LoadAs('O', Corpus(file), model)) << file;
        EXPECT_EQ(Ints({model.numOfObjects, model.pObject[0].numOfFaces, model.numOfVertices}),
                  Ints({1, triangles, triangles * 3}))
            << file;
        ExpectNear3(model.boundingBox.min, box[0], box[1], box[2]);
        ExpectNear3(model.boundingBox.max, box[3], box[4], box[5]);
    }
}

TEST(CObjLoader, PositionsRoundExactlyAsAFullDecimalConversion) {
    // Short decimals take a fast path; all must round alike.
    std::mt19937 random(7);
    auto digits = [&](int n) {
        std::string d;
        for (int i = 0; i < n; ++i)
            d += char('0' + random() % 10);
        return d;
    };
    std::string text;
    std::vector<float> expected;
    for (int i = 0; i < 6000; ++i) {
        std::string number = (random() % 3 ? "" : "-") + digits(int(random() % 9));
        if (random() % 4) number += "." + digits(int(random() % 13));
        if (number.find_first_of("0123456789") == std::string::npos) number += "5";
        if (random() % 16 == 0) number += "e" + std::to_string(int(random() % 20) - 10);
        float value;
        std::from_chars(number.data() + (number[0] == '-'), number.data() + number.size(), value);
        expected.push_back(number[0] == '-' ? -value : value);
        text += (i % 3 ? " " : "\nv ") + number;
    }
    Model model;
    std::string error;
    ASSERT_TRUE(LoadAs('O', text + "\nf 1 2 3\n", model, &error)) << error;
    ASSERT_EQ(model.pObject[0].numOfVerts, 2000);
    const float* read = &model.pObject[0].pVerts[0].x;
    for (size_t i = 0; i < expected.size(); ++i)
        ASSERT_EQ(std::memcmp(&read[i], &expected[i], sizeof(float)), 0)
            << "number " << i << ": " << read[i] << " vs " << expected[i];
}

TEST(CObjLoader, RelativeIndicesPolygonsAndBackReferencesResolveAsObjMeansThem) {
    ZARVO_REQUIRE_CORPUS();
    Model model;
    ASSERT_TRUE(LoadAs('O', Corpus("polygons_mixed.obj"), model));
    // Cube: "f -8//-6 -5//-6 -6//-6 -7//-6" is vertices 1 4 3 2, fanned from vertex 1.
    EXPECT_EQ(Corners(model.pObject[0], {{0, 0}, {0, 1}, {1, 1}, {1, 2}}),
              "-1 -1 -1, -1 1 -1, 1 1 -1, 1 -1 -1, ");
    // Prism: the pentagon "f 9/1 10/2 11/3 12/4 13/5" keeps its texture corners.
    const t3DObject& prism = model.pObject[1];
    EXPECT_EQ(Floats({float(prism.bHasTexture), prism.pTexVerts[prism.pFaces[2].coordIndex[2]].x}),
              Floats({1, 0.6545f}));
    EXPECT_EQ(Corners(prism, {{2, 2}}), "4.309 -0.9511 3, ");
    // Back reference: "f 1 2 19" in the third group uses the cube's first two vertices.
    EXPECT_EQ(Corners(model.pObject[2], {{0, 0}, {0, 1}, {0, 2}}), "-1 -1 -1, 1 -1 -1, 0 3 0, ");
}

TEST(CObj, RayHitsAreShadedAtTheNearestFaceAndAFailedReloadLeavesNothingToHit) {
    // Facing down, away from the default light above: L . N with L = hit - light is 1.
    std::string path = TempFile("quad.obj", "v -1 0 -1\nv 1 0 -1\nv 1 0 1\nv -1 0 1\nf 1 2 3 4\n");
    CObj obj;
    ASSERT_TRUE(obj.Init(&path[0], nullptr));
    obj.SetPosition(0, 3, 0);
    CRay ray = Shot(obj, {0.2f, -5, 0.1f}, {0, 1, 0});
    ASSERT_TRUE(ray.isHit());
    EXPECT_NEAR(ray.GetDistance(), 8.0f, 1e-4f);
    ExpectNear3(CVector3(ray.GetColorR(), ray.GetColorG(), ray.GetColorB()), 0.8f, 0.2f, 0.4f,
                1e-4f);
    // Faces are hit from both sides, never edge-on or beside them.
    for (const auto& [origin, dir, hit] :
         {std::make_tuple(CVector3(0.2f, 9, 0.1f), CVector3(0, -1, 0), true),
          {CVector3(-5, 3, 0), CVector3(1, 0, 0), false},
          {CVector3(5, -5, 0), CVector3(0, 1, 0), false}})
        EXPECT_EQ(Shot(obj, origin, dir).isHit(), hit);
    // A failed reload: nothing to hit, draw or shadow.
    std::string missing = path + ".gone";
    char texture[] = "never_loaded.tga";
    bool ok = true;
    Quiet([&] { ok = obj.Init(&missing[0], texture); });
    obj.BuildShadowVolume(CVector3(0, 10, 0));
    EXPECT_TRUE(!ok && !Shot(obj, {0.2f, -5, 0.1f}, {0, 1, 0}).isHit() &&
                obj.GetShadowVolumes().empty());
    EXPECT_EQ(
        obj.GetModelVertexNum() + obj.getModel()->numOfObjects + obj.getModel()->numOfMaterials, 0);
    EXPECT_EQ(obj.GetBoundingBoxMinPoint()->x, obj.GetBoundingBoxMaxPoint()->x);
}
