#pragma once
// What the image reader tests share: corpus paths and comparison with the reference decodes
// (which list the top row first).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "image/ImageBuffer.h"
#include "support/netpbm.h"
#include "support/test_paths.h"

namespace image_test {

using Bytes = std::vector<uint8_t>;

inline std::string CorpusImage(const std::string& relative) {
    return zarvo_test::CorpusDir() + "/images/" + relative;
}

inline Bytes ReadCorpusBytes(const std::string& relative) {
    std::string bytes;
    zarvo_test::ReadFileBytes(CorpusImage(relative), bytes);
    return Bytes(bytes.begin(), bytes.end());
}

inline zarvo_test::RefImage ReadReference(const std::string& relative) {
    zarvo_test::RefImage ref;
    zarvo_test::ReadNetpbm(CorpusImage(relative), ref);
    return ref;
}

// Writes `bytes` into a fresh temporary directory and returns the file's path.
inline std::string WriteTemp(const std::string& name, const Bytes& bytes) {
    const std::string path = zarvo_test::MakeTempDir("image") + "/" + name;
    EXPECT_TRUE(zarvo_test::WriteFileBytes(path, std::string(bytes.begin(), bytes.end())));
    return path;
}

inline Bytes PixelBytes(const sDecodedImage& image) {
    return image.pixels ? Bytes(image.pixels.get(), image.pixels.get() + image.ByteCount())
                        : Bytes();
}

// JPEG: offset of the first marker segment with this code (at its 0xFF), or 0.
inline size_t FindSegment(const Bytes& bytes, uint8_t code) {
    size_t at = 2;
    while (at + 4 <= bytes.size() && bytes[at] == 0xFF) {
        if (bytes[at + 1] == code) return at;
        if (bytes[at + 1] == 0xDA) return 0;
        at += 2 + size_t((bytes[at + 2] << 8) | bytes[at + 3]);
    }
    return 0;
}

// Overwrites four bytes at `at` with a little-endian value (for damaging headers).
inline void PutLE32(Bytes& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

struct sDifference {
    bool sameSize = false;
    int maxDiff = 0;
    double psnr = 0.0;
};

// Compares the channels both images have (greyscale counts as three equal channels).
inline sDifference Compare(const sDecodedImage& image, const zarvo_test::RefImage& ref) {
    sDifference d;
    if (image.width != ref.width || image.height != ref.height || ref.pixels.empty()) return d;
    d.sameSize = true;
    const int channels = image.components == 1 ? 3 : std::min(image.components, ref.channels);
    double squared = 0.0;
    for (int i = 0; i < image.width * image.height; ++i) {
        const int x = i % image.width, y = i / image.width;
        const int row = image.bottomUp ? image.height - 1 - y : y;
        const uint8_t* a = image.pixels.get() + (size_t(row) * image.width + x) * image.components;
        const uint8_t* b = ref.pixels.data() + size_t(i) * ref.channels;
        for (int c = 0; c < channels; ++c) {
            const int diff =
                std::abs(a[image.components == 1 ? 0 : c] - b[ref.channels == 1 ? 0 : c]);
            d.maxDiff = std::max(d.maxDiff, diff);
            squared += double(diff) * diff;
        }
    }
    const double mse = squared / (double(image.width) * image.height * channels);
    d.psnr = mse == 0.0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
    return d;
}

// Corpus files of one folder with the given extension, sorted.
inline std::vector<std::string> CorpusFiles(const std::string& folder, const std::string& ext) {
    std::vector<std::string> names;
    std::error_code missing;
    for (const auto& entry : std::filesystem::directory_iterator(CorpusImage(folder), missing))
        if (entry.path().extension() == ext)
            names.push_back(folder + "/" + entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The decode has the size of `file`'s reference decode (NAME.ref.ppm or NAME.ref.pam beside it,
// or `file` itself when it is one) and is within `tolerance` levels of it.
inline ::testing::AssertionResult MatchesReference(const sDecodedImage& image,
                                                   const std::string& file, int tolerance = 0) {
    std::string ref = file.substr(0, file.rfind('.')) + ".ref.ppm";
    if (!std::filesystem::exists(CorpusImage(ref))) ref.replace(ref.size() - 3, 3, "pam");
    const sDifference d =
        Compare(image, ReadReference(std::filesystem::exists(CorpusImage(ref)) ? ref : file));
    if (d.sameSize && d.maxDiff <= tolerance) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << file << (d.sameSize ? "" : ": size differs") << ", max difference " << d.maxDiff;
}

} // namespace image_test
