// Model files that fail to load: the caller hears of it, the model stays empty and inert,
// and SDL stays up for the rest of the program.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>

#include "model_fixtures.h"
#include "models/3dsObject.h"
#include "models/CMD2Object.h"
#include "render3d/C3DGameObject.h"

using namespace model_test;
using namespace zarvo_test;

TEST(FailedModelLoad, DamagedFilesLeaveAnEmptyInertModelAndSDLUp) {
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0) << SDL_GetError();
    const std::string dir = MakeTempDir("failed-load");
    std::string folder = dir + "/";
    for (const bool md2 : {true, false}) {
        const std::string good = md2 ? BuildMd2(Md2Recipe()) : Build3ds(TriangleMesh());
        std::string path = dir + (md2 ? "/model.md2" : "/model.3ds");
        // The undamaged file first, so every failure below is the damage's doing.
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
            if (damage < 0) {
                ASSERT_TRUE(loaded) << printed;
                EXPECT_EQ(object.GetObjectVertexNum(), 3);
                continue;
            }
            EXPECT_FALSE(loaded);
            EXPECT_NE(
                printed.find((damage == REMOVED ? "Unable to find the file: " : "") + path + "!\n"),
                std::string::npos)
                << printed;
            object.SetPosition(5.0f, 6.0f, 7.0f);
            object.SetSize(2.0f, 2.0f, 2.0f);
            object.SetAngle(30.0f);
            object.SetAnimation(1);
            EXPECT_TRUE(object.HasEmptyModel());
            EXPECT_EQ(object.GetObjectVertexNum(), 0);
            // A box without extent where the object stands, which culling always skips.
            for (const CVector3* corner :
                 {object.GetBoundingBoxMinPoint(), object.GetBoundingBoxMaxPoint()})
                EXPECT_TRUE(corner->x == 5.0f && corner->y == 6.0f && corner->z == 7.0f);
            object.checkFrustum();
            EXPECT_FALSE(object.IsObjectInFrustum());
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
    EXPECT_FALSE(ok);
    EXPECT_TRUE(object.IsEmpty());
    EXPECT_EQ(object.GetModelVertexNum(), 0);
}
