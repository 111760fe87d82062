#include "render3d/C3DGameObject.h"

#include <gtest/gtest.h>

#include "core/Engine.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CLightManager.h"
#include "test_entity.h"

using zarvo_test::RecordingEntity;

namespace {

// An object holding a recording model of the given kind; the object owns the model.
struct Placed {
    explicit Placed(int kind, int vertices = 0) {
        model = new RecordingEntity();
        model->vertexNum = vertices;
        object = new C3DGameObject();
        object->AttachModel(kind, model);
    }
    C3DGameObject* object;
    RecordingEntity* model;
};

using Names = std::vector<std::string>;

} // namespace

TEST(GameObjectDispatch, ShadowOperationsReachEveryKindButMD3) {
    for (int kind = MODEL_KIND_ZARVO; kind <= MODEL_KIND_OBJ; ++kind) {
        Placed p(kind);
        p.object->BuildShadowVolume();
        p.object->RenderToStencil();
        p.object->DrawShadowVolume();
        EXPECT_EQ(p.model->Names(),
                  (Names{"BuildShadowVolume", "RenderToStencilV", "DrawShadowVolumeV"}))
            << "kind " << kind;
        // Only MD2 geometry animates, so only its volume stays out of date.
        EXPECT_EQ(p.object->GetGenerateShadowVolume(), kind == MODEL_KIND_MD2) << "kind " << kind;
        delete p.object;
    }
    Placed md3(MODEL_KIND_MD3);
    md3.object->BuildShadowVolume();
    md3.object->RenderToStencil();
    md3.object->DrawShadowVolume();
    md3.object->DrawBoundingBox();
    EXPECT_TRUE(md3.model->calls.empty());
    EXPECT_TRUE(md3.object->GetGenerateShadowVolume());
    delete md3.object;
}

TEST(GameObjectDispatch, ShadowVolumesAreBuiltForLightOne) {
    Placed p(MODEL_KIND_3DS);
    p.object->BuildShadowVolume();
    // Without a light manager the position of an unregistered light is used.
    EXPECT_EQ(p.model->lastLight.y, 100.0f);

    CLightManager lights;
    g_LightManager = &lights;
    p.object->BuildShadowVolume();
    g_LightManager = nullptr;
    EXPECT_EQ(p.model->lastLight.x, 0.0f);
    EXPECT_EQ(p.model->lastLight.y, 100.0f);
    delete p.object;
}

TEST(GameObjectDispatch, TransformSettersForwardAndMarkTheShadowVolume) {
    Placed p(MODEL_KIND_OBJ);
    p.object->BuildShadowVolume();
    ASSERT_FALSE(p.object->GetGenerateShadowVolume());
    p.object->SetPosition(1, 2, 3);
    EXPECT_TRUE(p.object->GetGenerateShadowVolume());
    EXPECT_EQ(p.object->GetPosition(), p.model->GetPosition());
    EXPECT_EQ(p.object->GetPosition()->z, 3.0f);

    p.object->BuildShadowVolume();
    p.object->SetSize(2, 2, 2);
    EXPECT_TRUE(p.object->GetGenerateShadowVolume());
    p.object->BuildShadowVolume();
    p.object->SetAngle(45);
    EXPECT_TRUE(p.object->GetGenerateShadowVolume());
    EXPECT_EQ(p.object->GetAngle(), 45.0f);
    delete p.object;
}

TEST(GameObjectDispatch, BoundsAndVertexCountsComeFromTheModelExceptForMD3) {
    Placed obj(MODEL_KIND_ZARVO, 36);
    EXPECT_EQ(obj.object->GetObjectVertexNum(), 36);
    EXPECT_EQ(obj.object->GetBoundingBoxMinPoint(),
              obj.model->GetTransformedModelLevelBBMinPoint());
    EXPECT_EQ(obj.object->GetBoundingBoxMaxPoint(),
              obj.model->GetTransformedModelLevelBBMaxPoint());

    Placed md3(MODEL_KIND_MD3, 36);
    EXPECT_EQ(md3.object->GetObjectVertexNum(), 0);
    EXPECT_EQ(md3.object->GetBoundingBoxMinPoint(), nullptr);
    EXPECT_EQ(md3.object->GetBoundingBoxMaxPoint(), nullptr);
    // Always inside, without a camera or a box.
    md3.object->checkFrustum();
    EXPECT_TRUE(md3.object->IsObjectInFrustum());
    EXPECT_EQ(md3.object->GetBoundingSphereRadius(), 0.0f);
    delete obj.object;
    delete md3.object;
}

TEST(GameObjectManager, VertexTotalIsFixedAtRegistration) {
    C3DGameObjectManager manager;
    Placed a(MODEL_KIND_3DS, 300);
    Placed b(MODEL_KIND_MD2, 120);
    Placed c(MODEL_KIND_MD3, 999);
    manager.RegisterObject(a.object);
    manager.RegisterObject(b.object);
    manager.RegisterObject(c.object);
    EXPECT_EQ(manager.GetNumOfAllVertices(), 420);

    a.model->vertexNum = 5;
    EXPECT_EQ(manager.GetNumOfAllVertices(), 420);

    const std::vector<C3DGameObject*> list = manager.Get3DObjects();
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0], a.object);
    EXPECT_EQ(list[2], c.object);
}
