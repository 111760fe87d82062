#include "models/CTObject.h"

#include <gtest/gtest.h>

#include <fstream>

#include "core/Engine.h"
#include "math/CFrustum.h"
#include "render3d/CCamera.h"
#include "render3d/CShader.h"
#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

namespace {

constexpr int kSize = 128;

// Textures made by name instead of read from files: "red", "stripes" (vertical stripes
// two texels wide) and "step" (height 0 on the left half, 1 on the right).
int MakeTexture(const std::string& name) {
    std::vector<uint8_t> px(64 * 64 * 4, 255);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            uint8_t* p = &px[size_t(y * 64 + x) * 4];
            if (name == "red") p[1] = p[2] = 0;
            if (name == "stripes" && (x / 2) % 2) p[0] = p[1] = p[2] = 0;
            if (name == "step") p[0] = p[1] = p[2] = x < 32 ? 0 : 255;
        }
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 64, 64, 0, GL_RGBA, GL_UNSIGNED_BYTE, px.data());
    return int(id);
}

std::string Quad(float x0, float x1, float y0, float y1, bool uv) {
    std::string out;
    const float xs[4] = {x0, x1, x1, x0}, ys[4] = {y0, y0, y1, y1};
    for (int i = 0; i < 4; ++i) {
        out += "<vertex x='" + std::to_string(xs[i]) + "' y='" + std::to_string(ys[i]) + "' z='0'";
        if (uv)
            out += " u0='" + std::string(i == 1 || i == 2 ? "1" : "0") + "' v0='" +
                   std::string(i >= 2 ? "1" : "0") + "'";
        // Textured faces are white so the texture shows unchanged; the others green.
        out += uv ? " r='1' g='1' b='1' a='1'/>" : " r='0' g='1' b='0' a='1'/>";
    }
    return out;
}

std::string Face(int base, int material, bool quad) {
    std::string f = "<face a='" + std::to_string(base) + "' b='" + std::to_string(base + 1) +
                    "' c='" + std::to_string(base + 2) + "'";
    if (quad) f += " d='" + std::to_string(base + 3) + "'";
    return f + " materialindex='" + std::to_string(material) + "' parallaxmapindex='0'/>";
}

const char* const kColours = "<ambient r='1' g='1' b='1' a='1'/><diffuse r='1' g='1' b='1' "
                             "a='1'/><specular r='0' g='0' b='0' a='1'/>";

std::string Document(const std::string& colourMap, const std::string& objects) {
    return std::string("<ZarvoModelFormat><model name='t' numsubobjects='9' nummaterials='2' "
                       "numofparallaxmap='1'><material name='tex' opacity='1'>") +
           kColours + "<texture colormap='" + colourMap +
           "'/></material><material name='plain' opacity='1'>" + kColours +
           "</material><parallaxmap><texture heightmap='step'/></parallaxmap>" + objects +
           "</model></ZarvoModelFormat>";
}

bool LoadObject(CTObject& object, const std::string& xml) {
    const std::string path = zarvo_test::MakeTempDir("tobject") + "/m.xml";
    std::ofstream(path, std::ios::binary) << xml;
    CTObjectLoader loader;
    loader.SetTextureLoader(MakeTexture);
    testing::internal::CaptureStdout();
    const bool ok = object.Init(path.c_str(), loader);
    testing::internal::GetCapturedStdout();
    return ok;
}

// Orthographic view of x in [-4, 4], y in [-4, 4] with the eye shifted by (ex, ey): the
// picture stays put while the eye-space positions move.
void View(float ex, float ey) {
    glViewport(0, 0, kSize, kSize);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-4 + ex, 4 + ex, -4 + ey, 4 + ey, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(ex, ey, -5);
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
}

int Column(float x) {
    return int((x + 4) / 8 * kSize);
}

struct GlobalsReset {
    CCamera* camera = g_Camera;
    CShaderManager* shaders = g_ShaderManager;
    ~GlobalsReset() {
        g_Camera = camera;
        g_ShaderManager = shaders;
    }
};

