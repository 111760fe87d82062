#include <gtest/gtest.h>

#include "render3d/CShaderManager.h"
#include "support/gl_context.h"

#include <GL/glu.h>

#include <cmath>
#include <cstdint>
#include <set>
#include <vector>

// Renders with each family of built-in programs and reads the result back, so the GLSL
// is checked for what it draws, not only for compiling.
namespace {

constexpr int kSize = 64;

// A quad over the whole view, facing the viewer, showing u from u0 to u1 on unit 0.
void FacingQuad(float u0, float u1) {
    glBegin(GL_QUADS);
    glNormal3f(0, 0, 1);
    glTexCoord2f(u0, 0);
    glVertex3f(-1, -1, 0);
    glTexCoord2f(u1, 0);
    glVertex3f(1, -1, 0);
    glTexCoord2f(u1, 1);
    glVertex3f(1, 1, 0);
    glTexCoord2f(u0, 1);
    glVertex3f(-1, 1, 0);
    glEnd();
}

using zarvo_test::ReadPixelTopDown;
using zarvo_test::Rgba;

class ShaderRenderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!zarvo_test::EnsureGLContext(kSize, kSize)) return;
        s_Manager = new CShaderManager;
        testing::internal::CaptureStdout();
        s_Manager->LoadDefaultShaders();
        testing::internal::GetCapturedStdout();
    }
    static void TearDownTestSuite() {
        delete s_Manager;
        s_Manager = nullptr;
    }

    void SetUp() override {
        ZARVO_REQUIRE_GL(kSize, kSize);
        ASSERT_NE(s_Manager, nullptr);
        glViewport(0, 0, kSize, kSize);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-1, 1, -1, 1, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
        glDisable(GL_BLEND);
        // A white light and a white diffuse material with no ambient at all, so a pixel
        // reads as the diffuse term alone.
        const float black[4] = {0, 0, 0, 1}, white[4] = {1, 1, 1, 1};
        glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
        for (GLenum p : {GL_AMBIENT, GL_DIFFUSE, GL_SPECULAR}) {
            glLightfv(GL_LIGHT0, p, p == GL_DIFFUSE ? white : black);
            glMaterialfv(GL_FRONT_AND_BACK, p, p == GL_DIFFUSE ? white : black);
        }
        for (GLenum p : {GL_CONSTANT_ATTENUATION, GL_LINEAR_ATTENUATION, GL_QUADRATIC_ATTENUATION,
                         GL_SPOT_CUTOFF, GL_SPOT_EXPONENT})
            glLightf(GL_LIGHT0, p,
                     p == GL_CONSTANT_ATTENUATION ? 1
                     : p == GL_SPOT_CUTOFF        ? 180
                                                  : 0);
        glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, black);
        glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 0);
        glColor4f(1, 1, 1, 1);
    }

    void TearDown() override {
        glUseProgramObjectARB(0);
        for (int unit = 4; unit >= 0; --unit) {
            glActiveTextureARB(GL_TEXTURE0_ARB + unit);
            glBindTexture(GL_TEXTURE_2D, 0);
            glMatrixMode(GL_TEXTURE);
            glLoadIdentity();
        }
        glMatrixMode(GL_MODELVIEW);
        if (!m_Textures.empty()) glDeleteTextures(GLsizei(m_Textures.size()), m_Textures.data());
        EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
    }

    static CShader* Program(Default_Shader_Types type) {
        return s_Manager->getDefaultShaders(type);
    }

    // A texture of the given format, nearest filtering, bound on the given unit; unit 0
    // stays active.
    GLuint Texture(int unit, int width, int height, const void* texels, GLint wrap = GL_REPEAT,
                   GLenum format = GL_RGBA, GLenum type = GL_UNSIGNED_BYTE) {
        GLuint name = 0;
        glGenTextures(1, &name);
        m_Textures.push_back(name);
        glActiveTextureARB(GL_TEXTURE0_ARB + unit);
        glBindTexture(GL_TEXTURE_2D, name);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
        glTexImage2D(GL_TEXTURE_2D, 0, format, width, height, 0, format, type, texels);
        glActiveTextureARB(GL_TEXTURE0_ARB);
        return name;
    }
    GLuint SolidTexture(int unit, uint8_t r, uint8_t g, uint8_t b) {
        const uint8_t rgba[4] = {r, g, b, 255};
        return Texture(unit, 1, 1, rgba);
    }

    static void SetLightPosition(float x, float y, float z, float w) {
        const float position[4] = {x, y, z, w};
        glLightfv(GL_LIGHT0, GL_POSITION, position); // eye space: the modelview is identity
    }
    static void Uniform4f(CShader* shader, const char* name, float x, float y, float z, float w) {
        glUniform4fARB(glGetUniformLocationARB(shader->getShaderHandler(), name), x, y, z, w);
    }

    // The whole view, facing the viewer, texture coordinates 0..1 on unit 0.
    static void FullQuad() { FacingQuad(0, 1); }
    static void Sphere() {
        GLUquadric* quadric = gluNewQuadric();
        gluQuadricNormals(quadric, GLU_SMOOTH);
        gluQuadricTexture(quadric, GL_TRUE);
        glEnable(GL_DEPTH_TEST); // the far half must not cover the near one
        gluSphere(quadric, 0.9, 48, 48);
        glDisable(GL_DEPTH_TEST);
        gluDeleteQuadric(quadric);
    }
    static void DrawWith(CShader* shader, void (*geometry)()) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        shader->Begin();
        geometry();
        shader->End();
    }

    static CShaderManager* s_Manager;
    std::vector<GLuint> m_Textures;
};

