// The shadow-mapping demo driven pass by pass with pushed SDL events, its frames read back.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "demos/testShadowMapping.h"
#include "image/CTexture.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "support/demo_fixtures.h"

#include <GL/glu.h>

using namespace zarvo_test;

namespace {
int Sum(const ShotImage& image, int x, int y) {
    const unsigned char* p = image.At(x, y);
    return p[0] + p[1] + p[2];
}
} // namespace

class ShadowDemoGL : public DemoGL<testShadowMapping> {
protected:
    void SetUp() override {
        DemoGL::SetUp();
        g_TickStep = 0; // the moving character stands still between captures
    }
    static CVector3 LightPosition() {
        const float* p = demo_->GetLight()->GetPosition();
        return CVector3(p[0], p[1], p[2]);
    }
};

TEST_F(ShadowDemoGL, TheOverlayIsDrawnInItsTextBoxesColoursAndLogoCornerAndNowhereElse) {
    const std::vector<C3DGameObject*> objects = g_3DGameObjectManager->Get3DObjects();
    ASSERT_EQ(objects.size(), 3u);
    for (C3DGameObject* object : objects) // leaves only the overlay on the black clear colour
        object->SetVisible(false);
    const ShotImage frame = Capture();
    for (C3DGameObject* object : objects)
        object->SetVisible(true);
    const CTexture* logo = demo_->GetLogo();
    ASSERT_GT(logo->GetWidth(), 0.0f) << "logo not loaded";
    EXPECT_EQ(logo->GetPosition().x, 1024 - 5 - logo->GetWidth());
    EXPECT_EQ(logo->GetPosition().y, 768 - 5 - logo->GetHeight());
    const int lx = int(logo->GetPosition().x), ly = int(logo->GetPosition().y);
    double inBoxes = Measure(frame, {lx, ly, 1019, 763}, nullptr, 30);
    EXPECT_GT(inBoxes, 50) << "logo";
    EXPECT_GT(Measure(frame, {(1019 + lx) / 2, ly, 1019, 763}, nullptr, 30), 0)
        << "no logo ink near its right edge";
    EXPECT_GT(Measure(frame, {lx, (763 + ly) / 2, 1019, 763}, nullptr, 30), 0)
        << "no logo ink near its bottom";
    for (const auto& [box, colour] : kShadowTexts) {
        const double lit = Measure(frame, box, nullptr, 30);
        EXPECT_GT(lit, 50) << box.top;
        EXPECT_GT(Measure(frame, box, colour, 30), lit / 2) << box.top << ": the wrong colour";
        inBoxes += lit;
    }
    EXPECT_EQ(Measure(frame, {0, 0, 1024, 768}, nullptr, 30), inBoxes)
        << "overlay pixels outside the text boxes and the logo, or in its 5-pixel margin";
}

TEST_F(ShadowDemoGL, ShadowsDarkenTheGroundNearBothCharacters) {
    // The same frame with the characters casting no shadow: only the shadows differ.
    const std::vector<C3DGameObject*> objects = g_3DGameObjectManager->Get3DObjects();
    const ShotImage lit = Capture();
    objects[0]->SetCastShadow(false);
    objects[1]->SetCastShadow(false);
    const ShotImage unshadowed = Capture();
    objects[0]->SetCastShadow(true);
    objects[1]->SetCastShadow(true);
    ASSERT_EQ(lit.width, 1024);
    ASSERT_EQ(unshadowed.width, 1024);
    EXPECT_TRUE(g_Graphics->isShadowEnabled());
    EXPECT_EQ(g_Graphics->GetActiveShadowMethod(), SHADOW_MAPPING);

    glMatrixMode(GL_MODELVIEW); // where the characters stand on screen
    glPushMatrix();
    glLoadIdentity();
    g_Camera->Look();
    GLdouble model[16], projection[16], screen[2][3];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    glPopMatrix();
    for (int i = 0; i < 2; ++i) {
        const CVector3 p = *objects[i]->GetPosition();
        gluProject(p.x, p.y, p.z, model, projection, viewport, &screen[i][0], &screen[i][1],
                   &screen[i][2]);
    }
    int darkened = 0, brightened = 0, nearCharacter[2] = {0, 0};
    for (int y = 150; y < 768; ++y) // below the texts
        for (int x = 0; x < 1024; ++x) {
            const int on = Sum(lit, x, y), off = Sum(unshadowed, x, y);
            brightened += on > off * 1.25 + 30;
            if (off <= 60 || on >= off * 0.75) continue;
            ++darkened;
            for (int i = 0; i < 2; ++i) {
                const double dx = x - screen[i][0], dy = y - (768 - screen[i][1]);
                nearCharacter[i] += dx * dx + dy * dy < 250.0 * 250.0;
            }
        }
    EXPECT_GT(darkened, 1500) << "no shadow to speak of";
    EXPECT_GT(nearCharacter[0], 300) << "no shadow near the first character";
    EXPECT_GT(nearCharacter[1], 100) << "no shadow near the moving character";
    EXPECT_LT(brightened, darkened / 4) << "shadows should only darken";
}

