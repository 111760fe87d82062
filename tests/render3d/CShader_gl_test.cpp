// The built-in program table, and each family of its programs rendered and read back so the
// GLSL is checked for what it draws, not only for compiling.
#include <gtest/gtest.h>

#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

#include <GL/glu.h>
#include <SDL.h>
#include <sys/stat.h>

#include <cmath>
#include <string>
#include <vector>

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

TEST_F(ShaderFilesGL, MissingAndEmptyFilesKeepEveryRowInPlaceAndSdlRunning) {
    // Row 18 complete, row 5 without its fragment file, row 0 with an empty vertex file.
    Copy("ShadowMappingPerPixelLight.vert");
    Copy("ShadowMappingPerPixelLight.frag");
    Copy("dirPerVertex.vert");
    zarvo_test::WriteFileBytes("shaders/simpleTexture.vert", "");
    CShaderManager manager;
    testing::internal::CaptureStdout();
    manager.LoadDefaultShaders();
    const std::string out = testing::internal::GetCapturedStdout();
    for (const char* part :
         {"\n-------------========= Loading built in shaders ==========------------\n\nLoading "
          "simple texture shader...\n\nCannot Load vertex shader: shaders/simpleTexture.vert\n\n"
          "Cannot Load fragment shader: shaders/simpleTexture.frag\nLoading simple color",
          "lightning shader...\n\nCannot Load fragment shader: shaders/dirPerVertex.frag\n"
          "Loading Point",
          ".frag\nLoading shadow mapping per pixel light shader...\n\n"})
        EXPECT_NE(out.find(part), std::string::npos) << part;
    size_t vertex = 0, fragment = 0;
    for (size_t at = 0; (at = out.find("Cannot Load ", at)) != std::string::npos; ++at)
        ++(out.compare(at + 12, 6, "vertex") == 0 ? vertex : fragment);
    EXPECT_EQ(vertex, 17u);
    EXPECT_EQ(fragment, 18u);
    EXPECT_NE(SDL_GetVideoSurface(), nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    ASSERT_EQ(manager.GetShaderCount(), 19u);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(manager.getDefaultShaders(Default_Shader_Types(i))->getShaderHandler(), 0u) << i;
    EXPECT_TRUE(Linked(manager.getDefaultShaders(SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT)));
    EXPECT_EQ(manager.getDefaultShaders(Default_Shader_Types(19)), nullptr);
}

TEST_F(ShaderFilesGL, BrokenSourceGoesToStandardErrorAndLoadShaderReadsWholeTextOrNothing) {
    zarvo_test::WriteFileBytes("shaders/bad.vert",
                               "#version 120\nvoid main() { gl_Position = ; }\n");
    Copy("color.frag");
    CShader shader;
    testing::internal::CaptureStderr();
    shader.setShaders("shaders/color.frag", "shaders/bad.vert");
    const std::string err = testing::internal::GetCapturedStderr();
    for (const char* part : {"shaders/bad.vert", "failed to compile", "failed to link"})
        EXPECT_NE(err.find(part), std::string::npos) << err;
    EXPECT_NE(shader.getShaderHandler(), 0u); // kept as GL left it
    EXPECT_FALSE(Linked(&shader));
    EXPECT_NE(SDL_GetVideoSurface(), nullptr) << "nothing shuts SDL down for a GLSL error";

    zarvo_test::WriteFileBytes("shaders/text.vert", "line one\nline two\n");
    zarvo_test::WriteFileBytes("shaders/empty.vert", "");
    char* text = shader.LoadShader("shaders/text.vert");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "line one\nline two\n");
    delete[] text;
    // Empty, missing, null and a directory (no text file) all give nothing.
    for (const char* path :
         {"shaders/empty.vert", "shaders/none.vert", (const char*)nullptr, "shaders"})
        EXPECT_EQ(shader.LoadShader(path), nullptr) << (path ? path : "null");
}

