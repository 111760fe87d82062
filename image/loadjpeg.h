#pragma once
// Baseline sequential JPEG decoder (Huffman, 8-bit, up to 3 components) with the
// floating-point Arai-Agui-Nakajima inverse DCT.
#include <GL/glew.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/ImageBuffer.h"

// One Huffman table: the file's code counts and symbols, and the lookup built from
// their canonical codes.
struct jpeg_huffman_table_t {
    static constexpr int kFastBits = 9;
    uint8_t counts[17];   // codes of each length 1..16
    uint8_t symbols[256]; // in code order
    // Fast path: entry for every kFastBits-bit prefix, (length << 8) | symbol, 0 = longer code.
    uint16_t fast[1 << kFastBits];
    int32_t maxCode[18]; // largest code of each length, -1 when none
    int32_t valueOffset[17];
    bool defined;
};

struct jpeg_component_t {
    int id;
    int h, v; // sampling factors
    int quantTable;
    int dcTable, acTable;
    int dcPredictor;
};

// Everything one decode needs; a fresh record per call, so decodes never share state.
struct jpeg_file_s {
    int width, height;
    int precision;
    int numComponents;
    int restartInterval;
    jpeg_component_t components[3];
    jpeg_huffman_table_t ac[4], dc[4];
    int quant[4][64]; // zig-zag order, as stored in the file
    bool quantDefined[4];
    int spectralStart, spectralEnd, approxHigh, approxLow;
    bool haveFrame;
};

// Decodes a JPEG file held in memory into RGBA, top row first.
bool DecodeJPEG(const unsigned char* data, size_t size, sDecodedImage& out, std::string& error);

// The RGBA pixels of a file (malloc'd, caller frees) or null.
unsigned char* load_jpeg(const char* file, int* width, int* height);
GLuint LoadJPEG(char* file, bool anisotropic);
