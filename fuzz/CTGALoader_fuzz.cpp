#include <string>

#include "image/CTGALoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CTGALoader loader;
    std::string error;
    loader.DecodeTGA(data, size, "fuzz.tga", error);
    return 0;
}
