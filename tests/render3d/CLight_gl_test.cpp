#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "support/gl_context.h"
#include "math/matrix4.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"

namespace {

// A look-at view built by hand: rows are the side, up and back axes of the eye.
MATRIX4X4 HandLookAt(CVector3 eye, CVector3 target, CVector3 up) {
    CVector3 f = target - eye;
    f.normalize();
    CVector3 s = Cross(f, up);
    s.normalize();
    const CVector3 u = Cross(s, f);
    return MATRIX4X4(s.x, u.x, -f.x, 0, s.y, u.y, -f.y, 0, s.z, u.z, -f.z, 0,
                     -(s.x * eye.x + s.y * eye.y + s.z * eye.z),
                     -(u.x * eye.x + u.y * eye.y + u.z * eye.z),
                     f.x * eye.x + f.y * eye.y + f.z * eye.z, 1);
}

MATRIX4X4 Perspective(float fovY, float aspect, float n, float f) {
    MATRIX4X4 m;
    m.SetPerspective(fovY, aspect, n, f);
    return m;
}

void ExpectMatrixNear(MATRIX4X4 actual, MATRIX4X4 expected, float relEps = 1e-5f) {
    for (int i = 0; i < 16; ++i) {
        const float e = expected.GetEntry(i);
        EXPECT_NEAR(actual.GetEntry(i), e, relEps * std::max(1.0f, std::fabs(e))) << "entry " << i;
    }
}

std::array<float, 4> LightParam(GLenum pname) {
    std::array<float, 4> v{};
    glGetLightfv(GL_LIGHT0, pname, v.data());
    return v;
}

// Lights need a GL context and the graphics core's perspective; each test gets both.
class LightGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        graphics_ = new CGraphicsCore();
        g_Graphics = graphics_;
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override {
        g_Graphics = nullptr;
        delete graphics_;
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
    }
    CGraphicsCore* graphics_ = nullptr;
};

} // namespace

TEST_F(LightGL, DefaultMatricesAndSettersThatWaitForSetPositionOrInit) {
    CLight light;
    ExpectMatrixNear(light.GetLightProjMatrix(), Perspective(45, 1, 1, 1500));
    ExpectMatrixNear(light.GetLightViewMatrix(),
                     HandLookAt(CVector3(-120, 190, 20), CVector3(0, 0, 0), CVector3(0, 1, 0)));
    const MATRIX4X4 proj = light.GetLightProjMatrix();
    const MATRIX4X4 view = light.GetLightViewMatrix();

    light.SetLightFovY(60);
    light.SetLightAspect(2);
    light.SetLightZNear(5);
    light.SetLightZFar(900);
    light.SetLightViewVector(10, 0, 10);
    light.SetLightUPVector(CVector3(0, 0, 1));
    EXPECT_TRUE(light.GetLightProjMatrix() == proj);
    EXPECT_TRUE(light.GetLightViewMatrix() == view);

    light.SetPosition(50, 100, -30, 1);
    ExpectMatrixNear(light.GetLightProjMatrix(), Perspective(60, 2, 5, 900));
    ExpectMatrixNear(light.GetLightViewMatrix(),
                     HandLookAt(CVector3(50, 100, -30), CVector3(10, 0, 10), CVector3(0, 0, 1)));

    // Init recomputes too, keeps the projection parameters and disables the light.
    float pos[4] = {0, 300, 0.5f, 1}, dif[4] = {1, 0, 0, 1}, amb[4] = {0, 0, 0, 1},
          spe[4] = {0, 0, 0, 1};
    light.Enable();
    light.SetLightZFar(2000);
    light.Init(pos, dif, amb, spe);
    EXPECT_FALSE(light.IsEnabled());
    ExpectMatrixNear(light.GetLightProjMatrix(), Perspective(60, 2, 5, 2000));
    ExpectMatrixNear(light.GetLightViewMatrix(),
                     HandLookAt(CVector3(0, 300, 0.5f), CVector3(10, 0, 10), CVector3(0, 0, 1)));
}

