#include "core/Screenshot.h"

#include <GL/glew.h>
#include <SDL.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

bool IsValid(const sRGBImage& image) {
    return image.width > 0 && image.height > 0 &&
           image.pixels.size() == size_t(image.width) * size_t(image.height) * 3;
}

bool HasBmpExtension(const std::string& file) {
    return file.size() > 4 && strcasecmp(file.c_str() + file.size() - 4, ".bmp") == 0;
}

} // namespace

sRGBImage ReadBackBuffer(int width, int height) {
    sRGBImage image;
    if (width <= 0 || height <= 0) return image;
    image.width = width;
    image.height = height;
    const size_t row = size_t(width) * 3;
    std::vector<unsigned char> bottomUp(row * size_t(height));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
    // OpenGL rows run bottom to top, image rows top to bottom.
    image.pixels.resize(bottomUp.size());
    for (int y = 0; y < height; ++y)
        std::memcpy(image.pixels.data() + size_t(y) * row,
                    bottomUp.data() + size_t(height - 1 - y) * row, row);
    return image;
}

bool SavePNG(const std::string& file, const sRGBImage& image) {
    if (!IsValid(image)) return false;
    FILE* out = std::fopen(file.c_str(), "wb");
    if (!out) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    volatile bool ok = false;
    // libpng reports errors by longjmp; nothing with a destructor lives in this frame
    // between here and the end of the writing.
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, out);
        png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                     PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                     PNG_FILTER_TYPE_DEFAULT);
        png_set_compression_level(png, 6);
        png_write_info(png, info);
        const size_t row = size_t(image.width) * 3;
        for (int y = 0; y < image.height; ++y)
            png_write_row(png, image.pixels.data() + size_t(y) * row);
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    const bool written = std::fclose(out) == 0 && ok;
    if (!written) std::remove(file.c_str());
    return written;
}

bool SaveBMP(const std::string& file, const sRGBImage& image) {
    if (!IsValid(image)) return false;
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, image.width, image.height, 24,
                                                0x0000ff, 0x00ff00, 0xff0000, 0);
    if (!surface) return false;
    const size_t row = size_t(image.width) * 3;
    SDL_LockSurface(surface);
    for (int y = 0; y < image.height; ++y)
        std::memcpy(static_cast<unsigned char*>(surface->pixels) + size_t(y) * surface->pitch,
                    image.pixels.data() + size_t(y) * row, row);
    SDL_UnlockSurface(surface);
    const bool ok = SDL_SaveBMP(surface, file.c_str()) == 0;
    SDL_FreeSurface(surface);
    return ok;
}

bool SaveImage(const std::string& file, const sRGBImage& image) {
    return HasBmpExtension(file) ? SaveBMP(file, image) : SavePNG(file, image);
}

bool SaveBackBuffer(const std::string& file, int width, int height) {
    glReadBuffer(GL_BACK);
    return SaveImage(file, ReadBackBuffer(width, height));
}
