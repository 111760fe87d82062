#include "image/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sDecodedImage image;
    std::string error;
    DecodeBMP(data, size, "fuzz.bmp", image, error);
    return 0;
}
