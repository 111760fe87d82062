// The manager's two shadow passes over a lit box and ground. Sorts last: it re-sizes the window.
#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"
#include "render3d/CShadowVolume.h"
#include "support/gl_context.h"
#include "test_entity.h"

namespace {

// The back-buffer path needs a window as wide as the default 1024 x 1024 shadow map.
constexpr int kWidth = 1024, kHeight = 768;
// The box is 2/3 of the way to the light: its shadow lies around the origin, 1.5 times as big.
const CVector3 kLight(-30, 30, 0), kBoxCentre(-10, 10, 0), kUnderBox, kOpenGround(12, 0, 10);

// A white-textured cube with a real shadow volume: enough of a model for both passes.
class MeshEntity : public CEntity {
public:
    GLint programSeenByDraw = -1;
    zarvo_test::TestMesh mesh = zarvo_test::Cube();
    CShadowVolume volume;

    MeshEntity(CVector3 at, CVector3 size) {
        CVector3 lo(-1, -1, -1), hi(1, 1, 1);
        m_vPosition = at;
        m_vSize = size;
        TransformModelLevelBoundingBoxCoordinates(lo, hi);
    }
    void Draw(bool textured) override {
        static const GLuint white = [] {
            const unsigned char texel[4] = {255, 255, 255, 255};
            GLuint name = 0;
            glGenTextures(1, &name);
            glBindTexture(GL_TEXTURE_2D, name);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
            return name;
        }();
        glGetIntegerv(GL_CURRENT_PROGRAM, &programSeenByDraw);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        if (textured) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, white);
        }
        TransformToWordCoordinate();
        glTexCoord2f(0.5f, 0.5f);
        glBegin(GL_TRIANGLES);
        for (const tFace& f : mesh.faces) {
            const auto& v = mesh.verts;
            const CVector3 &a = v[f.vertIndex[0]], &b = v[f.vertIndex[1]], &c = v[f.vertIndex[2]];
            const CVector3 n = Normalize(Cross(b - a, c - a));
            glNormal3f(n.x, n.y, n.z);
            for (const CVector3* p : {&a, &b, &c})
                glVertex3f(p->x, p->y, p->z);
        }
        glEnd();
        glPopMatrix();
    }
    void DrawVBONEW(bool textured) override { Draw(textured); }
    void BuildShadowVolume(CVector3 light) override {
        volume.buildShadowV3DS(mesh.Object(), light, m_vPosition, m_vSize, m_fAngle,
                               m_vRotationAxis);
    }
    void RenderToStencilV() override { RenderVolumesToStencil({&volume}); }
    void DrawShadowVolumeV() override { volume.DrawSillhoute(); }
    int GetModelVertexNum() override { return 36; }
};

struct Scene {
    C3DGameObjectManager manager;
    MeshEntity* ground = new MeshEntity(CVector3(0, -1, 0), CVector3(40, 1, 40));
    C3DGameObject* floor = Place(ground);
    C3DGameObject* box = Place(new MeshEntity(kBoxCentre, CVector3(1, 1, 1)));
    C3DGameObject* Place(MeshEntity* model) {
        auto* object = new C3DGameObject();
        object->AttachModel(MODEL_KIND_3DS, model);
        object->SetCastShadow(model != ground);
        manager.RegisterObject(object);
        return object;
    }
};

struct Frame {
    std::vector<uint8_t> rgba, stencil;
    double modelview[16], projection[16];
    GLint viewport[4];

