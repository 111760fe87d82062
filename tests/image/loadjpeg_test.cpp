#include <gtest/gtest.h>

#include "image/loadjpeg.h"
#include "image_compare.h"

using namespace image_test;

// The decoder's message, "" when the file decodes; `otherKind` as DecodeJPEG sets it.
static std::string DecodeError(const Bytes& bytes, sDecodedImage* out = nullptr,
                               eJpegKernels kernels = eJpegKernels::Fastest,
                               bool* otherKind = nullptr) {
    sDecodedImage image;
    std::string error;
    return DecodeJPEG(bytes.data(), bytes.size(), out ? *out : image, error, kernels, otherKind)
               ? ""
               : error;
}

static Bytes Pixels(const std::string& file, eJpegKernels kernels = eJpegKernels::Fastest) {
    sDecodedImage image;
    EXPECT_EQ(DecodeError(ReadCorpusBytes(file), &image, kernels), "") << file;
    return PixelBytes(image);
}

// The decoder truncates where djpeg rounds: Y, Cb and Cr each a level below, so red and blue
// are off by at most 1 + 1.772 + 1 < 4 levels (PSNR near 43-45 dB); greyscale by 1.
TEST(loadjpeg, CorpusFilesMatchDjpegAndTwinFilesAndKernelsDecodeToTheSameBytes) {
    ZARVO_REQUIRE_CORPUS();
    const auto files = CorpusFiles("jpeg", ".jpg");
    ASSERT_GT(files.size(), 10u);
    int progressive = 0;
    for (const std::string& file : files) {
        if (file.find("arithmetic") != std::string::npos) continue; // left to SDL_image
        progressive += file.find("progressive") != std::string::npos;
        const std::string base = file.substr(0, file.rfind('.'));
        zarvo_test::RefImage box = ReadReference(base + ".float_nosmooth.ppm");
        const bool subsampled =
            file.find("_420") != std::string::npos || file.find("_422") != std::string::npos;
        sDecodedImage image;
        ASSERT_EQ(DecodeError(ReadCorpusBytes(file), &image), "") << file;
        EXPECT_EQ(image.components, 4);
        for (size_t i = 3; i < image.ByteCount(); i += 4)
            ASSERT_EQ(image.pixels[i], 255) << file;
        EXPECT_EQ(PixelBytes(image), Pixels(file, eJpegKernels::Scalar)) << file;
        const sDifference d =
            Compare(image, box.pixels.empty() ? ReadReference(base + ".float.ppm") : box);
        EXPECT_TRUE(d.sameSize) << file;
        // Only djpeg's smoothed chroma upsampling is there to compare with otherwise.
        EXPECT_GT(d.psnr, box.pixels.empty() && subsampled ? 40.0 : 42.0) << file;
        if (!box.pixels.empty() || !subsampled) {
            EXPECT_LE(d.maxDiff, file.find("grey") != std::string::npos ? 1 : 4) << file;
        }
    }
    EXPECT_GE(progressive, 4);
    // Progressive twins carry the very coefficients of their baseline file, and restarts (every
    // 3 units, not a whole row, and every row) change nothing.
    for (const std::string twin :
         {"wall_420_progressive", "stones_444_progressive", "terrain_1024x768_420_progressive",
          "stones_444_rst3b", "wall_420_rst1"}) // each named after its baseline file
        EXPECT_EQ(Pixels("jpeg/" + twin.substr(0, twin.rfind('_')) + ".jpg"),
                  Pixels("jpeg/" + twin + ".jpg"))
            << twin;
}

