#pragma once
// DirectDraw Surface reader: DXT1, DXT3 and DXT5 blocks with their stored mipmaps,
// uploaded as they are.
#include <GL/glew.h>

#include <cstddef>
#include <string>

#include "image/ImageUpload.h"

// The compressed levels of a DDS file held in memory (no GL calls). `levels` counts the
// levels the upload will make; `blocks` points into the caller's data.
struct sDdsImage {
    int width = 0;
    int height = 0;
    GLenum format = 0;
    int components = 0; // 3 for DXT1, 4 otherwise
    int levels = 0;
    const unsigned char* blocks = nullptr;
    size_t blockBytes = 0;
};

bool DecodeDDS(const unsigned char* data, size_t size, const char* name, sDdsImage& out,
               std::string& error);
// Block size in bytes of a DXT format (8 for DXT1, 16 otherwise).
int DdsBlockSize(GLenum format);
size_t DdsLevelSize(int width, int height, GLenum format);
// Decompresses level 0 into RGBA (top row first), for inspection without a GL context.
bool DecompressDdsLevel0(const sDdsImage& dds, sDecodedImage& out, std::string& error);

gl_texture_t* ReadDDSFile(const char* file);
GLuint loadDDSTexture(const char* file);
