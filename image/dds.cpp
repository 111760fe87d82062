#include "image/dds.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr size_t kDescriptionOffset = 4;
constexpr size_t kHeaderSize = 128;

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

std::string Format(const char* fmt, const char* name, long long value = 0) {
    char buffer[600];
    std::snprintf(buffer, sizeof buffer, fmt, name, int(value));
    return buffer;
}

void Expand565(uint16_t c, uint8_t* rgb) {
    const int r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    rgb[0] = uint8_t((r << 3) | (r >> 2));
    rgb[1] = uint8_t((g << 2) | (g >> 4));
    rgb[2] = uint8_t((b << 3) | (b >> 2));
}

// Writes the 4x4 texels of one colour block (8 bytes) as RGBA into texels[16][4].
void DecodeColourBlock(const uint8_t* block, bool dxt1, uint8_t texels[16][4]) {
    const uint16_t c0 = uint16_t(block[0] | (block[1] << 8));
    const uint16_t c1 = uint16_t(block[2] | (block[3] << 8));
    uint8_t palette[4][4];
    Expand565(c0, palette[0]);
    Expand565(c1, palette[1]);
    palette[0][3] = palette[1][3] = palette[2][3] = palette[3][3] = 255;
    for (int k = 0; k < 3; ++k) {
        if (c0 > c1 || !dxt1) {
            palette[2][k] = uint8_t((2 * palette[0][k] + palette[1][k]) / 3);
            palette[3][k] = uint8_t((palette[0][k] + 2 * palette[1][k]) / 3);
        } else {
            palette[2][k] = uint8_t((palette[0][k] + palette[1][k]) / 2);
            palette[3][k] = 0;
        }
    }
    if (dxt1 && c0 <= c1) palette[3][3] = 0;
    const uint32_t indices = Le32(block + 4);
    for (int i = 0; i < 16; ++i)
        std::memcpy(texels[i], palette[(indices >> (2 * i)) & 3], 4);
}

void DecodeAlphaBlock(const uint8_t* block, bool explicitAlpha, uint8_t texels[16][4]) {
    if (explicitAlpha) {
        for (int i = 0; i < 16; ++i) {
            const int nibble = (block[i / 2] >> (4 * (i & 1))) & 15;
            texels[i][3] = uint8_t(nibble * 17);
        }
        return;
    }
    const int a0 = block[0], a1 = block[1];
    int alpha[8] = {a0, a1};
    for (int k = 1; k < 7; ++k) {
        if (a0 > a1)
            alpha[k + 1] = ((7 - k) * a0 + k * a1) / 7;
        else if (k < 5)
            alpha[k + 1] = ((5 - k) * a0 + k * a1) / 5;
    }
    if (a0 <= a1) {
        alpha[6] = 0;
        alpha[7] = 255;
    }
    uint64_t bits = 0;
    for (int i = 0; i < 6; ++i)
        bits |= uint64_t(block[2 + i]) << (8 * i);
    for (int i = 0; i < 16; ++i)
        texels[i][3] = uint8_t(alpha[(bits >> (3 * i)) & 7]);
}

} // namespace

int DdsBlockSize(GLenum format) {
    return format == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT ? 8 : 16;
}

size_t DdsLevelSize(int width, int height, GLenum format) {
    return size_t((width + 3) / 4) * size_t((height + 3) / 4) * size_t(DdsBlockSize(format));
}

