// Cameras, lights and the object manager's lit pass against a real GL context.
#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "core/CEventManager.h"
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "models/3dsObject.h"
#include "models/CMD2Object.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CCameraManager.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"
#include "scene2d/CCamera2D.h"
#include "support/gl_context.h"
#include "support/test_paths.h"
#include "test_entity.h"

using zarvo_test::RecordingEntity;
using Names = std::vector<std::string>;

namespace {

MATRIX4X4 Modelview() {
    float m[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    return MATRIX4X4(m);
}

// The matrix a GLU call leaves on an identity modelview: the oracle for the engine's own.
template <class Load> MATRIX4X4 FromGlu(Load load) {
    glPushMatrix();
    glLoadIdentity();
    load();
    const MATRIX4X4 m = Modelview();
    glPopMatrix();
    return m;
}

void ExpectMatrixNear(const MATRIX4X4& actual, const MATRIX4X4& expected, float relEps = 1e-5f) {
    for (int i = 0; i < 16; ++i) {
        const float e = expected.GetEntry(i);
        EXPECT_NEAR(actual.GetEntry(i), e, relEps * std::max(1.0f, std::fabs(e))) << "entry " << i;
    }
}

// A 64-pixel frame as prepared for the manager: camera at the origin looking down -z.
class SceneGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        const double eye[3] = {0, 0, 0}, ahead[3] = {0, 0, -1};
        zarvo_test::LookAt(64, 1000.0, kBlack, eye, ahead);
        camera_.PositionCamera(0, 0, 0, 0, 0, -1, 0, 1, 0);
        camera_.Look();
    }
    void TearDown() override {
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
    }
    RecordingEntity* Add(int kind, float z) {
        auto* model = new RecordingEntity();
        model->readCull = true;
        model->SetBox(CVector3(-1, -1, z - 1), CVector3(1, 1, z + 1));
        auto* object = new C3DGameObject();
        object->AttachModel(kind, model);
        manager_.RegisterObject(object);
        return model;
    }
    static constexpr float kBlack[3] = {0, 0, 0};
    CGraphicsCore graphics_;
    CCamera camera_;
    zarvo_test::ScopedGlobal<CGraphicsCore> graphicsGlobal_{g_Graphics, &graphics_};
    zarvo_test::ScopedGlobal<CCamera> cameraGlobal_{g_Camera, &camera_};
    C3DGameObjectManager manager_;
};

std::array<float, 4> Light0(GLenum pname) {
    std::array<float, 4> v{};
    glGetLightfv(GL_LIGHT0, pname, v.data());
    return v;
}

} // namespace

TEST_F(SceneGL, CameraLookLoadsWhatGluLookAtGivesAndItsInverseAsDoTheManagersTranslations) {
    camera_.PositionCamera(12, -3, 40, 1, 2, -5, 0.1f, 1, 0);
    const MATRIX4X4 oracle = FromGlu([] { gluLookAt(12, -3, 40, 1, 2, -5, 0.1f, 1, 0); });
    MATRIX4X4 inverse; // of the modelview in place
    const MATRIX4X4 view = FromGlu([&] {
        camera_.Look();
        inverse = MATRIX4X4(camera_.GetInverseMatrix());
    });
    ExpectMatrixNear(view, oracle, 0);
    ExpectMatrixNear(inverse * oracle, MATRIX4X4(), 1e-4f);
    // The 2D camera manager translates by its actual camera only.
    CCameraManager manager;
    ExpectMatrixNear(FromGlu([&] { manager.Look(); }), FromGlu([] {})); // no camera
    manager.RegisterCamera(new CCamera2D(4, 5));
    manager.RegisterCamera(new CCamera2D(-7, 9));
    ExpectMatrixNear(FromGlu([&] { manager.Look(); }), FromGlu([] { glTranslatef(-7, 9, 0); }));
}

TEST_F(SceneGL, CameraUpdateTurnsByThePointerAndWarpsItBackToTheCentre) {
    ZARVO_REQUIRE_GL(1024, 768); // the graphics core's default window: centre (512, 384)
    CEventManager events;
    const zarvo_test::ScopedGlobal<CEventManager> global(g_EventManager, &events);
    SDL_WarpMouse(532, 374);
    SDL_PumpEvents();
    events.PollEvents();
    if (events.GetMouseX() != 532 || events.GetMouseY() != 374)
        GTEST_SKIP() << "this display does not move the pointer";
    CCamera camera;
    camera.PositionCamera(0, 0, 0, 0, 0, -10, 0, 1, 0);
    camera.Update();
    // 10 pixels above the centre pitch up by 0.05 rad, 20 to the right yaw by -0.1.
    const CVector3 view = *camera.GetCameraView();
    EXPECT_NEAR(view.x, std::sin(0.1f) * 10 * std::cos(0.05f), 1e-4f);
    EXPECT_NEAR(view.y, 10 * std::sin(0.05f), 1e-4f);
    SDL_PumpEvents();
    int x = 0, y = 0;
    SDL_GetMouseState(&x, &y);
    EXPECT_TRUE(x == 512 && y == 384) << x << "," << y;
    events.PollEvents(); // back at the centre: the next frame turns nothing
    camera.Update();
    EXPECT_EQ(camera.GetCameraView()->x, view.x);
}

