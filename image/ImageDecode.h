#pragma once
// Decodes an image file with the reader the engine's texture creation would pick for
// its name, without a GL context: what a texture of that file would hold.
#include <string>

#include "image/ImageBuffer.h"

// TGA goes through tgaload with no flags, BMP through the engine's own reader, DDS is
// decompressed from its level 0, anything else through SDL_image. On failure `error`
// holds the reader's message.
bool DecodeImageFile(const char* path, sDecodedImage& out, std::string& error,
                     eImageReader* reader = nullptr);

// Writes a decoded image as a PAM file, top row of the picture first.
bool WriteImagePam(const char* path, const sDecodedImage& image, std::string& error);
