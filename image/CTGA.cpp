#include "image/CTGA.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/ImageUpload.h"

bool CTGA::Decode(const unsigned char* data, size_t size) {
    static const GLubyte kUncompressedHeader[11] = {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::free(imageData);
    imageData = nullptr;
    CByteReader in(data, size);
    uint8_t idLength;
    const uint8_t* header;
    const uint8_t* info;
    if (!in.ReadU8(idLength) || !(header = in.Take(11)) ||
        std::memcmp(header, kUncompressedHeader, 11) != 0 || !(info = in.Take(6)))
        return false;
    if (!ParseTgaTrueColourInfo(info, width, height, bpp) || !in.Skip(idLength)) return false;
    const size_t pixelCount = size_t(width) * height;
    const size_t bytes = pixelCount * (bpp / 8);
    const uint8_t* src = in.Take(bytes);
    if (!src) return false;
    imageData = static_cast<GLubyte*>(std::malloc(bytes));
    if (!imageData) return false;
    CopySwapRedBlue(imageData, src, pixelCount, int(bpp / 8));
    return true;
}

bool CTGA::TakeImage(sDecodedImage& out) {
    return AdoptPixels(out, imageData, width, height, bpp / 8);
}

bool CTGA::LoadTGA(char* file) {
    std::vector<uint8_t> bytes;
    if (!ReadFileToMemory(file, bytes) || !Decode(bytes.data(), bytes.size())) return false;
    const GLenum format = bpp == 24 ? GL_RGB : GL_RGBA;
    texID = UploadLinearTexture(format, GLsizei(width), GLsizei(height), imageData);
    return true;
}