CShaderManager* ShaderRenderTest::s_Manager = nullptr;

void ExpectRgb(Rgba px, int r, int g, int b, int tolerance = 2) {
    EXPECT_NEAR(px.r, r, tolerance);
    EXPECT_NEAR(px.g, g, tolerance);
    EXPECT_NEAR(px.b, b, tolerance);
}

TEST_F(ShaderRenderTest, FlatProgramsCombineTextureAndColour) {
    SolidTexture(0, 200, 100, 40);

    CShader* simple = Program(SHADER_SIMPLE_TEXTURE);
    simple->Begin();
    Uniform4f(simple, "colors", 0.5f, 1.0f, 0.25f, 1.0f);
    glColor3f(0, 0, 0); // the vertex colour plays no part here
    FullQuad();
    simple->End();
    ExpectRgb(ReadPixelTopDown(32, 32), 100, 100, 10);

    glColor3f(0.2f, 0.4f, 0.6f);
    DrawWith(Program(SHADER_COLOR), FullQuad);
    ExpectRgb(ReadPixelTopDown(32, 32), 51, 102, 153);

    glColor3f(0.5f, 1.0f, 0.25f);
    DrawWith(Program(SHADER_COLOR_WITH_TEX), FullQuad);
    ExpectRgb(ReadPixelTopDown(32, 32), 100, 100, 10);
}

TEST_F(ShaderRenderTest, DirectionalDiffuseLightsTheSideFacingTheLight) {
    SolidTexture(0, 255, 128, 0);
    SetLightPosition(1, 0, 0.2f, 0);
    for (Default_Shader_Types type : {SHADER_DIR_PER_VERTEX, SHADER_DIR_PER_PIXEL,
                                      SHADER_DIR_PER_VERTEX_TEX, SHADER_DIR_PER_PIXEL_TEX}) {
        SCOPED_TRACE(testing::Message() << "program " << type);
        DrawWith(Program(type), Sphere);
        const Rgba lit = ReadPixelTopDown(54, 32), far = ReadPixelTopDown(10, 32);
        EXPECT_GT(lit.r, 150);
        EXPECT_LT(far.r, 10);
        if (type == SHADER_DIR_PER_VERTEX_TEX || type == SHADER_DIR_PER_PIXEL_TEX) {
            EXPECT_NEAR(lit.g, lit.r / 2, 3); // the texture's colour, lit
            EXPECT_EQ(lit.b, 0);
        } else {
            EXPECT_EQ(lit.g, lit.r);
        }
    }
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

TEST_F(ShaderRenderTest, PerPixelLightFollowsCurvatureThatPerVertexLightMisses) {
    SetLightPosition(0, 0, 1, 0);
    DrawWith(Program(SHADER_DIR_PER_VERTEX), CurvedQuad);
    const Rgba vertexCentre = ReadPixelTopDown(32, 32), vertexCorner = ReadPixelTopDown(1, 1);
    DrawWith(Program(SHADER_DIR_PER_PIXEL), CurvedQuad);
    const Rgba pixelCentre = ReadPixelTopDown(32, 32), pixelCorner = ReadPixelTopDown(1, 1);

    // Every corner gets cos = 0.728, so Gouraud shading stays flat at that level...
    EXPECT_NEAR(vertexCentre.r, 186, 3);
    EXPECT_NEAR(vertexCorner.r, 186, 3);
    // ...while per-pixel lighting finds the normal facing the light in the middle.
    EXPECT_GE(pixelCentre.r, 250);
    EXPECT_NEAR(pixelCorner.r, vertexCorner.r, 6);
}

TEST_F(ShaderRenderTest, PointLightFallsOffWithDistance) {
    SolidTexture(0, 255, 255, 255);
    for (Default_Shader_Types type : {SHADER_POINT_LIGHT, SHADER_POINT_LIGHT_TEX}) {
        SCOPED_TRACE(testing::Message() << "program " << type);
        // The light straight in front of the quad's centre, so only the distance varies.
        for (float distance : {1.0f, 3.0f}) {
            SetLightPosition(0, 0, distance, 1);
            glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0);
            DrawWith(Program(type), FullQuad);
            EXPECT_GE(ReadPixelTopDown(32, 32).r, 253) << "no attenuation, distance " << distance;
            glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 1);
            DrawWith(Program(type), FullQuad);
            EXPECT_NEAR(ReadPixelTopDown(32, 32).r, 255.0f / (1.0f + distance), 2.5f)
                << "distance " << distance;
        }
        // Across the surface, too, farther from the light is darker.
        SetLightPosition(-0.8f, 0, 0.3f, 1);
        DrawWith(Program(type), FullQuad);
        EXPECT_GT(ReadPixelTopDown(8, 32).r, ReadPixelTopDown(32, 32).r + 40);
        EXPECT_GT(ReadPixelTopDown(32, 32).r, ReadPixelTopDown(60, 32).r);
    }
}

