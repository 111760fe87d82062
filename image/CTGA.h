#pragma once
// A minimal TGA reader: uncompressed true colour (type 2), 24 or 32 bits; silent on
// failure.
#include <GL/glew.h>

#include <cstddef>
#include <cstdlib>

#include "image/ImageBuffer.h"

class CTGA {
public:
    CTGA() {}
    ~CTGA() { std::free(imageData); }
    CTGA(const CTGA&) = delete;
    CTGA& operator=(const CTGA&) = delete;

    bool LoadTGA(char* file);
    // Reads the file in memory into the fields below without touching GL.
    bool Decode(const unsigned char* data, size_t size);
    // The pixels as a decoded image (row 0 = first stored row); moves them out.
    bool TakeImage(sDecodedImage& out);

    GLuint bpp = 0;
    GLuint width = 0;
    GLuint height = 0;
    GLuint texID = 0;
    GLubyte* imageData = nullptr;
};
