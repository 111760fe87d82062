// The built-in programs, each rendered and read back: the GLSL is checked for what it draws.
#include <gtest/gtest.h>

#include "math/3DMath.h"
#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

#include <GL/glu.h>
#include <SDL.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>

namespace {

using zarvo_test::ReadPixelTopDown;
constexpr int kSize = 64;

bool Linked(const CShader* shader) {
    GLint linked = 0;
    glGetObjectParameterivARB(shader->getShaderHandler(), GL_OBJECT_LINK_STATUS_ARB, &linked);
    return linked != 0;
}

TEST(ShaderTableGL, EveryBuiltInProgramLinksSilentlyAndEndUnbindsAnyProgram) {
    ZARVO_REQUIRE_GL(kSize, kSize);
    CShaderManager manager;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    manager.LoadDefaultShaders();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(manager.GetShaderCount(), 19u);
    for (int i = 0; i < 19; ++i)
        EXPECT_TRUE(Linked(manager.getDefaultShaders(Default_Shader_Types(i)))) << "row " << i;
    manager.getDefaultShaders(SHADER_COLOR)->Begin();
    CShader().End(); // even one never built
    EXPECT_EQ(glGetHandleARB(GL_PROGRAM_OBJECT_ARB), 0u);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

// Runs in an empty folder that is the only data root, out of reach of the tree's shaders.
class ShaderFilesGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kSize, kSize);
        ASSERT_EQ(mkdir("shaders", 0755), 0);
        setenv("ZARVO_DATA_DIR", work_.Dir().c_str(), 1);
    }
    void TearDown() override { unsetenv("ZARVO_DATA_DIR"); }
    static void Copy(const std::string& name) {
        std::string text;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(zarvo_test::SourceDir() + "/shaders/" + name, text));
        zarvo_test::WriteFileBytes("shaders/" + name, text);
    }
    zarvo_test::ScopedWorkDir work_{"shaders"};
};

TEST_F(ShaderFilesGL, MissingEmptyOrBrokenFilesKeepRowsAndSdlLoadShaderReadsAllOrNothing) {
    // Row 18 complete, row 5 without its fragment file, row 0 with an empty vertex file.
    for (const char* name : {"ShadowMappingPerPixelLight.vert", "ShadowMappingPerPixelLight.frag",
                             "dirPerVertex.vert"})
        Copy(name);
    zarvo_test::WriteFileBytes("shaders/simpleTexture.vert", "");
    CShaderManager manager;
    testing::internal::CaptureStdout();
    manager.LoadDefaultShaders();
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_NE(out.find("simple texture shader...\n\nCannot Load vertex shader: "
                       "shaders/simpleTexture.vert\n\nCannot Load fragment shader"),
              std::string::npos)
        << out;
    size_t vertex = 0, fragment = 0;
    for (size_t at = 0; (at = out.find("Cannot Load ", at)) != std::string::npos; ++at)
        ++(out.compare(at + 12, 6, "vertex") == 0 ? vertex : fragment);
    EXPECT_TRUE(vertex == 17u && fragment == 18u) << vertex << " " << fragment;
    EXPECT_TRUE(SDL_GetVideoSurface() != nullptr && glGetError() == GL_NO_ERROR);
    ASSERT_EQ(manager.GetShaderCount(), 19u);
    for (int i = 0; i < 19; ++i)
        EXPECT_EQ(manager.getDefaultShaders(Default_Shader_Types(i))->getShaderHandler() != 0u,
                  i == SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT)
            << i;
    EXPECT_TRUE(Linked(manager.getDefaultShaders(SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT)));
    EXPECT_EQ(manager.getDefaultShaders(Default_Shader_Types(19)), nullptr);

    zarvo_test::WriteFileBytes("shaders/bad.vert",
                               "#version 120\nvoid main() { gl_Position = ; }\n");
    Copy("color.frag");
    CShader shader;
    testing::internal::CaptureStderr();
    shader.setShaders("shaders/color.frag", "shaders/bad.vert");
    const std::string err = testing::internal::GetCapturedStderr();
    for (const char* part : {"shaders/bad.vert", "failed to compile", "failed to link"})
        EXPECT_NE(err.find(part), std::string::npos) << err;
    EXPECT_TRUE(shader.getShaderHandler() != 0u && !Linked(&shader)); // kept as GL left it
    EXPECT_NE(SDL_GetVideoSurface(), nullptr) << "nothing shuts SDL down for a GLSL error";

    zarvo_test::WriteFileBytes("shaders/text.vert", "line one\nline two\n");
    std::unique_ptr<char[]> text(shader.LoadShader("shaders/text.vert"));
    EXPECT_STREQ(text.get(), "line one\nline two\n");
    // Empty, missing, null and a directory (no text file) all give nothing.
    for (const char* path :
         {"shaders/simpleTexture.vert", "shaders/none.vert", (const char*)nullptr, "shaders"})
        EXPECT_EQ(shader.LoadShader(path), nullptr) << (path ? path : "null");
}

