#include "image/ImageBuffer.h"

#include <cstdio>
#include <cstring>

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
                   std::string& error) {
    if (!CheckImageSize(width, height, error)) return false;
    image.width = int(width);
    image.height = int(height);
    image.components = components;
    image.pixels.reset(static_cast<uint8_t*>(std::calloc(image.ByteCount(), 1)));
    if (!image.pixels) {
        error = "out of memory";
        return false;
    }
    return true;
}

bool CByteReader::ReadBytes(void* dst, size_t count) {
    const uint8_t* p = Take(count);
    if (!p) return false;
    std::memcpy(dst, p, count);
    return true;
}

bool ReadFileToMemory(const char* path, std::vector<uint8_t>& out) {
    FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    out.clear();
    uint8_t chunk[65536];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out.insert(out.end(), chunk, chunk + got);
    bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}

void CopySwapRedBlue(uint8_t* dst, const uint8_t* src, size_t pixelCount, int components) {
    if (components == 3) {
        for (size_t i = 0; i < pixelCount; ++i, dst += 3, src += 3) {
            uint8_t b = src[0], g = src[1], r = src[2];
            dst[0] = r;
            dst[1] = g;
            dst[2] = b;
        }
    } else if (components == 4) {
        for (size_t i = 0; i < pixelCount; ++i, dst += 4, src += 4) {
            uint8_t b = src[0], g = src[1], r = src[2], a = src[3];
            dst[0] = r;
            dst[1] = g;
            dst[2] = b;
            dst[3] = a;
        }
    } else {
        std::memmove(dst, src, pixelCount * size_t(components));
    }
}

eRleResult DecodeTgaRle(CByteReader& in, uint8_t* dst, size_t pixelCount, int components,
                        eRleOverrun overrun) {
    const size_t comps = size_t(components);
    size_t done = 0;
    while (done < pixelCount) {
        uint8_t header;
        if (!in.ReadU8(header)) return eRleResult::Truncated;
        size_t count = size_t(header & 0x7F) + 1;
        if (count > pixelCount - done) {
            if (overrun == eRleOverrun::Refuse) return eRleResult::Overrun;
            count = pixelCount - done;
        }
        uint8_t* out = dst + done * comps;
        if (header & 0x80) {
            const uint8_t* src = in.Take(comps);
            if (!src) return eRleResult::Truncated;
            uint8_t pixel[4] = {0, 0, 0, 0};
            CopySwapRedBlue(pixel, src, 1, components);
            for (size_t i = 0; i < count; ++i, out += comps)
                std::memcpy(out, pixel, comps);
        } else {
            const uint8_t* src = in.Take(count * comps);
            if (!src) return eRleResult::Truncated;
            CopySwapRedBlue(out, src, count, components);
        }
        done += count;
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