    float Lum(int x, int y) const {
        const uint8_t* p = &rgba[(size_t(y) * kWidth + size_t(x)) * 4];
        return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
    }
    float Lum(const CVector3& world) const { return Lum(Project(world)[0], Project(world)[1]); }
    bool Stencil(int x, int y) const { return stencil[size_t(y) * kWidth + size_t(x)] != 0; }
    std::array<int, 2> Project(const CVector3& p) const {
        double wx, wy, wz;
        gluProject(p.x, p.y, p.z, modelview, projection, viewport, &wx, &wy, &wz);
        return {int(std::lround(wx)), kHeight - 1 - int(std::lround(wy))};
    }
    CVector3 GroundUnder(int x, int y) const {
        double n[3], f[3];
        const double wy = kHeight - 1 - y;
        gluUnProject(x, wy, 0.0, modelview, projection, viewport, &n[0], &n[1], &n[2]);
        gluUnProject(x, wy, 1.0, modelview, projection, viewport, &f[0], &f[1], &f[2]);
        const double t = n[1] / (n[1] - f[1]);
        return CVector3(float(n[0] + (f[0] - n[0]) * t), 0.f, float(n[2] + (f[2] - n[2]) * t));
    }
};

// The shadow on the ground {min x, max x, min z, max z}: corners pushed by 30 / (30 - y).
const float kFootprint[4] = {-30 + 19 * 30 / 21.f, -30 + 21 * 30 / 19.f, -30 / 19.f, 30 / 19.f};
bool InFootprint(const CVector3& g, float margin) {
    return g.x > kFootprint[0] - margin && g.x < kFootprint[1] + margin &&
           g.z > kFootprint[2] - margin && g.z < kFootprint[3] + margin;
}

// Pixels where `inShadow`, and in `outside` those off the footprint; skips the box itself.
template <typename InShadow>
int ShadowPixels(const Frame& lit, InShadow inShadow, float margin, int& outside) {
    const auto box = lit.Project(kBoxCentre);
    int n = outside = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if ((std::abs(x - box[0]) >= 60 || std::abs(y - box[1]) >= 60) && inShadow(x, y)) {
                ++n;
                outside += !InFootprint(lit.GroundUnder(x, y), margin);
            }
    return n;
}

class ShadowPassGL : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_Graphics = new CGraphicsCore();
        g_Graphics->SetStencilBufferSize(8);
        g_Graphics->SetDepthBufferSize(24);
        g_Graphics->Initialize(kWidth, kHeight, 24, false, false);
        SDL_GL_SwapBuffers(); // a re-sized window gets its new buffers at a swap
        g_ShaderManager = zarvo_test::BuiltInShaders();
        g_LightManager = new CLightManager();
        g_LightManager->RegisterLight(new CLight());
        g_LightManager->EnableLight(1);
        g_LightManager->GetLight(1)->SetPosition(kLight.x, kLight.y, kLight.z, 1.0f);
        g_Camera = new CCamera();
    }
    static void TearDownTestSuite() {
        delete std::exchange(g_Camera, nullptr);
        delete std::exchange(g_LightManager, nullptr);
        delete std::exchange(g_Graphics, nullptr);
        g_ShaderManager = nullptr;
    }
    void SetUp() override {
        g_Graphics->EnableShadows(true);
        g_Graphics->EnablePCFShadow(false);
        g_Graphics->EnableParallaxMappping(false);
        g_Camera->PositionCamera(0, 20, 35, -5, 3, 0, 0, 1, 0);
    }
    void TearDown() override {
        g_Graphics->OverrideFBOSupport(fboSupported_);
        g_Graphics->OverrideTwoSidedStencilSupport(twoSidedSupported_);
    }
    Frame Render(Scene& scene, sShadowTypes method) {
        g_Graphics->SetActiveShadowMethod(method);
        glColor4f(0.6f, 0.6f, 0.6f, 1.0f); // the ground's material, as the overlay leaves it
        glClearColor(0, 0, 0, 0);
        glClearStencil(0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        g_Camera->Look();
        Frame frame;
        glGetDoublev(GL_MODELVIEW_MATRIX, frame.modelview);
        glGetDoublev(GL_PROJECTION_MATRIX, frame.projection);
        scene.manager.Render();
        glGetIntegerv(GL_VIEWPORT, frame.viewport);
        frame.rgba = zarvo_test::ReadFramebufferTopDown(kWidth, kHeight);
        frame.stencil = zarvo_test::ReadStencilTopDown(kWidth, kHeight);
        return frame;
    }
    bool fboSupported_ = g_Graphics ? g_Graphics->isFBOSupported() : true;
    bool twoSidedSupported_ = g_Graphics ? g_Graphics->GetSupportTwoSidedStencilBuffer() : true;
};

} // namespace