// The whole view facing the viewer, u from u0 to u1 on unit 0.
void FacingQuad(float u0 = 0, float u1 = 1) {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    for (int c = 0; c < 4; ++c) {
        const int x = c == 1 || c == 2, y = c >= 2;
        glTexCoord2f(x ? u1 : u0, float(y));
        glVertex3f(2.f * x - 1, 2.f * y - 1, 0);
    }
    glEnd();
}
void FullQuad() {
    FacingQuad();
}
// Four corners whose normals lean outwards, like a patch of a sphere seen head-on.
void CurvedQuad() {
    const float lean = 1.0f / std::sqrt(1.0f + 1.0f + 2.25f);
    glBegin(GL_QUADS);
    for (const auto& c : {std::pair<float, float>{-1, -1}, {1, -1}, {1, 1}, {-1, 1}}) {
        glNormal3f(c.first * lean, c.second * lean, 1.5f * lean);
        glVertex3f(c.first, c.second, 0);
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
// A white light and a white diffuse material with no ambient: a pixel reads as the
// diffuse term alone.
class ShaderRenderGL : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(kSize, kSize);
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glPushAttrib(GL_LIGHTING_BIT); // later suites expect GL's own light and material
        for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_BLEND})
            glDisable(cap);
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kBlack);
        for (GLenum p : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
            glLightfv(GL_LIGHT0, p, p == GL_DIFFUSE ? kWhite : kBlack);
            glMaterialfv(GL_FRONT_AND_BACK, p, p == GL_DIFFUSE ? kWhite : kBlack);
        }
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0);
        glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180);
        glColor4f(1, 1, 1, 1);
    }
    void TearDown() override {
        glUseProgramObjectARB(0);
        glPopAttrib();
        // Deleting the textures unbinds them from every unit.
        if (!textures_.empty()) glDeleteTextures(GLsizei(textures_.size()), textures_.data());
        EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
    }
    static CShader* Program(Default_Shader_Types type) {
        return zarvo_test::BuiltInShaders()->getDefaultShaders(type);
    }
    // A nearest-filtered texture bound on `unit`; unit 0 stays active.
    GLuint Texture(int unit, int width, int height, const void* texels, GLenum format = GL_RGBA,
                   GLenum type = GL_UNSIGNED_BYTE) {
        GLuint name = 0;
        glGenTextures(1, &name);
        textures_.push_back(name);
        glActiveTextureARB(GL_TEXTURE0_ARB + unit);
        glBindTexture(GL_TEXTURE_2D, name);
        for (GLenum p : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
            glTexParameteri(GL_TEXTURE_2D, p, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, type, texels);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        return name;
    }
    GLuint SolidTexture(int unit, uint8_t r, uint8_t g, uint8_t b) {
        const uint8_t rgba[4] = {r, g, b, 255};
        return Texture(unit, 1, 1, rgba);
    }
    // Eye space: the modelview is the identity.
    static void LightAt(float x, float y, float z, float w) {
        const float position[4] = {x, y, z, w};
        glLightfv(GL_LIGHT0, GL_POSITION, position);
    }
    static void Uniform4f(CShader* shader, const char* name, float x, float y, float z, float w) {
        glUniform4fARB(glGetUniformLocationARB(shader->getShaderHandler(), name), x, y, z, w);
    }
    static void DrawWith(CShader* shader, void (*geometry)()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        shader->Begin();
        geometry();
        shader->End();
    }
    static constexpr float kBlack[4] = {0, 0, 0, 1}, kWhite[4] = {1, 1, 1, 1};
    std::vector<GLuint> textures_;
};

