#include <cstdlib>
#include <cstring>

#include "image/loadjpeg.h"

// Baseline, sequential multi-scan and progressive files all go through DecodeJPEG; the
// scalar kernels must give the SSE2 path's bytes on whatever decodes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sDecodedImage fast, scalar;
    std::string error;
    const bool ok = DecodeJPEG(data, size, fast, error);
    if (ok != DecodeJPEG(data, size, scalar, error, eJpegKernels::Scalar)) std::abort();
    if (ok && std::memcmp(fast.pixels.get(), scalar.pixels.get(), fast.ByteCount()) != 0)
        std::abort();
    return 0;
}
