#pragma once
// Saving a rendered frame to a file, for unattended runs and for people without a
// screen to look at.
#include <string>
#include <vector>

// An 8-bit RGB image, top row first, rows packed without padding.
struct sRGBImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> pixels;
};

// Reads width x height pixels of the current read buffer from its bottom-left corner.
sRGBImage ReadBackBuffer(int width, int height);

// PNG, or BMP when the name ends in ".bmp" (any case). False when nothing was written.
bool SaveImage(const std::string& file, const sRGBImage& image);
bool SavePNG(const std::string& file, const sRGBImage& image);
bool SaveBMP(const std::string& file, const sRGBImage& image);

// Reads the back buffer of the current video surface and saves it.
bool SaveBackBuffer(const std::string& file, int width, int height);
