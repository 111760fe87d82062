// The screenshot writers: what they write reads back pixel for pixel through the image
// library, and bad requests write nothing.
#include <gtest/gtest.h>

#include "core/Screenshot.h"
#include "support/program_run.h"
#include "support/test_paths.h"

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
    const zarvo_test::ShotImage shot = zarvo_test::LoadShot(file);
    EXPECT_EQ(shot.width, image.width) << file;
    EXPECT_EQ(shot.height, image.height) << file;
    EXPECT_TRUE(shot.rgb == image.pixels) << file;
}

bool Exists(const std::string& file) {
    std::string bytes;
    return zarvo_test::ReadFileBytes(file, bytes);
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
