#include <gtest/gtest.h>

#include <cstring>

#include "image/loadjpeg.h"
#include "image_compare.h"

using namespace image_test;

namespace {

bool Decode(const std::vector<uint8_t>& bytes, sDecodedImage& image, std::string& error) {
    return DecodeJPEG(bytes.data(), bytes.size(), image, error);
}

// Offset of the first marker segment with this code (at its 0xFF), or 0.
size_t FindSegment(const std::vector<uint8_t>& bytes, uint8_t code) {
    size_t at = 2;
    while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
        if (bytes[at + 1] == code) return at;
        if (bytes[at + 1] == 0xDA) return 0;
        at += 2 + size_t((bytes[at + 2] << 8) | bytes[at + 3]);
    }
    return 0;
}

std::string DecodeError(const std::vector<uint8_t>& bytes) {
    sDecodedImage image;
    std::string error;
    return Decode(bytes, image, error) ? "" : error;
}

} // namespace

// The decoder truncates the IDCT output and each colour conversion as it is specified;
// djpeg rounds. Each of Y, Cb and Cr can sit one level below djpeg's, and red and blue
// add 1.402 and 1.772 times the chroma error plus their own truncation: at most
// 1 + 1.772 + 1 < 4 levels, a bias of about a level, so PSNR lands near 43-45 dB.
// Progressive files are held to the same bounds as baseline ones.
TEST(loadjpeg, CorpusFilesMatchDjpegFloatWithinRounding) {
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
        std::string error;
        ASSERT_TRUE(Decode(ReadCorpusBytes(file), image, error)) << file << ": " << error;
        EXPECT_EQ(image.components, 4);
        if (!box.pixels.empty() || !subsampled) {
            const sDifference d =
                Compare(image, box.pixels.empty() ? ReadReference(base + ".float.ppm") : box);
            EXPECT_TRUE(d.sameSize) << file;
            EXPECT_LE(d.maxDiff, 4) << file;
            EXPECT_GT(d.psnr, 42.0) << file;
        } else {
            // Only djpeg's smoothed chroma upsampling is there to compare with.
            const sDifference d = Compare(image, ReadReference(base + ".float.ppm"));
            EXPECT_TRUE(d.sameSize) << file;
            EXPECT_GT(d.psnr, 40.0) << file;
        }
    }
    EXPECT_GE(progressive, 4);
}

// These pairs were encoded from one picture with the same tables: the progressive scans
// carry the very coefficients of the baseline scan, so every byte must agree.
TEST(loadjpeg, ProgressiveFilesDecodeLikeTheirBaselineTwins) {
    ZARVO_REQUIRE_CORPUS();
    for (const char* name : {"wall_420", "stones_444", "terrain_1024x768_420"}) {
        const std::string base = std::string("jpeg/") + name;
        sDecodedImage baseline, progressive;
        std::string error;
        ASSERT_TRUE(Decode(ReadCorpusBytes(base + ".jpg"), baseline, error)) << error;
        ASSERT_TRUE(Decode(ReadCorpusBytes(base + "_progressive.jpg"), progressive, error))
            << name << ": " << error;
        ASSERT_EQ(progressive.ByteCount(), baseline.ByteCount());
        EXPECT_EQ(
            std::memcmp(baseline.pixels.get(), progressive.pixels.get(), baseline.ByteCount()), 0)
            << name;
    }
}

TEST(loadjpeg, Sse2AndScalarKernelsGiveTheSameBytes) {
    ZARVO_REQUIRE_CORPUS();
    for (const std::string& file : CorpusFiles("jpeg", ".jpg")) {
        const auto bytes = ReadCorpusBytes(file);
        sDecodedImage fast, scalar;
        std::string error;
        if (!DecodeJPEG(bytes.data(), bytes.size(), fast, error)) continue;
        ASSERT_TRUE(DecodeJPEG(bytes.data(), bytes.size(), scalar, error, eJpegKernels::Scalar));
        EXPECT_EQ(std::memcmp(fast.pixels.get(), scalar.pixels.get(), fast.ByteCount()), 0) << file;
    }
}

