#include "render3d/CShader.h"

#include "core/DataPath.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

std::string InfoLog(GLhandleARB object) {
    GLint length = 0;
    glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 1) return "(no log)\n";
    std::string log(size_t(length), '\0');
    GLsizei written = 0;
    glGetInfoLogARB(object, length, &written, &log[0]);
    log.resize(size_t(written));
    if (log.empty() || log.back() != '\n') log += '\n';
    return log;
}

bool ObjectStatusOk(GLhandleARB object, GLenum status) {
    GLint ok = 0;
    glGetObjectParameterivARB(object, status, &ok);
    return ok != 0;
}

} // namespace

CShader::~CShader() {
    // The program object stays with the GL context, which may already be gone here.
    delete[] m_VertexSource;
    delete[] m_FragmentSource;
}

char* CShader::LoadShader(const char* path) {
    if (!path) return nullptr;
    std::FILE* file = std::fopen(ResolveDataPath(path).c_str(), "rt");
    if (!file) return nullptr;
    // Read until the end instead of trusting the size the stream reports: a directory
    // opens fine on some systems and claims an absurd size.
    std::string text;
    char chunk[4096];
    size_t count;
    while ((count = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        text.append(chunk, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || text.empty()) return nullptr;
    char* buffer = new char[text.size() + 1];
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return buffer;
}

void CShader::setShaders(const char* fragmentFile, const char* vertexFile) {
    const GLhandleARB vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    const GLhandleARB fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);

    // Both files are always tried so that both messages can appear.
    m_VertexSource = LoadShader(vertexFile);
    if (!m_VertexSource) std::printf("\nCannot Load vertex shader: %s\n", vertexFile);
    m_FragmentSource = LoadShader(fragmentFile);
    if (!m_FragmentSource) std::printf("\nCannot Load fragment shader: %s\n", fragmentFile);
    if (!m_VertexSource || !m_FragmentSource) {
        delete[] m_VertexSource;
        delete[] m_FragmentSource;
        m_VertexSource = m_FragmentSource = nullptr;
        glDeleteObjectARB(vertexShader);
        glDeleteObjectARB(fragmentShader);
        // The program stays 0 and draws with the fixed pipeline; SDL and the context stay
        // up for the rest of the scene.
        return;
    }

    const GLcharARB* vertexText = m_VertexSource;
    const GLcharARB* fragmentText = m_FragmentSource;
    glShaderSourceARB(vertexShader, 1, &vertexText, nullptr);
    glShaderSourceARB(fragmentShader, 1, &fragmentText, nullptr);
    delete[] m_VertexSource;
    delete[] m_FragmentSource;
    m_VertexSource = m_FragmentSource = nullptr;

    glCompileShaderARB(vertexShader);
    glCompileShaderARB(fragmentShader);
    // A program that silently fails to build draws garbage; say so where it can be seen.
    if (!ObjectStatusOk(vertexShader, GL_OBJECT_COMPILE_STATUS_ARB))
        std::fprintf(stderr, "\nVertex shader %s failed to compile:\n%s", vertexFile,
                     InfoLog(vertexShader).c_str());
    if (!ObjectStatusOk(fragmentShader, GL_OBJECT_COMPILE_STATUS_ARB))
        std::fprintf(stderr, "\nFragment shader %s failed to compile:\n%s", fragmentFile,
                     InfoLog(fragmentShader).c_str());

    m_Program = glCreateProgramObjectARB();
    glAttachObjectARB(m_Program, vertexShader);
    glAttachObjectARB(m_Program, fragmentShader);
    glLinkProgramARB(m_Program);
    if (!ObjectStatusOk(m_Program, GL_OBJECT_LINK_STATUS_ARB))
        std::fprintf(stderr, "\nShader program %s + %s failed to link:\n%s", vertexFile,
                     fragmentFile, InfoLog(m_Program).c_str());
    // Attached objects live on with the program; this only lets GL free them with it.
    glDeleteObjectARB(vertexShader);
    glDeleteObjectARB(fragmentShader);
}

void CShader::Begin() {
    glUseProgramObjectARB(m_Program);
}

void CShader::End() {
    glUseProgramObjectARB(0);
}

void CShader::uniform1i(const char* name, int value) {
    glUniform1iARB(glGetUniformLocationARB(m_Program, name), value);
}
