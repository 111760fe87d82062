#include <gtest/gtest.h>

#include <SDL.h>

#include "image/CTexture.h"
#include "image/ImageBuffer.h"
#include "image/ImageDecode.h"
#include "image_compare.h"

using namespace image_test;

TEST(ImageBuffer, ReaderChoiceAndSizeLimits) {
    const auto expect = [](eImageReader reader, std::initializer_list<const char*> paths) {
        for (const char* path : paths)
            EXPECT_EQ(ChooseImageReader(path), reader) << path;
    };
    // A substring of the whole path, not the extension; upper case only for BMP and TGA.
    expect(eImageReader::BMP, {"a/wall.bmp", "a/WALL.BMP", "bmp/skin.pcx"});
    expect(eImageReader::PCX, {"a/skin.pcx"});
    expect(eImageReader::DDS, {"a/a.dds"});
    expect(eImageReader::JPEG, {"a/a.jpg", "a/a.jpeg"});
    expect(eImageReader::TGA, {"a/a.TGA", "tgaimages/logo.png"});
    expect(eImageReader::ImageLibrary, {"a/a.png", "a/SKIN.PCX", "a/A.JPG"});
    // Absurd sizes are refused before allocation (each reader's tests give their messages).
    std::string error;
    sDecodedImage image;
    EXPECT_FALSE(AllocateImage(image, 40000, 2, 3, error));
    EXPECT_EQ(image.pixels, nullptr);
}

// Packets and how they fail are checked through the TGA readers; here, what those cannot show.
TEST(TgaRle, ARunCutAtTheEndWritesNothingPastItAndWalkingWithoutABufferEndsAsTheDecode) {
    const uint8_t eight[] = {0x87, 1, 2, 3, 4}; // eight copies of a 4-byte pixel
    Bytes out(5 * 4 + 4, 0xEE);
    CByteReader cut(eight, sizeof eight);
    EXPECT_EQ(DecodeTgaRle(cut, out.data(), 5, 4, eRleOverrun::Truncate), eRleResult::Ok);
    EXPECT_EQ(out[20], 0xEE); // nothing written past the five pixels
    EXPECT_TRUE(out[16] == 3 && out[19] == 4);
    // Readers walk a stream without a buffer before they allocate: it must end as the decode does.
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int trial = 0; trial < 2000; ++trial) {
        Bytes stream(next() % 40);
        for (uint8_t& byte : stream)
            byte = uint8_t(next() >> 24) & (next() & 1 ? 0x83 : 0xFF);
        const size_t pixels = next() % 12;
        const int components = next() & 1 ? 3 : 4;
        for (eRleOverrun rule : {eRleOverrun::Truncate, eRleOverrun::Refuse}) {
            Bytes out(pixels * size_t(components));
            CByteReader decode(stream.data(), stream.size()), walk(stream.data(), stream.size());
            EXPECT_EQ(DecodeTgaRle(decode, out.data(), pixels, components, rule),
                      DecodeTgaRle(walk, nullptr, pixels, components, rule));
            EXPECT_EQ(decode.Tell(), walk.Tell());
        }
    }
}

