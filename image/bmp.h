#pragma once
// Windows and OS/2 BMP reader: 1, 4, 8, 24 and 32 bits, RLE4 and RLE8.
#include <GL/glew.h>

#include <cstddef>
#include <string>

#include "image/ImageUpload.h"

// Decodes a BMP file held in memory into RGB, bottom row first (as BMP stores it;
// top-down files are turned upright). `name` appears in the messages.
bool DecodeBMP(const unsigned char* data, size_t size, const char* name, sDecodedImage& out,
               std::string& error);

gl_texture_t* ReadBMPFile(const char* file);
GLuint loadBMPTexture(const char* file, bool anisotropic);
