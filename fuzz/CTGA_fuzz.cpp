#include "image/CTGA.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTGA tga;
    tga.Decode(data, size);
    return 0;
}
