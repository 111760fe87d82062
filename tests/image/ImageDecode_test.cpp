#include <gtest/gtest.h>

#include "image/ImageDecode.h"
#include "image_compare.h"

using namespace image_test;

// The PAM written of each decode lists the picture's top row first, whatever the reader.
TEST(ImageDecode, PicksTheReaderTextureCreationWouldAndWritesTheTopRowFirst) {
    ZARVO_REQUIRE_CORPUS();
    using R = eImageReader;
    const struct {
        const char* file;
        eImageReader reader;
        const char* reference = nullptr; // the file's own when null
        int tolerance = 0;
    } cases[] = {
        {"bmp/wall_bmp24_topdown.bmp", R::BMP},
        {"pcx/wall_pcx24.pcx", R::PCX},
        {"dds/grad_dxt5_mip.dds", R::DDS},
        {"tga/grad_t10_rgba32_bu.tga", R::TGA},
        {"src/wall96.png", R::ImageLibrary, "bmp/wall_bmp24.bmp"},
        // Kinds outside the engine's JPEG decoder go to SDL_image.
        {"jpeg/stones_arithmetic.jpg", R::ImageLibrary, "jpeg/stones_arithmetic.int.ppm", 1},
        {"jpeg/wall_420_progressive.jpg", R::JPEG, "jpeg/wall_420_progressive.float_nosmooth.ppm",
         4}};
    const std::string pam = zarvo_test::MakeTempDir("decode") + "/out.pam";
    for (const auto& c : cases) {
        sDecodedImage image, topFirst;
        std::string error;
        eImageReader reader;
        ASSERT_TRUE(DecodeImageFile(CorpusImage(c.file).c_str(), image, error, &reader)) << error;
        EXPECT_EQ(reader, c.reader) << c.file;
        ASSERT_TRUE(WriteImagePam(pam.c_str(), image, error));
        zarvo_test::RefImage written;
        ASSERT_TRUE(zarvo_test::ReadNetpbm(pam, written));
        ASSERT_TRUE(
            AllocateImage(topFirst, written.width, written.height, written.channels, error));
        std::copy(written.pixels.begin(), written.pixels.end(), topFirst.pixels.get());
        EXPECT_TRUE(MatchesReference(topFirst, c.reference ? c.reference : c.file, c.tolerance));
    }
}

TEST(ImageDecode, FailuresCarryTheReadersMessage) {
    ZARVO_REQUIRE_CORPUS();
    sDecodedImage image;
    std::string error;
    const std::string grey = CorpusImage("tga/earth_t3_grey8_bu.tga");
    EXPECT_FALSE(DecodeImageFile(grey.c_str(), image, error));
    EXPECT_EQ(error, "Must be LUMINANCE or ALPHA greyscale - " + grey);
    EXPECT_FALSE(DecodeImageFile("missing.pcx", image, error));
    EXPECT_EQ(error, "error: couldn't open \"missing.pcx\"!");
    EXPECT_FALSE(DecodeImageFile("missing.png", image, error));
    EXPECT_EQ(error.rfind("Failed to load the image: missing.png", 0), 0u);
    // The image library fills a file cut short; that is never taken silently.
    const Bytes bytes = ReadCorpusBytes("jpeg/stones_arithmetic.jpg");
    const std::string cut =
        WriteTemp("cut.jpg", Bytes(bytes.begin(), bytes.begin() + long(bytes.size() / 2)));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(DecodeImageFile(cut.c_str(), image, error));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), cut + ": premature end of data\n");
}
