#pragma once
// Image file encoders. Each returns the whole file as bytes so callers and tests can
// inspect it before (or instead of) writing it. Row order follows each format's
// custom: PNG and JPEG top row first, TGA, BMP bottom row first, PCX top row first.
#include "tools/assetgen/canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

using Bytes = std::vector<uint8_t>;

Bytes EncodePng(const Canvas& image);                    // 8-bit RGBA
Bytes EncodeJpeg(const Canvas& image, int quality = 90); // baseline, YCbCr, no restart markers
Bytes EncodeTga(const Canvas& image, bool withAlpha);    // type 2, bottom-up, no ID field
Bytes EncodeBmp(const Canvas& image); // 24-bit, bottom-up; width must keep rows 4-aligned
Bytes EncodePcx(const Canvas& image); // 8-bit, 256-colour palette, RLE

// Median-cut palette of at most 256 colours and the index of every pixel.
struct Indexed {
    std::vector<uint8_t> palette; // 256 * rgb
    std::vector<uint8_t> indices; // width * height, top row first
};
Indexed Quantize(const Canvas& image);

// Writes bytes to root/relative, creating folders; throws std::runtime_error on failure.
void WriteFile(const std::string& root, const std::string& relative, const Bytes& bytes);
void WriteText(const std::string& root, const std::string& relative, const std::string& text);

// Little-endian builder shared by the binary writers.
class ByteWriter {
public:
    void U8(uint32_t v) { bytes_.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) { U8(v & 0xFF), U8((v >> 8) & 0xFF); }
    void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    void I16(int v) { U16(static_cast<uint16_t>(static_cast<int16_t>(v))); }
    void I32(int v) { U32(static_cast<uint32_t>(v)); }
    void F32(float v);
    void Str(const std::string& s, size_t fixed); // zero-padded (and cut) to a fixed size
    void CStr(const std::string& s);              // zero-terminated
    void Raw(const Bytes& b) { bytes_.insert(bytes_.end(), b.begin(), b.end()); }
    void PatchU32(size_t at, uint32_t v);
    size_t Size() const { return bytes_.size(); }
    Bytes& Data() { return bytes_; }

private:
    Bytes bytes_;
};

} // namespace assetgen
