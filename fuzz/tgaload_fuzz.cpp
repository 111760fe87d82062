#include "image/tgaload.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (unsigned flags : {0u, TGA_LUMINANCE}) {
        image_t image;
        if (tgaDecodeImage(data, size, &image, flags, nullptr)) tgaFree(&image);
    }
    return 0;
}
