// The two shadow passes of the object manager, rendered for real and read back: a box
// hovering over a ground plane, lit from above and to the side.
#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <SDL.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "render3d/C3DGameObject.h"
#include "render3d/C3DGameObjectManager.h"
#include "render3d/CCamera.h"
#include "render3d/CLight.h"
#include "render3d/CLightManager.h"
#include "render3d/CShaderManager.h"
#include "render3d/CShadowVolume.h"
#include "support/gl_context.h"
#include "test_entity.h"

namespace {

// The engine's default 1024 x 1024 shadow map, in a window as large as the map is
// wide so the back-buffer path can hold it.
constexpr int kWidth = 1024;
constexpr int kHeight = 768;
const CVector3 kLight(-30, 30, 0);
// The box centre sits on the line from the light to the origin, 2/3 of the way up, so
// its shadow falls around the origin, 1.5 times its size.
const CVector3 kBoxCentre(-10, 10, 0);

// A mesh model drawn in immediate mode with face normals and a white texture, with a
// real shadow volume: enough of a model to exercise both passes.
class MeshEntity : public CEntity, public zarvo_test::TestMesh {
public:
    GLint programSeenByDraw = -1;

    void SetPosition(float x, float y, float z) override { m_vPosition = CVector3(x, y, z); }
    void SetSize(float x, float y, float z) override { m_vSize = CVector3(x, y, z); }
    void Draw(bool textured) override {
        GLint program = 0;
        glGetIntegerv(GL_CURRENT_PROGRAM, &program);
        if (program != 0) programSeenByDraw = program;
        glActiveTextureARB(GL_TEXTURE0_ARB);
        if (textured) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, WhiteTexture());
        }
        TransformToWordCoordinate();
        glBegin(GL_TRIANGLES);
        for (const tFace& f : faces) {
            const CVector3& a = verts[size_t(f.vertIndex[0])];
            const CVector3& b = verts[size_t(f.vertIndex[1])];
            const CVector3& c = verts[size_t(f.vertIndex[2])];
            const CVector3 n = Normalize(Cross(b - a, c - a));
            glNormal3f(n.x, n.y, n.z);
            for (const CVector3* p : {&a, &b, &c}) {
                glTexCoord2f(0.5f, 0.5f);
                glVertex3f(p->x, p->y, p->z);
            }
        }
        glEnd();
        glPopMatrix();
    }
    // Placed as a 3DS-kind object, which draws through the buffer entry point.
    void DrawVBONEW(bool textured) override { Draw(textured); }
    void BuildShadowVolume(CVector3 light) override {
        volume.buildShadowV3DS(Object(), light, m_vPosition, m_vSize, m_fAngle, m_vRotationAxis);
    }
    void RenderToStencilV() override { RenderVolumesToStencil({&volume}); }
    void DrawShadowVolumeV() override { volume.DrawSillhoute(); }
    int GetModelVertexNum() override { return int(faces.size() * 3); }

    void UpdateBox() {
        CVector3 lo = verts[0], hi = verts[0];
        for (const CVector3& v : verts)
            for (float CVector3::*a : {&CVector3::x, &CVector3::y, &CVector3::z})
                lo.*a = std::min(lo.*a, v.*a), hi.*a = std::max(hi.*a, v.*a);
        TransformModelLevelBoundingBoxCoordinates(lo, hi);
    }

    CShadowVolume volume;

private:
    static GLuint WhiteTexture() {
        static GLuint name = 0;
        if (name == 0) {
            const unsigned char white[4] = {255, 255, 255, 255};
            glGenTextures(1, &name);
            glBindTexture(GL_TEXTURE_2D, name);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
        }
        return name;
    }
};

MeshEntity* MakeBox() {
    auto* m = new MeshEntity();
    static_cast<zarvo_test::TestMesh&>(*m) = zarvo_test::Cube();
    return m;
}

// Ground from -40 to 40 on x and z at y = 0, facing up, split into a grid so per-vertex
// work is not too coarse.
MeshEntity* MakeGround() {
    auto* m = new MeshEntity();
    const int n = 16;
    for (int i = 0; i <= n; ++i)
        for (int j = 0; j <= n; ++j)
            m->verts.push_back(
                CVector3(-40.f + 80.f * float(j) / n, 0.f, -40.f + 80.f * float(i) / n));
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            const int a = i * (n + 1) + j;
            m->AddQuad(a, a + n + 1, a + n + 2, a + 1);
        }
    return m;
}

