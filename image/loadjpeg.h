#pragma once
// JPEG decoder for Huffman-coded 8-bit files (baseline, extended sequential and
// progressive, up to 3 components) with the floating-point Arai-Agui-Nakajima inverse
// DCT. Arithmetic-coded, lossless, hierarchical and 12-bit files are left to the image
// library (see the texture dispatch).
#include <GL/glew.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/ImageBuffer.h"

// One Huffman table: the file's code counts and symbols, and the lookup built from
// their canonical codes.
struct jpeg_huffman_table_t {
    static constexpr int kFastBits = 10;
    uint8_t counts[17];   // codes of each length 1..16
    uint8_t symbols[256]; // in code order
    // Fast path: entry for every kFastBits-bit prefix, (length << 8) | symbol, 0 = longer code.
    uint16_t fast[1 << kFastBits];
    // AC fast path: prefixes holding a whole code and its coefficient bits decode at once.
    struct sFastCoefficient {
        int16_t value;
        uint8_t run;
        uint8_t length; // code + coefficient bits; 0 = not in the fast path
    } fastCoefficient[1 << kFastBits];
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
    int blocksPerLine, blockRows; // coefficient storage, whole units
    int dcScans;                  // DC scans seen: AC scans and refinements need the first one
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
    int scanCount;
    int scanComponents[3]; // frame component indices of the current scan
    int eobRun;            // progressive AC scans: blocks left in an end-of-band run
    bool haveFrame;
    bool progressive;
    bool otherKind; // a JPEG of a kind left to the image library
};

// The inverse DCT and colour conversion run with SSE2 where the CPU has it; the scalar
// kernels give the same bytes and stay for other CPUs and as the tests' reference.
enum class eJpegKernels { Fastest, Scalar };

// Decodes a JPEG file held in memory into RGBA, top row first. `otherKind` (when given)
// tells whether a failure is a file of a kind this decoder leaves to the image library.
bool DecodeJPEG(const unsigned char* data, size_t size, sDecodedImage& out, std::string& error,
                eJpegKernels kernels = eJpegKernels::Fastest, bool* otherKind = nullptr);

// The RGBA pixels of a file (malloc'd, caller frees) or null; the engine's decoder only.
unsigned char* load_jpeg(const char* file, int* width, int* height);
// Uploads a file with mipmaps, through the image library for the JPEG kinds the engine's
// decoder leaves to it. A file neither reads gets one message on stderr and the name is
// returned without an image, as callers expect a name back.
GLuint LoadJPEG(char* file, bool anisotropic);
