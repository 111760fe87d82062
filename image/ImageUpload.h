#pragma once
// GL side shared by the image readers: the texture record of the PCX, BMP and DDS
// readers and the upload steps they have in common.
#include <GL/glew.h>

#include "image/ImageBuffer.h"

struct gl_texture_t {
    GLsizei width;
    GLsizei height;
    GLenum format;
    GLint internalFormat;
    GLuint id;
    GLint numMipmaps;
    GLubyte* texels;
};

// A calloc'd record owning the decoded pixels (released with FreeTextureRecord).
gl_texture_t* MakeTextureRecord(sDecodedImage& image, GLenum format);
void FreeTextureRecord(gl_texture_t* texture);

// Rows of the engine's decoded images are tightly packed; GL's default alignment of 4
// would read past the end of rows whose length is not a multiple of 4.
class CScopedUnpackAlignment {
public:
    CScopedUnpackAlignment();
    ~CScopedUnpackAlignment();
    CScopedUnpackAlignment(const CScopedUnpackAlignment&) = delete;
    CScopedUnpackAlignment& operator=(const CScopedUnpackAlignment&) = delete;

private:
    GLint m_previous = 4;
};

// Sets GL_TEXTURE_MAX_ANISOTROPY_EXT of the bound texture to the driver's maximum.
void SetMaxAnisotropy();

// The engine's usual sampling for the bound texture: repeat in both directions, the given
// minifying filter, linear magnification and, on request, the maximum anisotropy.
void SetRepeatSampling(GLint minFilter, bool maxAnisotropy);

// The TGA classes' upload: a new texture name with linear filters and level 0 only,
// internal format = format.
GLuint UploadLinearTexture(GLenum format, GLsizei width, GLsizei height, const GLubyte* pixels);

// The PCX and BMP upload: a new texture name, filters (or repeat + anisotropy), level 0
// and mipmaps. Frees the record and returns the name, or 0 when it holds no pixels.
GLuint UploadTextureRecord(gl_texture_t* texture, bool anisotropic);
