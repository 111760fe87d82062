#include "image/ImageDecode.h"

#include "core/DataPath.h"

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "image/bmp.h"
#include "image/dds.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"

bool DecodeWithImageLibrary(const char* path, sDecodedImage& out, std::string& error) {
    SDL_Surface* surface = IMG_Load(ResolveDataPath(path).c_str());
    if (!surface) {
        error = std::string("Failed to load the image: ") + path + ", Error: " + SDL_GetError();
        return false;
    }
    const bool alpha = surface->format->Amask != 0;
    SDL_PixelFormat format{};
    format.BitsPerPixel = alpha ? 32 : 24;
    format.BytesPerPixel = alpha ? 4 : 3;
    // Byte order red, green, blue[, alpha] in memory.
    const bool little = SDL_BYTEORDER == SDL_LIL_ENDIAN;
    format.Rmask = little ? 0x000000FF : (alpha ? 0xFF000000 : 0xFF0000);
    format.Gmask = little ? 0x0000FF00 : (alpha ? 0x00FF0000 : 0x00FF00);
    format.Bmask = little ? 0x00FF0000 : (alpha ? 0x0000FF00 : 0x0000FF);
    format.Amask = alpha ? (little ? 0xFF000000 : 0x000000FF) : 0;
    format.Rshift = little ? 0 : (alpha ? 24 : 16);
    format.Gshift = little ? 8 : (alpha ? 16 : 8);
    format.Bshift = little ? 16 : (alpha ? 8 : 0);
    format.Ashift = alpha ? (little ? 24 : 0) : 0;
    format.alpha = 255;
    SDL_Surface* converted = SDL_ConvertSurface(surface, &format, SDL_SWSURFACE);
    SDL_FreeSurface(surface);
    if (!converted || !AllocateImage(out, converted->w, converted->h, alpha ? 4 : 3, error)) {
        if (converted)
            SDL_FreeSurface(converted);
        else
            error = std::string("cannot convert the image: ") + SDL_GetError();
        return false;
    }
    SDL_LockSurface(converted);
    for (int y = 0; y < converted->h; ++y)
        std::memcpy(out.pixels.get() + size_t(y) * out.RowBytes(),
                    static_cast<uint8_t*>(converted->pixels) + size_t(y) * size_t(converted->pitch),
                    out.RowBytes());
    SDL_UnlockSurface(converted);
    SDL_FreeSurface(converted);
    out.bottomUp = false;
    return true;
}

namespace {

std::string TrimNewline(std::string s) {
    while (!s.empty() && s.back() == '\n')
        s.pop_back();
    return s;
}

// Entropy-coded data never holds 0xFF 0xD9, so an end-of-image marker after the last
// start of scan tells that the file is whole.
bool EndsAfterItsLastScan(const std::vector<uint8_t>& bytes) {
    size_t lastScan = 0;
    for (size_t i = 0; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xDA) lastScan = i;
    for (size_t i = lastScan; i + 1 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xD9) return lastScan > 0;
    return false;
}

} // namespace

bool DecodeJpegFile(const char* path, sDecodedImage& out, std::string& error,
                    eImageReader* reader) {
    if (reader) *reader = eImageReader::JPEG;
    std::vector<uint8_t> bytes;
    if (!ReadFileToMemory(path, bytes)) {
        error = std::string("cannot open ") + path;
        return false;
    }
    bool otherKind = false;
    if (DecodeJPEG(bytes.data(), bytes.size(), out, error, eJpegKernels::Fastest, &otherKind))
        return true;
    if (!otherKind) {
        error = std::string(path) + ": " + error;
        return false;
    }
    std::string libraryError;
    if (reader) *reader = eImageReader::ImageLibrary;
    if (DecodeWithImageLibrary(path, out, libraryError)) {
        // The library fills a file cut short with grey without a word: say so here.
        if (!EndsAfterItsLastScan(bytes)) std::fprintf(stderr, "%s: premature end of data\n", path);
        return true;
    }
    error = std::string(path) + ": " + error + ", and SDL_image cannot read it either (" +
            SDL_GetError() + ")";
    return false;
}

bool DecodeImageFile(const char* path, sDecodedImage& out, std::string& error,
                     eImageReader* reader) {
    const eImageReader chosen = ChooseImageReader(path);
    if (reader) *reader = chosen;
    if (chosen == eImageReader::ImageLibrary) return DecodeWithImageLibrary(path, out, error);
    if (chosen == eImageReader::JPEG) return DecodeJpegFile(path, out, error, reader);
    std::vector<uint8_t> bytes;
    if (!ReadFileToMemory(path, bytes)) {
        error = std::string("error: couldn't open \"") + path + "\"!";
        return false;
    }
    bool ok = false;
    switch (chosen) {
    case eImageReader::BMP:
        ok = DecodeBMP(bytes.data(), bytes.size(), path, out, error);
        break;
    case eImageReader::PCX:
        ok = DecodePCX(bytes.data(), bytes.size(), out, error) == ePcxResult::Ok;
        break;
    case eImageReader::DDS: {
        sDdsImage dds;
        ok = DecodeDDS(bytes.data(), bytes.size(), path, dds, error) &&
             DecompressDdsLevel0(dds, out, error);
        break;
    }
    case eImageReader::JPEG: // read above
        break;
    case eImageReader::TGA:
        ok = tgaDecode(bytes.data(), bytes.size(), 0, out, error);
        if (!ok) error += std::string(" - ") + path;
        break;
    case eImageReader::ImageLibrary:
        break;
    }
    error = TrimNewline(error);
    return ok;
}

bool WriteImagePam(const char* path, const sDecodedImage& image, std::string& error) {
    FILE* f = std::fopen(path, "wb");
    if (!f) {
        error = std::string("cannot write ") + path;
        return false;
    }
    const char* tuple = image.components == 1   ? "GRAYSCALE"
                        : image.components == 2 ? "GRAYSCALE_ALPHA"
                        : image.components == 3 ? "RGB"
                                                : "RGB_ALPHA";
    std::fprintf(f, "P7\nWIDTH %d\nHEIGHT %d\nDEPTH %d\nMAXVAL 255\nTUPLTYPE %s\nENDHDR\n",
                 image.width, image.height, image.components, tuple);
    const size_t rowBytes = image.RowBytes();
    bool ok = true;
    for (int y = 0; y < image.height && ok; ++y) {
        const int row = image.bottomUp ? image.height - 1 - y : y;
        ok = std::fwrite(image.pixels.get() + size_t(row) * rowBytes, 1, rowBytes, f) == rowBytes;
    }
    ok = std::fclose(f) == 0 && ok;
    if (!ok) error = std::string("cannot write ") + path;
    return ok;
}