// The whole view, u from u0 to u1; `bend` leans the corners' normals out like a sphere's.
void Quad(float bend, float u0 = 0, float u1 = 1) {
    glBegin(GL_QUADS);
    for (int c = 0; c < 4; ++c) {
        const float x = c == 1 || c == 2 ? 1.f : -1.f, y = c >= 2 ? 1.f : -1.f;
        const CVector3 n = Normalize(CVector3(x * bend, y * bend, 1));
        glNormal3f(n.x, n.y, n.z);
        glTexCoord2f(x > 0 ? u1 : u0, y > 0 ? 1.f : 0.f);
        glVertex3f(x, y, 0);
    }
    glEnd();
}
void Sphere() {
    GLUquadric* quadric = gluNewQuadric();
    gluQuadricNormals(quadric, GLU_SMOOTH);
    gluQuadricTexture(quadric, GL_TRUE);
    glEnable(GL_DEPTH_TEST); // the far half must not cover the near one
    gluSphere(quadric, 0.9, 48, 48);
    glDisable(GL_DEPTH_TEST);
    gluDeleteQuadric(quadric);
}

// White light and diffuse material, no ambient: a pixel reads as the diffuse term alone.
class ShaderRenderGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kSize, kSize);
        zarvo_test::OrthoView(kSize, kSize, -1, 1, -1, 1, -10, 10);
        glClearColor(0, 0, 0, 1);
        glPushAttrib(GL_LIGHTING_BIT); // later suites expect GL's own light and material
        for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_BLEND})
            glDisable(cap);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kBlack);
        for (GLenum p : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
            glLightfv(GL_LIGHT0, p, p == GL_DIFFUSE ? kWhite : kBlack);
            glMaterialfv(GL_FRONT_AND_BACK, p, p == GL_DIFFUSE ? kWhite : kBlack);
        }
        glColor4f(1, 1, 1, 1);
    }
    void TearDown() override {
        glUseProgramObjectARB(0);
        glPopAttrib();
        if (!textures_.empty()) glDeleteTextures(GLsizei(textures_.size()), textures_.data());
        EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
    }
    static CShader* Program(Default_Shader_Types type) {
        return zarvo_test::BuiltInShaders()->getDefaultShaders(type);
    }
    GLuint Texture(int unit, int width, std::vector<uint8_t> texels) {
        GLuint name = 0;
        glGenTextures(1, &name);
        textures_.push_back(name);
        glActiveTextureARB(GL_TEXTURE0_ARB + unit);
        glBindTexture(GL_TEXTURE_2D, name);
        for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
            glTexParameteri(GL_TEXTURE_2D, p, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
        glActiveTextureARB(GL_TEXTURE0_ARB);
        return name;
    }
    static constexpr float kBlack[4] = {0, 0, 0, 1}, kWhite[4] = {1, 1, 1, 1};
    std::vector<GLuint> textures_;
};

