#pragma once
// Reader for the P6 (PPM) and P7 (PAM) reference decodes of the corpus.
#include <cstdint>
#include <string>
#include <vector>

namespace zarvo_test {

struct RefImage {
    int width = 0;
    int height = 0;
    int channels = 0;            // 3 for P6 / RGB, 4 for RGB_ALPHA, 1 for GRAYSCALE
    std::vector<uint8_t> pixels; // top row first
};

bool ReadNetpbm(const std::string& path, RefImage& out, std::string* error = nullptr);

} // namespace zarvo_test