TEST_F(ShadowDemoGL, SpaceTogglesPcfOnItsKeyDownAndOnLaterEventsWhileHeldAndQTheWireframe) {
    ASSERT_FALSE(demo_->IsPCFOn());
    Key(SDLK_SPACE, true);
    EXPECT_TRUE(demo_->IsPCFOn() && g_Graphics->isPCFShadowEnabled());
    Passes(3); // no new event: no toggle
    EXPECT_TRUE(demo_->IsPCFOn());
    ASSERT_TRUE(PushMouseMotion(10, 10)); // another event while Space is held
    Passes(1);
    EXPECT_FALSE(demo_->IsPCFOn() || g_Graphics->isPCFShadowEnabled());
    Key(SDLK_SPACE, false);
    EXPECT_FALSE(demo_->IsPCFOn());

    GLint mode[2] = {0, 0};
    for (bool on : {true, false}) {
        Key(SDLK_q, true);
        EXPECT_EQ(g_Graphics->GetWireFrameMode(), on);
        glGetIntegerv(GL_POLYGON_MODE, mode);
        EXPECT_EQ(mode[0], on ? GL_LINE : GL_FILL);
        Passes(2);
        EXPECT_EQ(g_Graphics->GetWireFrameMode(), on);
        Key(SDLK_q, false);
    }
}

TEST_F(ShadowDemoGL, HeldArrowKeysMoveTheLight15UnitsEveryFrameAndItsMatricesFollow) {
    const CVector3 start = LightPosition();
    Key(SDLK_LEFT, true, 10);
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 150.0f);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z);
    Key(SDLK_RIGHT, true, 4); // both held: they cancel out
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 150.0f);
    Key(SDLK_LEFT, false);
    Key(SDLK_RIGHT, false);
    EXPECT_FLOAT_EQ(LightPosition().x, start.x + 135.0f) << "the release frame still moves";
    Key(SDLK_UP, true, 3);
    Key(SDLK_UP, false);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z + 45.0f);
    Key(SDLK_DOWN, true);
    Key(SDLK_DOWN, false);
    EXPECT_FLOAT_EQ(LightPosition().z, start.z + 30.0f);
    EXPECT_FLOAT_EQ(LightPosition().y, start.y);
    const MATRIX4X4 view = demo_->GetLight()->GetLightViewMatrix();
    demo_->GetLight()->SetPosition(start.x, start.y, start.z, 1.0f);
    EXPECT_NE(view.entries[12], demo_->GetLight()->GetLightViewMatrix().entries[12]);
}

TEST_F(ShadowDemoGL, EscapeAndAWindowCloseEndTheRunInThePassThatTakesThem) { // last
    CApp::SetRunOptions(Windowed(demo_->Frames() + 50));                     // in case they do not
    for (bool quit : {false, true}) {
        const int before = demo_->Frames();
        ASSERT_TRUE(quit ? PushQuit() : PushKey(SDLK_ESCAPE, true));
        demo_->Run();
        EXPECT_EQ(demo_->Frames(), before + 1) << quit;
        if (!quit) Key(SDLK_ESCAPE, false);
    }
}
