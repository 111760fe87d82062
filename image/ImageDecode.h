#pragma once
// Decodes an image file with the reader the engine's texture creation would pick for
// its name, without a GL context: what a texture of that file would hold.
#include <string>

#include "image/ImageBuffer.h"

// TGA goes through tgaload with no flags, BMP through the engine's own reader, DDS is
// decompressed from its level 0, JPEG as DecodeJpegFile, anything else through SDL_image. On
// failure `error` holds the reader's message.
bool DecodeImageFile(const char* path, sDecodedImage& out, std::string& error,
                     eImageReader* reader = nullptr);

// A JPEG file through the engine's decoder, or through the image library for the kinds
// the decoder leaves to it (arithmetic-coded, lossless, 12-bit); `reader` tells which
// read it. A file neither reads fails with one message naming both reasons.
bool DecodeJpegFile(const char* path, sDecodedImage& out, std::string& error,
                    eImageReader* reader = nullptr);

// The image library's decode (IMG_Load), as RGB or RGBA bytes, top row first.
bool DecodeWithImageLibrary(const char* path, sDecodedImage& out, std::string& error);

// Writes a decoded image as a PAM file, top row of the picture first.
bool WriteImagePam(const char* path, const sDecodedImage& image, std::string& error);
