#include <gtest/gtest.h>

#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

#include <sys/stat.h>

#include <fstream>
#include <string>

namespace {

int g_QuitCalls = 0;
void CountQuit() {
    ++g_QuitCalls;
}

// Each row of the built-in table: its progress text and its files' base name.
const char* const kRows[][2] = {
    {"simple texture shader", "simpleTexture"},
    {"simple color shader", "color"},
    {"color eith texture shader", "colorWithTex"},
    {"heightmap texture shader", "hfield"},
    {"Directional Per Pixel Diffuse lightning shader", "dirPerPixel"},
    {"Directional Per Vertex Diffuse lightning shader", "dirPerVertex"},
    {"Point Per Pixel lightning shader", "pointlight"},
    {"Spot Per Pixel lightning shader", "spotlight"},
    {"Toon shader", "toonf2"},
    {"vertex diffuse light with texture shader", "dirPerVertexTEX"},
    {"pixel diffuse light with texture shader", "dirPerPixelTEX"},
    {"shadow mapping shader", "ShadowMapping"},
    {"shadow mapping pcf shader", "ShadowMappingPCF"},
    {"parallax mapping shader", "parallax3"},
    {"parallax mapping with lightning shader", "parallaxWithPointLight"},
    {"point light with texture mapping shader", "pointlightTEX"},
    {"parallax mapping with shadow shader", "parallax3Shadow"},
    {"parallax mapping with pcf shadow shader", "parallax3ShadowPCF"},
    {"shadow mapping per pixel light shader", "ShadowMappingPerPixelLight"}};

bool LinkedOk(const CShader* shader) {
    GLint linked = 0;
    glGetObjectParameterivARB(shader->getShaderHandler(), GL_OBJECT_LINK_STATUS_ARB, &linked);
    return linked != 0;
}

// Runs a test inside an empty directory with a counting stand-in for SDL_Quit.
class ShaderFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        ASSERT_EQ(mkdir("shaders", 0755), 0);
        g_QuitCalls = 0;
        CShader::SetQuitHandler(CountQuit);
    }
    void TearDown() override { CShader::SetQuitHandler(nullptr); }
    void CopyFromSource(const std::string& name) {
        std::string text;
        ASSERT_TRUE(zarvo_test::ReadFileBytes(zarvo_test::SourceDir() + "/shaders/" + name, text));
        std::ofstream("shaders/" + name, std::ios::binary) << text;
    }

    zarvo_test::ScopedWorkDir m_Dir{"shaders"};
};

TEST_F(ShaderFilesTest, MissingAndEmptyFilesKeepEveryRowInPlace) {
    // Row 18 complete, row 5 without its fragment file, row 0 with an empty vertex file
    // and no fragment file, every other row absent.
    CopyFromSource("ShadowMappingPerPixelLight.vert");
    CopyFromSource("ShadowMappingPerPixelLight.frag");
    CopyFromSource("dirPerVertex.vert");
    std::ofstream("shaders/simpleTexture.vert").close();

    CShaderManager manager;
    testing::internal::CaptureStdout();
    manager.LoadDefaultShaders();
    const std::string out = testing::internal::GetCapturedStdout();

    std::string expected =
        "\n-------------========= Loading built in shaders ==========------------\n\n";
    for (int i = 0; i < 19; ++i) {
        expected += std::string("Loading ") + kRows[i][0] + "...\n";
        const std::string base = std::string("shaders/") + kRows[i][1];
        if (i != 18 && i != 5) expected += "\nCannot Load vertex shader: " + base + ".vert\n";
        if (i != 18) expected += "\nCannot Load fragment shader: " + base + ".frag\n";
    }
    expected += "\n";
    EXPECT_EQ(out, expected);
    EXPECT_EQ(g_QuitCalls, 18); // once per broken pair, even when both files are missing

    ASSERT_EQ(manager.GetShaderCount(), 19u);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(manager.getDefaultShaders(Default_Shader_Types(i))->getShaderHandler(), 0u)
            << "row " << i;
    const CShader* last = manager.getDefaultShaders(SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT);
    EXPECT_NE(last->getShaderHandler(), 0u);
    EXPECT_TRUE(LinkedOk(last));
    EXPECT_EQ(manager.getDefaultShaders(Default_Shader_Types(19)), nullptr);
}

TEST_F(ShaderFilesTest, BrokenSourceIsReportedOnStandardError) {
    std::ofstream("shaders/bad.vert") << "#version 120\nvoid main() { gl_Position = ; }\n";
    CopyFromSource("color.frag");
    CShader shader;
    testing::internal::CaptureStderr();
    shader.setShaders("shaders/color.frag", "shaders/bad.vert");
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("shaders/bad.vert"), std::string::npos) << err;
    EXPECT_NE(err.find("failed to compile"), std::string::npos) << err;
    EXPECT_NE(err.find("failed to link"), std::string::npos) << err;
    // The handle is kept as GL left it; nothing shuts SDL down for a GLSL error.
    EXPECT_NE(shader.getShaderHandler(), 0u);
    EXPECT_FALSE(LinkedOk(&shader));
    EXPECT_EQ(g_QuitCalls, 0);
}

TEST_F(ShaderFilesTest, LoadShaderReadsWholeTextOrNothing) {
    CShader shader;
    std::ofstream("shaders/text.vert") << "line one\nline two\n";
    std::ofstream("shaders/empty.vert").close();
    char* text = shader.LoadShader("shaders/text.vert");
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "line one\nline two\n");
    delete[] text;
    EXPECT_EQ(shader.LoadShader("shaders/empty.vert"), nullptr);
    EXPECT_EQ(shader.LoadShader("shaders/none.vert"), nullptr);
    EXPECT_EQ(shader.LoadShader(nullptr), nullptr);
    EXPECT_EQ(shader.LoadShader("shaders"), nullptr); // a directory is no text file
}

TEST(ShaderTable, EveryBuiltInProgramCompilesAndLinks) {
    ZARVO_REQUIRE_GL(64, 64);
    CShaderManager manager;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    manager.LoadDefaultShaders();
    testing::internal::GetCapturedStdout();
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "");
    ASSERT_EQ(manager.GetShaderCount(), 19u);
    for (int i = 0; i < 19; ++i) {
        const CShader* shader = manager.getDefaultShaders(Default_Shader_Types(i));
        ASSERT_NE(shader->getShaderHandler(), 0u) << kRows[i][1];
        EXPECT_TRUE(LinkedOk(shader)) << kRows[i][1];
        GLhandleARB attached[4] = {};
        GLsizei count = 0;
        glGetAttachedObjectsARB(shader->getShaderHandler(), 4, &count, attached);
        EXPECT_EQ(count, 2) << kRows[i][1];
        for (GLsizei k = 0; k < count; ++k) {
            GLint compiled = 0;
            glGetObjectParameterivARB(attached[k], GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
            EXPECT_TRUE(compiled) << kRows[i][1];
        }
    }
}

TEST(ShaderTable, EndUnbindsWhateverProgramIsCurrent) {
    ZARVO_REQUIRE_GL(64, 64);
    CShader color;
    color.setShaders("shaders/color.frag", "shaders/color.vert");
    color.Begin();
    ASSERT_EQ(glGetHandleARB(GL_PROGRAM_OBJECT_ARB), color.getShaderHandler());
    CShader neverBuilt;
    neverBuilt.End();
    EXPECT_EQ(glGetHandleARB(GL_PROGRAM_OBJECT_ARB), 0u);
    EXPECT_EQ(zarvo_test::TakeGLError(), GLenum(GL_NO_ERROR));
}

} // namespace