// Matrices follow the parameters only at SetPosition or Init; GL_LIGHT0 sees the modelview.
TEST_F(SceneGL, LightsPlaceGLLight0AndRecomputeTheirMatricesAndTheManagerGuardsItsRange) {
    g_3DGameObjectManager = &manager_;
    CLight light;
    light.SetLightFovY(60);
    light.SetLightAspect(2);
    light.SetLightZNear(5);
    light.SetLightZFar(900);
    light.SetLightViewVector(10, 0, 10);
    light.SetLightUPVector(CVector3(0, 0, 1));
    glLoadIdentity();
    glTranslatef(100, 0, 0); // a camera transform on the stack
    const MATRIX4X4 before = Modelview();
    light.SetPosition(50, 100, -30, 1);
    g_3DGameObjectManager = nullptr;
    EXPECT_TRUE(Modelview() == before) << "the caller's modelview changed";
    EXPECT_TRUE(manager_.GetRegenerateShadowVolume());
    EXPECT_EQ(Light0(GL_POSITION), (std::array<float, 4>{150, 100, -30, 1}));
    ExpectMatrixNear(light.GetLightProjMatrix(), FromGlu([] { gluPerspective(60, 2, 5, 900); }));
    // Seen from the position as given, not as GL_LIGHT0 got it through the modelview.
    ExpectMatrixNear(light.GetLightViewMatrix(),
                     FromGlu([] { gluLookAt(50, 100, -30, 10, 0, 10, 0, 0, 1); }));
    float pos[4] = {0, 300, 0.5f, 1}, dif[4] = {1, 0, 0, 1}, black[4] = {0, 0, 0, 1};
    light.Enable();
    light.Init(pos, dif, black, black);
    EXPECT_FALSE(light.IsEnabled());
    ExpectMatrixNear(light.GetLightViewMatrix(),
                     FromGlu([] { gluLookAt(0, 300, 0.5f, 10, 0, 10, 0, 0, 1); }));

    glLoadIdentity();
    CLightManager lights;
    float pos1[4] = {1, 2, 3, 1}, dif1[4] = {0.1f, 0.2f, 0.3f, 1};
    float pos2[4] = {-4, 5, -6, 1}, dif2[4] = {0.9f, 0.8f, 0.7f, 1}, grey[4] = {.5f, .5f, .5f, 1};
    lights.RegisterLight(new CLight(pos1, dif1, black, black));
    lights.RegisterLight(new CLight(pos2, dif2, grey, grey));
    lights.EnableLight(2); // numbers start at 1
    EXPECT_EQ(Light0(GL_DIFFUSE), (std::array<float, 4>{0.9f, 0.8f, 0.7f, 1}));
    EXPECT_TRUE(Light0(GL_AMBIENT)[1] == 0.5f && Light0(GL_SPECULAR)[2] == 0.5f);
    EXPECT_EQ(Light0(GL_POSITION), (std::array<float, 4>{-4, 5, -6, 1}));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_LIGHT0));
    lights.DisableLight(1); // any light switches lighting off
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_LIGHT0));
    lights.EnableLight(0);
    lights.EnableLight(3); // numbers outside 1..count reach no light
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(lights.GetLight(0) == nullptr && lights.GetLight(3) == nullptr);
    EXPECT_TRUE(lights.getLightPos(3).y == 100 && lights.getLightPos(2).z == -6);
    EXPECT_TRUE(lights.GetLightProjMatrix(3) == MATRIX4X4() &&
                lights.GetLightViewMatrix(0) == MATRIX4X4());
}

TEST_F(SceneGL, EachKindDrawsWithItsOwnCullingAndCall) {
    glCullFace(GL_BACK);
    const struct {
        const char* call;
        bool textured;
        GLint cull; // the face culled during the call, -1 for none
    } expected[MODEL_KIND_COUNT] = {
        {"Draw", false, -1},            // engine XML model
        {"Draw", false, GL_FRONT},      // MD2: front faces culled
        {"DrawVBONEW", true, GL_BACK},  // 3DS: always textured
        {"DrawVBONEW", false, GL_BACK}, // OBJ
        {"Draw", false, -1},            // MD3 leaves culling as it finds it: off
    };
    for (int kind = 0; kind < MODEL_KIND_COUNT; ++kind) {
        RecordingEntity* model = Add(kind, -20);
        manager_.Get3DObjects().back()->Draw(false);
        EXPECT_EQ(model->calls, Names{expected[kind].call}) << "kind " << kind;
        EXPECT_EQ(model->flags, std::vector<bool>{expected[kind].textured}) << kind;
        EXPECT_EQ(model->cullFaces, std::vector<GLint>{expected[kind].cull}) << kind;
    }
    EXPECT_FALSE(glIsEnabled(GL_CULL_FACE)) << "culling is off again after every draw";
}

