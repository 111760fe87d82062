#pragma once
// Shared pieces of the image readers: a bounds-checked byte reader over a file held in
// memory, the decoded-image record every reader fills, size checks made before any
// allocation, and the file-name dispatch that picks a reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

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
// CheckImageSize, then a zero-filled buffer of width x height x components bytes.
bool AllocateImage(sDecodedImage& image, long long width, long long height, int components,
                   std::string& error);

class CByteReader {
public:
    CByteReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    size_t Size() const { return m_size; }
    size_t Tell() const { return m_pos; }
    size_t Remaining() const { return m_size - m_pos; }
    const uint8_t* Data() const { return m_data; }

    bool Seek(size_t pos) {
        if (pos > m_size) return false;
        m_pos = pos;
        return true;
    }
    bool Skip(size_t count) {
        if (count > Remaining()) return false;
        m_pos += count;
        return true;
    }
    // The next `count` bytes, consumed, or null when the data ends first.
    const uint8_t* Take(size_t count) {
        if (count > Remaining()) return nullptr;
        const uint8_t* p = m_data + m_pos;
        m_pos += count;
        return p;
    }
    bool ReadU8(uint8_t& v) {
        if (m_pos >= m_size) return false;
        v = m_data[m_pos++];
        return true;
    }
    bool ReadU16LE(uint16_t& v) {
        const uint8_t* p = Take(2);
        if (!p) return false;
        v = uint16_t(p[0] | (p[1] << 8));
        return true;
    }
    bool ReadU16BE(uint16_t& v) {
        const uint8_t* p = Take(2);
        if (!p) return false;
        v = uint16_t((p[0] << 8) | p[1]);
        return true;
    }
    bool ReadU32LE(uint32_t& v) {
        const uint8_t* p = Take(4);
        if (!p) return false;
        v = uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
            (uint32_t(p[3]) << 24);
        return true;
    }
    bool ReadBytes(void* dst, size_t count);

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

bool ReadFileToMemory(const char* path, std::vector<uint8_t>& out);

// Copies `pixelCount` pixels of `components` bytes, exchanging bytes 0 and 2
// (blue-green-red files into red-green-blue order).
void CopySwapRedBlue(uint8_t* dst, const uint8_t* src, size_t pixelCount, int components);

// TGA run-length packets, used by two TGA readers with different overrun rules: a
// packet that runs past the image is either cut there or refused.
enum class eRleOverrun { Truncate, Refuse };
enum class eRleResult { Ok, Truncated, Overrun };
// Decodes pixelCount pixels of `components` bytes (stored blue-green-red[-alpha]) into
// dst as red-green-blue[-alpha].
eRleResult DecodeTgaRle(CByteReader& in, uint8_t* dst, size_t pixelCount, int components,
                        eRleOverrun overrun);

// The engine's file-name dispatch from a path to an image reader: substring tests on
// the whole path, first match wins.
enum class eImageReader { BMP, PCX, DDS, JPEG, TGA, ImageLibrary };
eImageReader ChooseImageReader(const char* fileName);
const char* ImageReaderName(eImageReader reader);
