#pragma once
#include <GL/glew.h>

#include <cstdint>

// One GLSL program built from a vertex file and a fragment file.
class CShader {
public:
    CShader() = default;
    ~CShader();
    CShader(const CShader&) = delete;
    CShader& operator=(const CShader&) = delete;

    // Reads a whole text file into a new[]-allocated, NUL-terminated buffer that the
    // caller releases with delete[]. Null for a null path, an unreadable or an empty file.
    char* LoadShader(const char* path);

    // Builds the program; the fragment file comes first. A missing file prints a message
    // and leaves the program at 0; compile and link failures go to standard error with
    // the GL log.
    void setShaders(const char* fragmentFile, const char* vertexFile);

    void Begin();
    // Returns to the fixed-function pipeline whatever program is current.
    void End();
    // Sets an int uniform (a sampler unit, usually) of the current program.
    void uniform1i(const char* name, int value);
    uint32_t getShaderHandler() const { return m_Program; }

private:
    char* m_VertexSource = nullptr;
    char* m_FragmentSource = nullptr;
    GLhandleARB m_Program = 0;
};