TEST_F(SceneGL, PlainPassLightsAndDrawsOnlyVisibleObjectsInTheFrustumOfTheLastLook) {
    RecordingEntity* ahead = Add(MODEL_KIND_3DS, -50);
    RecordingEntity* behind = Add(MODEL_KIND_OBJ, 50);
    RecordingEntity* beyondFar = Add(MODEL_KIND_OBJ, -1500);
    RecordingEntity* straddlingNear = Add(MODEL_KIND_MD2, 0);
    RecordingEntity* md3Behind = Add(MODEL_KIND_MD3, 50);
    RecordingEntity* hidden = Add(MODEL_KIND_ZARVO, -50);
    const std::vector<C3DGameObject*> objects = manager_.Get3DObjects();
    objects[5]->SetVisible(false);
    objects[5]->SetObjectInFrustum(true);
    const MATRIX4X4 before = Modelview();
    manager_.Render();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(ahead->calls == Names{"DrawVBONEW"} && ahead->flags[0]);
    EXPECT_TRUE(behind->calls.empty() && beyondFar->calls.empty());
    EXPECT_FALSE(objects[1]->IsObjectInFrustum() || camera_.GetFrustum()->PointInFrustum(0, 0, 50));
    EXPECT_EQ(straddlingNear->calls, Names{"Draw"});
    EXPECT_EQ(md3Behind->calls, Names{"Draw"}) << "MD3 objects are never culled";
    // An invisible object is neither drawn nor tested: its old flag survives.
    EXPECT_TRUE(hidden->calls.empty() && objects[5]->IsObjectInFrustum());
    manager_.EnableBoundingBoxDrawing(true);
    manager_.Render();
    EXPECT_EQ(ahead->calls, (Names{"DrawVBONEW", "DrawVBONEW", "DrawBoundingBox"}));
    EXPECT_TRUE(Modelview() == before);
    // Turn around, then load other matrices: culling still uses the planes of Look.
    glLoadIdentity();
    camera_.PositionCamera(0, 0, 0, 0, 0, 1, 0, 1, 0);
    camera_.Look();
    glLoadIdentity();
    glTranslatef(0, 0, 5000);
    manager_.Render();
    EXPECT_EQ(behind->calls, (Names{"DrawVBONEW", "DrawBoundingBox"}));
}

TEST_F(SceneGL, LoadedCorpusModelsAnswerThroughTheirKindRows) {
    ZARVO_REQUIRE_CORPUS();
    std::string dir = zarvo_test::CorpusDir() + "/models/", md2 = dir + "sydney.md2",
                skin = dir + "sydney.bmp", room = dir + "room.3ds";
    auto *character = new C3DGameObject(), *scene = new C3DGameObject();
    character->LoadMD2Model(md2.data(), skin.data());
    scene->Load3DS(dir.data(), room.data(), false);
    auto* md2Model = dynamic_cast<CMD2Object*>(character->GetModel());
    auto* model3ds = dynamic_cast<C3DSObject*>(scene->GetModel());
    ASSERT_TRUE(md2Model && character->GetModelKind() == MODEL_KIND_MD2);
    ASSERT_TRUE(model3ds && scene->GetModelKind() == MODEL_KIND_3DS);
    character->SetAnimationSpeed(12.5f);
    scene->SetAnimationSpeed(3.0f); // a 3DS model has no animation: nothing happens
    EXPECT_EQ(md2Model->GetAnimationSpeed(), 12.5f);
    const CVector3 maxBefore = *character->GetBoundingBoxMaxPoint();
    character->SetAngle(90);
    EXPECT_NE(maxBefore.x, character->GetBoundingBoxMaxPoint()->x);
    EXPECT_TRUE(scene->GetBoundingSphereRadius() > 0 &&
                scene->GetBoundingSphereRadius() == model3ds->GetBoundingSphereRadius());
    manager_.RegisterObject(character);
    manager_.RegisterObject(scene);
    EXPECT_GT(md2Model->GetModelVertexNum(), 0);
    EXPECT_EQ(manager_.GetNumOfAllVertices(),
              md2Model->GetModelVertexNum() + model3ds->GetModelVertexNum());
}
