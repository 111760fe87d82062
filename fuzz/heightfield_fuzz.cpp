// Feeds arbitrary bytes to the height-field readers: as the pixels of a surface of any
// depth and size the image library can hand over (1 to 32 bits, padded rows), and as a raw
// grid whose sides come from the first bytes. Either the heights load within the grid or
// the read is refused; nothing is read outside the surface or the bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <SDL.h>

#include "render3d/CHeightfield.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CHeightField* field = new CHeightField(); // the grid is large: one per process
    if (size < 4) return 0;
    std::string error;
    static const int kDepths[] = {1, 2, 4, 8, 15, 16, 24, 32};
    const int bits = kDepths[data[0] % 8];
    const int w = 1 + data[1] % 80, h = 1 + data[2] % 80;
    if (SDL_Surface* image = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, bits, 0, 0, 0, 0)) {
        const size_t bytes = size_t(image->pitch) * size_t(h);
        auto* pixels = static_cast<uint8_t*>(image->pixels);
        for (size_t i = 0; i < bytes; ++i)
            pixels[i] = data[3 + i % (size - 3)];
        field->ReadHeights(image, 1 + data[3] % 4, error);
        SDL_FreeSurface(image);
    }
    const std::vector<unsigned char> raw(data + 3, data + size);
    field->ReadRawHeights(raw, data[1] * 5, data[2] * 5, 1, error);
    return 0;
}
