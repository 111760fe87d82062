#include "image/ImageBuffer.h"

#include <cstdio>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <tmmintrin.h>
#endif

bool CheckImageSize(long long width, long long height, std::string& error) {
    if (width <= 0 || height <= 0) {
        error = "invalid image size " + std::to_string(width) + "x" + std::to_string(height);
        return false;
    }
    if (width > kMaxImageDimension || height > kMaxImageDimension ||
        width * height > kMaxImagePixels) {
        error =
            "image size " + std::to_string(width) + "x" + std::to_string(height) + " is too large";
        return false;
    }
    return true;
}

bool AllocateImage(sDecodedImage& image, long long width, long long height, int components,
                   std::string& error, bool zeroed) {
    if (!CheckImageSize(width, height, error)) return false;
    image.width = int(width);
    image.height = int(height);
    image.components = components;
    image.pixels.reset(static_cast<uint8_t*>(zeroed ? std::calloc(image.ByteCount(), 1)
                                                    : std::malloc(image.ByteCount())));
    if (!image.pixels) {
        error = "out of memory";
        return false;
    }
    return true;
}

bool AdoptPixels(sDecodedImage& out, uint8_t*& pixels, unsigned width, unsigned height,
                 unsigned components) {
    if (!pixels) return false;
    out.width = int(width);
    out.height = int(height);
    out.components = int(components);
    out.bottomUp = false; // stored order; the origin bit is not used
    out.pixels.reset(pixels);
    pixels = nullptr;
    return true;
}

bool ReadImageFile(const char* file, std::vector<uint8_t>& bytes) {
    if (ReadFileToMemory(file, bytes)) return true;
    std::fprintf(stderr, "error: couldn't open \"%s\"!\n", file ? file : "");
    return false;
}

namespace {

#if defined(__x86_64__) || defined(__i386__)
// 16 bytes at a time with a byte shuffle: 5 three-byte or 4 four-byte pixels per step.
// The 16th byte of a three-byte step is rewritten by the next step or the tail loop.
__attribute__((target("ssse3"))) size_t SwapRedBlueShuffled(uint8_t* dst, const uint8_t* src,
                                                            size_t pixelCount, int components) {
    const __m128i mask3 = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
    const __m128i mask4 = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
    size_t i = 0;
    if (components == 3) {
        for (; i + 6 <= pixelCount; i += 5) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 3 * i), _mm_shuffle_epi8(v, mask3));
        }
    } else {
        for (; i + 4 <= pixelCount; i += 4) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 4 * i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 4 * i), _mm_shuffle_epi8(v, mask4));
        }
    }
    return i;
}

bool HasShuffle() {
    static const bool has = __builtin_cpu_supports("ssse3");
    return has;
}
#endif

} // namespace

void CopySwapRedBlue(uint8_t* dst, const uint8_t* src, size_t pixelCount, int components) {
    if (components != 3 && components != 4) {
        std::memmove(dst, src, pixelCount * size_t(components));
        return;
    }
    size_t done = 0;
#if defined(__x86_64__) || defined(__i386__)
    if (HasShuffle() && pixelCount >= 8)
        done = SwapRedBlueShuffled(dst, src, pixelCount, components);
#endif
    const size_t step = size_t(components);
    dst += done * step;
    src += done * step;
    for (size_t i = done; i < pixelCount; ++i, dst += step, src += step) {
        const uint8_t b = src[0], g = src[1], r = src[2];
        dst[0] = r;
        dst[1] = g;
        dst[2] = b;
        if (step == 4) dst[3] = src[3];
    }
}

bool ParseTgaTrueColourInfo(const uint8_t* info, unsigned& width, unsigned& height, unsigned& bpp) {
    width = unsigned(info[1]) * 256 + info[0];
    height = unsigned(info[3]) * 256 + info[2];
    bpp = info[4];
    std::string sizeError;
    return CheckImageSize(width, height, sizeError) && (bpp == 24 || bpp == 32);
}

eRleResult DecodeTgaRle(CByteReader& in, uint8_t* dst, size_t pixelCount, int components,
                        eRleOverrun overrun) {
    const size_t comps = size_t(components);
    size_t done = 0;
    while (done < pixelCount) {
        uint8_t header;
        if (!in.ReadU8(header)) return eRleResult::TruncatedHeader;
        size_t count = size_t(header & 0x7F) + 1;
        if (count > pixelCount - done) {
            if (overrun == eRleOverrun::Refuse) return eRleResult::Overrun;
            count = pixelCount - done;
        }
        uint8_t* out = dst ? dst + done * comps : nullptr;
        done += count;
        if (header & 0x80) {
            const uint8_t* src = in.Take(comps);
            if (!src) return eRleResult::TruncatedRun;
            if (!out) continue;
            uint8_t pixel[4] = {0, 0, 0, 0};
            CopySwapRedBlue(pixel, src, 1, components);
            for (size_t i = 0; i < count; ++i, out += comps)
                std::memcpy(out, pixel, comps);
        } else {
            const uint8_t* src = in.Take(count * comps);
            if (!src) return eRleResult::TruncatedRaw;
            if (out) CopySwapRedBlue(out, src, count, components);
        }
    }
    return eRleResult::Ok;
}

eImageReader ChooseImageReader(const char* fileName) {
    const std::string name = fileName ? fileName : "";
    auto has = [&](const char* s) { return name.find(s) != std::string::npos; };
    if (has("bmp") || has("BMP")) return eImageReader::BMP;
    if (has("pcx")) return eImageReader::PCX;
    if (has("dds")) return eImageReader::DDS;
    if (has("jpg") || has("jpeg")) return eImageReader::JPEG;
    if (has("tga") || has("TGA")) return eImageReader::TGA;
    return eImageReader::ImageLibrary;
}

const char* ImageReaderName(eImageReader reader) {
    switch (reader) {
    case eImageReader::BMP:
        return "bmp";
    case eImageReader::PCX:
        return "pcx";
    case eImageReader::DDS:
        return "dds";
    case eImageReader::JPEG:
        return "jpeg";
    case eImageReader::TGA:
        return "tgaload";
    case eImageReader::ImageLibrary:
        return "SDL_image";
    }
    return "?";
}
