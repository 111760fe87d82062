#include "image/bmp.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kWindowsHeaderSize = 40;
constexpr size_t kOs2HeaderSize = 12;

struct sBmpInfo {
    long long width = 0;
    long long height = 0; // negative: rows stored top-down
    int bitCount = 0;
    uint32_t compression = 0;
    bool os2 = false;
    size_t paletteOffset = 0;
    uint32_t masks[4] = {0, 0, 0, 0}; // red, green, blue for bit fields
};

std::string Format(const char* fmt, const char* text) {
    char buffer[512];
    std::snprintf(buffer, sizeof buffer, fmt, text);
    return buffer;
}

std::string Format(const char* fmt, int value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, fmt, value);
    return buffer;
}

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

bool ReadInfo(const unsigned char* data, size_t size, sBmpInfo& info) {
    const uint8_t* h = data + kFileHeaderSize;
    const size_t available = size - kFileHeaderSize;
    const uint32_t headerSize = available >= 4 ? Le32(h) : 0;
    // The header size names an OS/2 core header outright; otherwise a compression of 4
    // or more is taken as the sign of one.
    bool os2 = headerSize == kOs2HeaderSize;
    if (!os2) {
        if (available < kWindowsHeaderSize) return false;
        info.compression = Le32(h + 16);
        os2 = info.compression >= 4;
    }
    if (os2) {
        if (available < kOs2HeaderSize) return false;
        info.os2 = true;
        info.width = Le16(h + 4);
        info.height = Le16(h + 6);
        info.bitCount = Le16(h + 10);
        info.compression = 0;
        info.paletteOffset = kFileHeaderSize + kOs2HeaderSize;
        return true;
    }
    info.width = int32_t(Le32(h + 4));
    info.height = int32_t(Le32(h + 8));
    info.bitCount = Le16(h + 14);
    size_t afterHeader = headerSize >= kWindowsHeaderSize && headerSize <= available
                             ? headerSize
                             : kWindowsHeaderSize;
    if (info.compression == 3) {
        // Bit-field masks sit inside newer headers or right after the 40-byte one.
        if (kWindowsHeaderSize + 12 > available) return false;
        for (int i = 0; i < 3; ++i)
            info.masks[i] = Le32(h + kWindowsHeaderSize + 4 * i);
        if (afterHeader == kWindowsHeaderSize) afterHeader += 12;
    }
    info.paletteOffset = kFileHeaderSize + afterHeader;
    return true;
}

class CBmpRows {
public:
    CBmpRows(sDecodedImage& image, bool topDown) : m_image(image), m_topDown(topDown) {}
    // Output row of stored row y, bottom row first.
    uint8_t* Row(long long y) const {
        const long long row = m_topDown ? m_image.height - 1 - y : y;
        return m_image.pixels.get() + size_t(row) * m_image.RowBytes();
    }

private:
    sDecodedImage& m_image;
    bool m_topDown;
};

void PutPaletteIndex(uint8_t* px, const uint8_t* palette, unsigned index) {
    std::memcpy(px, palette + 3 * index, 3);
}

void DecodeUncompressed(const uint8_t* src, size_t stride, int bitCount, const uint8_t* palette,
                        const uint32_t* masks, const CBmpRows& rows, sDecodedImage& out) {
    const int width = out.width;
    for (long long y = 0; y < out.height; ++y, src += stride) {
        uint8_t* px = rows.Row(y);
        switch (bitCount) {
        case 1:
            for (int x = 0; x < width; ++x, px += 3)
                PutPaletteIndex(px, palette, (src[x >> 3] >> (7 - (x & 7))) & 1);
            break;
        case 4:
            for (int x = 0; x < width; ++x, px += 3)
                PutPaletteIndex(px, palette, (x & 1) ? src[x >> 1] & 0x0F : src[x >> 1] >> 4);
            break;
        case 8:
            for (int x = 0; x < width; ++x, px += 3)
                PutPaletteIndex(px, palette, src[x]);
            break;
        case 24:
            CopySwapRedBlue(px, src, size_t(width), 3);
            break;
        case 32:
            if (masks[0] | masks[1] | masks[2]) {
                int shifts[3];
                uint32_t widths[3];
                for (int c = 0; c < 3; ++c) {
                    uint32_t m = masks[c];
                    shifts[c] = 0;
                    while (m && !(m & 1))
                        m >>= 1, ++shifts[c];
                    widths[c] = m;
                }
                for (int x = 0; x < width; ++x, px += 3) {
                    const uint32_t v = Le32(src + 4 * x);
                    for (int c = 0; c < 3; ++c) {
                        const uint32_t m = widths[c];
                        px[c] = m ? uint8_t(uint64_t((v >> shifts[c]) & m) * 255u / m) : 0;
                    }
                }
            } else {
                for (int x = 0; x < width; ++x, px += 3) {
                    px[0] = src[4 * x + 2];
                    px[1] = src[4 * x + 1];
                    px[2] = src[4 * x];
                }
            }
            break;
        }
    }
}

