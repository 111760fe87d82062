#include <gtest/gtest.h>

#include "image/CTGA.h"
#include "image_compare.h"

using namespace image_test;

TEST(CTGA, UncompressedFilesDecodeExactlyAndTheIdFieldIsSkipped) {
    ZARVO_REQUIRE_CORPUS();
    for (const char* file : {"tga/wall_t2_rgb24_bu.tga", "tga/grad_t2_rgba32_td.tga",
                             "tga/wall_t2_rgb24_13x11.tga", "tga/stones_t2_rgb24_id.tga"}) {
        CTGA tga;
        const auto bytes = ReadCorpusBytes(file);
        ASSERT_TRUE(tga.Decode(bytes.data(), bytes.size())) << file;
        sDecodedImage image;
        ASSERT_TRUE(tga.TakeImage(image));
        EXPECT_EQ(Compare(image, ReadReference(ReferenceOf(file))).maxDiff, 0) << file;
    }
}

TEST(CTGA, RefusesEverythingElseSilently) {
    ZARVO_REQUIRE_CORPUS();
    for (const char* file :
         {"tga/stones_t10_rgb24_bu.tga", "tga/earth_t3_grey8_bu.tga", "tga/stones_t1_cmap8.tga"}) {
        CTGA tga;
        const auto bytes = ReadCorpusBytes(file);
        EXPECT_FALSE(tga.Decode(bytes.data(), bytes.size())) << file;
    }
    auto bytes = ReadCorpusBytes("tga/wall_t2_rgb24_bu.tga");
    bytes.pop_back();
    CTGA tga;
    EXPECT_FALSE(tga.Decode(bytes.data(), bytes.size()));
    EXPECT_EQ(tga.imageData, nullptr);
    bytes[0] = 255; // an ID field longer than the file
    bytes.resize(100);
    EXPECT_FALSE(tga.Decode(bytes.data(), bytes.size()));
}
