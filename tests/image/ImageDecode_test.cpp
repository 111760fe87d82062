#include <gtest/gtest.h>

#include <cstdio>

#include "image/ImageDecode.h"
#include "image_compare.h"

using namespace image_test;

TEST(ImageDecode, PicksTheReaderTextureCreationWouldAndWritesTheTopRowFirst) {
    ZARVO_REQUIRE_CORPUS();
    struct Case {
        const char* file;
        eImageReader reader;
    } cases[] = {{"bmp/wall_bmp24_topdown.bmp", eImageReader::BMP},
                 {"pcx/wall_pcx24.pcx", eImageReader::PCX},
                 {"dds/grad_dxt5_mip.dds", eImageReader::DDS},
                 {"tga/grad_t10_rgba32_bu.tga", eImageReader::TGA},
                 {"src/wall96.png", eImageReader::ImageLibrary}};
    const std::string dir = zarvo_test::MakeTempDir("decode");
    for (const Case& c : cases) {
        sDecodedImage image;
        std::string error;
        eImageReader reader;
        ASSERT_TRUE(DecodeImageFile(CorpusImage(c.file).c_str(), image, error, &reader)) << error;
        EXPECT_EQ(reader, c.reader) << c.file;
        const std::string pam = dir + "/out.pam";
        ASSERT_TRUE(WriteImagePam(pam.c_str(), image, error));
        zarvo_test::RefImage written;
        ASSERT_TRUE(zarvo_test::ReadNetpbm(pam, written));
        sDecodedImage topFirst;
        ASSERT_TRUE(
            AllocateImage(topFirst, written.width, written.height, written.channels, error));
        std::copy(written.pixels.begin(), written.pixels.end(), topFirst.pixels.get());
        const std::string ref = c.reader == eImageReader::ImageLibrary ? "" : ReferenceOf(c.file);
        if (!ref.empty())
            EXPECT_EQ(Compare(topFirst, ReadReference(ref)).maxDiff, 0) << c.file;
        else
            EXPECT_EQ(Compare(topFirst, ReadReference("bmp/wall_bmp24.ref.ppm")).maxDiff, 0);
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
}

TEST(ImageDecode, JpegKindsOutsideTheEngineDecoderGoToSdlImage) {
    ZARVO_REQUIRE_CORPUS();
    sDecodedImage image;
    std::string error;
    eImageReader reader;
    ASSERT_TRUE(
        DecodeImageFile(CorpusImage("jpeg/stones_arithmetic.jpg").c_str(), image, error, &reader))
        << error;
    EXPECT_EQ(reader, eImageReader::ImageLibrary);
    EXPECT_LE(Compare(image, ReadReference("jpeg/stones_arithmetic.int.ppm")).maxDiff, 1);
    ASSERT_TRUE(DecodeImageFile(CorpusImage("jpeg/wall_420_progressive.jpg").c_str(), image, error,
                                &reader));
    EXPECT_EQ(reader, eImageReader::JPEG);
    // The library fills a file cut short; that is never taken silently.
    const auto bytes = ReadCorpusBytes("jpeg/stones_arithmetic.jpg");
    const std::string cut = zarvo_test::MakeTempDir("jpeg") + "/cut.jpg";
    FILE* f = std::fopen(cut.c_str(), "wb");
    ASSERT_TRUE(f && std::fwrite(bytes.data(), 1, bytes.size() / 2, f) == bytes.size() / 2);
    std::fclose(f);
    testing::internal::CaptureStderr();
    EXPECT_TRUE(DecodeImageFile(cut.c_str(), image, error, &reader));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), cut + ": premature end of data\n");
}
