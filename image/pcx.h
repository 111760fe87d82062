#pragma once
// ZSoft PCX reader: 1, 4, 8 and 24 bits, run-length encoded.
#include <GL/glew.h>

#include <cstddef>
#include <string>

#include "image/ImageUpload.h"

enum class ePcxResult { Ok, Failed, NoPalette };

// Decodes a PCX file held in memory into RGB (row 0 = bottom row). NoPalette is an
// 8-bit file without its 256-colour palette, which the loader reports but still
// returns a record for.
ePcxResult DecodePCX(const unsigned char* data, size_t size, sDecodedImage& out,
                     std::string& error);

gl_texture_t* ReadPCXFile(const char* file);
GLuint loadPCXTexture(const char* file, bool anisotropic);