TEST(CTObjectGL, FacesQuadsTexturesAndFrustum) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    zarvo_test::PopMatrixStacksToBase();
    GlobalsReset reset;
    g_Camera = nullptr;
    // Textured quad, textured quad (same texture), untextured triangle, textured quad
    // again; a second object lies far outside the view.
    CTObject object;
    ASSERT_TRUE(LoadObject(
        object,
        Document("red", "<object name='near' numvertices='16' numfaces='4'>" +
                            Quad(-3.5f, -2.5f, -1, 1, true) + Quad(-2, -1, -1, 1, true) +
                            Quad(0, 1, -1, 1, false) + Quad(2, 3, -1, 1, true) + Face(0, 0, true) +
                            Face(4, 0, true) + Face(8, 1, false) + Face(12, 0, true) +
                            "</object><object name='far' numvertices='4' numfaces='1'>" +
                            Quad(500, 501, -1, 1, true) + Face(0, 0, true) + "</object>")));
    View(0, 0);
    CCamera camera;
    camera.GetFrustum()->CalculateFrustum();
    g_Camera = &camera;
    glTexCoord2f(0.25f, 0.75f);
    object.Draw(true);
    EXPECT_EQ(object.GetDrawnObjectCount(), 1);
    // Two faces of one texture bind it once; after the untextured face it is bound again.
    EXPECT_EQ(object.GetTextureBindCount(), 2);

    auto at = [](float x, float y) {
        return zarvo_test::ReadPixelTopDown(Column(x), kSize - 1 - Column(y));
    };
    // Both triangles of each quad, (a, b, c) at the lower right and (c, d, a) at the
    // upper left; the last quad is textured again after the untextured face.
    for (float x0 : {-3.5f, -2.0f, 2.0f}) {
        const zarvo_test::Rgba abc = at(x0 + 0.9f, -0.9f), cda = at(x0 + 0.1f, 0.9f);
        EXPECT_EQ(abc.r, 255) << x0;
        EXPECT_EQ(abc.g, 0) << x0;
        EXPECT_EQ(cda.r, 255) << x0;
        EXPECT_EQ(cda.g, 0) << x0;
    }
    // The untextured face shows its vertex colour: texturing was off, not stale.
    const zarvo_test::Rgba plain = at(0.7f, -0.5f);
    EXPECT_EQ(plain.g, 255);
    EXPECT_EQ(plain.r, 0);
    EXPECT_EQ(at(-0.5f, 0.0f).b, 255); // background between the faces

    // A model without u0 leaves the current texture coordinate alone.
    CTObject bare;
    ASSERT_TRUE(LoadObject(bare, Document("red", "<object name='o' numvertices='4' numfaces='1'>" +
                                                     Quad(0, 1, 0, 1, false) + Face(0, 1, true) +
                                                     "</object>")));
    glTexCoord2f(0.25f, 0.75f);
    bare.Draw(true);
    GLfloat tc[4];
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, tc);
    EXPECT_FLOAT_EQ(tc[0], 0.25f);
    EXPECT_FLOAT_EQ(tc[1], 0.75f);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

// Draws the full-view parallax quad with the eye shifted by (ex, ey) and reads it back.
std::vector<uint8_t> DrawParallaxView(CTObject& object, CShader& shader, float ex, float ey) {
    View(ex, ey);
    shader.Begin();
    shader.uniform1i("testTexture", 0);
    shader.uniform1i("shadowMap", 1);
    shader.uniform1i("HeightTexture", 2);
    object.DrawParallax(true);
    shader.End();
    return zarvo_test::ReadFramebufferTopDown(kSize, kSize);
}

TEST(CTObjectGL, ParallaxReliefMovesWithTheEye) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    zarvo_test::PopMatrixStacksToBase();
    GlobalsReset reset;
    g_Camera = nullptr;
    g_ShaderManager = zarvo_test::BuiltInShaders();
    CShader* shader = g_ShaderManager->getDefaultShaders(SHADER_PARALLAX_SHADOW);
    ASSERT_NE(shader, nullptr);
    CTObject plane;
    ASSERT_TRUE(LoadObject(
        plane, Document("stripes", "<object name='o' numvertices='4' numfaces='1'>" +
                                       Quad(-4, 4, -4, 4, true) + Face(0, 0, true) + "</object>")));
    const T3DFace& f = plane.GetModel()->objects[0].faces[0];
    EXPECT_NEAR(Dot(f.tangent, f.normal), 0.0f, 1e-6f);
    EXPECT_NEAR(Dot(f.binormal, f.normal), 0.0f, 1e-6f);
    EXPECT_NEAR(Dot(f.tangent, f.binormal), 0.0f, 1e-6f);

    const std::vector<uint8_t> centre = DrawParallaxView(plane, *shader, 0, 0);
    // The last quad's frame went to the program's uniforms.
    const GLhandleARB program = shader->getShaderHandler();
    GLfloat tangent[4] = {0, 0, 0, 0};
    glGetUniformfvARB(program, glGetUniformLocationARB(program, "Tangent"), tangent);
    EXPECT_FLOAT_EQ(tangent[0], f.tangent.x);
    const std::vector<uint8_t> moved = DrawParallaxView(plane, *shader, 3, 1);
    zarvo_test::WritePam(zarvo_test::MakeTempDir("parallax") + "/moved.pam", kSize, kSize, 4,
                         moved);
    int flatDiff = 0, reliefDiff = 0, flatLit = 0;
    for (int y = 8; y < kSize - 8; ++y)
        for (int x = 4; x < kSize - 4; ++x) {
            if (x > kSize / 2 - 6 && x < kSize / 2 + 6) continue; // the step itself
            const size_t i = size_t(y * kSize + x) * 4;
            const bool differs = std::abs(int(centre[i]) - int(moved[i])) > 8;
            (x < kSize / 2 ? flatDiff : reliefDiff) += differs;
            if (x < kSize / 2) flatLit += centre[i] > 40;
        }
    EXPECT_GT(flatLit, 1000); // the stripes are really drawn
    EXPECT_EQ(flatDiff, 0);
    EXPECT_GT(reliefDiff, 500);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

} // namespace