TEST_F(ShaderRenderTest, SpotLightIsDarkOutsideItsCone) {
    SetLightPosition(0, 0, 1, 1);
    const float down[3] = {0, 0, -1};
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, down);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 20);
    DrawWith(Program(SHADER_SPOT_LIGHT), FullQuad);
    EXPECT_GE(ReadPixelTopDown(32, 32).r, 250); // straight below the light
    EXPECT_GE(ReadPixelTopDown(38, 32).r, 240); // 11 degrees off the axis
    EXPECT_LE(ReadPixelTopDown(51, 32).r, 1);   // 31 degrees: outside
    EXPECT_LE(ReadPixelTopDown(4, 60).r, 1);
}

int DistinctNonBlackReds() {
    const std::vector<uint8_t> pixels = zarvo_test::ReadFramebufferTopDown(kSize, kSize);
    std::set<uint8_t> reds;
    for (size_t i = 0; i < pixels.size(); i += 4)
        if (pixels[i] != 0) reds.insert(pixels[i]);
    return int(reds.size());
}

TEST_F(ShaderRenderTest, ToonShadingShowsFewFlatBands) {
    SetLightPosition(0.3f, 0.3f, 1, 0);
    DrawWith(Program(SHADER_TOON), Sphere);
    const int toonLevels = DistinctNonBlackReds();
    EXPECT_GE(toonLevels, 3);
    EXPECT_LE(toonLevels, 4);
    DrawWith(Program(SHADER_DIR_PER_PIXEL), Sphere); // the same sphere, smoothly lit
    EXPECT_GT(DistinctNonBlackReds(), 30);
}

void TerrainQuad() {
    glBegin(GL_QUADS);
    const float corners[4][2] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    for (const auto& c : corners) {
        for (int unit : {0, 1, 3, 4})
            glMultiTexCoord2fARB(GL_TEXTURE0_ARB + unit, c[0], c[1]);
        glMultiTexCoord2fARB(GL_TEXTURE2_ARB, c[0], c[1]); // the texture map spans the field
        glVertex3f(c[0] * 2 - 1, c[1] * 2 - 1, 0);
    }
    glEnd();
}

TEST_F(ShaderRenderTest, TerrainPicksGroundTextureByTheMapsColour) {
    SolidTexture(0, 200, 40, 40); // A
    SolidTexture(1, 40, 200, 40); // B
    SolidTexture(3, 40, 40, 200); // C
    // Map: red, green and blue thirds from left to right.
    const uint8_t thirds[12] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255};
    Texture(2, 3, 1, thirds, GL_CLAMP_TO_EDGE);
    CShader* terrain = Program(SHADER_HFIELD);
    terrain->Begin();
    terrain->uniform1i("texA", 0);
    terrain->uniform1i("texB", 1);
    terrain->uniform1i("texmap", 2);
    terrain->uniform1i("texC", 3);
    TerrainQuad();
    ExpectRgb(ReadPixelTopDown(10, 32), 200, 40, 40);
    ExpectRgb(ReadPixelTopDown(32, 32), 40, 200, 40);
    ExpectRgb(ReadPixelTopDown(54, 32), 40, 40, 200);

    // A light map, once switched on, darkens the ground.
    const uint8_t half = 128;
    Texture(4, 1, 1, &half, GL_REPEAT, GL_LUMINANCE);
    terrain->uniform1i("lightMap", 4);
    terrain->uniform1i("useLightMap", 1);
    TerrainQuad();
    terrain->End();
    ExpectRgb(ReadPixelTopDown(32, 32), 20, 100, 20);
}