struct Scene {
    C3DGameObjectManager manager;
    C3DGameObject* box = nullptr;
    MeshEntity* boxModel = nullptr;
    MeshEntity* groundModel = nullptr;

    Scene() {
        groundModel = MakeGround();
        groundModel->UpdateBox();
        auto* ground = new C3DGameObject();
        ground->AttachModel(MODEL_KIND_3DS, groundModel);
        manager.RegisterObject(ground);

        boxModel = MakeBox();
        boxModel->SetPosition(kBoxCentre.x, kBoxCentre.y, kBoxCentre.z);
        boxModel->UpdateBox();
        box = new C3DGameObject();
        box->AttachModel(MODEL_KIND_3DS, boxModel);
        box->SetCastShadow(true);
        manager.RegisterObject(box);
    }
};

struct Frame {
    std::vector<uint8_t> rgba;
    std::vector<uint8_t> stencil;
    double modelview[16], projection[16];
    GLint viewport[4];

    float Lum(int x, int y) const {
        const uint8_t* p = &rgba[(size_t(y) * kWidth + size_t(x)) * 4];
        return 0.299f * p[0] + 0.587f * p[1] + 0.114f * p[2];
    }
    // Window pixel (top-down) of a world point.
    std::array<int, 2> Project(const CVector3& p) const {
        double wx, wy, wz;
        gluProject(p.x, p.y, p.z, modelview, projection, viewport, &wx, &wy, &wz);
        return {int(std::lround(wx)), kHeight - 1 - int(std::lround(wy))};
    }
    // World point on the ground plane seen through a window pixel.
    CVector3 GroundUnder(int x, int y) const {
        double nx, ny, nz, fx, fy, fz;
        const double wy = kHeight - 1 - y;
        gluUnProject(x, wy, 0.0, modelview, projection, viewport, &nx, &ny, &nz);
        gluUnProject(x, wy, 1.0, modelview, projection, viewport, &fx, &fy, &fz);
        const double t = ny / (ny - fy);
        return CVector3(float(nx + (fx - nx) * t), 0.f, float(nz + (fz - nz) * t));
    }
};

// Where the box's shadow must fall on the ground: its corners projected from the light.
struct Footprint {
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
    Footprint() {
        for (int i = 0; i < 8; ++i) {
            const CVector3 p =
                kBoxCentre + CVector3(i & 1 ? 1.f : -1.f, i & 2 ? 1.f : -1.f, i & 4 ? 1.f : -1.f);
            const CVector3 s = kLight + (p - kLight) * (kLight.y / (kLight.y - p.y));
            minX = std::min(minX, s.x), maxX = std::max(maxX, s.x);
            minZ = std::min(minZ, s.z), maxZ = std::max(maxZ, s.z);
        }
    }
    bool Holds(const CVector3& g, float margin) const {
        return g.x > minX - margin && g.x < maxX + margin && g.z > minZ - margin &&
               g.z < maxZ + margin;
    }
};

class ShadowPassGL : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        g_Graphics = new CGraphicsCore();
        g_Graphics->SetStencilBufferSize(8);
        g_Graphics->SetDepthBufferSize(24);
        g_Graphics->Initialize(kWidth, kHeight, 24, false, false);
        // A window re-sized from an earlier test's size gets its new buffers at a swap.
        SDL_GL_SwapBuffers();
        g_ShaderManager = new CShaderManager();
        testing::internal::CaptureStdout();
        g_ShaderManager->LoadDefaultShaders();
        testing::internal::GetCapturedStdout();
        g_LightManager = new CLightManager();
        auto* light = new CLight();
        g_LightManager->RegisterLight(light);
        g_LightManager->EnableLight(1);
        light->SetPosition(kLight.x, kLight.y, kLight.z, 1.0f);
        g_Camera = new CCamera();
    }
    static void TearDownTestSuite() {
        delete g_Camera, g_Camera = nullptr;
        delete g_LightManager, g_LightManager = nullptr;
        delete g_ShaderManager, g_ShaderManager = nullptr;
        delete g_Graphics, g_Graphics = nullptr;
    }
    void SetUp() override {
        g_Graphics->EnableShadows(true);
        g_Graphics->EnablePCFShadow(false);
        g_Graphics->EnableParallaxMappping(false);
        LookFrom(CVector3(0, 20, 35), CVector3(-5, 3, 0));
    }
    void TearDown() override {
        g_Graphics->OverrideFBOSupport(fboSupported_);
        g_Graphics->OverrideTwoSidedStencilSupport(twoSidedSupported_);
    }
    static void LookFrom(const CVector3& eye, const CVector3& target) {
        g_Camera->PositionCamera(eye.x, eye.y, eye.z, target.x, target.y, target.z, 0, 1, 0);
    }

    // One frame prepared as the application does it, rendered by the manager.
    Frame Render(Scene& scene, sShadowTypes method) {
        g_Graphics->SetActiveShadowMethod(method);
        // With colour tracking on, the current colour is the ground's material. The
        // application's overlay leaves some colour every frame; the volume pass's
        // darkening quad leaves black.
        glColor4f(0.6f, 0.6f, 0.6f, 1.0f);
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

// Calls check(x, y) for every pixel but those around the box, which may shade its own
// far side in one frame and not the other.
template <typename Check> void ForGroundPixels(const Frame& frame, Check check) {
    const auto box = frame.Project(kBoxCentre);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (std::abs(x - box[0]) >= 60 || std::abs(y - box[1]) >= 60) check(x, y);
}

} // namespace

