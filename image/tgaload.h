#pragma once
// The flag-driven TGA reader used for textures: types 2 (true colour), 3 (greyscale)
// and 10 (run-length true colour). A failed load leaves a 128x128 checkerboard in the
// bound texture.
#include <GL/glew.h>

#include <cstddef>
#include <string>

#include "image/ImageBuffer.h"

constexpr unsigned TGA_FREE = 0x1;             // free the pixels after the upload
constexpr unsigned TGA_NO_PASS = 0x10;         // tgaLoad does not upload
constexpr unsigned TGA_ALPHA = 0x100;          // greyscale as GL_ALPHA
constexpr unsigned TGA_LUMINANCE = 0x1000;     // greyscale as GL_LUMINANCE (wins over alpha)
constexpr unsigned TGA_NO_MIPMAPS = 0x10000;   // level 0 only
constexpr unsigned TGA_LOW_QUALITY = 0x100000; // 4-bit internal formats
constexpr unsigned TGA_COMPRESS = 0x1000000;   // compressed internal formats

struct tgaHeader_t {
    GLubyte idLength;
    GLubyte colorMapType;
    GLubyte type;
    GLshort colorMapIndex;
    GLshort colorMapLength;
    GLubyte colorMapSize;
    GLshort xOrigin;
    GLshort yOrigin;
    GLshort width;
    GLshort height;
    GLubyte bpp;
    GLubyte attrib;
    int components;
    int bytes;
    GLenum tgaColourType;
};

struct image_t {
    tgaHeader_t info;
    GLubyte* data;
};

extern bool tgaCompressedTexSupport;

void tgaLoad(char* file, image_t* image, unsigned flags);
GLuint tgaLoadAndBind(char* file, unsigned flags);
void tgaSetTexParams(unsigned min, unsigned mag, unsigned env);
// Reads the file; a missing, corrupt or pixel-less file prints its message, leaves the
// checkerboard in the bound texture and returns 0.
int tgaLoadTheImage(char* file, image_t* image, unsigned flags);

// Decodes a TGA file held in memory into `image` (no GL calls, no fallback). Returns 1,
// or 0 with the reader's message in `error`. Types the reader neither accepts nor
// rejects succeed with no pixels.
int tgaDecodeImage(const unsigned char* data, size_t size, image_t* image, unsigned flags,
                   std::string* error);
// The same decode into the engine's common image record (row 0 = first stored row).
bool tgaDecode(const unsigned char* data, size_t size, unsigned flags, sDecodedImage& out,
               std::string& error);

bool tgaGetImageHeader(CByteReader& in, tgaHeader_t* info);
void tgaUploadImage(image_t* image, unsigned flags);
GLubyte* tgaAllocMem(tgaHeader_t info);
void tgaFree(image_t* image);
void tgaChecker(image_t* image);
void tgaError(const char* message, const char* file, image_t* image);