TEST_F(LightGL, SetPositionPlacesTheGLLightThroughTheCurrentModelview) {
    C3DGameObjectManager objects;
    g_3DGameObjectManager = &objects;
    CLight light;
    EXPECT_FALSE(objects.GetRegenerateShadowVolume());

    glTranslatef(100, 0, 0); // a camera transform on the stack
    float before[16], after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);
    light.SetPosition(10, 20, 30, 1);
    g_3DGameObjectManager = nullptr;
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    EXPECT_TRUE(std::equal(before, before + 16, after)) << "the caller's modelview changed";

    EXPECT_TRUE(objects.GetRegenerateShadowVolume());
    EXPECT_EQ(LightParam(GL_POSITION), (std::array<float, 4>{110, 20, 30, 1}));
    // The stored position and the light's matrices use the coordinates as given.
    EXPECT_FLOAT_EQ(light.GetPosition()[0], 10);
    ExpectMatrixNear(light.GetLightViewMatrix(),
                     HandLookAt(CVector3(10, 20, 30), CVector3(0, 0, 0), CVector3(0, 1, 0)));
}

TEST_F(LightGL, EveryLightDrivesGLLight0AndDisablingAnySwitchesLightingOff) {
    CLightManager lights;
    float pos1[4] = {1, 2, 3, 1}, dif1[4] = {0.1f, 0.2f, 0.3f, 1}, amb1[4] = {0, 0, 0, 1},
          spe1[4] = {0, 0, 0, 1};
    float pos2[4] = {-4, 5, -6, 1}, dif2[4] = {0.9f, 0.8f, 0.7f, 1},
          amb2[4] = {0.25f, 0.25f, 0.25f, 1}, spe2[4] = {0.5f, 0.5f, 0.5f, 1};
    lights.RegisterLight(new CLight(pos1, dif1, amb1, spe1));
    lights.RegisterLight(new CLight(pos2, dif2, amb2, spe2));
    ASSERT_EQ(lights.GetLightCount(), 2u);

    lights.EnableLight(1);
    EXPECT_FLOAT_EQ(LightParam(GL_DIFFUSE)[0], 0.1f);
    lights.EnableLight(2);
    EXPECT_FLOAT_EQ(LightParam(GL_DIFFUSE)[0], 0.9f);
    EXPECT_FLOAT_EQ(LightParam(GL_AMBIENT)[1], 0.25f);
    EXPECT_FLOAT_EQ(LightParam(GL_SPECULAR)[2], 0.5f);
    EXPECT_FLOAT_EQ(LightParam(GL_POSITION)[0], -4);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));

    lights.DisableLight(1);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(lights.GetLight(2)->IsEnabled());

    // Numbers outside 1..count change nothing.
    lights.EnableLight(0);
    lights.EnableLight(3);
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(LightGL, ManagerNumbersFromOneAndAnswersSafelyForUnregisteredNumbers) {
    CLightManager lights;
    float pos[4] = {7, 8, 9, 1}, c[4] = {0, 0, 0, 1};
    CLight* light = new CLight(pos, c, c, c);
    light->SetLightFovY(30);
    light->SetPosition(7, 8, 9, 1);
    lights.RegisterLight(light);

    EXPECT_EQ(lights.GetLight(1), light);
    EXPECT_EQ(lights.GetLight(0), nullptr);
    EXPECT_EQ(lights.GetLight(2), nullptr);
    const CVector3 p = lights.getLightPos(1), missing = lights.getLightPos(2);
    EXPECT_TRUE(p.x == 7 && p.y == 8 && p.z == 9);
    EXPECT_TRUE(missing.x == 0 && missing.y == 100 && missing.z == 0) << "the default place";

    EXPECT_TRUE(lights.GetLightProjMatrix(1) == light->GetLightProjMatrix());
    EXPECT_TRUE(lights.GetLightViewMatrix(1) == light->GetLightViewMatrix());
    const MATRIX4X4 identity;
    EXPECT_TRUE(lights.GetLightProjMatrix(0) == identity);
    EXPECT_TRUE(lights.GetLightProjMatrix(2) == identity);
    EXPECT_TRUE(lights.GetLightViewMatrix(5) == identity);
}
