#include "tools/assetgen/encoders.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace assetgen {

void ByteWriter::F32(float v) {
    uint32_t u;
    std::memcpy(&u, &v, 4);
    U32(u);
}

void ByteWriter::Str(const std::string& s, size_t fixed) {
    for (size_t i = 0; i < fixed; ++i)
        U8(i < s.size() && i + 1 < fixed ? static_cast<uint8_t>(s[i]) : 0);
}

void ByteWriter::CStr(const std::string& s) {
    for (char c : s)
        U8(static_cast<uint8_t>(c));
    U8(0);
}

void ByteWriter::PatchU32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        bytes_[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

namespace {

void PngAppend(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void PngFlush(png_structp) {}

} // namespace

Bytes EncodePng(const Canvas& image) {
    Bytes out;
    std::vector<uint8_t> rgba = image.ToRgba8();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("PNG encoding failed");
    }
    png_set_write_fn(png, &out, PngAppend, PngFlush);
    png_set_IHDR(png, info, image.Width(), image.Height(), 8, PNG_COLOR_TYPE_RGBA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.Height(); ++y)
        png_write_row(png, &rgba[static_cast<size_t>(y) * image.Width() * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodeJpeg(const Canvas& image, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = image.Width();
    cinfo.image_height = image.Height();
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> rgba = image.ToRgba8();
    std::vector<uint8_t> row(static_cast<size_t>(image.Width()) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint8_t* src = &rgba[static_cast<size_t>(cinfo.next_scanline) * image.Width() * 4];
        for (int x = 0; x < image.Width(); ++x)
            for (int c = 0; c < 3; ++c)
                row[3 * x + c] = src[4 * x + c];
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    Bytes out(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}

Bytes EncodeTga(const Canvas& image, bool withAlpha) {
    ByteWriter w;
    w.U8(0); // no ID field: the engine's readers take pixels from offset 18
    w.U8(0);
    w.U8(2);
    w.U16(0), w.U16(0), w.U8(0); // no colour map
    w.U16(0), w.U16(0);          // origin
    w.U16(image.Width()), w.U16(image.Height());
    w.U8(withAlpha ? 32 : 24);
    w.U8(withAlpha ? 8 : 0); // bottom-left origin, alpha bits
    std::vector<uint8_t> rgba = image.ToRgba8();
    for (int y = image.Height() - 1; y >= 0; --y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y) * image.Width() + x) * 4];
            w.U8(p[2]), w.U8(p[1]), w.U8(p[0]);
            if (withAlpha) w.U8(p[3]);
        }
    return std::move(w.Data());
}

Bytes EncodeBmp(const Canvas& image) {
    if ((image.Width() * 3) % 4 != 0) throw std::runtime_error("BMP rows must be 4-byte aligned");
    uint32_t pixelBytes = static_cast<uint32_t>(image.Width()) * image.Height() * 3;
    ByteWriter w;
    w.U8('B'), w.U8('M');
    w.U32(54 + pixelBytes);
    w.U16(0), w.U16(0);
    w.U32(54);
    w.U32(40);
    w.I32(image.Width()), w.I32(image.Height());
    w.U16(1), w.U16(24);
    w.U32(0), w.U32(pixelBytes);
    w.U32(2835), w.U32(2835); // 72 dpi
    w.U32(0), w.U32(0);
    std::vector<uint8_t> rgba = image.ToRgba8();
    for (int y = image.Height() - 1; y >= 0; --y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t* p = &rgba[(static_cast<size_t>(y) * image.Width() + x) * 4];
            w.U8(p[2]), w.U8(p[1]), w.U8(p[0]);
        }
    return std::move(w.Data());
}

namespace {

struct Box {
    std::vector<uint32_t> colors; // packed 0x00RRGGBB, one per distinct colour
    std::vector<uint32_t> counts;
};

int Channel(uint32_t c, int ch) {
    return (c >> (16 - 8 * ch)) & 0xFF;
}

} // namespace

Indexed Quantize(const Canvas& image) {
    std::vector<uint8_t> rgba = image.ToRgba8();
    size_t n = static_cast<size_t>(image.Width()) * image.Height();
    // Histogram of distinct colours, sorted so the result does not depend on hashing.
    std::vector<uint32_t> packed(n);
    for (size_t i = 0; i < n; ++i)
        packed[i] = rgba[4 * i] << 16 | rgba[4 * i + 1] << 8 | rgba[4 * i + 2];
    std::vector<uint32_t> sorted = packed;
    std::sort(sorted.begin(), sorted.end());
    std::vector<Box> boxes(1);
    for (size_t i = 0; i < n;) {
        size_t j = i;
        while (j < n && sorted[j] == sorted[i])
            ++j;
        boxes[0].colors.push_back(sorted[i]);
        boxes[0].counts.push_back(static_cast<uint32_t>(j - i));
        i = j;
    }
    // Median cut: split the box with the widest channel range (weighted by population).
    while (boxes.size() < 256) {
        int best = -1, bestChannel = 0;
        double bestScore = 0;
        for (size_t b = 0; b < boxes.size(); ++b) {
            if (boxes[b].colors.size() < 2) continue;
            uint64_t pop = 0;
            for (uint32_t c : boxes[b].counts)
                pop += c;
            for (int ch = 0; ch < 3; ++ch) {
                int lo = 255, hi = 0;
                for (uint32_t c : boxes[b].colors)
                    lo = std::min(lo, Channel(c, ch)), hi = std::max(hi, Channel(c, ch));
                double score = static_cast<double>(hi - lo) * std::sqrt(static_cast<double>(pop));
                if (score > bestScore)
                    bestScore = score, best = static_cast<int>(b), bestChannel = ch;
            }
        }
        if (best < 0) break;
        Box& box = boxes[best];
        std::vector<size_t> order(box.colors.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return Channel(box.colors[a], bestChannel) < Channel(box.colors[b], bestChannel);
        });
        uint64_t total = 0, acc = 0;
        for (uint32_t c : box.counts)
            total += c;
        size_t cut = 1;
        for (size_t i = 0; i + 1 < order.size(); ++i) {
            acc += box.counts[order[i]];
            cut = i + 1;
            if (acc * 2 >= total) break;
        }
        Box lo, hi;
        for (size_t i = 0; i < order.size(); ++i) {
            Box& dst = i < cut ? lo : hi;
            dst.colors.push_back(box.colors[order[i]]);
            dst.counts.push_back(box.counts[order[i]]);
        }
        box = std::move(lo);
        boxes.push_back(std::move(hi));
    }
    Indexed out;
    out.palette.assign(768, 0);
    for (size_t b = 0; b < boxes.size(); ++b) {
        double sum[3] = {0, 0, 0}, pop = 0;
        for (size_t i = 0; i < boxes[b].colors.size(); ++i) {
            for (int ch = 0; ch < 3; ++ch)
                sum[ch] += Channel(boxes[b].colors[i], ch) * double(boxes[b].counts[i]);
            pop += boxes[b].counts[i];
        }
        for (int ch = 0; ch < 3; ++ch)
            out.palette[3 * b + ch] = static_cast<uint8_t>(std::lround(sum[ch] / pop));
    }
    // Nearest palette entry per distinct colour (linear in pixels via the sorted table).
    std::vector<uint8_t> nearest(sorted.size());
    auto match = [&](uint32_t c) {
        int best = 0, bestD = 1 << 30;
        for (size_t p = 0; p < boxes.size(); ++p) {
            int d = 0;
            for (int ch = 0; ch < 3; ++ch) {
                int e = Channel(c, ch) - out.palette[3 * p + ch];
                d += e * e;
            }
            if (d < bestD) bestD = d, best = static_cast<int>(p);
        }
        return static_cast<uint8_t>(best);
    };
    std::vector<uint32_t> distinct;
    for (size_t i = 0; i < sorted.size(); ++i)
        if (i == 0 || sorted[i] != sorted[i - 1]) distinct.push_back(sorted[i]);
    std::vector<uint8_t> distinctIndex(distinct.size());
    for (size_t i = 0; i < distinct.size(); ++i)
        distinctIndex[i] = match(distinct[i]);
    out.indices.resize(n);
    for (size_t i = 0; i < n; ++i)
        out.indices[i] =
            distinctIndex[std::lower_bound(distinct.begin(), distinct.end(), packed[i]) -
                          distinct.begin()];
    return out;
}

Bytes EncodePcx(const Canvas& image) {
    Indexed indexed = Quantize(image);
    int bytesPerLine = (image.Width() + 1) & ~1; // even, as the format asks
    ByteWriter w;
    w.U8(10), w.U8(5), w.U8(1), w.U8(8);
    w.U16(0), w.U16(0), w.U16(image.Width() - 1), w.U16(image.Height() - 1);
    w.U16(72), w.U16(72);
    for (int i = 0; i < 48; ++i)
        w.U8(0);
    w.U8(0), w.U8(1);
    w.U16(bytesPerLine), w.U16(1), w.U16(0), w.U16(0);
    for (int i = 0; i < 54; ++i)
        w.U8(0);
    for (int y = 0; y < image.Height(); ++y) {
        const uint8_t* row = &indexed.indices[static_cast<size_t>(y) * image.Width()];
        for (int x = 0; x < bytesPerLine;) {
            uint8_t v = x < image.Width() ? row[x] : 0;
            int run = 1;
            while (x + run < bytesPerLine && run < 63 &&
                   (x + run < image.Width() ? row[x + run] : 0) == v)
                ++run;
            if (run > 1 || v >= 0xC0) w.U8(0xC0 | run);
            w.U8(v);
            x += run;
        }
    }
    w.U8(0x0C);
    for (uint8_t b : indexed.palette)
        w.U8(b);
    return std::move(w.Data());
}

void WriteFile(const std::string& root, const std::string& relative, const Bytes& bytes) {
    std::filesystem::path path = std::filesystem::path(root) / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteText(const std::string& root, const std::string& relative, const std::string& text) {
    WriteFile(root, relative, Bytes(text.begin(), text.end()));
}

} // namespace assetgen
