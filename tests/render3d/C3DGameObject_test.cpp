#include "render3d/C3DGameObject.h"

#include <gtest/gtest.h>

#include "core/Engine.h"
#include "render3d/CLightManager.h"
#include "test_entity.h"

using zarvo_test::RecordingEntity;
using Names = std::vector<std::string>;

namespace {

struct Placed {
    explicit Placed(int kind) { object.AttachModel(kind, model); }
    RecordingEntity* model = new RecordingEntity();
    C3DGameObject object;
};

} // namespace

TEST(GameObjectDispatch, ShadowOperationsReachEveryKindButMD3AndFollowLightOneAndPlacement) {
    for (int kind = MODEL_KIND_ZARVO; kind <= MODEL_KIND_MD3; ++kind) {
        Placed p(kind);
        p.object.BuildShadowVolume();
        p.object.RenderToStencil();
        p.object.DrawShadowVolume();
        p.object.DrawBoundingBox();
        const Names all{"BuildShadowVolume", "RenderToStencilV", "DrawShadowVolumeV",
                        "DrawBoundingBox"};
        EXPECT_EQ(p.model->calls, kind == MODEL_KIND_MD3 ? Names{} : all) << "kind " << kind;
        // Only MD2 geometry animates: only its volume (and MD3's, never built) stays stale.
        EXPECT_EQ(p.object.GetGenerateShadowVolume(),
                  kind == MODEL_KIND_MD2 || kind == MODEL_KIND_MD3)
            << "kind " << kind;
    }
    Placed p(MODEL_KIND_OBJ);
    p.object.BuildShadowVolume();
    // Without a light manager the position of an unregistered light is used.
    EXPECT_EQ(p.model->lastLight.y, 100.0f);
    CLightManager lights;
    g_LightManager = &lights;
    p.model->lastLight = CVector3();
    p.object.BuildShadowVolume();
    g_LightManager = nullptr;
    EXPECT_TRUE(p.model->lastLight.x == 0.0f && p.model->lastLight.y == 100.0f);
    ASSERT_FALSE(p.object.GetGenerateShadowVolume());
    for (int step = 0; step < 3; ++step) {
        if (step == 0) p.object.SetPosition(1, 2, 3);
        if (step == 1) p.object.SetSize(2, 2, 2);
        if (step == 2) p.object.SetAngle(45);
        EXPECT_TRUE(p.object.GetGenerateShadowVolume()) << step;
        p.object.BuildShadowVolume();
    }
}
