#pragma once
// Reads back what an image loader left in a GL texture.
#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace image_test {

inline GLint LevelParameter(GLuint texture, int level, GLenum parameter) {
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    return value;
}

inline GLfloat TextureParameter(GLuint texture, GLenum parameter) {
    GLfloat value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameterfv(GL_TEXTURE_2D, parameter, &value);
    return value;
}

// Level pixels in the given format, texture row 0 first.
inline std::vector<uint8_t> TexturePixels(GLuint texture, int level, GLenum format, int channels) {
    const int w = LevelParameter(texture, level, GL_TEXTURE_WIDTH);
    const int h = LevelParameter(texture, level, GL_TEXTURE_HEIGHT);
    std::vector<uint8_t> pixels(size_t(w) * size_t(h) * size_t(channels));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (!pixels.empty())
        glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

} // namespace image_test
