// The three TGA readers: tgaload (textures), CTGALoader and CTGA.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "image/CTGA.h"
#include "image/CTGALoader.h"
#include "image/tgaload.h"
#include "image_compare.h"

using namespace image_test;

// An 18-byte header (type 2: true colour, 10: run-length; `id`: ID field length), `tail`.
static Bytes Tga(uint8_t type, int w, int h, int bpp, Bytes tail = {}, uint8_t id = 0) {
    Bytes b = {id, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (int byte : {w & 255, w >> 8, h & 255, h >> 8, bpp, 0})
        b.push_back(uint8_t(byte));
    for (uint8_t byte : tail) // not insert(): GCC 12 misjudges its bounds here
        b.push_back(byte);
    return b;
}

// Reads with tgaload ('t'; 'g' asking for greyscale as luminance), CTGALoader ('l') or CTGA
// ('c'), which must keep no pixels when they fail.
static bool Read(char reader, const Bytes& b, sDecodedImage& out, std::string& error) {
    if (reader == 't' || reader == 'g')
        return tgaDecode(b.data(), b.size(), reader == 'g' ? TGA_LUMINANCE : 0, out, error);
    CTGALoader loader;
    CTGA tga;
    error = "refused";
    const bool ok = reader == 'l' ? loader.DecodeTGA(b.data(), b.size(), "x.tga", error)
                                  : tga.Decode(b.data(), b.size());
    EXPECT_TRUE(ok || (!loader.imageData && !tga.imageData)) << reader;
    return ok && (reader == 'l' ? loader.TakeImage(out) : tga.TakeImage(out));
}

// Type 2 (true colour) is for every reader, 10 (run-length) for all but CTGA, 3 (greyscale)
// for tgaload when asked, 1 and 11 for none. Pixels start after the ID field.
TEST(tga, CorpusFilesDecodeInTheReadersThatTakeThemAndDamagedOnesGiveTheReadersMessages) {
    const std::tuple<char, Bytes, const char*> cases[] = {
        {'l', {}, "Failed to read TGAcomment!"},
        {'l', {0, 0, 2, 0}, "Could not read file header: x.tga"},
        {'l', {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0}, "Could not read info header: x.tga"},
        {'l', Tga(2, 4, 4, 16), "Invalid texture information: x.tga"},
        {'l', Tga(2, 0, 4, 24), "Invalid texture information: x.tga"},
        {'l', Tga(2, 4, 4, 24), "Could not read image data: x.tga"},
        {'l', Tga(10, 60000, 60000, 24), "Invalid texture information: x.tga"},
        // Too short for the declared size: found before the image is allocated.
        {'l', Tga(10, 4, 1, 24), "Could not read RLE header: x.tga"},
        {'l', Tga(10, 200, 1, 24, {0xFF, 1, 2, 3}), "Could not read RLE header: x.tga"},
        {'l', Tga(10, 4, 1, 24, {0x81, 1, 2}), "Could not read from file: x.tga"},
        // Long enough for the declared size, cut short in the middle of the packets.
        {'l', Tga(10, 4, 1, 24, {0, 1, 2, 3, 0, 4, 5, 6}), "Could not read RLE header: x.tga"},
        {'l', Tga(10, 4, 1, 24, {0x80, 1, 2, 3, 0x80, 1}), "Could not read from file: x.tga"},
        {'l', Tga(10, 4, 1, 24, {0x80, 1, 2, 3, 2, 4, 5, 6}), "Could not read image data: x.tga"},
        {'l', Tga(10, 2, 2, 24, {0x84, 1, 2, 3}), "Too many pixels read: x.tga"}, // 5 into 4
        {'c', Tga(2, 2, 2, 24, Bytes(11, 7)), "refused"},                         // one short
        {'t', Tga(1, 4, 4, 8), "8-bit colour no longer supported"},
        {'t', Tga(2, 4, 4, 16), "Unsupported RGB format"},
        {'t', Tga(10, 4, 4, 16), "Unsupported compressed RGB format"},
        {'t', Tga(3, 4, 4, 8), "Must be LUMINANCE or ALPHA greyscale"},
        {'t', Tga(2, 0, 4, 24), "invalid image size 0x4"},
        {'t', Tga(2, 20000, 20000, 24), "image size 20000x20000 is too large"},
        {'t', Tga(11, 4, 4, 8), "Image type has no pixels to load"},
        // Cut short: never read past the end.
        {'t', {0, 0, 2, 0, 0, 0, 0, 0, 0, 0}, "Truncated header"},
        {'t', Tga(2, 4, 4, 24, Bytes(4 * 4 * 3 - 1)), "Truncated image data"},
        {'t', Tga(10, 100, 100, 32, {0xFF, 1, 2, 3, 4}), "Truncated image data"}, // 128 of 10000
        // Enough packet bytes for the size check, yet the packets end early.
        {'t', Tga(10, 200, 1, 24, {0, 1, 2, 3, 0, 1, 2, 3}), "Truncated image data"},
    };
    for (const auto& [reader, bytes, message] : cases) {
        sDecodedImage image;
        std::string error;
        EXPECT_FALSE(Read(reader, bytes, image, error)) << message;
        EXPECT_EQ(error, message);
    }
    sDecodedImage image;
    std::string error;
    ASSERT_TRUE(Read('l', Tga(10, 2, 2, 24, {0x81, 1, 2, 3, 1, 4, 5, 6, 7, 8, 9}), image, error));
    EXPECT_EQ(PixelBytes(image), (Bytes{3, 2, 1, 3, 2, 1, 6, 5, 4, 9, 8, 7}));
    // An unused colour map (3 entries of 15 bits, 2 bytes each) is skipped like the ID field.
    Bytes mapped = Tga(2, 1, 1, 24, {'i', 'd', 0, 0, 0, 0, 0, 0, 30, 20, 10}, 2);
    mapped[1] = 1;
    mapped[5] = 3;
    mapped[7] = 15;
    ASSERT_TRUE(Read('t', mapped, image, error)) << error;
    EXPECT_EQ(Bytes(image.pixels.get(), image.pixels.get() + 3), (Bytes{10, 20, 30}));
    ZARVO_REQUIRE_CORPUS(); // the made-up files above need none
    // Messages for a type the reader does not take and for a cut ID field.
    const std::tuple<char, const char*, const char*> readers[] = {
        {'t', nullptr, "Truncated image data"},
        {'g', nullptr, "Truncated image data"},
        {'l', "TGA file be type 2 or type 10, Invalid Image: x.tga",
         "Could not read image data: x.tga"},
        {'c', "refused", "refused"}};
    const auto files = CorpusFiles("tga", ".tga");
    ASSERT_EQ(files.size(), 17u);
    for (const std::string& file : files) {
        const auto has = [&](const char* part) { return file.find(part) != std::string::npos; };
        const char* takes = has("_t2_") ? "tglc" : has("_t10_") ? "tgl" : has("_t3_") ? "g" : "";
        for (const auto& [reader, refused, truncated] : readers) {
            Bytes bytes = ReadCorpusBytes(file);
            sDecodedImage image;
            std::string error;
            const bool taken = std::strchr(takes, reader) != nullptr;
            ASSERT_EQ(Read(reader, bytes, image, error), taken) << file << reader << error;
            EXPECT_EQ(error, taken || !refused ? error : refused) << file;
            if (!taken) continue;
            EXPECT_TRUE(MatchesReference(image, file)) << reader;
            EXPECT_EQ(image.components, has("grey") ? 1 : has("rgba") ? 4 : 3) << file;
            if (!has("_id")) continue;
            ASSERT_GT(bytes[0], 0);
            bytes.resize(18 + bytes[0] - 1);
            EXPECT_FALSE(Read(reader, bytes, image, error)) << file << reader;
            EXPECT_EQ(error, truncated);
        }
    }
}