// The red of one pixel under each light program, in a range: {program, light position,
// linear attenuation, spot cut-off, geometry, pixel, lowest, highest}.
TEST_F(ShaderRenderGL, LightProgramsShadeByDirectionDistanceAndCone) {
    SolidTexture(0, 255, 128, 0);
    const struct {
        Default_Shader_Types program;
        float light[4], linear, cutoff;
        void (*geometry)();
        int x, y, lo, hi;
    } rows[] = {
        // Directional diffuse lights the side of a sphere facing the light only.
        {SHADER_DIR_PER_VERTEX, {1, 0, 0.2f, 0}, 0, 180, Sphere, 54, 32, 151, 255},
        {SHADER_DIR_PER_VERTEX, {1, 0, 0.2f, 0}, 0, 180, Sphere, 10, 32, 0, 9},
        {SHADER_DIR_PER_PIXEL, {1, 0, 0.2f, 0}, 0, 180, Sphere, 54, 32, 151, 255},
        {SHADER_DIR_PER_PIXEL, {1, 0, 0.2f, 0}, 0, 180, Sphere, 10, 32, 0, 9},
        {SHADER_DIR_PER_VERTEX_TEX, {1, 0, 0.2f, 0}, 0, 180, Sphere, 54, 32, 151, 255},
        {SHADER_DIR_PER_VERTEX_TEX, {1, 0, 0.2f, 0}, 0, 180, Sphere, 10, 32, 0, 9},
        {SHADER_DIR_PER_PIXEL_TEX, {1, 0, 0.2f, 0}, 0, 180, Sphere, 54, 32, 151, 255},
        {SHADER_DIR_PER_PIXEL_TEX, {1, 0, 0.2f, 0}, 0, 180, Sphere, 10, 32, 0, 9},
        // Every corner of the curved patch gets cos = 0.728: Gouraud shading stays flat
        // there, while per-pixel light finds the normal facing the light in the middle.
        {SHADER_DIR_PER_VERTEX, {0, 0, 1, 0}, 0, 180, CurvedQuad, 32, 32, 183, 189},
        {SHADER_DIR_PER_VERTEX, {0, 0, 1, 0}, 0, 180, CurvedQuad, 1, 1, 183, 189},
        {SHADER_DIR_PER_PIXEL, {0, 0, 1, 0}, 0, 180, CurvedQuad, 32, 32, 250, 255},
        {SHADER_DIR_PER_PIXEL, {0, 0, 1, 0}, 0, 180, CurvedQuad, 1, 1, 177, 195},
        // Toon shading steps to flat bands: 1.0 facing the light, 0.7 at cos = 0.728.
        {SHADER_TOON, {0, 0, 1, 0}, 0, 180, CurvedQuad, 32, 32, 254, 255},
        {SHADER_TOON, {0, 0, 1, 0}, 0, 180, CurvedQuad, 1, 1, 177, 180},
        {SHADER_COLOR, {0, 0, 1, 0}, 0, 180, FullQuad, 32, 32, 255, 255}, // the vertex colour
        // A point light straight in front of the quad's centre: 255 / (1 + linear * d).
        {SHADER_POINT_LIGHT, {0, 0, 1, 1}, 0, 180, FullQuad, 32, 32, 253, 255},
        {SHADER_POINT_LIGHT, {0, 0, 1, 1}, 1, 180, FullQuad, 32, 32, 125, 130},
        {SHADER_POINT_LIGHT, {0, 0, 3, 1}, 0, 180, FullQuad, 32, 32, 253, 255},
        {SHADER_POINT_LIGHT, {0, 0, 3, 1}, 1, 180, FullQuad, 32, 32, 62, 66},
        {SHADER_POINT_LIGHT_TEX, {0, 0, 1, 1}, 0, 180, FullQuad, 32, 32, 253, 255},
        {SHADER_POINT_LIGHT_TEX, {0, 0, 1, 1}, 1, 180, FullQuad, 32, 32, 125, 130},
        {SHADER_POINT_LIGHT_TEX, {0, 0, 3, 1}, 0, 180, FullQuad, 32, 32, 253, 255},
        {SHADER_POINT_LIGHT_TEX, {0, 0, 3, 1}, 1, 180, FullQuad, 32, 32, 62, 66},
        // A 20-degree spot straight down: 0 and 11 degrees off the axis lit, 31 not.
        {SHADER_SPOT_LIGHT, {0, 0, 1, 1}, 0, 20, FullQuad, 32, 32, 250, 255},
        {SHADER_SPOT_LIGHT, {0, 0, 1, 1}, 0, 20, FullQuad, 38, 32, 240, 255},
        {SHADER_SPOT_LIGHT, {0, 0, 1, 1}, 0, 20, FullQuad, 51, 32, 0, 1},
        {SHADER_SPOT_LIGHT, {0, 0, 1, 1}, 0, 20, FullQuad, 4, 60, 0, 1},
    };
    for (const auto& row : rows) {
        LightAt(row.light[0], row.light[1], row.light[2], row.light[3]);
        glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, row.linear);
        glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, row.cutoff);
        DrawWith(Program(row.program), row.geometry);
        const zarvo_test::Rgba px = ReadPixelTopDown(row.x, row.y);
        EXPECT_TRUE(px.r >= row.lo && px.r <= row.hi)
            << "program " << row.program << " at " << row.x << "," << row.y << ": " << int(px.r);
        // The textured programs show the texture's colour, lit; the others white light.
        const bool textured =
            row.program == SHADER_DIR_PER_VERTEX_TEX || row.program == SHADER_DIR_PER_PIXEL_TEX;
        if (row.geometry == Sphere && row.x == 54) {
            EXPECT_NEAR(px.g, textured ? px.r / 2 : px.r, textured ? 3 : 0) << row.program;
            EXPECT_EQ(px.b, textured ? 0 : px.r) << row.program;
        }
    }
    // Across the surface, too, farther from a point light is darker.
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 1);
    for (Default_Shader_Types type : {SHADER_POINT_LIGHT, SHADER_POINT_LIGHT_TEX}) {
        LightAt(-0.8f, 0, 0.3f, 1);
        DrawWith(Program(type), FullQuad);
        EXPECT_GT(ReadPixelTopDown(8, 32).r, ReadPixelTopDown(32, 32).r + 40) << type;
        EXPECT_GT(ReadPixelTopDown(32, 32).r, ReadPixelTopDown(60, 32).r) << type;
    }
}

