// Model files that fail to load: the reason is named, the model stays empty and inert.

#include <SDL.h>

#include "model_fixtures.h"
#include "models/3dsObject.h"
#include "models/CMD2Object.h"
#include "render3d/C3DGameObject.h"

using namespace model_test;
using namespace zarvo_test;

TEST(FailedModelLoad, DamagedFilesAreRefusedWithTheirReason) {
    const std::string md2 = BuildMd2(Md2Recipe()), tds = Build3ds(TriangleMesh());
    const std::string md3 = BuildMd3(Md3Part{
        2, {{{"tag_torso", {0, 0, 1}}}, {{"tag_torso", {0, 0, 2}}}}, {Square("l", 0, 0, 2)}});
    const size_t mesh = 108 + 2 * 56 + 2 * 112; // the MD3 mesh header
    const std::string tri = "v 0 0 0\nv 1 0 0\nv 0 1 0\n";
    std::string nested = Chunk(0x4100, "");
    for (int i = 0; i < 100; ++i)
        nested = Chunk(0x4100, nested);
    const std::tuple<char, std::string, const char*> cases[] = {
        {'2', Patched(md2, 4, 7), "Version not 8"},
        {'2', Patched(md2, 16, 8324), "above 8320"},
        {'2', Patched(md2, 16, 20), "frame size too small"},
        {'2', Patched(md2, 32, -1), "negative count"},
        {'2', Patched(md2, 52, 1 << 30), "triangles outside"},
        {'2', Patched(md2, 48, -8), "texture coordinates outside"},
        {'2', Patched(md2, 40, 1000000), "frames outside"},
        {'2', Patched(md2, 20, 0x7fffffff), "skin block outside"},
        {'2', Patched(Patched(md2, 24, 2), 16, 48), "vertex index out of range"}, // 2 a frame
        {'2', Patched(md2, 28, 1), "texture coordinate index"},
        {'2', md2.substr(0, md2.size() - 1), ""},
        {'2', md2.substr(0, 40), ""},
        {'2', "", ""},
        {'S', Patched(tds, 2, int32_t(tds.size() + 1)), "longer than its parent"},
        {'S', Patched(tds, 6 + 10 + 2, 1 << 20), "longer than its parent"}, // object info
        {'S', Patched(tds, 6 + 2, 3), "longer than its parent"}, // shorter than its header
        {'S', Build3ds(Chunk(0x4000, std::string("deep\0", 5) + nested)), "nested too deeply"},
        {'S', Build3ds(Chunk(0x4000, "abc")), "terminating zero"},
        {'S', Build3ds(Mesh("m", Chunk(0x4110, std::string("\x32\0", 2)))), "vertex list longer"},
        {'S', Build3ds(Mesh("m", VertexList({0, 0, 0, 1, 0, 0}) + FaceList({0, 1, 2}))),
         "face vertex index out of range"},
        {'S', Build3ds(Mesh("m", FaceList({0, 0, 0}))), "face vertex index out of range"},
        {'S', Chunk(0x3D3D, TriangleMesh()), "Unable to load PRIMARY chuck from file"},
        {'3', Patched(md3, 0, 0x32504449), "Version not 15"}, // IDP2
        {'3', Patched(md3, 76, 0), "no frames"},
        {'3', Patched(md3, 80, 1000000), "tags run past the end"},
        {'3', Patched(md3, 84, 3), "mesh 1 header runs past"},
        {'3', Patched(md3, mesh + 104, 1 << 20), "size runs past the end"},
        {'3', Patched(md3, mesh + 72, 1), "fewer frames than the file"},
        {'3', Patched(md3, mesh + 84, 1000), "blocks run past the mesh"},
        {'3', Patched(md3, mesh + 100, -8), "blocks run past the mesh"},
        {'3', Patched(md3, mesh + 108 + 68 + 4, 4), "triangle index 4 is not below its 4 vertices"},
        {'3', md3.substr(0, md3.size() - 1), ""},
        {'O', tri + "f 0 1 2\n", "line 4: vertex index 0"},
        {'O', tri + "# c\nf 1 2 9\n", "line 5: vertex index 9 outside the 3"},
        {'O', tri + "f 1 2 -4\n", "vertex index -4"},
        {'O', tri + "f 1 2 12345678\n", "vertex index 12345678 outside the 3"},
        {'O', tri + "f 1 2 2147483647\n", "vertex index 2147483647 outside"},
        {'O', tri + "f 1 2 2147483648\n", "line 4: a face corner must start"},
        {'O', tri + "f 1 2 00000000003x\n", "unexpected text"},
        {'O', tri + "f 3 1 7", "line 4: vertex index 7 outside the 3"},
        {'O', tri + "vt 0 0\nf 1/1 2/2 3/1\n", "texture index 2 outside the 1"},
        {'O', "v 1 2\n", "line 1: a position needs three"},
        {'O', "v nan 0 0\n", "position needs three finite"},
        {'O', "v 0 0 0\nv 1 0 0\nf 1 2\n", "at least three corners"},
        {'O', "v 0 0 0\nf 1 1x 1\n", "unexpected text"}};
    for (const auto& [format, bytes, why] : cases) {
        Model m;
        std::string error;
        EXPECT_FALSE(LoadAs(format, bytes, m, &error));
        EXPECT_NE(error.find(why), std::string::npos) << error;
        EXPECT_TRUE(m.pObject.empty() && m.numOfObjects == 0 && m.numOfMaterials == 0 &&
                    m.numOfTags == 0 && m.pTags == nullptr && m.numOfVertices == 0);
    }
}

