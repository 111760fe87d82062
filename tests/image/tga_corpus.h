#pragma once
// What the TGA readers' tests share: the corpus files each reader is expected to decode
// exactly, and a hand-made 18-byte file header.
#include <cstdint>
#include <string>
#include <vector>

namespace image_test {

// type 2 is true colour, 10 run-length true colour; `id` is the ID field's length.
inline std::vector<uint8_t> Header(uint8_t type, uint16_t w, uint16_t h, uint8_t bpp,
                                   uint8_t id = 0) {
    return {id,         0,
            type,       0,
            0,          0,
            0,          0,
            0,          0,
            0,          0,
            uint8_t(w), uint8_t(w >> 8),
            uint8_t(h), uint8_t(h >> 8),
            bpp,        0};
}

inline std::vector<std::string> TrueColourTgaFiles() {
    return {
        "tga/wall_t2_rgb24_bu.tga",   "tga/wall_t2_rgb24_td.tga",    "tga/grad_t2_rgba32_bu.tga",
        "tga/grad_t2_rgba32_td.tga",  "tga/stones_t10_rgb24_bu.tga", "tga/stones_t2_rgb24_bu.tga",
        "tga/grad_t10_rgba32_bu.tga", "tga/grad_t10_rgba32_td.tga",  "tga/wall_t2_rgb24_13x11.tga",
        "tga/wall_t10_rgb24_7x9.tga", "tga/grad_t2_rgba32_5x3.tga"};
}

} // namespace image_test