TEST(loadjpeg, DamagedFilesGiveTheirMessagesAndOtherKindsAreMarkedForTheImageLibrary) {
    ZARVO_REQUIRE_CORPUS();
    // File, segment, edits (offset from its first marker, new byte), message (null: any error).
    const std::tuple<const char*, uint8_t, std::vector<std::pair<int, int>>, const char*> cases[] =
        {
            {"stones_444", 0xC4, {{4, 0x14}}, "bad Huffman table id"}, // AC table 4
            {"stones_444", 0xDB, {{4, 0x04}}, "bad quantisation table id"},
            {"stones_444", 0xC0, {{12, 7}}, "bad quantisation table id"}, // a component's table
            {"stones_444", 0xDA, {{6, 0x50}}, "bad Huffman table id"},    // DC table 5
            {"stones_444", 0xDA, {{5, 9}}, "scan names an unknown component"},
            {"stones_444", 0xC0, {{9, 4}}, "bad frame length"}, // four components
            // The first (DC) scan's band made an AC band, which cannot cover three components.
            {"wall_420_progressive_rst2",
             0xDA,
             {{11, 1}, {12, 5}},
             "bad progressive scan parameters"},
            // 65000 x 65000 over a few bytes of scan data.
            {"wall_420", 0xC0, {{5, 0xFD}, {6, 0xE8}, {7, 0xFD}, {8, 0xE8}}, nullptr},
        };
    for (const auto& [file, segment, edits, message] : cases) {
        Bytes bytes = ReadCorpusBytes(std::string("jpeg/") + file + ".jpg");
        const size_t at = FindSegment(bytes, segment);
        ASSERT_NE(at, 0u);
        for (const auto& [offset, value] : edits)
            bytes[at + size_t(offset)] = uint8_t(value);
        const std::string error = DecodeError(bytes);
        EXPECT_EQ(error, message ? message : error) << file;
        EXPECT_NE(error, "");
    }
    // A restart interval without its markers.
    Bytes bytes = ReadCorpusBytes("jpeg/stones_444.jpg");
    bytes.insert(bytes.begin() + long(FindSegment(bytes, 0xDA)), {0xFF, 0xDD, 0, 4, 0, 3});
    EXPECT_EQ(DecodeError(bytes), "missing restart marker");
    bytes = ReadCorpusBytes("jpeg/wall_420.jpg");
    const size_t scan = FindSegment(bytes, 0xDA);
    bytes.resize(bytes.size() * 2 / 3);
    EXPECT_EQ(DecodeError(bytes), "truncated scan data");
    bytes.resize(scan + 20);
    EXPECT_NE(DecodeError(bytes), "");

    // Progressive scans cut anywhere fail; flipped bits stay in bounds (under the sanitizers).
    const Bytes original = ReadCorpusBytes("jpeg/wall_420_progressive_rst2.jpg");
    const size_t firstScan = FindSegment(original, 0xDA);
    for (size_t size = firstScan + 20; size + 2 < original.size(); size += 97)
        EXPECT_NE(DecodeError(Bytes(original.begin(), original.begin() + long(size))), "") << size;
    for (size_t at = firstScan + 20; at < original.size(); at += 131) {
        bytes = original;
        bytes[at] ^= 0x5A;
        DecodeError(bytes);
    }
    const auto otherKind = [](const Bytes& bytes) {
        bool other = false;
        EXPECT_NE(DecodeError(bytes, nullptr, eJpegKernels::Fastest, &other), "");
        return other;
    };
    const Bytes baseline = ReadCorpusBytes("jpeg/stones_444.jpg");
    const size_t sof = FindSegment(baseline, 0xC0);
    for (uint8_t frame : {0xC3, 0xC9, 0xCB, 0xC1}) { // lossless, arithmetic, 12-bit
        Bytes bytes = baseline;
        bytes[sof + 1] = frame;
        if (frame == 0xC1) bytes[sof + 4] = 12;
        EXPECT_TRUE(otherKind(bytes)) << int(frame);
    }
    EXPECT_FALSE(otherKind({0x89, 'P', 'N', 'G'}));
    EXPECT_EQ(DecodeError({0x89, 'P', 'N', 'G'}), "marker expected");
}