TEST(loadjpeg, GreyscaleIsExactUpToTheOutputRounding) {
    ZARVO_REQUIRE_CORPUS();
    sDecodedImage image;
    std::string error;
    ASSERT_TRUE(Decode(ReadCorpusBytes("jpeg/earth_grey.jpg"), image, error));
    const sDifference d = Compare(image, ReadReference("jpeg/earth_grey.float.ppm"));
    EXPECT_LE(d.maxDiff, 1);
    EXPECT_EQ(image.pixels[3], 255);
    EXPECT_EQ(image.pixels[0], image.pixels[1]);
}

TEST(loadjpeg, RestartIntervalsDecodeLikeTheFileWithout) {
    ZARVO_REQUIRE_CORPUS();
    // The same picture, with restarts every 3 units (not a whole unit row) and every row.
    sDecodedImage plain, restarted;
    std::string error;
    ASSERT_TRUE(Decode(ReadCorpusBytes("jpeg/stones_444.jpg"), plain, error));
    ASSERT_TRUE(Decode(ReadCorpusBytes("jpeg/stones_444_rst3b.jpg"), restarted, error)) << error;
    EXPECT_EQ(std::memcmp(plain.pixels.get(), restarted.pixels.get(), plain.ByteCount()), 0);
    ASSERT_TRUE(Decode(ReadCorpusBytes("jpeg/wall_420.jpg"), plain, error));
    ASSERT_TRUE(Decode(ReadCorpusBytes("jpeg/wall_420_rst1.jpg"), restarted, error)) << error;
    EXPECT_EQ(std::memcmp(plain.pixels.get(), restarted.pixels.get(), plain.ByteCount()), 0);
}

TEST(loadjpeg, ARestartIntervalWithoutItsMarkersIsAnError) {
    ZARVO_REQUIRE_CORPUS();
    auto bytes = ReadCorpusBytes("jpeg/stones_444.jpg");
    const size_t sos = FindSegment(bytes, 0xDA);
    ASSERT_NE(sos, 0u);
    bytes.insert(bytes.begin() + long(sos), {0xFF, 0xDD, 0, 4, 0, 3});
    EXPECT_EQ(DecodeError(bytes), "missing restart marker");
}

TEST(loadjpeg, OtherKindsFailMarkedForTheImageLibrary) {
    ZARVO_REQUIRE_CORPUS();
    auto kind = [](const std::vector<uint8_t>& bytes) {
        sDecodedImage image;
        std::string error;
        bool otherKind = false;
        EXPECT_FALSE(DecodeJPEG(bytes.data(), bytes.size(), image, error, eJpegKernels::Fastest,
                                &otherKind));
        return otherKind;
    };
    EXPECT_TRUE(kind(ReadCorpusBytes("jpeg/stones_arithmetic.jpg")));
    const auto original = ReadCorpusBytes("jpeg/stones_444.jpg");
    const size_t sof = FindSegment(original, 0xC0);
    for (uint8_t frame : {0xC3, 0xC9, 0xCB}) { // lossless, arithmetic
        auto bytes = original;
        bytes[sof + 1] = frame;
        EXPECT_TRUE(kind(bytes)) << int(frame);
    }
    auto twelveBit = original;
    twelveBit[sof + 1] = 0xC1;
    twelveBit[sof + 4] = 12;
    EXPECT_TRUE(kind(twelveBit));
    EXPECT_FALSE(kind({0x89, 'P', 'N', 'G'}));
    EXPECT_EQ(DecodeError({0x89, 'P', 'N', 'G'}), "marker expected");
}

TEST(loadjpeg, TruncatedOrCorruptProgressiveScansFailCleanly) {
    ZARVO_REQUIRE_CORPUS();
    const auto original = ReadCorpusBytes("jpeg/wall_420_progressive_rst2.jpg");
    const size_t firstScan = FindSegment(original, 0xDA);
    ASSERT_NE(firstScan, 0u);
    // Cut anywhere after the first scan header: within a scan or between two.
    for (size_t size = firstScan + 20; size + 2 < original.size(); size += 97) {
        const std::vector<uint8_t> bytes(original.begin(), original.begin() + long(size));
        EXPECT_NE(DecodeError(bytes), "") << size;
    }
    // Flipped bits decode to something or fail, within bounds (run under the sanitizers).
    for (size_t at = firstScan + 20; at < original.size(); at += 131) {
        auto bytes = original;
        bytes[at] ^= 0x5A;
        DecodeError(bytes);
    }
    // The first scan's band made an AC band, which cannot cover three components.
    auto bytes = original;
    bytes[firstScan + 2 + 2 + 1 + 2 * 3 + 0] = 1; // spectral start of the first (DC) scan
    bytes[firstScan + 2 + 2 + 1 + 2 * 3 + 1] = 5;
    EXPECT_EQ(DecodeError(bytes), "bad progressive scan parameters");
}

