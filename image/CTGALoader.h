#pragma once
// The TGA reader of the bitmap fonts: types 2 and 10, 24 or 32 bits, one level.
#include <GL/glew.h>

#include <cstddef>
#include <cstdlib>
#include <string>

#include "image/ImageBuffer.h"

class CTGALoader {
public:
    CTGALoader() {}
    ~CTGALoader() { std::free(imageData); }
    CTGALoader(const CTGALoader&) = delete;
    CTGALoader& operator=(const CTGALoader&) = delete;

    bool LoadTGA(char* file);
    // Reads the file in memory into the fields below without touching GL; the message
    // of a failure (with the file name) goes to `error`.
    bool DecodeTGA(const unsigned char* data, size_t size, const char* file, std::string& error);
    bool LoadUncompressedTGA(const char* file, CByteReader& in, std::string& error);
    bool LoadCompressedTGA(const char* file, CByteReader& in, std::string& error);

    GLubyte* imageData = nullptr;
    GLuint texID = 0;
    GLuint bpp = 0;
    GLuint width = 0;
    GLuint height = 0;
    GLuint type = 0;
    GLubyte header[12] = {};
    GLubyte infoHeader[6] = {};
    GLuint bytesPerPixel = 0;
    GLuint imageSize = 0;
    GLuint tgaHeight = 0;
    GLuint tgaWidth = 0;
    GLuint tgaBpp = 0;

    // The pixel rows as a decoded image (row 0 = first stored row); moves the pixels out.
    bool TakeImage(sDecodedImage& out);

private:
    bool ReadInfoHeader(const char* file, CByteReader& in, std::string& error);
};
