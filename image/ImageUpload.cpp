#include "image/ImageUpload.h"

#include <GL/glu.h>

#include <cstdlib>

#ifndef GL_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_TEXTURE_MAX_ANISOTROPY_EXT 0x84FE
#endif
#ifndef GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT
#define GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT 0x84FF
#endif

gl_texture_t* MakeTextureRecord(sDecodedImage& image, GLenum format) {
    auto* texture = static_cast<gl_texture_t*>(std::calloc(1, sizeof(gl_texture_t)));
    if (!texture) return nullptr;
    texture->width = image.width;
    texture->height = image.height;
    texture->format = format;
    texture->internalFormat = image.components;
    texture->texels = image.pixels.release();
    return texture;
}

void FreeTextureRecord(gl_texture_t* texture) {
    if (!texture) return;
    std::free(texture->texels);
    std::free(texture);
}

CScopedUnpackAlignment::CScopedUnpackAlignment() {
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &m_previous);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
}

CScopedUnpackAlignment::~CScopedUnpackAlignment() {
    glPixelStorei(GL_UNPACK_ALIGNMENT, m_previous);
}

void SetMaxAnisotropy() {
    GLfloat maximum = 1.0f;
    glGetFloatv(GL_MAX_TEXTURE_MAX_ANISOTROPY_EXT, &maximum);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAX_ANISOTROPY_EXT, maximum);
}

void SetRepeatSampling(GLint minFilter, bool maxAnisotropy) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    if (maxAnisotropy) SetMaxAnisotropy();
}

GLuint UploadLinearTexture(GLenum format, GLsizei width, GLsizei height, const GLubyte* pixels) {
    GLuint id = 0;
    glGenTextures(1, &id);
    glBindTexture(GL_TEXTURE_2D, id);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    CScopedUnpackAlignment alignment;
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 pixels);
    return id;
}

GLuint UploadTextureRecord(gl_texture_t* texture, bool anisotropic) {
    if (!texture) return 0;
    if (!texture->texels) {
        FreeTextureRecord(texture);
        return 0;
    }
    glGenTextures(1, &texture->id);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    if (anisotropic) {
        SetRepeatSampling(GL_LINEAR, true);
    } else {
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    }
    {
        CScopedUnpackAlignment alignment;
        glTexImage2D(GL_TEXTURE_2D, 0, texture->internalFormat, texture->width, texture->height, 0,
                     texture->format, GL_UNSIGNED_BYTE, texture->texels);
        gluBuild2DMipmaps(GL_TEXTURE_2D, texture->internalFormat, texture->width, texture->height,
                          texture->format, GL_UNSIGNED_BYTE, texture->texels);
    }
    GLuint id = texture->id;
    FreeTextureRecord(texture);
    return id;
}