// Shadow mapping: the ground darkens where the box's shadow falls and nowhere else.
TEST_F(ShadowPassGL, ShadowMapDarkensTheGroundUnderTheCasterOnly) {
    Scene scene;
    const Frame shadowed = Render(scene, SHADOW_MAPPING);
    scene.box->SetCastShadow(false);
    const Frame lit = Render(scene, SHADOW_MAPPING);

    const auto centre = lit.Project(CVector3(0, 0, 0));
    EXPECT_LT(shadowed.Lum(centre[0], centre[1]), 0.8f * lit.Lum(centre[0], centre[1]));
    const auto far = lit.Project(CVector3(12, 0, 10));
    EXPECT_NEAR(shadowed.Lum(far[0], far[1]), lit.Lum(far[0], far[1]), 2.f);

    const Footprint fp;
    int darkened = 0, outside = 0;
    ForGroundPixels(lit, [&](int x, int y) {
        if (shadowed.Lum(x, y) + 6.f >= lit.Lum(x, y)) return;
        ++darkened;
        outside += !fp.Holds(lit.GroundUnder(x, y), 1.0f);
    });
    EXPECT_GT(darkened, 2000);
    EXPECT_EQ(0, outside);
    // The program of the pass is bound while the objects draw.
    EXPECT_EQ(GLint(g_ShaderManager->getDefaultShaders(SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT)
                        ->getShaderHandler()),
              scene.groundModel->programSeenByDraw);
}

// PCF blends several comparisons, so the shadow's border has many in-between shades
// where the single-tap program steps from lit to dark.
TEST_F(ShadowPassGL, PcfSoftensTheShadowEdge) {
    LookFrom(CVector3(0, 10, 12), CVector3(-5, 4, 0)); // close enough to resolve the border
    Scene scene;
    scene.box->SetCastShadow(false);
    const Frame lit = Render(scene, SHADOW_MAPPING);
    scene.box->SetCastShadow(true);
    const Frame hard = Render(scene, SHADOW_MAPPING);
    g_Graphics->EnablePCFShadow(true);
    const Frame soft = Render(scene, SHADOW_MAPPING);
    EXPECT_EQ(
        GLint(g_ShaderManager->getDefaultShaders(SHADER_SHADOW_MAPPING_PCF)->getShaderHandler()),
        scene.groundModel->programSeenByDraw);

    // Pixels around the footprint whose shade lies clearly between the shadow's core
    // and the lit ground next to it: the border's width.
    const Footprint fp;
    int left = kWidth, right = 0, top = kHeight, bottom = 0;
    for (float x : {fp.minX - 1.f, fp.maxX + 1.f})
        for (float z : {fp.minZ - 1.f, fp.maxZ + 1.f}) {
            const auto p = lit.Project(CVector3(x, 0, z));
            left = std::min(left, p[0]), right = std::max(right, p[0]);
            top = std::min(top, p[1]), bottom = std::max(bottom, p[1]);
        }
    const auto core = lit.Project(CVector3(0, 0, 0));
    const auto outside = lit.Project(CVector3(0, 0, fp.maxZ + 0.8f));
    auto inBetween = [&](const Frame& f) {
        const float dark = f.Lum(core[0], core[1]), bright = f.Lum(outside[0], outside[1]);
        const float margin = 0.2f * (bright - dark);
        int n = 0;
        for (int y = std::max(top, 0); y <= std::min(bottom, kHeight - 1); ++y)
            for (int x = std::max(left, 0); x <= std::min(right, kWidth - 1); ++x)
                n += f.Lum(x, y) > dark + margin && f.Lum(x, y) < bright - margin;
        return n;
    };
    const int softBorder = inBetween(soft), hardBorder = inBetween(hard);
    EXPECT_GT(softBorder, 2 * hardBorder) << softBorder << " vs " << hardBorder;
}

