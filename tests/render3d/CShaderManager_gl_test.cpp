#include <gtest/gtest.h>

#include "render3d/CShaderManager.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

#include <SDL.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

namespace {

const char* const kProgressMessages[] = {
    "Loading simple texture shader...",
    "Loading simple color shader...",
    "Loading color eith texture shader...",
    "Loading heightmap texture shader...",
    "Loading Directional Per Pixel Diffuse lightning shader...",
    "Loading Directional Per Vertex Diffuse lightning shader...",
    "Loading Point Per Pixel lightning shader...",
    "Loading Spot Per Pixel lightning shader...",
    "Loading Toon shader...",
    "Loading vertex diffuse light with texture shader...",
    "Loading pixel diffuse light with texture shader...",
    "Loading shadow mapping shader...",
    "Loading shadow mapping pcf shader...",
    "Loading parallax mapping shader...",
    "Loading parallax mapping with lightning shader...",
    "Loading point light with texture mapping shader...",
    "Loading parallax mapping with shadow shader...",
    "Loading parallax mapping with pcf shadow shader...",
    "Loading shadow mapping per pixel light shader...",
};
const char* const kBaseNames[] = {
    "simpleTexture",
    "color",
    "colorWithTex",
    "hfield",
    "dirPerPixel",
    "dirPerVertex",
    "pointlight",
    "spotlight",
    "toonf2",
    "dirPerVertexTEX",
    "dirPerPixelTEX",
    "ShadowMapping",
    "ShadowMappingPCF",
    "parallax3",
    "parallaxWithPointLight",
    "pointlightTEX",
    "parallax3Shadow",
    "parallax3ShadowPCF",
    "ShadowMappingPerPixelLight",
};

bool LinkedOk(const CShader* shader) {
    GLint linked = 0;
    glGetObjectParameterivARB(shader->getShaderHandler(), GL_OBJECT_LINK_STATUS_ARB, &linked);
    return linked != 0;
}

void CopyFile(const std::string& from, const std::string& to) {
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
}

// Runs a test inside an empty directory.
class ShaderFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZARVO_REQUIRE_GL(64, 64);
        char buf[4096];
        ASSERT_NE(getcwd(buf, sizeof buf), nullptr);
        m_OldDir = buf;
        m_Dir = zarvo_test::MakeTempDir("shaders");
        ASSERT_EQ(chdir(m_Dir.c_str()), 0);
        ASSERT_EQ(mkdir("shaders", 0755), 0);
        // The empty folder is the only data root: the tree's own shaders stay out of reach.
        setenv("ZARVO_DATA_DIR", m_Dir.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("ZARVO_DATA_DIR");
        if (!m_OldDir.empty()) {
            ASSERT_EQ(chdir(m_OldDir.c_str()), 0);
        }
    }
    void CopyFromSource(const std::string& name) {
        CopyFile(zarvo_test::SourceDir() + "/shaders/" + name, "shaders/" + name);
    }

    std::string m_OldDir, m_Dir;
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
        expected += std::string(kProgressMessages[i]) + "\n";
        const std::string base = std::string("shaders/") + kBaseNames[i];
        if (i != 18 && i != 5) expected += "\nCannot Load vertex shader: " + base + ".vert\n";
        if (i != 18) expected += "\nCannot Load fragment shader: " + base + ".frag\n";
    }
    expected += "\n";
    EXPECT_EQ(out, expected);
    // Missing files leave SDL and the context up for the rest of the program.
    EXPECT_NE(SDL_GetVideoSurface(), nullptr);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

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
    EXPECT_NE(SDL_GetVideoSurface(), nullptr);
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
        ASSERT_NE(shader->getShaderHandler(), 0u) << kBaseNames[i];
        EXPECT_TRUE(LinkedOk(shader)) << kBaseNames[i];
        GLhandleARB attached[4] = {};
        GLsizei count = 0;
        glGetAttachedObjectsARB(shader->getShaderHandler(), 4, &count, attached);
        EXPECT_EQ(count, 2) << kBaseNames[i];
        for (GLsizei k = 0; k < count; ++k) {
            GLint compiled = 0;
            glGetObjectParameterivARB(attached[k], GL_OBJECT_COMPILE_STATUS_ARB, &compiled);
            EXPECT_TRUE(compiled) << kBaseNames[i];
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
