// The screenshot writers: what they write reads back pixel for pixel through the image
// library, and bad requests write nothing.
#include <gtest/gtest.h>

#include "core/Screenshot.h"
#include "support/test_paths.h"

#include <SDL.h>
#include <SDL_image.h>

#include <cstdio>

namespace {

sRGBImage Gradient(int width, int height) {
    sRGBImage image;
    image.width = width;
    image.height = height;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            image.pixels.push_back((unsigned char)(x * 7 + y));
            image.pixels.push_back((unsigned char)(y * 13));
            image.pixels.push_back((unsigned char)(x ^ y));
        }
    return image;
}

// Every pixel of the file equals the image; the top row of the file is row 0.
void ExpectFileMatches(const std::string& file, const sRGBImage& image) {
    SDL_Surface* loaded = IMG_Load(file.c_str());
    ASSERT_NE(loaded, nullptr) << IMG_GetError();
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, loaded->w, loaded->h, 24, 0x0000ff,
                                            0x00ff00, 0xff0000, 0);
    ASSERT_NE(rgb, nullptr);
    SDL_BlitSurface(loaded, nullptr, rgb, nullptr);
    EXPECT_EQ(rgb->w, image.width);
    EXPECT_EQ(rgb->h, image.height);
    int mismatches = 0;
    for (int y = 0; y < image.height && y < rgb->h; ++y)
        for (int x = 0; x < image.width && x < rgb->w; ++x)
            for (int c = 0; c < 3; ++c) {
                const unsigned char got =
                    static_cast<unsigned char*>(rgb->pixels)[y * rgb->pitch + x * 3 + c];
                mismatches += got != image.pixels[(size_t(y) * image.width + x) * 3 + c];
            }
    EXPECT_EQ(mismatches, 0) << file;
    SDL_FreeSurface(rgb);
    SDL_FreeSurface(loaded);
}

bool Exists(const std::string& file) {
    FILE* f = std::fopen(file.c_str(), "rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

} // namespace

TEST(Screenshot, PngAndBmpRoundTripExactlyIncludingOddWidths) {
    const std::string dir = zarvo_test::MakeTempDir("screenshot");
    for (const auto& size : {std::pair<int, int>{1, 1}, {37, 5}, {64, 48}}) {
        const sRGBImage image = Gradient(size.first, size.second);
        ASSERT_TRUE(SaveImage(dir + "/a.png", image));
        ExpectFileMatches(dir + "/a.png", image);
        ASSERT_TRUE(SaveImage(dir + "/a.BMP", image));
        ExpectFileMatches(dir + "/a.BMP", image);
    }
    std::string bytes;
    ASSERT_TRUE(zarvo_test::ReadFileBytes(dir + "/a.png", bytes));
    EXPECT_EQ(bytes.substr(1, 3), "PNG") << "a .png name gets PNG content";
}

TEST(Screenshot, InconsistentImagesAndUnwritablePathsWriteNothing) {
    const std::string dir = zarvo_test::MakeTempDir("screenshot-bad");
    sRGBImage empty;
    EXPECT_FALSE(SaveImage(dir + "/empty.png", empty));
    sRGBImage shortPixels = Gradient(8, 8);
    shortPixels.pixels.pop_back();
    EXPECT_FALSE(SaveImage(dir + "/short.png", shortPixels));
    EXPECT_FALSE(SaveImage(dir + "/short.bmp", shortPixels));
    sRGBImage negative = Gradient(2, 2);
    negative.width = -2;
    negative.height = -2;
    EXPECT_FALSE(SaveImage(dir + "/negative.png", negative));
    EXPECT_FALSE(Exists(dir + "/empty.png") || Exists(dir + "/short.png") ||
                 Exists(dir + "/short.bmp") || Exists(dir + "/negative.png"));
    EXPECT_FALSE(SaveImage(dir + "/no/such/dir/x.png", Gradient(4, 4)));
}