TEST_F(ShadowPassGL, ParallaxTakesPrecedenceOverPcf) {
    g_Graphics->EnablePCFShadow(true);
    EXPECT_EQ(SHADER_SHADOW_MAPPING_PCF, C3DGameObjectManager::SelectShadowMapProgram());
    g_Graphics->EnableParallaxMappping(true);
    EXPECT_EQ(SHADER_PARALLAX_SHADOW, C3DGameObjectManager::SelectShadowMapProgram());
    Scene scene;
    Render(scene, SHADOW_MAPPING);
    EXPECT_EQ(GLint(g_ShaderManager->getDefaultShaders(SHADER_PARALLAX_SHADOW)->getShaderHandler()),
              scene.groundModel->programSeenByDraw);
    g_Graphics->EnableParallaxMappping(false);
    g_Graphics->EnablePCFShadow(false);
    EXPECT_EQ(SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT,
              C3DGameObjectManager::SelectShadowMapProgram());
}

// A caster the camera cannot see is left out of the depth pass, so its shadow is missing
// even where it would fall inside the view.
TEST_F(ShadowPassGL, CasterOutsideTheViewCastsNoShadow) {
    LookFrom(CVector3(0, 12, 14), CVector3(2, 0, 0));
    Scene scene;
    const Frame withCaster = Render(scene, SHADOW_MAPPING);
    EXPECT_FALSE(scene.box->IsObjectInFrustum());
    scene.box->SetCastShadow(false);
    const Frame without = Render(scene, SHADOW_MAPPING);
    EXPECT_EQ(withCaster.rgba, without.rgba);
}

TEST_F(ShadowPassGL, BackBufferCopyGivesTheSameShadowAsTheFrameBufferObject) {
    ASSERT_TRUE(g_Graphics->isFBOSupported());
    Scene scene;
    const Frame viaFbo = Render(scene, SHADOW_MAPPING);
    g_Graphics->OverrideFBOSupport(false);
    const Frame viaCopy = Render(scene, SHADOW_MAPPING);
    int differing = 0;
    for (size_t i = 0; i < viaFbo.rgba.size(); ++i)
        differing += std::abs(int(viaFbo.rgba[i]) - int(viaCopy.rgba[i])) > 8;
    EXPECT_LT(differing, int(viaFbo.rgba.size() / 200)) << "more than 0.5% of samples differ";
    const auto centre = viaCopy.Project(CVector3(0, 0, 0));
    const auto far = viaCopy.Project(CVector3(12, 0, 10));
    EXPECT_LT(viaCopy.Lum(centre[0], centre[1]), 0.8f * viaCopy.Lum(far[0], far[1]));
}

TEST_F(ShadowPassGL, ShadowMapPassLeavesTheDocumentedState) {
    Scene scene;
    zarvo_test::TakeGLError(); // whatever earlier tests left pending
    glMatrixMode(GL_PROJECTION);
    GLfloat projectionBefore[16], cameraView[16], m[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projectionBefore);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    g_Camera->Look();
    glGetFloatv(GL_MODELVIEW_MATRIX, cameraView);
    Render(scene, SHADOW_MAPPING);

    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(cameraView[i], m[i]) << i;
    glGetFloatv(GL_PROJECTION_MATRIX, m);
    for (int i = 0; i < 16; ++i)
        EXPECT_FLOAT_EQ(projectionBefore[i], m[i]) << i;
    GLint value = -1;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &value);
    EXPECT_EQ(GL_TEXTURE0_ARB, value);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_CURRENT_PROGRAM, &value);
    EXPECT_EQ(0, value);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(kWidth, viewport[2]);
    EXPECT_EQ(kHeight, viewport[3]);

    glActiveTextureARB(GL_TEXTURE1_ARB);
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &value);
    EXPECT_EQ(GLint(g_Graphics->GetShadowMapTexture()), value);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, &value);
    EXPECT_EQ(GL_COMPARE_R_TO_TEXTURE_ARB, value);
    glMatrixMode(GL_TEXTURE);
    glGetFloatv(GL_TEXTURE_MATRIX, m);
    EXPECT_FLOAT_EQ(1.f, m[0]); // unit 1's texture matrix is back to the identity
    EXPECT_FLOAT_EQ(0.f, m[12]);
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_EQ(GLenum(GL_NO_ERROR), zarvo_test::TakeGLError());
}