bool DecodeDDS(const unsigned char* data, size_t size, const char* name, sDdsImage& out,
               std::string& error) {
    if (size < 4 || std::memcmp(data, "DDS ", 4) != 0) {
        error = Format("the file \"%s\" doesn't appear to bea valid .dds file!\n", name);
        return false;
    }
    if (size < kHeaderSize) {
        error = Format("the file \"%s\" is truncated!\n", name);
        return false;
    }
    const uint8_t* desc = data + kDescriptionOffset;
    const uint32_t height = Le32(desc + 8), width = Le32(desc + 12);
    const uint32_t mipmaps = Le32(desc + 24);
    const uint32_t fourCC = Le32(desc + 80);
    if (std::memcmp(desc + 80, "DXT1", 4) == 0) {
        out.format = GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
        out.components = 3;
    } else if (std::memcmp(desc + 80, "DXT3", 4) == 0) {
        out.format = GL_COMPRESSED_RGBA_S3TC_DXT3_EXT;
        out.components = 4;
    } else if (std::memcmp(desc + 80, "DXT5", 4) == 0) {
        out.format = GL_COMPRESSED_RGBA_S3TC_DXT5_EXT;
        out.components = 4;
    } else {
        error = Format("the file \"%s\" doesn't appear to becompressed using DXT1, DXT3, or "
                       "DXT5! [%i]\n",
                       name, (long long)(int32_t)fourCC);
        return false;
    }
    if (!CheckImageSize(width, height, error)) {
        error = Format("the file \"%s\" has an invalid size!\n", name);
        return false;
    }
    out.width = int(width);
    out.height = int(height);
    out.blocks = data + kHeaderSize;
    out.blockBytes = size - kHeaderSize;
    // Levels below 1x1 do not exist; every level uploaded must be in the file.
    int chain = 1;
    for (uint32_t w = width, h = height; w > 1 || h > 1;
         w = w > 1 ? w / 2 : 1, h = h > 1 ? h / 2 : 1)
        ++chain;
    out.levels = int(mipmaps < uint32_t(chain) ? mipmaps : uint32_t(chain));
    size_t needed = 0;
    int w = out.width, h = out.height;
    for (int i = 0; i < out.levels; ++i) {
        needed += DdsLevelSize(w, h, out.format);
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    if (needed > out.blockBytes) {
        error = Format("the file \"%s\" is truncated!\n", name);
        return false;
    }
    return true;
}

bool DecompressDdsLevel0(const sDdsImage& dds, sDecodedImage& out, std::string& error) {
    if (DdsLevelSize(dds.width, dds.height, dds.format) > dds.blockBytes) {
        error = "no level 0 in the file";
        return false;
    }
    if (!AllocateImage(out, dds.width, dds.height, 4, error)) return false;
    out.bottomUp = false;
    const int blockSize = DdsBlockSize(dds.format);
    const uint8_t* block = dds.blocks;
    for (int by = 0; by < (dds.height + 3) / 4; ++by)
        for (int bx = 0; bx < (dds.width + 3) / 4; ++bx, block += blockSize) {
            uint8_t texels[16][4];
            const bool dxt1 = dds.format == GL_COMPRESSED_RGBA_S3TC_DXT1_EXT;
            DecodeColourBlock(dxt1 ? block : block + 8, dxt1, texels);
            if (!dxt1)
                DecodeAlphaBlock(block, dds.format == GL_COMPRESSED_RGBA_S3TC_DXT3_EXT, texels);
            for (int i = 0; i < 16; ++i) {
                const int x = bx * 4 + (i & 3), y = by * 4 + (i >> 2);
                if (x < dds.width && y < dds.height)
                    std::memcpy(out.pixels.get() + (size_t(y) * size_t(dds.width) + size_t(x)) * 4,
                                texels[i], 4);
            }
        }
    return true;
}

gl_texture_t* ReadDDSFile(const char* file) {
    std::vector<uint8_t> bytes;
    if (!ReadImageFile(file, bytes)) return nullptr;
    sDdsImage dds;
    std::string error;
    if (!DecodeDDS(bytes.data(), bytes.size(), file, dds, error)) {
        std::fputs(error.c_str(), stderr);
        return nullptr;
    }
    auto* texture = static_cast<gl_texture_t*>(std::calloc(1, sizeof(gl_texture_t)));
    if (!texture) return nullptr;
    texture->width = dds.width;
    texture->height = dds.height;
    texture->format = dds.format;
    texture->internalFormat = dds.components;
    texture->numMipmaps = dds.levels;
    texture->texels = static_cast<GLubyte*>(std::malloc(dds.blockBytes ? dds.blockBytes : 1));
    if (!texture->texels) {
        std::free(texture);
        return nullptr;
    }
    std::memcpy(texture->texels, dds.blocks, dds.blockBytes);
    return texture;
}

GLuint loadDDSTexture(const char* file) {
    gl_texture_t* texture = ReadDDSFile(file);
    if (!texture) return 0;
    glGenTextures(1, &texture->id);
    glBindTexture(GL_TEXTURE_2D, texture->id);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    // Without this a file with fewer levels than the full chain samples as incomplete.
    if (texture->numMipmaps > 0)
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, texture->numMipmaps - 1);
    size_t offset = 0;
    GLsizei w = texture->width, h = texture->height;
    for (GLint i = 0; i < texture->numMipmaps; ++i) {
        const size_t levelSize = DdsLevelSize(w, h, texture->format);
        glCompressedTexImage2D(GL_TEXTURE_2D, i, texture->format, w, h, 0, GLsizei(levelSize),
                               texture->texels + offset);
        offset += levelSize;
        w = w > 1 ? w / 2 : 1;
        h = h > 1 ? h / 2 : 1;
    }
    GLuint id = texture->id;
    FreeTextureRecord(texture);
    return id;
}