TEST(FailedModelLoad, DamagedFilesLeaveAnEmptyInertGameObjectAndSDLUp) {
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0) << SDL_GetError();
    const std::string dir = MakeTempDir("failed-load");
    std::string folder = dir + "/";
    for (const bool md2 : {true, false}) {
        const std::string good = md2 ? BuildMd2(Md2Recipe()) : Build3ds(TriangleMesh());
        std::string path = dir + (md2 ? "/model.md2" : "/model.3ds");
        // The undamaged file first.
        for (const int damage : {-1, int(REMOVED), int(EMPTIED), int(CUT_TO_HEADER),
                                 int(CUT_AT_HALF), int(RANDOM_BYTES)}) {
            SCOPED_TRACE(path + " damage " + std::to_string(damage));
            std::remove(path.c_str());
            if (damage != REMOVED)
                WriteFileBytes(path, damage < 0 ? good : Damaged(good, eDamage(damage), 8));
            C3DGameObject object;
            bool loaded = false;
            const std::string printed = Quiet([&] {
                loaded = md2 ? object.LoadMD2Model(&path[0], nullptr)
                             : object.Load3DS(&folder[0], &path[0], false);
            });
            EXPECT_NE(SDL_WasInit(SDL_INIT_TIMER), 0u) << "a load shut SDL down";
            EXPECT_EQ(loaded, damage < 0) << printed;
            EXPECT_EQ(object.GetObjectVertexNum(), damage < 0 ? 3 : 0);
            if (damage < 0) continue;
            const std::string missing = damage == REMOVED ? "Unable to find the file: " : "";
            EXPECT_NE(printed.find(missing + path + "!\n"), std::string::npos) << printed;
            object.SetPosition(5.0f, 6.0f, 7.0f);
            object.SetSize(2.0f, 2.0f, 2.0f);
            object.SetAngle(30.0f);
            object.SetAnimation(1);
            object.checkFrustum();
            EXPECT_TRUE(object.HasEmptyModel() && !object.IsObjectInFrustum());
            EXPECT_EQ(Str(*object.GetBoundingBoxMinPoint()) + " " +
                          Str(*object.GetBoundingBoxMaxPoint()),
                      "5 6 7 5 6 7");
            object.BuildShadowVolume();
            if (auto* model = dynamic_cast<CMD2Object*>(object.GetModel())) {
                EXPECT_EQ(model->GetShadowVolume()->GetVolumeVertexCount(), 0u);
                EXPECT_EQ(model->getModel()->currentFrame, 0) << "an empty model animated";
            } else if (auto* model = dynamic_cast<C3DSObject*>(object.GetModel())) {
                EXPECT_TRUE(model->GetShadowVolumes().empty());
            }
        }
    }
    SDL_QuitSubSystem(SDL_INIT_TIMER);
}

TEST(FailedModelLoad, AFailedReloadEmptiesTheModelItReplaces) {
    std::string good = TempFile("good.md2", BuildMd2(Md2Recipe())), missing = good + ".gone";
    CMD2Object object;
    ASSERT_TRUE(object.Init(&good[0], nullptr));
    bool ok = true;
    EXPECT_EQ(Quiet([&] { ok = object.Init(&missing[0], nullptr); }),
              "Unable to find the file: " + missing + "!\n");
    EXPECT_TRUE(!ok && object.IsEmpty() && object.GetModelVertexNum() == 0);
}