// Through the frame buffer object and the back-buffer copy alike.
TEST_F(ShadowPassGL, ShadowMapDarkensTheGroundUnderTheCasterOnlyOnEitherPath) {
    ASSERT_TRUE(g_Graphics->isFBOSupported());
    Scene scene;
    zarvo_test::TakeGLError(); // whatever earlier tests left pending
    const Frame shadowed = Render(scene, SHADOW_MAPPING);
    GLdouble modelview[16], projection[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    EXPECT_TRUE(std::equal(modelview, modelview + 16, shadowed.modelview) &&
                std::equal(projection, projection + 16, shadowed.projection));
    GLint active = -1, program = -1, bound = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_TRUE(active == GL_TEXTURE0_ARB && program == 0 && !glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(shadowed.viewport[2] == kWidth && shadowed.viewport[3] == kHeight);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING) && glIsEnabled(GL_LIGHT0));
    glActiveTextureARB(GL_TEXTURE1_ARB); // keeps the map bound for comparison
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D) && GLint(g_Graphics->GetShadowMapTexture()) == bound);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_EQ(GLenum(GL_NO_ERROR), zarvo_test::TakeGLError());

    g_Graphics->OverrideFBOSupport(false);
    const Frame viaCopy = Render(scene, SHADOW_MAPPING);
    g_Graphics->OverrideFBOSupport(true);
    scene.box->SetCastShadow(false);
    const Frame lit = Render(scene, SHADOW_MAPPING);
    EXPECT_LT(shadowed.Lum(kUnderBox), 0.8f * lit.Lum(kUnderBox));
    EXPECT_NEAR(shadowed.Lum(kOpenGround), lit.Lum(kOpenGround), 2.f);
    int outside = 0;
    auto darker = [&](int x, int y) { return shadowed.Lum(x, y) + 6.f < lit.Lum(x, y); };
    EXPECT_GT(ShadowPixels(lit, darker, 1.0f, outside), 2000);
    EXPECT_EQ(0, outside);
    int differing = 0;
    for (size_t i = 0; i < shadowed.rgba.size(); ++i)
        differing += std::abs(int(shadowed.rgba[i]) - int(viaCopy.rgba[i])) > 8;
    EXPECT_LT(differing, int(shadowed.rgba.size() / 200)) << "more than 0.5% of samples differ";
    EXPECT_LT(viaCopy.Lum(kUnderBox), 0.8f * viaCopy.Lum(kOpenGround));
}

// Parallax beats PCF; PCF's blended border shows shades the single-tap program skips.
TEST_F(ShadowPassGL, ThePassDrawsThroughTheProgramItSelects) {
    g_Camera->PositionCamera(0, 10, 12, -5, 4, 0, 0, 1, 0); // close enough to resolve the border
    const struct {
        bool pcf, parallax;
        Default_Shader_Types program;
    } rows[] = {{false, false, SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT},
                {true, false, SHADER_SHADOW_MAPPING_PCF},
                {true, true, SHADER_PARALLAX_SHADOW}};
    int inBetween[2] = {0, 0};
    for (const auto& row : rows) {
        g_Graphics->EnablePCFShadow(row.pcf);
        g_Graphics->EnableParallaxMappping(row.parallax);
        EXPECT_EQ(row.program, C3DGameObjectManager::SelectShadowMapProgram());
        Scene scene;
        const Frame f = Render(scene, SHADOW_MAPPING);
        EXPECT_EQ(GLint(g_ShaderManager->getDefaultShaders(row.program)->getShaderHandler()),
                  scene.ground->programSeenByDraw)
            << row.program;
        const float dark = f.Lum(kUnderBox), bright = f.Lum(CVector3(0, 0, kFootprint[3] + 0.8f));
        EXPECT_LT(dark, 0.8f * bright) << row.program;
        const float low = dark + 0.2f * (bright - dark), high = bright - 0.2f * (bright - dark);
        for (int y = 0; y < kHeight && !row.parallax; y += 2)
            for (int x = 0; x < kWidth; x += 2)
                inBetween[row.pcf] += f.Lum(x, y) > low && f.Lum(x, y) < high &&
                                      InFootprint(f.GroundUnder(x, y), 1.f);
    }
    EXPECT_GT(inBetween[1], 2 * inBetween[0]) << inBetween[0] << " " << inBetween[1];
}

