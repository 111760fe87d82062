#include "image/dds.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sDdsImage dds;
    sDecodedImage image;
    std::string error;
    if (DecodeDDS(data, size, "fuzz.dds", dds, error)) DecompressDdsLevel0(dds, image, error);
    return 0;
}