int FirstWhiteColumn(int row) {
    for (int x = 0; x < kSize; ++x)
        if (ReadPixelTopDown(x, row).r > 128) return x;
    return kSize;
}

TEST_F(ShaderRenderTest, ParallaxShiftsTheTextureWithTheViewAngle) {
    const uint8_t blackWhite[8] = {0, 0, 0, 255, 255, 255, 255, 255};
    Texture(0, 2, 1, blackWhite);
    const GLuint flat = SolidTexture(2, 0, 0, 0);
    const GLuint raised = SolidTexture(2, 255, 255, 255);
    // Ambient light only, at full strength, so lit programs show the texture as it is.
    const float white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, white);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, black);
    SetLightPosition(0, 0, 1, 0);
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
        auto boundary = [&](GLuint height, float eyeX, float eyeZ) {
            glActiveTextureARB(GL_TEXTURE2_ARB);
            glBindTexture(GL_TEXTURE_2D, height);
            glActiveTextureARB(GL_TEXTURE0_ARB);
            glLoadIdentity();
            gluLookAt(eyeX, 0, eyeZ, 0, 0, 0, 0, 1, 0);
            glClear(GL_COLOR_BUFFER_BIT);
            FacingQuad(0.45f, 0.55f); // u 0.45..0.55: black turns white at 0.5
            return FirstWhiteColumn(32);
        };
        // Head-on the middle of the quad is seen straight down: nothing moves there.
        const int frontFlat = boundary(flat, 0, 2.5f);
        EXPECT_NEAR(frontFlat, 32, 1);
        EXPECT_NEAR(boundary(raised, 0, 2.5f), frontFlat, 1);
        // Seen from the left, raised texels show what lies nearer the viewer.
        const int sideFlat = boundary(flat, -2, 1.5f);
        const int sideRaised = boundary(raised, -2, 1.5f);
        EXPECT_GT(sideRaised, sideFlat + 3);
        EXPECT_LT(sideRaised, kSize);
        shader->End();
    }
    glLoadIdentity();
}

TEST_F(ShaderRenderTest, ShadowProgramsCompareDepthAtUnitOneCoordinates) {
    SolidTexture(0, 255, 255, 255);
    const std::vector<float> far(16, 1.0f);
    Texture(1, 4, 4, far.data(), GL_CLAMP_TO_EDGE, GL_DEPTH_COMPONENT, GL_FLOAT);
    glActiveTextureARB(GL_TEXTURE1_ARB);
    for (GLenum filter : {GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER})
        glTexParameteri(GL_TEXTURE_2D, filter, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
    // Every eye-space point maps to the middle of the map at depth 0.5.
    const float toMapCentre[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.5f, 0.5f, 0.5f, 1};
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(toMapCentre);
    glMatrixMode(GL_MODELVIEW);
    glActiveTextureARB(GL_TEXTURE0_ARB);

    const float dim[4] = {0.2f, 0.2f, 0.2f, 1}, white[4] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, dim);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, white);
    SetLightPosition(0, 0, 1, 0);

    for (Default_Shader_Types type :
         {SHADER_SHADOW_MAPPING, SHADER_SHADOW_MAPPING_PCF, SHADER_PARALLAX_SHADOW,
          SHADER_PARALLAX_SHADOW_PCF, SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT}) {
        SCOPED_TRACE(testing::Message() << "program " << type);
        CShader* shader = Program(type);
        for (float occluder : {1.0f, 0.25f}) {
            const std::vector<float> texels(16, occluder);
            glActiveTextureARB(GL_TEXTURE1_ARB);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, 4, 4, 0, GL_DEPTH_COMPONENT,
                         GL_FLOAT, texels.data());
            glActiveTextureARB(GL_TEXTURE0_ARB);
            shader->Begin();
            shader->uniform1i("testTexture", 0);
            shader->uniform1i("HeightTexture", 2);
            shader->uniform1i("shadowMap", 1);
            for (const char* name : {"Tangent", "BiNormal", "Normal"})
                Uniform4f(shader, name, 0, 0, 0, 0);
            glClear(GL_COLOR_BUFFER_BIT);
            FullQuad();
            shader->End();
            if (occluder == 1.0f)
                EXPECT_GE(ReadPixelTopDown(32, 32).r, 250) << "nothing nearer the light";
            else
                EXPECT_NEAR(ReadPixelTopDown(32, 32).r, 51, 2) << "in shadow: ambient only";
        }
    }
}

} // namespace
