#include <gtest/gtest.h>

#include "model_fixtures.h"
#include "models/CMD2Object.h"

using namespace model_test;

namespace {

bool Load(t3DModel& model, const std::string& bytes, CMD2Loader& loader,
          const char* skin = nullptr) {
    return loader.ImportMD2FromMemory(&model, Bytes(bytes), bytes.size(), skin);
}

std::string Anim(const t3DModel& m, size_t i) {
    const tAnimationInfo& a = m.pAnimations[i];
    return std::string(a.strName) + " " + std::to_string(a.startFrame) + " " +
           std::to_string(a.endFrame);
}

// The frame names facts.json lists for one file (a plain scan: the file is trusted).
std::vector<std::string> FactFrameNames(const std::string& file) {
    std::string json;
    zarvo_test::ReadFileBytes(zarvo_test::CorpusDir() + "/facts.json", json);
    const size_t at = json.find('[', json.find("\"frame_names\"", json.find("\"" + file + "\"")));
    std::vector<std::string> names;
    for (size_t p = json.find('"', at), q; p < json.find(']', at); p = json.find('"', q + 1)) {
        q = json.find('"', p + 1);
        names.push_back(json.substr(p + 1, q - p - 1));
    }
    return names;
}

// An MD2 object of a synthetic file, its clock under the test's control.
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

} // namespace

TEST(CMD2Loader, CorpusModelsMatchTheirFactsAndAssimpBounds) {
    ZARVO_REQUIRE_CORPUS();
    // Frames, vertices, texture coordinates, faces; assimp's frame-0 box (the same axes).
    const std::tuple<const char*, Ints, Floats> files[] = {
        {"sydney.md2",
         {198, 342, 456, 679},
         {-7.734574f, -24.01433f, -10.102956f, 5.501323f, 30.943087f, 11.988738f}},
        {"faerie.md2",
         {198, 366, 487, 654},
         {-16.813763f, -24.530266f, -12.083273f, 3.271729f, 27.43808f, 14.130598f}}};
    for (const auto& [file, counts, box] : files) {
        SCOPED_TRACE(file);
        CMD2Loader loader;
        Model model;
        ASSERT_TRUE(Load(model, Corpus(file), loader)) << loader.GetLastError();
        const t3DObject& first = model.pObject[0];
        ASSERT_EQ(
            Ints({model.numOfObjects, first.numOfVerts, first.numTexVertex, first.numOfFaces}),
            counts);
        ASSERT_EQ(model.pObject.size(), size_t(counts[0]));
        EXPECT_EQ(model.numOfVertices, counts[3] * 3);
        ExpectNear3(first.boundingBox.min, box[0], box[1], box[2]);
        ExpectNear3(first.boundingBox.max, box[3], box[4], box[5]);
        std::vector<std::string> names;
        for (const t3DObject& frame : model.pObject) {
            names.push_back(frame.strName);
            for (int i = 0; i < frame.numOfVerts; ++i)
                ASSERT_NEAR(Magnitude(frame.pNormals[i]), 1.0f, 1e-4f) << frame.strName << i;
        }
        EXPECT_EQ(names, FactFrameNames(std::string("models/") + file));
        // Later frames reuse frame 0's faces and coordinates.
        EXPECT_TRUE(model.pObject[1].pFaces == nullptr && model.pObject[1].pTexVerts == nullptr);
        EXPECT_GT(model.boundingSphere.radius, 0.0f);
        // An animation runs while the name before the frame number stays; pain101..pain104:
        // digits before the last two stay in the name.
        if (file[0] == 'f') {
            EXPECT_EQ(Anim(model, 0) + ", " + Anim(model, 1) + ", " + Anim(model, 3) + ", " +
                          Anim(model, 4).substr(0, 6) + ", " +
                          Anim(model, model.pAnimations.size() - 1),
                      "stand 0 40, run 40 46, pain1 54 58, pain2 , death3 190 197");
        }
    }
}

TEST(CMD2Loader, FrameNumbersNeverPointOutsideTheModel) {
    // "x99" would start at frame 98 and a name without digits at -1. The last frame
    // starts a new name: it records "walk" and nothing of its own.
    Md2Recipe recipe;
    recipe.frameNames = {"x99", "x98", "walk", "walk", "end1"};
    CMD2Loader loader;
    Model model;
    ASSERT_TRUE(Load(model, BuildMd2(recipe), loader));
    ASSERT_EQ(model.numOfAnimations, 2);
    EXPECT_EQ(std::to_string(model.pAnimations[0].startFrame) + ", " + Anim(model, 1),
              "4, walk 1 4");
}

TEST(CMD2Loader, DecodesTextureCoordinatesAndNormals) {
    Md2Recipe recipe;
    recipe.numVertices = 5; // vertex 4 belongs to no face
    recipe.packed = {{0, 0, 0, 10, 0, 0, 0, 10, 0, 10, 10, 0, 50, 50, 50}};
    recipe.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{1, 3, 2}, {0, 1, 2}}};
    CMD2Loader loader;
    Model model;
    ASSERT_TRUE(Load(model, BuildMd2(recipe), loader, "skin.pcx"));
    // s = 8, t = 4 on a 64 x 32 skin.
    EXPECT_EQ(Floats({model.pObject[0].pTexVerts[1].x, model.pObject[0].pTexVerts[1].y}),
              Floats({8.0f / 64, 1.0f - 4.0f / 32}));
    ASSERT_EQ(model.numOfMaterials, 1);
    EXPECT_STREQ(model.pMaterials[0].strFile, "skin.pcx");
    EXPECT_FLOAT_EQ(model.pMaterials[0].uTile, 1.0f);
    // A flat quad in the file's xy plane: both faces' normals along the engine's y; the
    // unused vertex points up.
    const CVector3* n = model.pObject[0].pNormals;
    EXPECT_NEAR(std::fabs(n[0].y), 1.0f, 1e-5f);
    for (int i = 0; i < 5; ++i)
        ExpectNear3(n[i], 0, i < 4 ? n[0].y : 1.0f, 0, 1e-5f);
}

