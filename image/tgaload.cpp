#include "image/tgaload.h"

#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/ImageUpload.h"

bool tgaCompressedTexSupport = true;

namespace {

constexpr int kHeaderSize = 18;
constexpr int kCheckerSize = 128;

bool ReadShort(CByteReader& in, GLshort& v) {
    uint16_t raw;
    if (!in.ReadU16LE(raw)) return false;
    v = GLshort(raw);
    return true;
}

// Chooses the pixel format by image type; "" when the type is accepted or ignored.
const char* ChooseFormat(tgaHeader_t& info, unsigned flags) {
    switch (info.type) {
    case 1:
    case 9:
        return "8-bit colour no longer supported";
    case 2:
    case 10:
        if (info.bpp == 24)
            info.tgaColourType = GL_RGB;
        else if (info.bpp == 32)
            info.tgaColourType = GL_RGBA;
        else
            return info.type == 2 ? "Unsupported RGB format" : "Unsupported compressed RGB format";
        return "";
    case 3:
        if (flags & TGA_LUMINANCE)
            info.tgaColourType = GL_LUMINANCE;
        else if (flags & TGA_ALPHA)
            info.tgaColourType = GL_ALPHA;
        else
            return "Must be LUMINANCE or ALPHA greyscale";
        // Only one byte per pixel fits the greyscale upload formats.
        if (info.bpp != 8) return "Unsupported greyscale format";
        return "";
    default:
        return "";
    }
}

bool Fail(std::string& error, const char* message) {
    error = message;
    return false;
}

bool DecodePixels(CByteReader& in, const tgaHeader_t& info, sDecodedImage& out,
                  std::string& error) {
    const size_t pixelCount = size_t(info.width) * size_t(info.height);
    const size_t bytes = pixelCount * size_t(info.components);
    if (info.type == 10) {
        // Each packet holds at most 128 pixels in 1 + components bytes.
        if ((pixelCount + 127) / 128 * (1 + size_t(info.components)) > in.Remaining())
            return Fail(error, "Truncated image data");
    } else if (bytes > in.Remaining()) {
        return Fail(error, "Truncated image data");
    }
    if (!AllocateImage(out, info.width, info.height, info.components, error)) return false;
    if (info.type == 10) {
        if (DecodeTgaRle(in, out.pixels.get(), pixelCount, info.components,
                         eRleOverrun::Truncate) != eRleResult::Ok)
            return Fail(error, "Truncated image data");
    } else {
        CopySwapRedBlue(out.pixels.get(), in.Take(bytes), pixelCount, info.components);
    }
    return true;
}

bool DecodeInto(const unsigned char* data, size_t size, unsigned flags, tgaHeader_t& info,
                sDecodedImage& out, std::string& error) {
    std::memset(&info, 0, sizeof info);
    CByteReader in(data, size);
    if (!tgaGetImageHeader(in, &info)) return Fail(error, "Truncated header");
    const char* formatError = ChooseFormat(info, flags);
    if (*formatError) return Fail(error, formatError);
    if (info.tgaColourType == 0) return true;
    if (!CheckImageSize(info.width, info.height, error)) return false;
    info.bytes = info.components * info.width * info.height;
    // Pixels follow the image ID field and any colour map the file carries.
    const size_t mapBytes = info.colorMapType == 1 ? size_t(uint16_t(info.colorMapLength)) *
                                                         ((size_t(info.colorMapSize) + 7) / 8)
                                                   : 0;
    if (!in.Skip(info.idLength) || !in.Skip(mapBytes)) return Fail(error, "Truncated image data");
    out.bottomUp = false; // rows stay in stored order: the origin bit is not used
    return DecodePixels(in, info, out, error);
}

void UploadChecker() {
    std::vector<GLubyte> pattern(kCheckerSize * kCheckerSize);
    for (int r = 0; r < kCheckerSize; ++r)
        for (int c = 0; c < kCheckerSize; ++c)
            pattern[size_t(r * kCheckerSize + c)] = ((r ^ c) & 16) ? 0 : 255;
    CScopedUnpackAlignment alignment;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE4, kCheckerSize, kCheckerSize, 0, GL_LUMINANCE,
                 GL_UNSIGNED_BYTE, pattern.data());
}

GLenum InternalFormat(GLenum format, unsigned flags) {
    GLenum internal = format;
    if (flags & TGA_LOW_QUALITY) {
        switch (format) {
        case GL_RGB:
            internal = GL_RGB4;
            break;
        case GL_RGBA:
            internal = GL_RGBA4;
            break;
        case GL_LUMINANCE:
            internal = GL_LUMINANCE4;
            break;
        case GL_ALPHA:
            internal = GL_ALPHA4;
            break;
        }
    }
    if ((flags & TGA_COMPRESS) && tgaCompressedTexSupport) {
        switch (format) {
        case GL_RGB:
            internal = GL_COMPRESSED_RGB_ARB;
            break;
        case GL_RGBA:
            internal = GL_COMPRESSED_RGBA_ARB;
            break;
        case GL_LUMINANCE:
            internal = GL_COMPRESSED_LUMINANCE_ARB;
            break;
        case GL_ALPHA:
            internal = GL_COMPRESSED_ALPHA_ARB;
            break;
        }
    }
    return internal;
}

} // namespace