// Stencil shadow volumes: the count is non-zero exactly where the box shadows the
// ground, those pixels are darkened, and both stencil paths agree.
TEST_F(ShadowPassGL, ShadowVolumesCountAndDarkenTheShadow) {
    ASSERT_TRUE(g_Graphics->GetSupportTwoSidedStencilBuffer());
    Scene scene;
    const Frame twoSided = Render(scene, SHADOW_VOLUME);
    g_Graphics->OverrideTwoSidedStencilSupport(false);
    glDisable(GL_STENCIL_TEST_TWO_SIDE_EXT); // as on a card without the extension
    const Frame oneSided = Render(scene, SHADOW_VOLUME);
    scene.box->SetCastShadow(false);
    const Frame lit = Render(scene, SHADOW_VOLUME);

    int differing = 0;
    for (size_t i = 0; i < twoSided.stencil.size(); ++i)
        differing += (twoSided.stencil[i] != 0) != (oneSided.stencil[i] != 0);
    EXPECT_EQ(0, differing);
    EXPECT_EQ(twoSided.rgba, oneSided.rgba);
    const auto centre = lit.Project(CVector3(0, 0, 0));
    const auto far = lit.Project(CVector3(12, 0, 10));
    EXPECT_NE(0, oneSided.stencil[size_t(centre[1]) * kWidth + size_t(centre[0])]);
    EXPECT_EQ(0, oneSided.stencil[size_t(far[1]) * kWidth + size_t(far[0])]);
    EXPECT_NEAR(0.5f * lit.Lum(centre[0], centre[1]), oneSided.Lum(centre[0], centre[1]), 2.f);

    const Footprint fp;
    int counted = 0, mismatched = 0, outside = 0;
    ForGroundPixels(lit, [&](int x, int y) {
        const bool inShadow = oneSided.stencil[size_t(y) * kWidth + size_t(x)] != 0;
        mismatched += inShadow != (oneSided.Lum(x, y) + 2.f < lit.Lum(x, y));
        if (!inShadow) return;
        ++counted;
        outside += !fp.Holds(lit.GroundUnder(x, y), 0.5f);
    });
    EXPECT_EQ(0, mismatched) << "stencil count and darkening disagree";
    EXPECT_EQ(0, outside) << "shadow outside the box's footprint";
    EXPECT_GT(counted, 2000);
}

TEST_F(ShadowPassGL, DebugViewDrawsTheVolumeWalls) {
    Scene scene;
    const Frame plain = Render(scene, SHADOW_VOLUME);
    scene.manager.DrawingShadowVolume(true);
    const Frame debug = Render(scene, SHADOW_VOLUME);
    int changed = 0;
    for (size_t i = 0; i < plain.rgba.size(); i += 4)
        changed += plain.rgba[i] != debug.rgba[i];
    EXPECT_GT(changed, 1000);
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
    testing::internal::CaptureStderr();
    EXPECT_FALSE(broken->LoadMD2Model(missing, nullptr));
    testing::internal::GetCapturedStderr();
    // Between the light and the ground, where a real caster would throw a shadow.
    broken->SetPosition(-20, 20, 0);
    broken->SetCastShadow(true);
    scene.manager.RegisterObject(broken);
    EXPECT_EQ(scene.manager.GetNumOfAllVertices(), vertices);
    EXPECT_TRUE(Render(scene, SHADOW_VOLUME).rgba == volumes.rgba);
    EXPECT_TRUE(Render(scene, SHADOW_MAPPING).rgba == maps.rgba);
    EXPECT_FALSE(broken->IsObjectInFrustum());
}
