#include "models/CMD2Object.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model_builders.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

// An MD2 object loaded from a synthetic file, with its clock under the test's control.
struct ClockedModel {
    CMD2Object object;
    uint32_t now = 0;

    explicit ClockedModel(const std::vector<std::string>& frames) {
        Md2Recipe recipe;
        recipe.frameNames = frames;
        std::string path = zarvo_test::MakeTempDir("md2") + "/model.md2";
        std::ofstream(path, std::ios::binary) << BuildMd2(recipe);
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

TEST(CMD2Object, ClockStepsAtTheSpeedAndInterpolates) {
    ClockedModel m({"run1", "run2", "run3", "run4", "end1"});
    m.object.SetAnimationSpeed(5.0f); // 200 ms a frame
    EXPECT_FLOAT_EQ(m.Step(100), 0.5f);
    EXPECT_EQ(m.Frame(), 0);
    EXPECT_FLOAT_EQ(m.Step(200), 1.0f);
    EXPECT_EQ(m.Frame(), 1);
    EXPECT_FLOAT_EQ(m.Step(300), 0.5f);
    EXPECT_FLOAT_EQ(m.Step(450), 1.25f); // not clamped
    EXPECT_EQ(m.Frame(), 2);
}

// A frame that takes longer than an animation step must not push the shape past the
// next pose: the volume built after a 1-second stall equals the one built exactly at
// the step.
TEST(CMD2Object, ShapeStopsAtTheNextPoseAfterAStall) {
    Md2Recipe recipe;
    recipe.frameNames = {"run1", "run2", "run3"};
    recipe.triangles = {{{0, 1, 2}, {0, 1, 2}}, {{0, 2, 1}, {0, 2, 1}}};
    recipe.packed = {{0, 0, 0, 10, 0, 0, 0, 10, 0},
                     {20, 0, 0, 30, 0, 0, 20, 10, 5},
                     {40, 0, 0, 50, 0, 0, 40, 10, 9}};
    auto volumeAfter = [&](uint32_t secondCall) {
        std::string path = zarvo_test::MakeTempDir("md2") + "/model.md2";
        std::ofstream(path, std::ios::binary) << BuildMd2(recipe);
        uint32_t now = 0;
        CMD2Object object;
        object.SetTickSource([&now] { return now; });
        object.Init(&path[0], nullptr);
        object.SetAnimationSpeed(5.0f);                    // 200 ms a frame
        object.BuildShadowVolume(CVector3(300, 700, 500)); // first build only counts
        now = secondCall;
        object.BuildShadowVolume(CVector3(300, 700, 500));
        return object.GetShadowVolume()->GetVolumeVertices();
    };
    const std::vector<vertex> atStep = volumeAfter(200);
    const std::vector<vertex> afterStall = volumeAfter(1000);
    ASSERT_FALSE(atStep.empty());
    ASSERT_EQ(atStep.size(), afterStall.size());
    for (size_t i = 0; i < atStep.size(); ++i) {
        EXPECT_FLOAT_EQ(atStep[i].x, afterStall[i].x) << i;
        EXPECT_FLOAT_EQ(atStep[i].y, afterStall[i].y) << i;
        EXPECT_FLOAT_EQ(atStep[i].z, afterStall[i].z) << i;
    }
}

TEST(CMD2Object, LastFrameIsNeverShownAndDefaultAnimationTakesOver) {
    // a: [0, 3], b: [3, 5]; frame 5 (b's end) is never current.
    const std::vector<std::string> frames = {"a1", "a2", "a3", "b1", "b2", "b3"};
    ClockedModel plain(frames);
    plain.object.SetAnim(1);
    EXPECT_EQ(plain.Frame(), 3);
    std::vector<int> shown;
    for (uint32_t t = 200; t <= 1200; t += 200) {
        plain.Step(t);
        shown.push_back(plain.Frame());
    }
    // Without a default animation b runs on from frame 0 through its own frames.
    EXPECT_EQ(shown, (std::vector<int>{4, 0, 1, 2, 3, 4}));

    ClockedModel fallback(frames);
    fallback.object.SetDefaultAnimation(0);
    fallback.object.SetAnim(1);
    fallback.Step(200);
    EXPECT_EQ(fallback.Frame(), 4);
    fallback.Step(400);
    EXPECT_EQ(fallback.object.getModel()->currentAnim, 0);
    EXPECT_EQ(fallback.Frame(), 3); // the ended animation's start frame
}

TEST(CMD2Object, AnimationNumbersWrapAndStillModelsStandStill) {
    ClockedModel m({"a1", "a2", "b1", "b2"});
    m.object.SetAnim(3);
    EXPECT_EQ(m.object.getModel()->currentAnim, 1);
    m.object.SetAnim(-1);
    EXPECT_EQ(m.object.getModel()->currentAnim, 1);

    // One frame: no animation at all; the clock and SetAnim leave frame 0 alone.
    ClockedModel still({"pose"});
    EXPECT_EQ(still.object.getModel()->numOfAnimations, 0);
    still.object.SetAnim(2);
    still.Step(1000);
    EXPECT_EQ(still.Frame(), 0);
}

TEST(CMD2Object, WorldBoxFollowsPlacementAndBrokenFilesLeaveAnEmptyModel) {
    ClockedModel m({"a1", "a2"});
    const sBoundingBox box = m.object.getModel()->pObject[0].boundingBox;
    m.object.SetPosition(10, 0, 0);
    m.object.SetSize(2, 2, 2);
    EXPECT_FLOAT_EQ(m.object.GetBoundingBoxMinPoint()->x, box.min.x * 2 + 10);
    EXPECT_FLOAT_EQ(m.object.GetBoundingBoxMaxPoint()->y, box.max.y * 2);
    EXPECT_EQ(m.object.GetModelVertexNum(), 3);

    CMD2Object broken;
    char file[] = "no/such/file.md2";
    testing::internal::CaptureStderr();
    broken.Init(file, nullptr);
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(broken.getModel()->numOfObjects, 0);
    EXPECT_EQ(broken.GetModelVertexNum(), 0);
}

TEST(CMD2Object, ShadowVolumeAppearsFromTheSecondBuild) {
    ClockedModel m({"a1", "a2", "a3"});
    // The synthetic triangle lies in a plane of constant z and faces -z.
    m.object.BuildShadowVolume(CVector3(0, 0, -100));
    EXPECT_EQ(m.object.GetShadowVolume()->GetVolumeVertexCount(), 0u);
    m.now = 50;
    m.object.BuildShadowVolume(CVector3(0, 0, -100));
    EXPECT_GT(m.object.GetShadowVolume()->GetVolumeVertexCount(), 0u);
    EXPECT_EQ(m.object.GetShadowVolume()->GetVolumeVertexCount() % 6, 0u);
}