bool tgaGetImageHeader(CByteReader& in, tgaHeader_t* info) {
    if (in.Remaining() < kHeaderSize) return false;
    in.ReadU8(info->idLength);
    in.ReadU8(info->colorMapType);
    in.ReadU8(info->type);
    ReadShort(in, info->colorMapIndex);
    ReadShort(in, info->colorMapLength);
    in.ReadU8(info->colorMapSize);
    ReadShort(in, info->xOrigin);
    ReadShort(in, info->yOrigin);
    ReadShort(in, info->width);
    ReadShort(in, info->height);
    in.ReadU8(info->bpp);
    in.ReadU8(info->attrib);
    info->components = info->bpp / 8;
    // Computed in 64 bits: the 16-bit fields can be negative in a corrupt file.
    long long bytes = (long long)info->components * info->width * info->height;
    info->bytes = bytes > 0 && bytes <= 0x7fffffff ? int(bytes) : 0;
    return true;
}

bool tgaDecode(const unsigned char* data, size_t size, unsigned flags, sDecodedImage& out,
               std::string& error) {
    tgaHeader_t info;
    if (!DecodeInto(data, size, flags, info, out, error)) return false;
    if (!out.pixels) return Fail(error, "Image type has no pixels to load");
    return true;
}

int tgaDecodeImage(const unsigned char* data, size_t size, image_t* image, unsigned flags,
                   std::string* error) {
    sDecodedImage decoded;
    std::string message;
    image->data = nullptr;
    if (!DecodeInto(data, size, flags, image->info, decoded, message)) {
        if (error) *error = message;
        return 0;
    }
    image->data = decoded.pixels.release();
    return 1;
}

GLubyte* tgaAllocMem(tgaHeader_t info) {
    if (info.bytes <= 0) return nullptr;
    return static_cast<GLubyte*>(std::calloc(size_t(info.bytes), 1));
}

void tgaFree(image_t* image) {
    if (image->data) std::free(image->data);
    image->data = nullptr;
}

void tgaChecker(image_t* image) {
    std::memset(&image->info, 0, sizeof image->info);
    image->info.type = 3;
    image->info.bpp = 8;
    image->info.components = 1;
    image->info.width = kCheckerSize;
    image->info.height = kCheckerSize;
    image->info.bytes = kCheckerSize * kCheckerSize;
    image->info.tgaColourType = GL_LUMINANCE;
    image->data = nullptr;
    UploadChecker();
}

void tgaError(const char* message, const char* file, image_t* image) {
    std::printf("%s - %s\n", message, file);
    tgaFree(image);
    tgaChecker(image);
}

int tgaLoadTheImage(char* file, image_t* image, unsigned flags) {
    image->data = nullptr;
    std::vector<uint8_t> bytes;
    if (!ReadFileToMemory(file, bytes)) {
        std::memset(&image->info, 0, sizeof image->info);
        tgaError("File not found", file, image);
        return 0;
    }
    std::string error;
    if (!tgaDecodeImage(bytes.data(), bytes.size(), image, flags, &error)) {
        tgaError(error.c_str(), file, image);
        return 0;
    }
    // An image type this reader does not know gives no pixels: a file that cannot be a
    // texture, reported like any other failure instead of leaving an empty texture.
    if (!image->data) {
        tgaError("Image type has no pixels to load", file, image);
        return 0;
    }
    return 1;
}

void tgaUploadImage(image_t* image, unsigned flags) {
    if (!image->data) return;
    const tgaHeader_t& info = image->info;
    const GLenum internal = InternalFormat(info.tgaColourType, flags);
    CScopedUnpackAlignment alignment;
    if (flags & TGA_NO_MIPMAPS)
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(internal), info.width, info.height, 0,
                     info.tgaColourType, GL_UNSIGNED_BYTE, image->data);
    else
        gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(internal), info.width, info.height,
                          info.tgaColourType, GL_UNSIGNED_BYTE, image->data);
}

void tgaLoad(char* file, image_t* image, unsigned flags) {
    if (!tgaLoadTheImage(file, image, flags)) return;
    if (!(flags & TGA_NO_PASS)) tgaUploadImage(image, flags);
    if (flags & TGA_FREE) tgaFree(image);
}

GLuint tgaLoadAndBind(char* file, unsigned flags) {
    // The name is bound before loading so a failed load's checkerboard lands in it.
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    image_t image;
    if (tgaLoadTheImage(file, &image, flags)) tgaUploadImage(&image, flags);
    tgaFree(&image);
    return name;
}

void tgaSetTexParams(unsigned min, unsigned mag, unsigned env) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GLint(min));
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GLint(mag));
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, float(env));
}
