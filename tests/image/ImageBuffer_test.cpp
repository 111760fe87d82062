#include <gtest/gtest.h>

#include <cstring>

#include "image/ImageBuffer.h"

TEST(ChooseImageReader, FirstMatchingSubstringOfTheWholePathWins) {
    EXPECT_EQ(ChooseImageReader("Data/wall.bmp"), eImageReader::BMP);
    EXPECT_EQ(ChooseImageReader("Data/WALL.BMP"), eImageReader::BMP);
    EXPECT_EQ(ChooseImageReader("Data/skin.pcx"), eImageReader::PCX);
    EXPECT_EQ(ChooseImageReader("Data/a.dds"), eImageReader::DDS);
    EXPECT_EQ(ChooseImageReader("Data/a.jpg"), eImageReader::JPEG);
    EXPECT_EQ(ChooseImageReader("Data/a.jpeg"), eImageReader::JPEG);
    EXPECT_EQ(ChooseImageReader("Data/a.TGA"), eImageReader::TGA);
    EXPECT_EQ(ChooseImageReader("Data/a.png"), eImageReader::ImageLibrary);
    // A substring test, not an extension test: the folder name decides here.
    EXPECT_EQ(ChooseImageReader("Data/tgaimages/logo.png"), eImageReader::TGA);
    EXPECT_EQ(ChooseImageReader("Data/bmp/skin.pcx"), eImageReader::BMP);
    // Only "BMP" and "TGA" are also tested in upper case.
    EXPECT_EQ(ChooseImageReader("Data/SKIN.PCX"), eImageReader::ImageLibrary);
    EXPECT_EQ(ChooseImageReader("Data/A.JPG"), eImageReader::ImageLibrary);
}

TEST(ImageSize, AbsurdOrEmptySizesAreRefusedBeforeAllocation) {
    std::string error;
    EXPECT_TRUE(CheckImageSize(4096, 4096, error));
    EXPECT_FALSE(CheckImageSize(0, 10, error));
    EXPECT_FALSE(CheckImageSize(10, -1, error));
    EXPECT_FALSE(CheckImageSize(65535, 65535, error));
    EXPECT_NE(error.find("too large"), std::string::npos);
    sDecodedImage image;
    EXPECT_FALSE(AllocateImage(image, 40000, 2, 3, error));
    EXPECT_EQ(image.pixels, nullptr);
}

TEST(TgaRle, RunAndRawPacketsInRedGreenBlueOrder) {
    // 0x85: one blue-green-red pixel six times; 0x05: six pixels one after another.
    std::vector<uint8_t> data = {0x85, 1, 2, 3, 0x05};
    for (uint8_t i = 0; i < 6; ++i) // byte by byte: GCC 12 -O3 misjudges a list insert here
        for (uint8_t byte : {uint8_t(10 + i), uint8_t(20), uint8_t(30)})
            data.push_back(byte);
    std::vector<uint8_t> out(12 * 3);
    CByteReader in(data.data(), data.size());
    ASSERT_EQ(DecodeTgaRle(in, out.data(), 12, 3, eRleOverrun::Refuse), eRleResult::Ok);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(out[size_t(i) * 3], 3);
        EXPECT_EQ(out[size_t(i) * 3 + 2], 1);
        EXPECT_EQ(out[size_t(6 + i) * 3], 30);
        EXPECT_EQ(out[size_t(6 + i) * 3 + 2], 10 + i);
    }
}

TEST(TgaRle, PacketsRunningPastTheImageAreCutOrRefused) {
    const uint8_t data[] = {0x87, 1, 2, 3, 4}; // eight copies of a 4-byte pixel
    std::vector<uint8_t> out(5 * 4 + 4, 0xEE);
    CByteReader cut(data, sizeof data);
    EXPECT_EQ(DecodeTgaRle(cut, out.data(), 5, 4, eRleOverrun::Truncate), eRleResult::Ok);
    EXPECT_EQ(out[20], 0xEE); // nothing written past the five pixels
    EXPECT_EQ(out[16], 3);
    EXPECT_EQ(out[19], 4);
    CByteReader refuse(data, sizeof data);
    EXPECT_EQ(DecodeTgaRle(refuse, out.data(), 5, 4, eRleOverrun::Refuse), eRleResult::Overrun);
    const uint8_t shortRaw[] = {0x03, 1, 2, 3, 4, 5};
    CByteReader truncated(shortRaw, sizeof shortRaw);
    EXPECT_EQ(DecodeTgaRle(truncated, out.data(), 4, 3, eRleOverrun::Refuse),
              eRleResult::TruncatedRaw);
}

TEST(TgaRle, WalkWithoutABufferEndsExactlyAsTheDecode) {
    // Readers walk a short stream without a buffer to learn how it fails before they
    // allocate; the walk must agree with the real decode on every stream.
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<uint8_t> stream(next() % 40);
        for (uint8_t& byte : stream)
            byte = uint8_t(next() >> 24) & (next() & 1 ? 0x83 : 0xFF);
        const size_t pixels = next() % 12;
        const int components = next() & 1 ? 3 : 4;
        for (eRleOverrun rule : {eRleOverrun::Truncate, eRleOverrun::Refuse}) {
            std::vector<uint8_t> out(pixels * size_t(components));
            CByteReader decode(stream.data(), stream.size());
            CByteReader walk(stream.data(), stream.size());
            EXPECT_EQ(DecodeTgaRle(decode, out.data(), pixels, components, rule),
                      DecodeTgaRle(walk, nullptr, pixels, components, rule));
            EXPECT_EQ(decode.Tell(), walk.Tell());
        }
    }
}

TEST(SwapRedBlue, EveryLengthAroundTheVectorStepsSwapsExactly) {
    for (int components : {3, 4}) {
        for (size_t count = 0; count < 40; ++count) {
            std::vector<uint8_t> src(count * size_t(components));
            for (size_t i = 0; i < src.size(); ++i)
                src[i] = uint8_t(i * 7 + 1);
            std::vector<uint8_t> dst(src.size() + 16, 0xEE);
            CopySwapRedBlue(dst.data(), src.data(), count, components);
            for (size_t p = 0; p < count; ++p) {
                const uint8_t* s = &src[p * size_t(components)];
                const uint8_t* d = &dst[p * size_t(components)];
                ASSERT_EQ(d[0], s[2]) << components << " " << count << " " << p;
                ASSERT_EQ(d[1], s[1]);
                ASSERT_EQ(d[2], s[0]);
                if (components == 4) {
                    ASSERT_EQ(d[3], s[3]);
                }
            }
            EXPECT_EQ(dst[src.size()], 0xEE) << "wrote past the pixels";
        }
    }
}
