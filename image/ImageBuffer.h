#pragma once
// Shared pieces of the image readers: the decoded-image record every reader fills, size
// checks made before any allocation, and the file-name dispatch that picks a reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/ByteReader.h"

struct CMallocDeleter {
    void operator()(void* p) const { std::free(p); }
};
// Pixels live in malloc'd memory so the load functions can hand them to the
// C-style records (image_t, gl_texture_t) without copying.
using PixelBuffer = std::unique_ptr<uint8_t[], CMallocDeleter>;

// An image decoded into memory. Row 0 is the first row handed to OpenGL
// (texture row t = 0); bottomUp says whether that row is the bottom of the picture.
struct sDecodedImage {
    int width = 0;
    int height = 0;
    int components = 0;
    bool bottomUp = false;
    PixelBuffer pixels;

    size_t RowBytes() const { return size_t(width) * size_t(components); }
    size_t ByteCount() const { return RowBytes() * size_t(height); }
};

// Limits that keep a corrupt header from asking for gigabytes.
constexpr long long kMaxImageDimension = 32768;
constexpr long long kMaxImagePixels = 1LL << 26;

// Refuses non-positive or absurd sizes; `error` gets a readable reason.
bool CheckImageSize(long long width, long long height, std::string& error);
// CheckImageSize, then a buffer of width x height x components bytes; readers that may
// leave pixels unwritten ask for it zero-filled.
bool AllocateImage(sDecodedImage& image, long long width, long long height, int components,
                   std::string& error, bool zeroed = false);

// Hands a malloc'd buffer of width x height x components bytes (stored order) to `out`
// and clears `pixels`; false when there is no buffer.
bool AdoptPixels(sDecodedImage& out, uint8_t*& pixels, unsigned width, unsigned height,
                 unsigned components);

// ReadFileToMemory, telling stderr which file could not be opened.
bool ReadImageFile(const char* file, std::vector<uint8_t>& bytes);

// Copies `pixelCount` pixels of `components` bytes, exchanging bytes 0 and 2
// (blue-green-red files into red-green-blue order).
void CopySwapRedBlue(uint8_t* dst, const uint8_t* src, size_t pixelCount, int components);

// The true-colour TGA image description fields (width, height and bits per pixel, little
// endian) shared by the TGA readers; false unless the size is sane and the depth is 24 or 32.
bool ParseTgaTrueColourInfo(const uint8_t* info, unsigned& width, unsigned& height, unsigned& bpp);

// TGA run-length packets, used by two TGA readers with different overrun rules: a
// packet that runs past the image is either cut there or refused.
enum class eRleOverrun { Truncate, Refuse };
// A truncated stream says which read came up short: the packet header, the one pixel
// of a run packet or the pixels of a raw packet (the TGA loader names each differently).
enum class eRleResult { Ok, TruncatedHeader, TruncatedRun, TruncatedRaw, Overrun };
// Decodes pixelCount pixels of `components` bytes (stored blue-green-red[-alpha]) into
// dst as red-green-blue[-alpha]. A null dst only walks the packets, so a reader can find
// out how a stream fails before allocating the image it declares.
eRleResult DecodeTgaRle(CByteReader& in, uint8_t* dst, size_t pixelCount, int components,
                        eRleOverrun overrun);

// The engine's file-name dispatch from a path to an image reader: substring tests on
// the whole path, first match wins.
enum class eImageReader { BMP, PCX, DDS, JPEG, TGA, ImageLibrary };
eImageReader ChooseImageReader(const char* fileName);
const char* ImageReaderName(eImageReader reader);