TEST_F(ShaderRenderGL, LightProgramsShadeByDirectionDistanceAndCone) {
    Texture(0, 1, {255, 128, 0, 255});
    const float kCurved = 1 / 1.5f, kSphere = -1;
    static const float kHeadOn[6] = {0, 0, 1, 0, 0, 180}, kSide[6] = {1, 0, 0.2f, 0, 0, 180},
                       kPoint3[6] = {0, 0, 3, 1, 1, 180}, kPoint1[6] = {0, 0, 1, 1, 1, 180},
                       kSpot[6] = {0, 0, 1, 1, 0, 20};
    const struct {
        Default_Shader_Types program;
        const float* light;
        float bend; // of the quad, or kSphere
        int x, y, lo, hi, x2, y2, lo2, hi2;
    } rows[] = {
        // Corners at cos 0.728: Gouraud stays flat, per-pixel peaks mid-quad, toon steps.
        {SHADER_DIR_PER_VERTEX, kHeadOn, kCurved, 32, 32, 183, 189, 1, 1, 183, 189},
        {SHADER_DIR_PER_PIXEL, kHeadOn, kCurved, 32, 32, 250, 255, 1, 1, 177, 195},
        {SHADER_TOON, kHeadOn, kCurved, 32, 32, 254, 255, 1, 1, 177, 180},
        {SHADER_DIR_PER_VERTEX_TEX, kSide, kSphere, 54, 32, 151, 255, 10, 32, 0, 9},
        {SHADER_DIR_PER_PIXEL_TEX, kSide, kSphere, 54, 32, 151, 255, 10, 32, 0, 9},
        {SHADER_COLOR, kHeadOn, 0, 32, 32, 255, 255, 1, 1, 255, 255},
        // Point lights: 255 / (1 + linear * distance) in front of the centre.
        {SHADER_POINT_LIGHT, kPoint3, 0, 32, 32, 62, 66, 32, 32, 62, 66},
        {SHADER_POINT_LIGHT_TEX, kPoint1, 0, 32, 32, 125, 130, 32, 32, 125, 130},
        // A 20-degree spot straight down: 11 degrees off the axis lit, 31 not.
        {SHADER_SPOT_LIGHT, kSpot, 0, 38, 32, 240, 255, 51, 32, 0, 1},
    };
    for (const auto& row : rows) {
        glLightfv(GL_LIGHT0, GL_POSITION, row.light); // eye space: the modelview is the identity
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, row.light[4]);
        glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, row.light[5]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        Program(row.program)->Begin();
        row.bend == kSphere ? Sphere() : Quad(row.bend);
        Program(row.program)->End();
        const zarvo_test::Rgba px = ReadPixelTopDown(row.x, row.y),
                               px2 = ReadPixelTopDown(row.x2, row.y2);
        EXPECT_TRUE(px.r >= row.lo && px.r <= row.hi) << row.program << ": " << int(px.r);
        EXPECT_TRUE(px2.r >= row.lo2 && px2.r <= row.hi2) << row.program << ": " << int(px2.r);
        EXPECT_TRUE(row.bend != kSphere || (std::abs(px.g - px.r / 2) <= 3 && px.b == 0));
    }
}

TEST_F(ShaderRenderGL, ParallaxShiftsTheTextureWithTheViewAngle) {
    Texture(0, 2, {0, 0, 0, 255, 255, 255, 255, 255});
    const GLuint flat = Texture(2, 1, {0, 0, 0, 255}), raised = Texture(2, 1, {255, 255, 255, 255});
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kWhite);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kWhite);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kBlack);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 1, 0.1, 20);
    glMatrixMode(GL_MODELVIEW);
    for (Default_Shader_Types type : {SHADER_PARALLAX, SHADER_PARALLAX_POINT_LIGHT,
                                      SHADER_PARALLAX_SHADOW, SHADER_PARALLAX_SHADOW_PCF}) {
        CShader* shader = Program(type);
        shader->Begin();
        shader->uniform1i("testTexture", 0);
        shader->uniform1i("shadowMap", 1);
        shader->uniform1i("HeightTexture", 2);
        const char* names[3] = {"Tangent", "BiNormal", "Normal"};
        const float axes[3][3] = {{1, 0, 0}, {0, -1, 0}, {0, 0, 1}}; // binormal along -v
        for (int i = 0; i < 3; ++i)
            glUniform4fARB(glGetUniformLocationARB(shader->getShaderHandler(), names[i]),
                           axes[i][0], axes[i][1], axes[i][2], 0);
        // The first white column of the middle row, u 0.45..0.55 turning white at 0.5.
        auto boundary = [&](GLuint height, float eyeX, float eyeZ) {
            glActiveTextureARB(GL_TEXTURE2_ARB);
            glBindTexture(GL_TEXTURE_2D, height);
            glActiveTextureARB(GL_TEXTURE0_ARB);
            glLoadIdentity();
            gluLookAt(eyeX, 0, eyeZ, 0, 0, 0, 0, 1, 0);
            glClear(GL_COLOR_BUFFER_BIT);
            Quad(0, 0.45f, 0.55f);
            int x = 0;
            while (x < kSize && ReadPixelTopDown(x, 32).r <= 128)
                ++x;
            return x;
        };
        // Seen from the left, raised texels show what lies nearer the viewer.
        const int frontFlat = boundary(flat, 0, 2.5f), sideRaised = boundary(raised, -2, 1.5f);
        EXPECT_NEAR(frontFlat, 32, 1) << type;
        EXPECT_NEAR(boundary(raised, 0, 2.5f), frontFlat, 1) << type;
        EXPECT_GT(sideRaised, boundary(flat, -2, 1.5f) + 3) << type;
        EXPECT_LT(sideRaised, kSize) << type;
        shader->End();
    }
}

} // namespace
