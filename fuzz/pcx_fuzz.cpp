#include "image/pcx.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sDecodedImage image;
    std::string error;
    DecodePCX(data, size, image, error);
    return 0;
}
