#include "image/pcx.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kHeaderSize = 128;
constexpr size_t kVgaPaletteSize = 769; // 0x0C marker + 256 RGB entries

// Run-length state that carries over between planes and rows, as the format allows.
class CPcxRle {
public:
    explicit CPcxRle(CByteReader& in) : m_in(in) {}

    // Decodes `count` values into dst; false when the data ends first.
    bool Decode(uint8_t* dst, size_t count) {
        while (count > 0) {
            if (m_run == 0) {
                uint8_t c;
                if (!m_in.ReadU8(c)) return false;
                if (c > 191) {
                    m_run = size_t(c - 192);
                    if (!m_in.ReadU8(m_value)) return false;
                } else {
                    m_run = 1;
                    m_value = c;
                }
            }
            size_t n = m_run < count ? m_run : count;
            std::memset(dst, m_value, n);
            dst += n;
            count -= n;
            m_run -= n;
        }
        return true;
    }

private:
    CByteReader& m_in;
    size_t m_run = 0;
    uint8_t m_value = 0;
};

struct sPcxHeader {
    uint8_t manufacturer, version, encoding, bitsPerPixel;
    uint16_t xMin, yMin, xMax, yMax;
    const uint8_t* palette16;
    uint8_t planes;
    uint16_t bytesPerLine;
};

std::string Format(const char* fmt, int value) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, fmt, value);
    return buffer;
}

void PutPaletteRow(uint8_t* dst, const uint8_t* indices, const uint8_t* palette, int width) {
    for (int x = 0; x < width; ++x, dst += 3)
        std::memcpy(dst, palette + 3 * indices[x], 3);
}

} // namespace

ePcxResult DecodePCX(const unsigned char* data, size_t size, sDecodedImage& out,
                     std::string& error) {
    CByteReader in(data, size);
    const uint8_t* h = in.Take(kHeaderSize);
    if (!h) {
        error = "error: truncated pcx file!\n";
        return ePcxResult::Failed;
    }
    auto word = [h](int offset) { return uint16_t(h[offset] | (h[offset + 1] << 8)); };
    sPcxHeader hd{h[0],    h[1],     h[2],   h[3],  word(4), word(6),
                  word(8), word(10), h + 16, h[65], word(66)};
    if (hd.manufacturer != 10) {
        error = Format("error: bad version number! (%i)\n", hd.manufacturer);
        return ePcxResult::Failed;
    }
    const long long width = (long long)hd.xMax - hd.xMin + 1;
    const long long height = (long long)hd.yMax - hd.yMin + 1;
    if (!CheckImageSize(width, height, error)) {
        error = "error: " + error + "!\n";
        return ePcxResult::Failed;
    }
    const int bitCount = hd.planes * hd.bitsPerPixel;
    // Values each plane line must hold to cover the width.
    long long needed = 0;
    if (hd.planes == 1 && hd.bitsPerPixel == 1)
        needed = (width + 7) / 8;
    else if (hd.planes == 4 && hd.bitsPerPixel == 1)
        needed = (width + 7) / 8;
    else if (hd.planes == 1 && hd.bitsPerPixel == 4)
        needed = (width + 1) / 2;
    else if (hd.planes == 1 && hd.bitsPerPixel == 8)
        needed = width;
    else if (hd.planes == 3 && hd.bitsPerPixel == 8)
        needed = width;
    else {
        error = Format("error: unknown %i bitcount pcx files\n", bitCount);
        return ePcxResult::Failed;
    }
    if (hd.bytesPerLine < needed) {
        error = Format("error: bad bytes per line! (%i)\n", hd.bytesPerLine);
        return ePcxResult::Failed;
    }
    const size_t lineValues = hd.bytesPerLine;
    const size_t totalValues = lineValues * size_t(hd.planes) * size_t(height);
    // Two bytes encode at most 63 values: refuse files too short before allocating.
    if ((totalValues + 62) / 63 * 2 > in.Remaining()) {
        error = "error: truncated pcx file!\n";
        return ePcxResult::Failed;
    }
    const uint8_t* palette = hd.palette16;
    if (bitCount == 8) {
        if (size < kHeaderSize + kVgaPaletteSize) {
            error = "error: truncated pcx file!\n";
            return ePcxResult::Failed;
        }
        const uint8_t marker = data[size - kVgaPaletteSize];
        if (marker != 12) {
            error = Format("error: colormap's first byte must be 0x0c! (%#x)\n", marker);
            return ePcxResult::NoPalette;
        }
        palette = data + size - kVgaPaletteSize + 1;
    }
    if (!AllocateImage(out, width, height, 3, error)) {
        error = "error: " + error + "!\n";
        return ePcxResult::Failed;
    }
    out.bottomUp = true;
    const int w = int(width);
    std::vector<uint8_t> line(lineValues * hd.planes);
    std::vector<uint8_t> indices(size_t(w) + 8);
    CPcxRle rle(in);
    for (int y = 0; y < out.height; ++y) {
        if (!rle.Decode(line.data(), line.size())) {
            error = "error: truncated pcx file!\n";
            return ePcxResult::Failed;
        }
        uint8_t* row = out.pixels.get() + size_t(out.height - 1 - y) * out.RowBytes();
        if (bitCount == 24) {
            const uint8_t* r = line.data();
            const uint8_t* g = r + lineValues;
            const uint8_t* b = g + lineValues;
            for (int x = 0; x < w; ++x, row += 3) {
                row[0] = r[x];
                row[1] = g[x];
                row[2] = b[x];
            }
            continue;
        }
        if (bitCount == 8) {
            PutPaletteRow(row, line.data(), palette, w);
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const int shift = 7 - (x & 7);
            if (hd.planes == 4) {
                uint8_t index = 0;
                for (int p = 0; p < 4; ++p)
                    index |= uint8_t(((line[size_t(p) * lineValues + size_t(x >> 3)] >> shift) & 1)
                                     << p);
                indices[size_t(x)] = index;
            } else if (hd.bitsPerPixel == 4) {
                const uint8_t packed = line[size_t(x >> 1)];
                indices[size_t(x)] = (x & 1) ? (packed & 0x0F) : (packed >> 4);
            } else {
                indices[size_t(x)] = (line[size_t(x >> 3)] >> shift) & 1;
            }
        }
        PutPaletteRow(row, indices.data(), palette, w);
    }
    return ePcxResult::Ok;
}

gl_texture_t* ReadPCXFile(const char* file) {
    std::vector<uint8_t> bytes;
    if (!ReadImageFile(file, bytes)) return nullptr;
    sDecodedImage image;
    std::string error;
    const ePcxResult result = DecodePCX(bytes.data(), bytes.size(), image, error);
    if (result != ePcxResult::Ok) std::fputs(error.c_str(), stderr);
    if (result == ePcxResult::Failed) return nullptr;
    if (result == ePcxResult::NoPalette) {
        auto* texture = MakeTextureRecord(image, GL_RGB);
        if (texture) texture->internalFormat = 3;
        return texture;
    }
    return MakeTextureRecord(image, GL_RGB);
}

GLuint loadPCXTexture(const char* file, bool anisotropic) {
    return UploadTextureRecord(ReadPCXFile(file), anisotropic);
}