TEST_F(ShaderRenderGL, ParallaxShiftsTheTextureWithTheViewAngle) {
    const uint8_t blackWhite[8] = {0, 0, 0, 255, 255, 255, 255, 255};
    Texture(0, 2, 1, blackWhite);
    const GLuint flat = SolidTexture(2, 0, 0, 0), raised = SolidTexture(2, 255, 255, 255);
    // Ambient light only, at full strength, so lit programs show the texture as it is.
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, kWhite);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, kWhite);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, kBlack);
    LightAt(0, 0, 1, 0);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60, 1, 0.1, 20);
    glMatrixMode(GL_MODELVIEW);
    for (Default_Shader_Types type : {SHADER_PARALLAX, SHADER_PARALLAX_POINT_LIGHT,
                                      SHADER_PARALLAX_SHADOW, SHADER_PARALLAX_SHADOW_PCF}) {
        SCOPED_TRACE(testing::Message() << "program " << type);
        CShader* shader = Program(type);
        shader->Begin();
        shader->uniform1i("testTexture", 0);
        shader->uniform1i("shadowMap", 1);
        shader->uniform1i("HeightTexture", 2);
        Uniform4f(shader, "Tangent", 1, 0, 0, 0);
        Uniform4f(shader, "BiNormal", 0, -1, 0, 0); // the engine's binormal runs along -v
        Uniform4f(shader, "Normal", 0, 0, 1, 0);
        // The first white column of the middle row, u 0.45..0.55 turning white at 0.5.
        auto boundary = [&](GLuint height, float eyeX, float eyeZ) {
            glActiveTextureARB(GL_TEXTURE2_ARB);
            glBindTexture(GL_TEXTURE_2D, height);
            glActiveTextureARB(GL_TEXTURE0_ARB);
            glLoadIdentity();
            gluLookAt(eyeX, 0, eyeZ, 0, 0, 0, 0, 1, 0);
            glClear(GL_COLOR_BUFFER_BIT);
            FacingQuad(0.45f, 0.55f);
            int x = 0;
            while (x < kSize && ReadPixelTopDown(x, 32).r <= 128)
                ++x;
            return x;
        };
        // Head-on the middle of the quad is seen straight down: nothing moves there.
        const int frontFlat = boundary(flat, 0, 2.5f);
        EXPECT_NEAR(frontFlat, 32, 1);
        EXPECT_NEAR(boundary(raised, 0, 2.5f), frontFlat, 1);
        // Seen from the left, raised texels show what lies nearer the viewer.
        const int sideFlat = boundary(flat, -2, 1.5f), sideRaised = boundary(raised, -2, 1.5f);
        EXPECT_GT(sideRaised, sideFlat + 3);
        EXPECT_LT(sideRaised, kSize);
        shader->End();
    }
    glLoadIdentity();
}

} // namespace
