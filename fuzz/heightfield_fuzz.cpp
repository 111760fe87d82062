// Feeds arbitrary bytes to the height-field readers: as an image file (any format the
// image library takes, at any depth and pitch) and as a raw grid whose sides come from
// the first two bytes. Either the heights load within the grid or the read is refused.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <SDL.h>
#include <SDL_image.h>

#include "render3d/CHeightfield.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static CHeightField* field = new CHeightField(); // the grid is large: one per process
    std::string error;
    if (SDL_RWops* rw = SDL_RWFromConstMem(data, int(size))) {
        if (SDL_Surface* image = IMG_Load_RW(rw, 1)) {
            field->ReadHeights(image, 1 + (size % 4), error);
            SDL_FreeSurface(image);
        }
    }
    if (size >= 2) {
        const std::vector<unsigned char> bytes(data + 2, data + size);
        field->ReadRawHeights(bytes, data[0] * 5, data[1] * 5, 1, error);
    }
    return 0;
}
