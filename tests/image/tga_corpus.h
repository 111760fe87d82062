#pragma once
// The TGA corpus files each TGA reader is expected to decode exactly.
#include <string>
#include <vector>

namespace image_test {

inline std::vector<std::string> TrueColourTgaFiles() {
    return {
        "tga/wall_t2_rgb24_bu.tga",   "tga/wall_t2_rgb24_td.tga",    "tga/grad_t2_rgba32_bu.tga",
        "tga/grad_t2_rgba32_td.tga",  "tga/stones_t10_rgb24_bu.tga", "tga/stones_t2_rgb24_bu.tga",
        "tga/grad_t10_rgba32_bu.tga", "tga/grad_t10_rgba32_td.tga",  "tga/wall_t2_rgb24_13x11.tga",
        "tga/wall_t10_rgb24_7x9.tga", "tga/grad_t2_rgba32_5x3.tga"};
}

} // namespace image_test
