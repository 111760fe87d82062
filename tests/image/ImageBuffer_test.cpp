#include <gtest/gtest.h>

#include "image/ImageBuffer.h"

// A substring test of the whole path, not an extension test; only "BMP" and "TGA" are also
// matched in upper case.
TEST(ImageBuffer, ReaderChoiceAndSizeLimits) {
    using R = eImageReader;
    const std::pair<const char*, R> paths[] = {{"Data/wall.bmp", R::BMP},
                                               {"Data/WALL.BMP", R::BMP},
                                               {"Data/skin.pcx", R::PCX},
                                               {"Data/a.dds", R::DDS},
                                               {"Data/a.jpg", R::JPEG},
                                               {"Data/a.jpeg", R::JPEG},
                                               {"Data/a.TGA", R::TGA},
                                               {"Data/a.png", R::ImageLibrary},
                                               {"Data/tgaimages/logo.png", R::TGA},
                                               {"Data/bmp/skin.pcx", R::BMP},
                                               {"Data/SKIN.PCX", R::ImageLibrary},
                                               {"Data/A.JPG", R::ImageLibrary}};
    for (const auto& p : paths)
        EXPECT_EQ(ChooseImageReader(p.first), p.second) << p.first;

    // Absurd or empty sizes are refused before allocation.
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

TEST(TgaRle, PacketsInRedGreenBlueOrderCutOrRefusedAtTheEnd) {
    // 0x85: one blue-green-red pixel six times; 0x05: six pixels one after another.
    std::vector<uint8_t> data = {0x85, 1, 2, 3, 0x05}, out(12 * 3), want;
    for (uint8_t i = 0; i < 6; ++i) // byte by byte: GCC 12 -O3 misjudges a list insert here
        for (uint8_t byte : {uint8_t(10 + i), uint8_t(20), uint8_t(30)})
            data.push_back(byte);
    for (int i = 0; i < 12; ++i)
        for (int byte : {i < 6 ? 3 : 30, i < 6 ? 2 : 20, i < 6 ? 1 : 4 + i})
            want.push_back(uint8_t(byte));
    CByteReader in(data.data(), data.size());
    ASSERT_EQ(DecodeTgaRle(in, out.data(), 12, 3, eRleOverrun::Refuse), eRleResult::Ok);
    EXPECT_EQ(out, want);

    const uint8_t eight[] = {0x87, 1, 2, 3, 4}; // eight copies of a 4-byte pixel
    out.assign(5 * 4 + 4, 0xEE);
    CByteReader cut(eight, sizeof eight), refuse(eight, sizeof eight);
    EXPECT_EQ(DecodeTgaRle(cut, out.data(), 5, 4, eRleOverrun::Truncate), eRleResult::Ok);
    EXPECT_EQ(out[20], 0xEE); // nothing written past the five pixels
    EXPECT_TRUE(out[16] == 3 && out[19] == 4);
    EXPECT_EQ(DecodeTgaRle(refuse, out.data(), 5, 4, eRleOverrun::Refuse), eRleResult::Overrun);
    const uint8_t shortRaw[] = {0x03, 1, 2, 3, 4, 5};
    CByteReader truncated(shortRaw, sizeof shortRaw);
    EXPECT_EQ(DecodeTgaRle(truncated, out.data(), 4, 3, eRleOverrun::Refuse),
              eRleResult::TruncatedRaw);
}

// Readers walk a short stream without a buffer to learn how it fails before they allocate;
// the walk must agree with the real decode on every stream.
TEST(TgaRle, WalkWithoutABufferEndsExactlyAsTheDecode) {
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
            CByteReader decode(stream.data(), stream.size()), walk(stream.data(), stream.size());
            EXPECT_EQ(DecodeTgaRle(decode, out.data(), pixels, components, rule),
                      DecodeTgaRle(walk, nullptr, pixels, components, rule));
            EXPECT_EQ(decode.Tell(), walk.Tell());
        }
    }
}

TEST(SwapRedBlue, EveryLengthAroundTheVectorStepsSwapsExactly) {
    for (int components : {3, 4})
        for (size_t count = 0; count < 40; ++count) {
            std::vector<uint8_t> src(count * size_t(components)), want;
            for (size_t i = 0; i < src.size(); ++i)
                src[i] = uint8_t(i * 7 + 1);
            for (size_t p = 0; p < src.size(); p += size_t(components))
                for (size_t c : {2, 1, 0, 3})
                    if (c < size_t(components)) want.push_back(src[p + c]);
            std::vector<uint8_t> dst(src.size() + 16, 0xEE);
            CopySwapRedBlue(dst.data(), src.data(), count, components);
            want.resize(dst.size(), 0xEE); // nothing written past the pixels
            ASSERT_EQ(dst, want) << components << " " << count;
        }
}