TEST(loadjpeg, IdentifiersBeyondTheTablesAreRefused) {
    ZARVO_REQUIRE_CORPUS();
    const auto original = ReadCorpusBytes("jpeg/stones_444.jpg");
    const size_t dht = FindSegment(original, 0xC4), dqt = FindSegment(original, 0xDB);
    const size_t sof = FindSegment(original, 0xC0), sos = FindSegment(original, 0xDA);
    ASSERT_TRUE(dht && dqt && sof && sos);

    auto bytes = original;
    bytes[dht + 4] = 0x14; // AC table 4
    EXPECT_EQ(DecodeError(bytes), "bad Huffman table id");
    bytes = original;
    bytes[dqt + 4] = 0x04;
    EXPECT_EQ(DecodeError(bytes), "bad quantisation table id");
    bytes = original;
    bytes[sof + 12] = 7; // first component's quantisation table
    EXPECT_EQ(DecodeError(bytes), "bad quantisation table id");
    bytes = original;
    bytes[sos + 6] = 0x50; // first scan component: DC table 5
    EXPECT_EQ(DecodeError(bytes), "bad Huffman table id");
    bytes = original;
    bytes[sos + 5] = 9; // a component identifier the frame does not have
    EXPECT_EQ(DecodeError(bytes), "scan names an unknown component");
    bytes = original;
    bytes[sof + 9] = 4; // four components
    EXPECT_EQ(DecodeError(bytes), "bad frame length");
}

TEST(loadjpeg, TruncatedOrCorruptScansAreErrorsNotGarbage) {
    ZARVO_REQUIRE_CORPUS();
    const auto original = ReadCorpusBytes("jpeg/wall_420.jpg");
    auto bytes = original;
    bytes.resize(bytes.size() * 2 / 3);
    EXPECT_EQ(DecodeError(bytes), "truncated scan data");
    bytes = original;
    bytes.resize(FindSegment(original, 0xDA) + 20);
    EXPECT_NE(DecodeError(bytes), "");
    // Header claims 65000 x 65000 over a few bytes of scan data.
    bytes = original;
    const size_t sof = FindSegment(bytes, 0xC0);
    bytes[sof + 5] = bytes[sof + 7] = 0xFD;
    bytes[sof + 6] = bytes[sof + 8] = 0xE8;
    EXPECT_NE(DecodeError(bytes), "");
}

TEST(loadjpeg, FourTwoZeroChromaCoversTwoByTwoPixelSquares) {
    ZARVO_REQUIRE_CORPUS();
    sDecodedImage image;
    std::string error;
    ASSERT_TRUE(Decode(ReadCorpusBytes("jpeg/wall_420.jpg"), image, error));
    // With one chroma sample per square, red minus green and blue minus green are the
    // same for its four pixels wherever no channel was clamped.
    int squares = 0, uniform = 0;
    for (int y = 0; y + 1 < image.height; y += 2)
        for (int x = 0; x + 1 < image.width; x += 2) {
            int rg[4], bg[4];
            bool clamped = false;
            for (int i = 0; i < 4; ++i) {
                const uint8_t* p =
                    image.pixels.get() +
                    (size_t(y + i / 2) * size_t(image.width) + size_t(x + i % 2)) * 4;
                clamped |= p[0] == 0 || p[0] == 255 || p[1] == 0 || p[1] == 255 || p[2] == 0 ||
                           p[2] == 255;
                rg[i] = p[0] - p[1];
                bg[i] = p[2] - p[1];
            }
            if (clamped) continue;
            ++squares;
            uniform += rg[0] == rg[1] && rg[0] == rg[2] && rg[0] == rg[3] && bg[0] == bg[1] &&
                       bg[0] == bg[2] && bg[0] == bg[3];
        }
    ASSERT_GT(squares, 1000);
    EXPECT_EQ(uniform, squares);
}