// The stencil count is non-zero exactly where the ground darkens, on both stencil paths.
TEST_F(ShadowPassGL, ShadowVolumesCountAndDarkenTheShadow) {
    ASSERT_TRUE(g_Graphics->GetSupportTwoSidedStencilBuffer());
    Scene scene;
    const Frame twoSided = Render(scene, SHADOW_VOLUME);
    g_Graphics->OverrideTwoSidedStencilSupport(false);
    glDisable(GL_STENCIL_TEST_TWO_SIDE_EXT); // as on a card without the extension
    const Frame oneSided = Render(scene, SHADOW_VOLUME);
    scene.box->SetCastShadow(false);
    const Frame lit = Render(scene, SHADOW_VOLUME);
    const auto sameSign = [](uint8_t a, uint8_t b) { return (a != 0) == (b != 0); };
    EXPECT_TRUE(std::equal(twoSided.stencil.begin(), twoSided.stencil.end(),
                           oneSided.stencil.begin(), sameSign) &&
                twoSided.rgba == oneSided.rgba);
    EXPECT_NEAR(0.5f * lit.Lum(kUnderBox), oneSided.Lum(kUnderBox), 2.f);
    int mismatched = 0, outside = 0;
    const int counted = ShadowPixels(
        lit,
        [&](int x, int y) {
            mismatched += oneSided.Stencil(x, y) != (oneSided.Lum(x, y) + 2.f < lit.Lum(x, y));
            return oneSided.Stencil(x, y);
        },
        0.5f, outside);
    EXPECT_EQ(0, mismatched) << "stencil count and darkening disagree";
    EXPECT_EQ(0, outside) << "shadow outside the box's footprint";
    EXPECT_GT(counted, 2000);
}

TEST_F(ShadowPassGL, ACasterWhoseFileFailedChangesNeitherPass) {
    Scene scene;
    scene.manager.DrawingShadowVolume(true);
    Render(scene, SHADOW_MAPPING); // the map's first use settles its state
    const Frame volumes = Render(scene, SHADOW_VOLUME);
    const Frame maps = Render(scene, SHADOW_MAPPING);
    const int vertices = scene.manager.GetNumOfAllVertices();
    auto* broken = new C3DGameObject();
    char missing[] = "no-such-model.md2";
    testing::internal::CaptureStderr(); // the failure is reported there
    EXPECT_FALSE(broken->LoadMD2Model(missing, nullptr));
    testing::internal::GetCapturedStderr();
    broken->SetPosition(-20, 20, 0); // between the light and the ground
    broken->SetCastShadow(true);
    scene.manager.RegisterObject(broken);
    EXPECT_EQ(scene.manager.GetNumOfAllVertices(), vertices);
    EXPECT_TRUE(Render(scene, SHADOW_VOLUME).rgba == volumes.rgba);
    EXPECT_TRUE(Render(scene, SHADOW_MAPPING).rgba == maps.rgba);
    EXPECT_FALSE(broken->IsObjectInFrustum());
}