TEST(CMD2Loader, RejectsDamagedFilesWithAClearMessage) {
    const std::string good = BuildMd2(Md2Recipe());
    const struct {
        size_t field;
        int32_t value;
        const char* message;
    } cases[] = {{4, 7, "Version not 8"},
                 {16, 8324, "above 8320"},
                 {16, 20, "frame size too small"},
                 {32, -1, "negative count"},
                 {52, 1 << 30, "triangles outside"},
                 {48, -8, "texture coordinates outside"},
                 {40, 1000000, "frames outside"},
                 {20, 0x7fffffff, "skin block outside"},
                 {24, 2, "vertex index out of range"}, // with the frame size of two vertices
                 {28, 1, "texture coordinate index"},
                 {good.size(), 0, ""}, // cut by one byte, to 40 bytes and to nothing
                 {40, 0, ""},
                 {0, 0, ""}};
    for (const auto& c : cases) {
        std::string bytes = good;
        if (c.message[0]) SetI32(bytes, c.field, c.value);
        if (c.field == 24) SetI32(bytes, 16, 40 + 4 * 2);
        if (!c.message[0]) bytes.resize(c.field == good.size() ? c.field - 1 : c.field);
        CMD2Loader loader;
        Model model;
        ExpectRefused(Load(model, bytes, loader), loader.GetLastError(), c.message, model);
    }
}

TEST(CMD2Object, ClockStepsAtTheSpeedAndAnimationsHandOver) {
    ClockedModel m({"run1", "run2", "run3", "run4", "end1"});
    m.object.SetAnimationSpeed(5.0f); // 200 ms a frame; the factor is not clamped
    for (const std::pair<uint32_t, float>& s :
         {std::make_pair(100u, 0.5f), {200u, 1.0f}, {300u, 0.5f}, {450u, 1.25f}})
        EXPECT_FLOAT_EQ(m.Step(s.first), s.second) << s.first;
    EXPECT_EQ(m.Frame(), 2);
    // a: [0, 3], b: [3, 5]; frame 5 (b's end) is never current. Without a default
    // animation b runs on from frame 0; with one, the ended animation's start shows.
    const std::vector<std::string> frames = {"a1", "a2", "a3", "b1", "b2", "b3"};
    ClockedModel plain(frames), fallback(frames);
    fallback.object.SetDefaultAnimation(0);
    Ints shown, shownFallback;
    for (ClockedModel* c : {&plain, &fallback}) {
        c->object.SetAnim(1);
        Ints& out = c == &plain ? shown : shownFallback;
        out.push_back(c->Frame());
        for (uint32_t t = 200; t <= (c == &plain ? 1200u : 400u); t += 200) {
            c->Step(t);
            out.push_back(c->Frame());
        }
    }
    EXPECT_EQ(shown, Ints({3, 4, 0, 1, 2, 3, 4}));
    EXPECT_EQ(shownFallback, Ints({3, 4, 3}));
    EXPECT_EQ(fallback.object.getModel()->currentAnim, 0);
    // Animation numbers wrap; one frame makes no animation and stands still.
    ClockedModel two({"a1", "a2", "b1", "b2"}), still({"pose"});
    for (int n : {3, -1}) {
        two.object.SetAnim(n);
        EXPECT_EQ(two.object.getModel()->currentAnim, 1) << n;
    }
    EXPECT_EQ(still.object.getModel()->numOfAnimations, 0);
    still.object.SetAnim(2);
    still.Step(1000);
    EXPECT_EQ(still.Frame(), 0);
    // The world box follows placement.
    const sBoundingBox box = two.object.getModel()->pObject[0].boundingBox;
    two.object.SetPosition(10, 0, 0);
    two.object.SetSize(2, 2, 2);
    EXPECT_FLOAT_EQ(two.object.GetBoundingBoxMinPoint()->x, box.min.x * 2 + 10);
    EXPECT_FLOAT_EQ(two.object.GetBoundingBoxMaxPoint()->y, box.max.y * 2);
    EXPECT_EQ(two.object.GetModelVertexNum(), 3);
}

// The shadow volume appears from the second build (the first only starts the clock), and
// a frame that takes longer than an animation step must not push the shape past the next
// pose: the volume built after a 1-second stall equals the one built at the step.
TEST(CMD2Object, ShadowShapeStopsAtTheNextPoseAfterAStall) {
    Md2Recipe recipe;
    recipe.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 1}, {0, 2, 1}}};
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
        return m.object.GetShadowVolume()->GetVolumeVertices();
    };
    const std::vector<vertex> atStep = volumeAfter(200), afterStall = volumeAfter(1000);
    ASSERT_FALSE(atStep.empty());
    ASSERT_EQ(atStep.size(), afterStall.size());
    for (size_t i = 0; i < atStep.size(); ++i)
        ASSERT_EQ(Floats({atStep[i].x, atStep[i].y, atStep[i].z}),
                  Floats({afterStall[i].x, afterStall[i].y, afterStall[i].z}))
            << i;
}
