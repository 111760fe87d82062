// Model files that fail to load: the caller hears of it, the model stays empty and inert,
// and SDL stays up for the rest of the program.
#include <gtest/gtest.h>

#include <SDL.h>

#include <fstream>
#include <random>
#include <string>

#include "model_builders.h"
#include "models/3dsObject.h"
#include "models/CMD2Object.h"
#include "render3d/C3DGameObject.h"
#include "support/test_paths.h"

using namespace model_test;

namespace {

struct sDamage {
    const char* name;
    bool present;
    std::string (*apply)(const std::string& good);
};

const sDamage kDamages[] = {
    {"removed", false, [](const std::string&) { return std::string(); }},
    {"emptied", true, [](const std::string&) { return std::string(); }},
    {"cut to its header", true, [](const std::string& good) { return good.substr(0, 8); }},
    {"cut at half", true, [](const std::string& good) { return good.substr(0, good.size() / 2); }},
    {"random bytes", true,
     [](const std::string& good) {
         std::mt19937 random(25);
         std::string bytes(good.size(), '\0');
         for (char& c : bytes)
             c = char(random());
         return bytes;
     }},
};

struct sFormat {
    const char* name;
    std::string good;
    bool md2;
};

// Loads `bytes` (or nothing) as the format into a fresh object, capturing what it prints.
bool LoadInto(C3DGameObject& object, const sFormat& format, const std::string& dir,
              const std::string* bytes, std::string& printed) {
    std::string path = dir + "/model." + (format.md2 ? "md2" : "3ds");
    std::remove(path.c_str());
    if (bytes) std::ofstream(path, std::ios::binary) << *bytes;
    std::string folder = dir + "/";
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const bool loaded = format.md2 ? object.LoadMD2Model(&path[0], nullptr)
                                   : object.Load3DS(&folder[0], &path[0], false);
    printed = testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr();
    return loaded;
}

} // namespace

TEST(FailedModelLoad, DamagedFilesLeaveAnEmptyInertModelAndSDLUp) {
    ASSERT_EQ(SDL_Init(SDL_INIT_TIMER), 0) << SDL_GetError();
    const std::string dir = zarvo_test::MakeTempDir("failed-load");
    const sFormat formats[] = {
        {"MD2", BuildMd2(Md2Recipe()), true},
        {"3DS", Build3ds(TriangleMesh()), false},
    };
    for (const sFormat& format : formats) {
        // The undamaged file loads, so every failure below is the damage's doing.
        C3DGameObject intact;
        std::string printed;
        ASSERT_TRUE(LoadInto(intact, format, dir, &format.good, printed)) << printed;
        EXPECT_FALSE(intact.HasEmptyModel());
        EXPECT_EQ(intact.GetObjectVertexNum(), 3);

        for (const sDamage& damage : kDamages) {
            SCOPED_TRACE(std::string(format.name) + " " + damage.name);
            const std::string bytes = damage.apply(format.good);
            C3DGameObject object;
            EXPECT_FALSE(LoadInto(object, format, dir, damage.present ? &bytes : nullptr, printed));
            EXPECT_NE(printed.find("/model." + std::string(format.md2 ? "md2" : "3ds") + "!"),
                      std::string::npos)
                << printed;
            EXPECT_NE(SDL_WasInit(SDL_INIT_TIMER), 0u) << "a failed load shut SDL down";

            object.SetPosition(5.0f, 6.0f, 7.0f);
            object.SetSize(2.0f, 2.0f, 2.0f);
            object.SetAngle(30.0f);
            object.SetAnimation(1);
            EXPECT_TRUE(object.HasEmptyModel());
            EXPECT_EQ(object.GetObjectVertexNum(), 0);
            // A box without extent where the object stands, which culling always skips.
            for (const CVector3* corner :
                 {object.GetBoundingBoxMinPoint(), object.GetBoundingBoxMaxPoint()}) {
                EXPECT_EQ(corner->x, 5.0f);
                EXPECT_EQ(corner->y, 6.0f);
                EXPECT_EQ(corner->z, 7.0f);
            }
            object.checkFrustum();
            EXPECT_FALSE(object.IsObjectInFrustum());
            object.BuildShadowVolume();
            if (auto* md2 = dynamic_cast<CMD2Object*>(object.GetModel())) {
                EXPECT_EQ(md2->GetShadowVolume()->GetVolumeVertexCount(), 0u);
                EXPECT_EQ(md2->getModel()->currentFrame, 0) << "an empty model animated";
            } else {
                auto* model3ds = dynamic_cast<C3DSObject*>(object.GetModel());
                ASSERT_NE(model3ds, nullptr);
                EXPECT_TRUE(model3ds->GetShadowVolumes().empty());
                EXPECT_EQ(model3ds->GetBoundingSphereRadius(), 0.0f);
            }
        }
    }
    SDL_QuitSubSystem(SDL_INIT_TIMER);
}

TEST(FailedModelLoad, AFailedReloadEmptiesTheModelItReplaces) {
    const std::string dir = zarvo_test::MakeTempDir("failed-reload");
    std::string good = dir + "/good.md2", missing = dir + "/missing.md2";
    std::ofstream(good, std::ios::binary) << BuildMd2(Md2Recipe());
    CMD2Object object;
    ASSERT_TRUE(object.Init(&good[0], nullptr));
    ASSERT_FALSE(object.IsEmpty());
    testing::internal::CaptureStderr();
    EXPECT_FALSE(object.Init(&missing[0], nullptr));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Unable to find the file: " + missing + "!\n");
    EXPECT_TRUE(object.IsEmpty());
    EXPECT_EQ(object.GetModelVertexNum(), 0);
}