TEST(PixelCopies, SwapsAtEveryLengthAroundTheVectorStepsAndSurfacesOfEveryLayoutPackTight) {
    for (int components : {3, 4})
        for (size_t count = 0; count < 40; ++count) {
            Bytes src(count * size_t(components)), want;
            for (size_t i = 0; i < src.size(); ++i)
                src[i] = uint8_t(i * 7 + 1);
            for (size_t p = 0; p < src.size(); p += size_t(components))
                for (size_t c : {2, 1, 0, 3})
                    if (c < size_t(components)) want.push_back(src[p + c]);
            Bytes dst(src.size() + 16, 0xEE);
            CopySwapRedBlue(dst.data(), src.data(), count, components);
            want.resize(dst.size(), 0xEE); // nothing written past the pixels
            ASSERT_EQ(dst, want) << components << " " << count;
        }
    // A 3 x 2 surface (odd width: padded 24-bit rows) comes out as tight RGB(A) rows.
    const auto colour = [](int i, int c) {
        return Uint8(c == 0 ? 40 * i : c == 1 ? 200 - 30 * i : c == 2 ? 7 * i : 255 - 50 * i);
    };
    // Bits, masks and tolerance (16-bit colour keeps only 5 or 6 bits per channel).
    const std::tuple<int, Uint32, Uint32, Uint32, Uint32, int> layouts[] = {
        {24, 0xFF, 0xFF00, 0xFF0000, 0, 0},          {24, 0xFF0000, 0xFF00, 0xFF, 0, 0},
        {32, 0xFF0000, 0xFF00, 0xFF, 0, 0},          {8, 0, 0, 0, 0, 0},
        {32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000, 0}, {16, 0xF800, 0x07E0, 0x001F, 0, 8}};
    for (const auto& [bits, r, g, b, a, tolerance] : layouts) {
        SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, bits, r, g, b, a);
        for (int i = 0; i < 6; ++i) {
            SDL_Color c = {colour(i, 0), colour(i, 1), colour(i, 2), 0};
            SDL_Rect px{Sint16(i % 3), Sint16(i / 3), 1, 1};
            if (bits == 8) SDL_SetColors(s, &c, i, 1);
            SDL_FillRect(s, &px, SDL_MapRGBA(s->format, c.r, c.g, c.b, colour(i, 3)));
        }
        const bool alpha = a != 0;
        for (bool bottomUp : {false, true}) {
            const std::vector<unsigned char> got = PackSurfacePixels(s, alpha, bottomUp);
            ASSERT_EQ(got.size(), size_t(alpha ? 24 : 18)) << bits;
            for (size_t k = 0; k < got.size(); ++k) {
                const int channels = alpha ? 4 : 3, row = int(k) / (3 * channels);
                const int i = (bottomUp ? 1 - row : row) * 3 + int(k) % (3 * channels) / channels;
                EXPECT_NEAR(got[k], colour(i, int(k) % channels), tolerance) << bits << " " << k;
            }
        }
        SDL_FreeSurface(s);
    }
}

// The PAM written of each decode lists the picture's top row first, whatever the reader.
TEST(ImageDecode, PicksTheReaderTextureCreationWouldWritesTheTopRowFirstAndCarriesFailures) {
    ZARVO_REQUIRE_CORPUS();
    using R = eImageReader;
    // The file, its reader, the reference when not the file's own and the tolerance.
    const std::tuple<const char*, eImageReader, const char*, int> cases[] = {
        {"bmp/wall_bmp24_topdown.bmp", R::BMP, nullptr, 0},
        {"pcx/wall_pcx24.pcx", R::PCX, nullptr, 0},
        {"dds/grad_dxt5_mip.dds", R::DDS, nullptr, 0},
        {"tga/grad_t10_rgba32_bu.tga", R::TGA, nullptr, 0},
        {"src/wall96.png", R::ImageLibrary, "bmp/wall_bmp24.bmp", 0},
        // Kinds outside the engine's JPEG decoder go to SDL_image.
        {"jpeg/stones_arithmetic.jpg", R::ImageLibrary, "jpeg/stones_arithmetic.int.ppm", 1},
        {"jpeg/wall_420_progressive.jpg", R::JPEG, "jpeg/wall_420_progressive.float_nosmooth.ppm",
         4}};
    const std::string pam = zarvo_test::MakeTempDir("decode") + "/out.pam";
    sDecodedImage image, topFirst;
    std::string error;
    for (const auto& [file, expected, reference, tolerance] : cases) {
        eImageReader reader;
        ASSERT_TRUE(DecodeImageFile(CorpusImage(file).c_str(), image, error, &reader)) << error;
        EXPECT_EQ(reader, expected) << file;
        ASSERT_TRUE(WriteImagePam(pam.c_str(), image, error));
        zarvo_test::RefImage written;
        ASSERT_TRUE(zarvo_test::ReadNetpbm(pam, written));
        ASSERT_TRUE(
            AllocateImage(topFirst, written.width, written.height, written.channels, error));
        std::copy(written.pixels.begin(), written.pixels.end(), topFirst.pixels.get());
        EXPECT_TRUE(MatchesReference(topFirst, reference ? reference : file, tolerance));
    }
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
