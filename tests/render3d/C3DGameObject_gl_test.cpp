#include <GL/glew.h>
#include <gtest/gtest.h>

#include <string>

#include "models/3dsObject.h"
#include "models/CMD2Object.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

namespace {

std::string CorpusModel(const char* name) {
    return zarvo_test::CorpusDir() + "/models/" + name;
}

} // namespace

// The format rows reach the real classes: MD2 animation and angle, 3DS box and sphere.
TEST(GameObjectFormatsGL, LoadedModelsAnswerThroughTheirKindRows) {
    ZARVO_REQUIRE_GL(64, 64);
    ZARVO_REQUIRE_CORPUS();
    std::string md2File = CorpusModel("sydney.md2"), skin = CorpusModel("sydney.bmp");
    std::string room = CorpusModel("room.3ds"), folder = zarvo_test::CorpusDir() + "/models/";

    auto* character = new C3DGameObject();
    character->LoadMD2Model(md2File.data(), skin.data());
    auto* scene = new C3DGameObject();
    scene->Load3DS(folder.data(), room.data(), false);
    ASSERT_EQ(character->GetModelKind(), MODEL_KIND_MD2);
    ASSERT_EQ(scene->GetModelKind(), MODEL_KIND_3DS);
    auto* md2 = dynamic_cast<CMD2Object*>(character->GetModel());
    auto* model3ds = dynamic_cast<C3DSObject*>(scene->GetModel());
    ASSERT_NE(md2, nullptr);
    ASSERT_NE(model3ds, nullptr);

    character->SetAnimationSpeed(12.5f);
    EXPECT_EQ(md2->GetAnimationSpeed(), 12.5f);
    scene->SetAnimationSpeed(3.0f); // a 3DS model has no animation: nothing happens

    // The MD2 class's own SetAngle also turns the world box.
    const CVector3 maxBefore = *character->GetBoundingBoxMaxPoint();
    character->SetAngle(90);
    EXPECT_EQ(character->GetAngle(), 90.0f);
    const CVector3 maxAfter = *character->GetBoundingBoxMaxPoint();
    EXPECT_FALSE(maxBefore.x == maxAfter.x && maxBefore.z == maxAfter.z);

    EXPECT_GT(scene->GetBoundingSphereRadius(), 0.0f);
    EXPECT_EQ(scene->GetBoundingSphereRadius(), model3ds->GetBoundingSphereRadius());
    EXPECT_EQ(character->GetBoundingSphereRadius(), 0.0f);

    C3DGameObjectManager manager;
    manager.RegisterObject(character);
    manager.RegisterObject(scene);
    EXPECT_GT(md2->GetModelVertexNum(), 0);
    EXPECT_EQ(manager.GetNumOfAllVertices(),
              md2->GetModelVertexNum() + model3ds->GetModelVertexNum());
}
