#include "image/CTGALoader.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/ImageUpload.h"

namespace {

const GLubyte kUncompressedHeader[11] = {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const GLubyte kCompressedHeader[11] = {0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};

bool Fail(std::string& error, const char* message, const char* file) {
    error = std::string(message) + file;
    return false;
}

// True for a complete stream; otherwise the message of the read or packet that failed.
bool RleSucceeded(eRleResult result, const char* file, std::string& error) {
    switch (result) {
    case eRleResult::Ok:
        return true;
    case eRleResult::TruncatedHeader:
        return Fail(error, "Could not read RLE header: ", file);
    case eRleResult::TruncatedRaw:
        return Fail(error, "Could not read image data: ", file);
    case eRleResult::TruncatedRun:
        return Fail(error, "Could not read from file: ", file);
    case eRleResult::Overrun:
        return Fail(error, "Too many pixels read: ", file);
    }
    return Fail(error, "Could not read image data: ", file);
}

} // namespace

bool CTGALoader::ReadInfoHeader(const char* file, CByteReader& in, std::string& error) {
    if (!in.ReadBytes(infoHeader, sizeof infoHeader))
        return Fail(error, "Could not read info header: ", file);
    const bool accepted = ParseTgaTrueColourInfo(infoHeader, width, height, bpp);
    tgaWidth = width;
    tgaHeight = height;
    tgaBpp = bpp;
    if (!accepted) return Fail(error, "Invalid texture information: ", file);
    // The image ID field sits between this header and the pixels.
    if (!in.Skip(header[0])) return Fail(error, "Could not read image data: ", file);
    type = bpp == 24 ? GL_RGB : GL_RGBA;
    bytesPerPixel = bpp / 8;
    imageSize = width * height * bytesPerPixel;
    return true;
}

bool CTGALoader::LoadUncompressedTGA(const char* file, CByteReader& in, std::string& error) {
    if (!ReadInfoHeader(file, in, error)) return false;
    // Checked before allocating: the file must hold every pixel it declares.
    if (imageSize > in.Remaining()) return Fail(error, "Could not read image data: ", file);
    imageData = static_cast<GLubyte*>(std::malloc(imageSize));
    if (!imageData) return Fail(error, "Could not allocate memory for image: ", file);
    CopySwapRedBlue(imageData, in.Take(imageSize), size_t(width) * height, int(bytesPerPixel));
    return true;
}

bool CTGALoader::LoadCompressedTGA(const char* file, CByteReader& in, std::string& error) {
    if (!ReadInfoHeader(file, in, error)) return false;
    const size_t pixelCount = size_t(width) * height;
    // A file too short for the pixels it declares is walked without a buffer first, so
    // an absurd header never gets its allocation and the failure keeps its own message.
    if ((pixelCount + 127) / 128 * (1 + bytesPerPixel) > in.Remaining()) {
        CByteReader dryRun = in;
        const eRleResult result =
            DecodeTgaRle(dryRun, nullptr, pixelCount, int(bytesPerPixel), eRleOverrun::Refuse);
        // The stream cannot hold every pixel, so the walk always ends in a failure.
        RleSucceeded(result == eRleResult::Ok ? eRleResult::TruncatedHeader : result, file, error);
        return false;
    }
    imageData = static_cast<GLubyte*>(std::malloc(imageSize));
    if (!imageData) return Fail(error, "Could not allocate memory for image: ", file);
    const eRleResult result =
        DecodeTgaRle(in, imageData, pixelCount, int(bytesPerPixel), eRleOverrun::Refuse);
    if (RleSucceeded(result, file, error)) return true;
    std::free(imageData);
    imageData = nullptr;
    return false;
}

bool CTGALoader::DecodeTGA(const unsigned char* data, size_t size, const char* file,
                           std::string& error) {
    std::free(imageData);
    imageData = nullptr;
    CByteReader in(data, size);
    GLubyte idLength;
    if (!in.ReadU8(idLength)) return Fail(error, "Failed to read TGAcomment!", "");
    if (!in.ReadBytes(header + 1, 11)) return Fail(error, "Could not read file header: ", file);
    header[0] = idLength;
    if (std::memcmp(header + 1, kUncompressedHeader, 11) == 0)
        return LoadUncompressedTGA(file, in, error);
    if (std::memcmp(header + 1, kCompressedHeader, 11) == 0)
        return LoadCompressedTGA(file, in, error);
    return Fail(error, "TGA file be type 2 or type 10, Invalid Image: ", file);
}

bool CTGALoader::TakeImage(sDecodedImage& out) {
    return AdoptPixels(out, imageData, width, height, bytesPerPixel);
}

bool CTGALoader::LoadTGA(char* file) {
    std::vector<uint8_t> bytes;
    if (!ReadFileToMemory(file, bytes)) {
        std::printf("Could not open texture file: %s\n", file);
        return false;
    }
    std::string error;
    if (!DecodeTGA(bytes.data(), bytes.size(), file, error)) {
        std::printf("%s\n", error.c_str());
        return false;
    }
    texID = UploadLinearTexture(type, GLsizei(width), GLsizei(height), imageData);
    return true;
}
