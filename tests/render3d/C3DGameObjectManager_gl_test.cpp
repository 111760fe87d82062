#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include "core/Engine.h"
#include "support/gl_context.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "test_entity.h"

using zarvo_test::RecordingEntity;

namespace {

// A camera at the origin looking down -z with a 1..1000 perspective, as the frame
// prepares it before the manager renders.
class SceneGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        camera_ = new CCamera();
        g_Camera = camera_;
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, 1.0, 1.0, 1000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        camera_->PositionCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
        camera_->Look();
    }
    void TearDown() override {
        g_Camera = nullptr;
        delete camera_;
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
    }

    // Registers an object of the kind whose world box is a 2-unit cube around (x, y, z).
    RecordingEntity* Add(C3DGameObjectManager& manager, int kind, float x, float y, float z) {
        auto* model = new RecordingEntity();
        model->readCullState = true;
        model->SetBox(CVector3(x - 1, y - 1, z - 1), CVector3(x + 1, y + 1, z + 1));
        auto* object = new C3DGameObject();
        object->AttachModel(kind, model);
        manager.RegisterObject(object);
        return model;
    }

    CCamera* camera_ = nullptr;
};

} // namespace

TEST_F(SceneGL, EachKindDrawsWithItsOwnCullingAndCall) {
    C3DGameObjectManager manager;
    RecordingEntity* models[MODEL_KIND_COUNT];
    for (int kind = 0; kind < MODEL_KIND_COUNT; ++kind)
        models[kind] = Add(manager, kind, 0, 0, -20);
    glCullFace(GL_BACK);
    for (C3DGameObject* object : manager.Get3DObjects())
        object->Draw(false);

    struct Expected {
        const char* call;
        bool flag;
        bool cull;
        GLint face;
    };
    const Expected expected[MODEL_KIND_COUNT] = {
        {"Draw", false, false, GL_BACK},      // engine XML model
        {"Draw", false, true, GL_FRONT},      // MD2: front faces culled
        {"DrawVBONEW", true, true, GL_BACK},  // 3DS: always textured
        {"DrawVBONEW", false, true, GL_BACK}, // OBJ
        {"Draw", false, false, GL_FRONT},     // MD3 leaves culling as it finds it
    };
    for (int kind = 0; kind < MODEL_KIND_COUNT; ++kind) {
        ASSERT_EQ(models[kind]->calls.size(), 1u) << "kind " << kind;
        const RecordingEntity::Call& call = models[kind]->calls[0];
        EXPECT_EQ(call.name, expected[kind].call) << "kind " << kind;
        EXPECT_EQ(call.flag, expected[kind].flag) << "kind " << kind;
        EXPECT_EQ(call.cullEnabled, expected[kind].cull) << "kind " << kind;
        if (expected[kind].cull) {
            EXPECT_EQ(call.cullFace, expected[kind].face) << "kind " << kind;
        }
    }
    // Culling is off again after every draw.
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE));
}

TEST_F(SceneGL, PlainPassLightsAndDrawsOnlyVisibleObjectsInTheFrustum) {
    C3DGameObjectManager manager;
    RecordingEntity* ahead = Add(manager, MODEL_KIND_3DS, 0, 0, -50);
    RecordingEntity* behind = Add(manager, MODEL_KIND_3DS, 0, 0, 50);
    RecordingEntity* beyondFar = Add(manager, MODEL_KIND_OBJ, 0, 0, -1500);
    RecordingEntity* straddlingNear = Add(manager, MODEL_KIND_MD2, 0, 0, 0);
    RecordingEntity* md3Behind = Add(manager, MODEL_KIND_MD3, 0, 0, 50);
    RecordingEntity* hidden = Add(manager, MODEL_KIND_ZARVO, 0, 0, -50);
    const std::vector<C3DGameObject*> objects = manager.Get3DObjects();
    objects[5]->SetVisible(false);
    objects[5]->SetObjectInFrustum(true);

    manager.Render();

    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_EQ(ahead->Names(), (std::vector<std::string>{"DrawVBONEW"}));
    EXPECT_TRUE(behind->calls.empty());
    EXPECT_FALSE(objects[1]->IsObjectInFrustum());
    EXPECT_TRUE(beyondFar->calls.empty());
    EXPECT_EQ(straddlingNear->Names(), (std::vector<std::string>{"Draw"}));
    // MD3 objects are never culled.
    EXPECT_EQ(md3Behind->Names(), (std::vector<std::string>{"Draw"}));
    // An invisible object is neither drawn nor tested: its old flag survives.
    EXPECT_TRUE(hidden->calls.empty());
    EXPECT_TRUE(objects[5]->IsObjectInFrustum());
}

TEST_F(SceneGL, PlainPassDrawsBoxesOnlyWhenAskedAndLeavesTheMatricesAlone) {
    C3DGameObjectManager manager;
    RecordingEntity* model = Add(manager, MODEL_KIND_ZARVO, 0, 0, -50);
    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);

    manager.Render();
    EXPECT_EQ(model->Names(), (std::vector<std::string>{"Draw"}));
    EXPECT_TRUE(model->calls[0].flag);
    manager.EnableBoundingBoxDrawing(true);
    manager.Render();
    EXPECT_EQ(model->Names(), (std::vector<std::string>{"Draw", "Draw", "DrawBoundingBox"}));

    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], before[i]);
}

TEST_F(SceneGL, CullingUsesTheFrustumOfTheLastLook) {
    C3DGameObjectManager manager;
    RecordingEntity* model = Add(manager, MODEL_KIND_OBJ, 0, 0, 50);
    manager.Render();
    EXPECT_TRUE(model->calls.empty());

    // Turn around; then load other matrices: the test still uses the planes of Look.
    glLoadIdentity();
    camera_->PositionCamera(0, 0, 0, 0, 0, 1, 0, 1, 0);
    camera_->Look();
    glLoadIdentity();
    glTranslatef(0, 0, 5000);
    manager.Render();
    EXPECT_EQ(model->Names(), (std::vector<std::string>{"DrawVBONEW"}));
}