// RLE8 (bits 8) and RLE4 (bits 4) with their escapes: end of line, end of bitmap,
// delta. Pixels beyond the row end are dropped; missing data leaves black pixels.
bool DecodeRle(CByteReader& in, int bits, const uint8_t* palette, const CBmpRows& rows,
               sDecodedImage& out) {
    long long x = 0, y = 0;
    auto put = [&](unsigned index) {
        if (x < out.width && y < out.height) PutPaletteIndex(rows.Row(y) + 3 * x, palette, index);
        ++x;
    };
    while (y < out.height) {
        uint8_t count, value;
        if (!in.ReadU8(count) || !in.ReadU8(value))
            return y >= out.height - 1 && x >= out.width; // only the closing escape missing
        if (count > 0) {
            for (int i = 0; i < count; ++i)
                put(bits == 8 ? value : (i & 1) ? value & 0x0F : value >> 4);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            return true;
        } else if (value == 2) { // delta
            uint8_t dx, dy;
            if (!in.ReadU8(dx) || !in.ReadU8(dy)) return false;
            x += dx;
            y += dy;
        } else { // absolute run, padded to an even byte count
            const size_t bytes = bits == 8 ? value : (size_t(value) + 1) / 2;
            const uint8_t* src = in.Take(bytes);
            if (!src || (bytes & 1 && !in.Skip(1))) return false;
            for (int i = 0; i < value; ++i)
                put(bits == 8 ? src[i] : (i & 1) ? src[i >> 1] & 0x0F : src[i >> 1] >> 4);
        }
    }
    return true;
}

} // namespace

bool DecodeBMP(const unsigned char* data, size_t size, const char* name, sDecodedImage& out,
               std::string& error) {
    if (size < kFileHeaderSize || data[0] != 'B' || data[1] != 'M') {
        error = Format("%s is not a valid BMP file!\n", name);
        return false;
    }
    sBmpInfo info;
    if (!ReadInfo(data, size, info)) {
        error = Format("%s is not a valid BMP file!\n", name);
        return false;
    }
    const uint32_t pixelOffset = Le32(data + 10);
    const bool topDown = info.height < 0;
    const long long height = topDown ? -info.height : info.height;
    const int bits = info.bitCount;
    const bool supported = (info.compression == 0 &&
                            (bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32)) ||
                           (info.compression == 1 && bits == 8) ||
                           (info.compression == 2 && bits == 4) ||
                           (info.compression == 3 && bits == 32);
    if (!supported) {
        error = Format("unsupported bitmap type or bad filecompression type (%i)\n",
                       int(info.compression));
        return false;
    }
    if (!CheckImageSize(info.width, height, error)) {
        error = "error: " + error + "!\n";
        return false;
    }
    // Palette: 2^bits entries where the file holds them, blue-green-red[-reserved].
    uint8_t palette[256 * 3] = {};
    if (bits <= 8) {
        const size_t entrySize = info.os2 ? 3 : 4;
        for (size_t i = 0; i < (size_t(1) << bits); ++i) {
            const size_t at = info.paletteOffset + i * entrySize;
            if (at + 3 > size) break;
            palette[3 * i] = data[at + 2];
            palette[3 * i + 1] = data[at + 1];
            palette[3 * i + 2] = data[at];
        }
    }
    if (pixelOffset > size) {
        error = "error: truncated bmp file!\n";
        return false;
    }
    CByteReader in(data, size);
    in.Seek(pixelOffset);
    const size_t stride = (size_t(info.width) * size_t(bits) + 31) / 32 * 4;
    const size_t lastRow = (size_t(info.width) * size_t(bits) + 7) / 8;
    if (info.compression == 0 || info.compression == 3) {
        // The last row may lack its padding; every pixel must be present.
        if (stride * size_t(height - 1) + lastRow > in.Remaining()) {
            error = "error: truncated bmp file!\n";
            return false;
        }
    } else if (size_t(info.width) * size_t(height) > in.Remaining() * 256) {
        error = "error: truncated bmp file!\n";
        return false;
    }
    if (!AllocateImage(out, info.width, height, 3, error,
                       info.compression == 1 || info.compression == 2)) {
        error = "error: " + error + "!\n";
        return false;
    }
    out.bottomUp = true;
    CBmpRows rows(out, topDown);
    if (info.compression == 0 || info.compression == 3) {
        DecodeUncompressed(data + pixelOffset, stride, bits, palette, info.masks, rows, out);
    } else if (!DecodeRle(in, bits, palette, rows, out)) {
        error = "error: truncated bmp file!\n";
        return false;
    }
    return true;
}

gl_texture_t* ReadBMPFile(const char* file) {
    std::vector<uint8_t> bytes;
    if (!ReadImageFile(file, bytes)) return nullptr;
    sDecodedImage image;
    std::string error;
    if (!DecodeBMP(bytes.data(), bytes.size(), file, image, error)) {
        std::fputs(error.c_str(), stderr);
        return nullptr;
    }
    return MakeTextureRecord(image, GL_RGB);
}

GLuint loadBMPTexture(const char* file, bool anisotropic) {
    return UploadTextureRecord(ReadBMPFile(file), anisotropic);
}
