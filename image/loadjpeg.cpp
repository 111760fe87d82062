#include "image/loadjpeg.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#ifdef __linux__
#include <sys/mman.h>
#endif
#ifdef __SSE2__
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

#include "image/ImageDecode.h"
#include "image/ImageUpload.h"

namespace {

// Natural (row-major) position of each zig-zag index.
const uint8_t kZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                             12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                             35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                             58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// Valid 8-bit DC values stay far inside this; it keeps corrupt streams finite.
constexpr int kMaxDcValue = 1 << 16;

bool Fail(std::string& error, const char* message) {
    error = message;
    return false;
}

// ---------------------------------------------------------------------------------------
// Markers

int Extend(int value, int size) {
    return value < (1 << (size - 1)) ? value - ((1 << size) - 1) : value;
}

void BuildFastCoefficients(jpeg_huffman_table_t& t) {
    constexpr int kBits = jpeg_huffman_table_t::kFastBits;
    for (int prefix = 0; prefix < (1 << kBits); ++prefix) {
        auto& f = t.fastCoefficient[prefix];
        f.length = 0;
        const uint16_t entry = t.fast[prefix];
        if (!entry) continue;
        const int codeLength = entry >> 8, symbol = entry & 0xFF;
        const int size = symbol & 15;
        if (size == 0 || codeLength + size > kBits) continue;
        const int bits = (prefix >> (kBits - codeLength - size)) & ((1 << size) - 1);
        f.value = int16_t(Extend(bits, size));
        f.run = uint8_t(symbol >> 4);
        f.length = uint8_t(codeLength + size);
    }
}

bool BuildHuffmanTable(jpeg_huffman_table_t& t) {
    std::memset(t.fast, 0, sizeof t.fast);
    int code = 0;
    int index = 0;
    for (int len = 1; len <= 16; ++len) {
        t.valueOffset[len] = index - code;
        for (int i = 0; i < t.counts[len]; ++i, ++code, ++index) {
            if (code >= (1 << len)) return false; // more codes than the length allows
            if (len <= jpeg_huffman_table_t::kFastBits) {
                const int shift = jpeg_huffman_table_t::kFastBits - len;
                for (int fill = 0; fill < (1 << shift); ++fill)
                    t.fast[(code << shift) | fill] = uint16_t((len << 8) | t.symbols[index]);
            }
        }
        t.maxCode[len] = t.counts[len] ? code - 1 : -1;
        code <<= 1;
    }
    BuildFastCoefficients(t);
    t.defined = true;
    return true;
}

bool ReadHuffmanTables(jpeg_file_s& j, CByteReader& seg, std::string& error) {
    while (seg.Remaining() > 0) {
        uint8_t classAndId = 0;
        seg.ReadU8(classAndId);
        const int id = classAndId & 0x0F;
        if (id > 3 || (classAndId >> 4) > 1) return Fail(error, "bad Huffman table id");
        jpeg_huffman_table_t& t = (classAndId & 0x10) ? j.ac[id] : j.dc[id];
        t.counts[0] = 0;
        if (!seg.ReadBytes(t.counts + 1, 16)) return Fail(error, "truncated Huffman table");
        int total = 0;
        for (int len = 1; len <= 16; ++len)
            total += t.counts[len];
        if (total > 256 || !seg.ReadBytes(t.symbols, size_t(total)))
            return Fail(error, "bad Huffman table");
        if (!BuildHuffmanTable(t)) return Fail(error, "bad Huffman table");
    }
    return true;
}

bool ReadQuantTables(jpeg_file_s& j, CByteReader& seg, std::string& error) {
    while (seg.Remaining() > 0) {
        uint8_t precisionAndId = 0;
        seg.ReadU8(precisionAndId);
        const int id = precisionAndId & 0x0F;
        if (id > 3) return Fail(error, "bad quantisation table id");
        for (int i = 0; i < 64; ++i) {
            if (precisionAndId >> 4) {
                uint16_t v;
                if (!seg.ReadU16BE(v)) return Fail(error, "truncated quantisation table");
                j.quant[id][i] = v;
            } else {
                uint8_t v;
                if (!seg.ReadU8(v)) return Fail(error, "truncated quantisation table");
                j.quant[id][i] = v;
            }
        }
        j.quantDefined[id] = true;
    }
    return true;
}

// A file the image library may still read: the failure says so.
bool OtherKind(jpeg_file_s& j, std::string& error, const char* message) {
    j.otherKind = true;
    return Fail(error, message);
}

bool ReadFrame(jpeg_file_s& j, CByteReader& seg, std::string& error) {
    if (j.haveFrame) return Fail(error, "second frame header");
    uint8_t precision, count;
    uint16_t height, width;
    if (!seg.ReadU8(precision) || !seg.ReadU16BE(height) || !seg.ReadU16BE(width) ||
        !seg.ReadU8(count))
        return Fail(error, "truncated frame header");
    if (seg.Size() != 6 + 3 * size_t(count)) return Fail(error, "bad frame length");
    if (precision != 8) return OtherKind(j, error, "unsupported sample precision");
    if (count != 1 && count != 3) return OtherKind(j, error, "unsupported component count");
    if (!CheckImageSize(width, height, error)) return false;
    j.precision = precision;
    j.width = width;
    j.height = height;
    j.numComponents = count;
    for (int i = 0; i < count; ++i) {
        jpeg_component_t& c = j.components[i];
        uint8_t id = 0, sampling = 0, table = 0;
        seg.ReadU8(id);
        seg.ReadU8(sampling);
        seg.ReadU8(table);
        c.id = id;
        c.h = sampling >> 4;
        c.v = sampling & 0x0F;
        c.quantTable = table;
        if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4) return Fail(error, "bad sampling factors");
        if (table > 3) return Fail(error, "bad quantisation table id");
    }
    // Lower-sampled components are replicated by a whole factor of the first one's.
    for (int i = 1; i < count; ++i)
        if (j.components[0].h % j.components[i].h || j.components[0].v % j.components[i].v)
            return Fail(error, "unsupported sampling factors");
    if (count == 1) j.components[0].h = j.components[0].v = 1; // one component: 1-block units
    j.haveFrame = true;
    return true;
}

bool ReadScanHeader(jpeg_file_s& j, CByteReader& seg, std::string& error) {
    if (!j.haveFrame) return Fail(error, "scan before frame");
    uint8_t count;
    if (!seg.ReadU8(count)) return Fail(error, "truncated scan header");
    if (count < 1 || count > j.numComponents) return Fail(error, "bad scan component count");
    bool seen[3] = {false, false, false};
    for (int i = 0; i < count; ++i) {
        uint8_t id, tables;
        if (!seg.ReadU8(id) || !seg.ReadU8(tables)) return Fail(error, "truncated scan header");
        int match = -1;
        for (int c = 0; c < j.numComponents; ++c)
            if (j.components[c].id == id && !seen[c]) match = c;
        if (match < 0) return Fail(error, "scan names an unknown component");
        seen[match] = true;
        j.scanComponents[i] = match;
        jpeg_component_t& c = j.components[match];
        c.dcTable = tables >> 4;
        c.acTable = tables & 0x0F;
        if (c.dcTable > 3 || c.acTable > 3) return Fail(error, "bad Huffman table id");
        if (!j.quantDefined[c.quantTable]) return Fail(error, "missing quantisation table");
    }
    j.scanCount = count;
    uint8_t ss, se, approx;
    if (!seg.ReadU8(ss) || !seg.ReadU8(se) || !seg.ReadU8(approx))
        return Fail(error, "truncated scan header");
    j.spectralStart = ss;
    j.spectralEnd = se;
    j.approxHigh = approx >> 4;
    j.approxLow = approx & 0x0F;
    if (!j.progressive) {
        j.spectralStart = 0, j.spectralEnd = 63, j.approxHigh = j.approxLow = 0;
    } else if (se > 63 || ss > se || (ss == 0) != (se == 0) || (ss > 0 && count != 1) ||
               j.approxLow > 13 || j.approxHigh > 13) {
        return Fail(error, "bad progressive scan parameters");
    }
    // Which tables the scan uses: DC for first DC passes, AC for AC passes.
    for (int i = 0; i < count; ++i) {
        const jpeg_component_t& c = j.components[j.scanComponents[i]];
        const bool needsDc = j.spectralStart == 0 && j.approxHigh == 0;
        const bool needsAc = j.spectralEnd > 0;
        if ((needsDc && !j.dc[c.dcTable].defined) || (needsAc && !j.ac[c.acTable].defined))
            return Fail(error, "missing Huffman table");
    }
    return true;
}

// Reads markers up to and including the next scan header, leaving `in` at the scan data;
// `ended` tells that the end of image came first instead.
bool ReadMarkers(jpeg_file_s& j, CByteReader& in, bool& ended, std::string& error) {
    bool first = in.Tell() == 0;
    ended = false;
    for (;;) {
        uint8_t b, code;
        if (!in.ReadU8(b) || b != 0xFF)
            return Fail(error, first ? "marker expected" : "truncated file");
        do {
            if (!in.ReadU8(code)) return Fail(error, "truncated marker");
        } while (code == 0xFF);
        if (first && code != 0xD8) return Fail(error, "not a JPEG file");
        first = false;
        if (code == 0xD8 || (code >= 0xD0 && code <= 0xD7) || code == 0x01) continue;
        if (code == 0xD9) {
            ended = true;
            return true;
        }
        if (code == 0xC3 || (code >= 0xC5 && code <= 0xCF && code != 0xC8 && code != 0xCC))
            return OtherKind(j, error,
                             "unsupported frame type (arithmetic, lossless or hierarchical)");
        uint16_t length;
        if (!in.ReadU16BE(length) || length < 2) return Fail(error, "bad marker length");
        const uint8_t* body = in.Take(length - 2u);
        if (!body) return Fail(error, "truncated marker segment");
        CByteReader seg(body, length - 2u);
        switch (code) {
        case 0xC0:
        case 0xC1:
        case 0xC2:
            j.progressive = code == 0xC2;
            if (!ReadFrame(j, seg, error)) return false;
            break;
        case 0xC4:
            if (!ReadHuffmanTables(j, seg, error)) return false;
            break;
        case 0xDB:
            if (!ReadQuantTables(j, seg, error)) return false;
            break;
        case 0xDD: {
            uint16_t interval;
            if (!seg.ReadU16BE(interval)) return Fail(error, "bad restart interval");
            j.restartInterval = interval;
            break;
        }
        case 0xDA:
            return ReadScanHeader(j, seg, error);
        default:
            break; // application data, comments and the like
        }
    }
}

// ---------------------------------------------------------------------------------------
// Entropy decoding

// Bits most significant first, with byte stuffing removed. At a marker or the end of
// the data it supplies zero bits and counts them, so over-reads are detected.
struct sBitReader {
    const uint8_t* p;
    const uint8_t* end;
    uint64_t acc = 0;
    int bits = 0;
    int padding = 0;
    bool atMarker = false;

    void Fill() {
        // Fast path: the next eight bytes hold no 0xFF, so as many as fit go in at once.
        // Bits past the new count are the following data bytes, so they are right too.
        if (!atMarker && end - p >= 8) {
            uint64_t word;
            std::memcpy(&word, p, 8);
            const uint64_t inverted = ~word; // a 0xFF byte becomes zero
            if (((inverted - 0x0101010101010101ULL) & ~inverted & 0x8080808080808080ULL) == 0) {
                const int count = (63 - bits) >> 3;
                acc |= __builtin_bswap64(word) >> bits;
                p += count;
                bits += count * 8;
                return;
            }
        }
        while (bits <= 56) {
            uint64_t byte = 0;
            if (!atMarker && p < end && *p != 0xFF) {
                byte = *p++;
            } else if (!atMarker && p < end) {
                const uint8_t* q = p + 1;
                while (q < end && *q == 0xFF)
                    ++q;
                if (q < end && *q == 0x00) {
                    byte = 0xFF;
                    p = q + 1;
                } else {
                    atMarker = true; // p stays on the marker
                    padding += 8;
                }
            } else {
                padding += 8;
            }
            acc |= byte << (56 - bits);
            bits += 8;
        }
    }
    void Consume(int n) {
        acc <<= n;
        bits -= n;
    }
    bool Overrun() const { return bits < padding; }
    void Reset() {
        acc = 0;
        bits = padding = 0;
        atMarker = false;
    }
};

inline int DecodeSymbol(sBitReader& br, const jpeg_huffman_table_t& t) {
    if (br.bits < 16) br.Fill();
    const uint16_t entry = t.fast[br.acc >> (64 - jpeg_huffman_table_t::kFastBits)];
    if (entry) {
        br.Consume(entry >> 8);
        return entry & 0xFF;
    }
    for (int len = jpeg_huffman_table_t::kFastBits + 1; len <= 16; ++len) {
        const int32_t code = int32_t(br.acc >> (64 - len));
        if (code <= t.maxCode[len]) {
            const int index = code + t.valueOffset[len];
            if (index < 0 || index > 255) return -1;
            br.Consume(len);
            return t.symbols[index];
        }
    }
    return -1;
}

inline int ReceiveExtend(sBitReader& br, int size) {
    if (br.bits < size) br.Fill();
    const int value = int(br.acc >> (64 - size));
    br.Consume(size);
    return Extend(value, size);
}

inline int GetBits(sBitReader& br, int n) {
    if (n == 0) return 0;
    if (br.bits < n) br.Fill();
    const int value = int(br.acc >> (64 - n));
    br.Consume(n);
    return value;
}

inline int GetBit(sBitReader& br) {
    return GetBits(br, 1);
}

inline int16_t ClampCoefficient(int v) {
    return int16_t(std::clamp(v, -32768, 32767));
}

// Decodes one block's coefficients, dequantised and scaled for the IDCT, into `block`
// (natural order, zero on entry). Returns false on a corrupt stream.
bool DecodeBlock(sBitReader& reader, jpeg_component_t& c, const jpeg_huffman_table_t& dc,
                 const jpeg_huffman_table_t& ac, const float* scaledQuant, float* block,
                 bool& dcOnly) {
    // A local copy keeps the bit buffer in registers: the stores below could otherwise
    // alias it as far as the compiler knows.
    sBitReader br = reader;
    const int s = DecodeSymbol(br, dc);
    if (s < 0 || s > 16) return false;
    const int diff = s ? ReceiveExtend(br, s) : 0;
    c.dcPredictor = std::clamp(c.dcPredictor + diff, -kMaxDcValue, kMaxDcValue);
    block[0] = float(c.dcPredictor) * scaledQuant[0];
    bool onlyDc = true;
    for (int k = 1; k < 64;) {
        if (br.bits < 16) br.Fill();
        const auto& fast = ac.fastCoefficient[br.acc >> (64 - jpeg_huffman_table_t::kFastBits)];
        if (fast.length) {
            br.Consume(fast.length);
            k += fast.run;
            if (k > 63) return false;
            block[kZigZag[k]] = float(fast.value) * scaledQuant[k];
            onlyDc = false;
            ++k;
            continue;
        }
        const int rs = DecodeSymbol(br, ac);
        if (rs < 0) return false;
        const int run = rs >> 4, size = rs & 15;
        if (size == 0) {
            if (run != 15) break;
            k += 16;
            continue;
        }
        k += run;
        if (k > 63) return false;
        block[kZigZag[k]] = float(ReceiveExtend(br, size)) * scaledQuant[k];
        onlyDc = false;
        ++k;
    }
    reader = br;
    dcOnly = onlyDc;
    return true;
}

// ---------------------------------------------------------------------------------------
// Progressive (and multi-scan sequential) decoding into stored coefficients, zig-zag order.

// First DC pass: the difference from the predictor, scaled by the point transform.
bool DecodeDcFirst(jpeg_file_s& j, sBitReader& br, jpeg_component_t& c, int16_t* coef) {
    const int s = DecodeSymbol(br, j.dc[c.dcTable]);
    if (s < 0 || s > 16) return false;
    const int diff = s ? ReceiveExtend(br, s) : 0;
    c.dcPredictor = std::clamp(c.dcPredictor + diff, -kMaxDcValue, kMaxDcValue);
    coef[0] = ClampCoefficient(c.dcPredictor * (1 << j.approxLow));
    return true;
}

void DecodeDcRefine(jpeg_file_s& j, sBitReader& br, int16_t* coef) {
    if (GetBit(br)) coef[0] = int16_t(coef[0] | (1 << j.approxLow));
}

// First AC pass over the scan's band; an end-of-band run covers the following blocks.
bool DecodeAcFirst(jpeg_file_s& j, sBitReader& br, const jpeg_huffman_table_t& ac, int16_t* coef) {
    if (j.eobRun > 0) {
        --j.eobRun;
        return true;
    }
    for (int k = std::max(j.spectralStart, 1); k <= j.spectralEnd; ++k) {
        const int rs = DecodeSymbol(br, ac);
        if (rs < 0) return false;
        const int run = rs >> 4, size = rs & 15;
        if (size == 0) {
            if (run < 15) {
                j.eobRun = (1 << run) - 1 + GetBits(br, run);
                break;
            }
            k += 15;
            continue;
        }
        k += run;
        if (k > j.spectralEnd) return false;
        coef[k] = ClampCoefficient(ReceiveExtend(br, size) * (1 << j.approxLow));
    }
    return true;
}

// Adds the next bit of precision to a coefficient that is already non-zero.
inline void RefineNonZero(sBitReader& br, int16_t& coef, int bit) {
    if (GetBit(br) && (coef & bit) == 0) coef = ClampCoefficient(coef + (coef >= 0 ? bit : -bit));
}

// AC refinement pass: one more bit for the non-zero coefficients and newly non-zero
// ones of magnitude 1, placed after `run` zero-history coefficients.
bool DecodeAcRefine(jpeg_file_s& j, sBitReader& br, const jpeg_huffman_table_t& ac, int16_t* coef) {
    const int bit = 1 << j.approxLow;
    int k = j.spectralStart;
    if (j.eobRun == 0) {
        while (k <= j.spectralEnd) {
            const int rs = DecodeSymbol(br, ac);
            if (rs < 0) return false;
            int run = rs >> 4;
            const int size = rs & 15;
            int value = 0;
            if (size == 0) {
                if (run < 15) {
                    j.eobRun = (1 << run) + GetBits(br, run);
                    break; // the rest of this block belongs to the run
                }
            } else {
                if (size != 1) return false;
                value = GetBit(br) ? bit : -bit;
            }
            for (; k <= j.spectralEnd; ++k) {
                if (coef[k] != 0) {
                    RefineNonZero(br, coef[k], bit);
                } else if (run-- == 0) {
                    if (value) coef[k] = int16_t(value);
                    ++k;
                    break;
                }
            }
        }
        if (j.eobRun == 0) return true;
    }
    for (; k <= j.spectralEnd; ++k)
        if (coef[k] != 0) RefineNonZero(br, coef[k], bit);
    --j.eobRun;
    return true;
}

// Stored coefficients of every component, whole units, for files decoded scan by scan.
struct sCoefficients {
    std::vector<int16_t> blocks[3];
    int unitsX = 0, unitsY = 0;
};

void UnitGrid(const jpeg_file_s& j, int& unitsX, int& unitsY) {
    const int unitW = 8 * j.components[0].h, unitH = 8 * j.components[0].v;
    unitsX = (j.width + unitW - 1) / unitW;
    unitsY = (j.height + unitH - 1) / unitH;
}

bool DecodeCoefficientBlock(jpeg_file_s& j, sBitReader& br, jpeg_component_t& c, int16_t* coef) {
    if (!j.progressive) // a sequential scan holds whole blocks
        return DecodeDcFirst(j, br, c, coef) && DecodeAcFirst(j, br, j.ac[c.acTable], coef);
    if (j.spectralStart == 0) {
        if (j.approxHigh == 0) return DecodeDcFirst(j, br, c, coef);
        DecodeDcRefine(j, br, coef);
        return true;
    }
    return j.approxHigh == 0 ? DecodeAcFirst(j, br, j.ac[c.acTable], coef)
                             : DecodeAcRefine(j, br, j.ac[c.acTable], coef);
}

bool HandleRestart(jpeg_file_s& j, sBitReader& br, std::string& error);

bool DecodeCoefficientScan(jpeg_file_s& j, sCoefficients& store, sBitReader& br,
                           std::string& error) {
    // Storage is made when a scan first reaches a component: a DC scan takes at least a
    // bit per block, so a header cannot claim more blocks than the data could hold.
    const size_t remainingBits = size_t(br.end - br.p) * 8;
    for (int i = 0; i < j.scanCount; ++i) {
        jpeg_component_t& c = j.components[j.scanComponents[i]];
        std::vector<int16_t>& blocks = store.blocks[j.scanComponents[i]];
        if (j.spectralStart > 0 && c.dcScans == 0) return Fail(error, "AC scan before DC scan");
        if (j.spectralStart == 0) ++c.dcScans;
        if (!blocks.empty()) continue;
        const size_t count = size_t(c.blocksPerLine) * size_t(c.blockRows);
        if (count > remainingBits) return Fail(error, "truncated scan data");
        blocks.assign(count * 64, 0);
        c.dcPredictor = 0;
    }
    for (int i = 0; i < j.numComponents; ++i)
        j.components[i].dcPredictor = 0;
    j.eobRun = 0;
    long long done = 0;
    auto restart = [&]() {
        return !(j.restartInterval && done > 0 && done % j.restartInterval == 0) ||
               (HandleRestart(j, br, error) && ((j.eobRun = 0), true));
    };
    if (j.scanCount == 1) {
        // One component: its own blocks in raster order, only those inside the picture.
        const int index = j.scanComponents[0];
        jpeg_component_t& c = j.components[index];
        const int hMax = j.components[0].h, vMax = j.components[0].v;
        const int wide = (((j.width * c.h + hMax - 1) / hMax) + 7) / 8;
        const int high = (((j.height * c.v + vMax - 1) / vMax) + 7) / 8;
        for (int by = 0; by < high; ++by)
            for (int bx = 0; bx < wide; ++bx, ++done) {
                if (!restart()) return false;
                int16_t* coef = store.blocks[index].data() +
                                (size_t(by) * size_t(c.blocksPerLine) + size_t(bx)) * 64;
                if (!DecodeCoefficientBlock(j, br, c, coef))
                    return Fail(error, "corrupt scan data");
                if (br.Overrun()) return Fail(error, "truncated scan data");
            }
        return true;
    }
    for (int uy = 0; uy < store.unitsY; ++uy)
        for (int ux = 0; ux < store.unitsX; ++ux, ++done) {
            if (!restart()) return false;
            for (int i = 0; i < j.scanCount; ++i) {
                const int index = j.scanComponents[i];
                jpeg_component_t& c = j.components[index];
                for (int by = 0; by < c.v; ++by)
                    for (int bx = 0; bx < c.h; ++bx) {
                        const size_t row = size_t(uy * c.v + by), column = size_t(ux * c.h + bx);
                        int16_t* coef = store.blocks[index].data() +
                                        (row * size_t(c.blocksPerLine) + column) * 64;
                        if (!DecodeCoefficientBlock(j, br, c, coef))
                            return Fail(error, "corrupt scan data");
                    }
            }
            if (br.Overrun()) return Fail(error, "truncated scan data");
        }
    return true;
}

// ---------------------------------------------------------------------------------------
// Arai-Agui-Nakajima inverse DCT, on one column (or row) of scalars or, with SSE2, on
// four at once: the same operations in the same order, so both give the same bits.

typedef float v4f __attribute__((vector_size(16)));

// kLowHalf: inputs 4-7 are zero and left out. With zero operands every step is exact
// (x + 0 = x, 0 * k = 0), so the result matches the full transform up to the sign of
// zeros, which the conversion to samples does not see.
template <typename V, bool kLowHalf = false> inline void Idct8(V* d) {
    // Even part.
    V tmp10, tmp11, tmp13, tmp12;
    if constexpr (kLowHalf) {
        tmp10 = tmp11 = d[0];
        tmp13 = d[2];
        tmp12 = d[2] * 1.414213562f - tmp13;
    } else {
        tmp10 = d[0] + d[4];
        tmp11 = d[0] - d[4];
        tmp13 = d[2] + d[6];
        tmp12 = (d[2] - d[6]) * 1.414213562f - tmp13;
    }
    V e0 = tmp10 + tmp13, e3 = tmp10 - tmp13;
    V e1 = tmp11 + tmp12, e2 = tmp11 - tmp12;
    // Odd part.
    V z13, z10, z11, z12;
    if constexpr (kLowHalf) {
        z13 = d[3];
        z10 = -d[3];
        z11 = z12 = d[1];
    } else {
        z13 = d[5] + d[3];
        z10 = d[5] - d[3];
        z11 = d[1] + d[7];
        z12 = d[1] - d[7];
    }
    V o7 = z11 + z13;
    V o11 = (z11 - z13) * 1.414213562f;
    V z5 = (z10 + z12) * 1.847759065f;
    V o10 = z12 * 1.082392200f - z5;
    V o12 = z10 * -2.613125930f + z5;
    V o6 = o12 - o7;
    V o5 = o11 - o6;
    V o4 = o10 + o5;
    d[0] = e0 + o7;
    d[7] = e0 - o7;
    d[1] = e1 + o6;
    d[6] = e1 - o6;
    d[2] = e2 + o5;
    d[5] = e2 - o5;
    d[4] = e3 + o4;
    d[3] = e3 - o4;
}

// Truncate toward zero, shift right by 3, add 128, clamp.
inline uint8_t SampleFromValue(float v) {
    v = std::clamp(v, -32768.0f, 32767.0f);
    return uint8_t(std::clamp((int(v) >> 3) + 128, 0, 255));
}

inline bool OnlyFirstRow(const float* column, int step) {
    for (int r = 1; r < 8; ++r)
        if (column[r * step] != 0.0f) return false;
    return true;
}

// Columns with nothing below row 0 transform to that row repeated (exactly), which is
// the common case and skips most column transforms.
void IdctBlockScalar(const float* block, uint8_t* dst, size_t stride) {
    float work[64];
    for (int c = 0; c < 8; ++c) {
        float d[8];
        for (int r = 0; r < 8; ++r)
            d[r] = block[r * 8 + c];
        if (OnlyFirstRow(block + c, 8))
            for (int r = 1; r < 8; ++r)
                d[r] = d[0];
        else
            Idct8(d);
        for (int r = 0; r < 8; ++r)
            work[r * 8 + c] = d[r];
    }
    for (int r = 0; r < 8; ++r) {
        float* d = work + r * 8;
        Idct8(d);
        for (int c = 0; c < 8; ++c)
            dst[size_t(r) * stride + size_t(c)] = SampleFromValue(d[c]);
    }
}

#ifdef __SSE2__
// Transposes a 4x4 lane block.
inline void Transpose4(const v4f* in, v4f* out) {
    __m128 a = in[0], b = in[1], c = in[2], d = in[3];
    _MM_TRANSPOSE4_PS(a, b, c, d);
    out[0] = a, out[1] = b, out[2] = c, out[3] = d;
}

// Writes a transposed 8x4 half: lanes of d[0..7] become rows of out (stride 8 floats).
inline void StoreTransposed(const v4f* d, float* out) {
    v4f top[4], bottom[4];
    Transpose4(d, top);
    Transpose4(d + 4, bottom);
    _mm_store_ps(out, top[0]), _mm_store_ps(out + 4, bottom[0]);
    _mm_store_ps(out + 8, top[1]), _mm_store_ps(out + 12, bottom[1]);
    _mm_store_ps(out + 16, top[2]), _mm_store_ps(out + 20, bottom[2]);
    _mm_store_ps(out + 24, top[3]), _mm_store_ps(out + 28, bottom[3]);
}

// Four columns of the block (rows 8 floats apart); true when they hold nothing at all.
inline bool ColumnPass(const float* in, float* out) {
    const __m128 zero = _mm_setzero_ps();
    v4f d[8] = {_mm_load_ps(in),      _mm_load_ps(in + 8),  _mm_load_ps(in + 16),
                _mm_load_ps(in + 24), _mm_load_ps(in + 32), _mm_load_ps(in + 40),
                _mm_load_ps(in + 48), _mm_load_ps(in + 56)};
    const __m128 upper = _mm_or_ps(_mm_or_ps(_mm_cmpneq_ps(d[1], zero), _mm_cmpneq_ps(d[2], zero)),
                                   _mm_cmpneq_ps(d[3], zero));
    const __m128 lower = _mm_or_ps(_mm_or_ps(_mm_cmpneq_ps(d[4], zero), _mm_cmpneq_ps(d[5], zero)),
                                   _mm_or_ps(_mm_cmpneq_ps(d[6], zero), _mm_cmpneq_ps(d[7], zero)));
    bool empty = false;
    if (_mm_movemask_ps(lower)) {
        Idct8(d);
    } else if (_mm_movemask_ps(upper)) {
        Idct8<v4f, true>(d);
    } else { // row 0 alone: that value repeated, exactly
        empty = !_mm_movemask_ps(_mm_cmpneq_ps(d[0], zero));
        d[1] = d[2] = d[3] = d[4] = d[5] = d[6] = d[7] = d[0];
    }
    StoreTransposed(d, out);
    return empty;
}

inline __m128i SamplesFromValues(__m128 a, __m128 b) {
    const __m128 lo = _mm_set1_ps(-32768.0f), hi = _mm_set1_ps(32767.0f);
    const __m128i bias = _mm_set1_epi32(128);
    __m128i ia = _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(a, lo), hi));
    __m128i ib = _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(b, lo), hi));
    ia = _mm_add_epi32(_mm_srai_epi32(ia, 3), bias);
    ib = _mm_add_epi32(_mm_srai_epi32(ib, 3), bias);
    const __m128i words = _mm_packs_epi32(ia, ib);
    return _mm_packus_epi16(words, words);
}

// Four rows of the column-transformed block, written as samples.
template <bool kLowHalf> inline void RowPass(const float* in, uint8_t* dst, size_t stride) {
    v4f d[8] = {_mm_load_ps(in),      _mm_load_ps(in + 8),  _mm_load_ps(in + 16),
                _mm_load_ps(in + 24), _mm_load_ps(in + 32), _mm_load_ps(in + 40),
                _mm_load_ps(in + 48), _mm_load_ps(in + 56)};
    Idct8<v4f, kLowHalf>(d);
    v4f left[4], right[4];
    Transpose4(d, left);
    Transpose4(d + 4, right);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst), SamplesFromValues(left[0], right[0]));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + stride),
                     SamplesFromValues(left[1], right[1]));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 2 * stride),
                     SamplesFromValues(left[2], right[2]));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 3 * stride),
                     SamplesFromValues(left[3], right[3]));
}

void IdctBlockSse2(const float* block, uint8_t* dst, size_t stride) {
    alignas(16) float transposed[64];
    ColumnPass(block, transposed);
    // Columns 4-7 without any coefficient leave the row transforms half their inputs zero.
    if (ColumnPass(block + 4, transposed + 32)) {
        RowPass<true>(transposed, dst, stride);
        RowPass<true>(transposed + 4, dst + 4 * stride, stride);
    } else {
        RowPass<false>(transposed, dst, stride);
        RowPass<false>(transposed + 4, dst + 4 * stride, stride);
    }
}
#endif

// Transforms `block` (natural order, 16-byte aligned) and writes its 8x8 samples at dst.
void IdctBlock(const float* block, bool dcOnly, bool simd, uint8_t* dst, size_t stride) {
    if (dcOnly) {
        const uint8_t sample = SampleFromValue(block[0]);
        for (int r = 0; r < 8; ++r)
            std::memset(dst + size_t(r) * stride, sample, 8);
        return;
    }
#ifdef __SSE2__
    if (simd) return IdctBlockSse2(block, dst, stride);
#else
    (void)simd;
#endif
    IdctBlockScalar(block, dst, stride);
}

// ---------------------------------------------------------------------------------------
// Colour conversion

// Chroma terms in 16.16 fixed point: red and blue are floor(1.402 Cr') and floor(1.772 Cb')
// exactly (Cb' = Cb - 128), green floor(-0.34414 Cb' - 0.71414 Cr') with the factors
// rounded to 1/65536. Written so that 16-bit SIMD multiplies give the same integers.
constexpr int kRedFraction = 26345;   // 1.402 = 1 + 26345/65536
constexpr int kBlueFraction = -14942; // 1.772 = 2 - 14942/65536
constexpr int kGreenCb = -22554;      // -0.34414
constexpr int kGreenCr = 18734;       // -0.71414 = -1 + 18734/65536

inline int RedTerm(int cr) {
    return cr + ((cr * kRedFraction) >> 16);
}
inline int BlueTerm(int cb) {
    return 2 * cb + ((cb * kBlueFraction) >> 16);
}
inline int GreenTerm(int cb, int cr) {
    return -cr + ((cb * kGreenCb + cr * kGreenCr) >> 16);
}

struct sColourTables {
    uint8_t clamp[1024]; // index value + 384
    sColourTables() {
        for (int i = 0; i < 1024; ++i)
            clamp[i] = uint8_t(std::clamp(i - 384, 0, 255));
    }
};
const sColourTables& ColourTables() {
    static const sColourTables tables;
    return tables;
}

struct sPlane {
    std::vector<uint8_t> samples;
    size_t stride = 0;
    int columnDivisor = 1; // replication factors relative to the first component
    int rowDivisor = 1;
};

// Chroma terms of one row, added to luma: red, green and blue offsets, one entry per
// pixel, or per pair of pixels when the chroma is halved horizontally.
struct sChromaRow {
    std::vector<int16_t> r, g, b;
    int pairShift = 0; // 1 when entries cover two pixels
    int sourceRow = -1;
};

#ifdef __SSE2__
// Eight entries of chroma terms from eight Cb and eight Cr samples.
inline void ChromaTermsSse2(const uint8_t* cb, const uint8_t* cr, int16_t* r, int16_t* g,
                            int16_t* b) {
    const __m128i zero = _mm_setzero_si128(), centre = _mm_set1_epi16(128);
    const __m128i x = _mm_sub_epi16(
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cb)), zero), centre);
    const __m128i y = _mm_sub_epi16(
        _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cr)), zero), centre);
    const __m128i red = _mm_add_epi16(y, _mm_mulhi_epi16(y, _mm_set1_epi16(kRedFraction)));
    const __m128i blue = _mm_add_epi16(_mm_add_epi16(x, x),
                                       _mm_mulhi_epi16(x, _mm_set1_epi16(int16_t(kBlueFraction))));
    const __m128i factors = _mm_set_epi16(kGreenCr, int16_t(kGreenCb), kGreenCr, int16_t(kGreenCb),
                                          kGreenCr, int16_t(kGreenCb), kGreenCr, int16_t(kGreenCb));
    const __m128i low = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(x, y), factors), 16);
    const __m128i high = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(x, y), factors), 16);
    const __m128i green = _mm_sub_epi16(_mm_packs_epi32(low, high), y);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(r), red);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(g), green);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(b), blue);
}
#endif

void FillChromaRow(const std::vector<sPlane>& planes, int y, int width, bool simd,
                   sChromaRow& row) {
    const sPlane& cbPlane = planes[1];
    const sPlane& crPlane = planes[2];
    const uint8_t* cbRow = cbPlane.samples.data() + size_t(y / cbPlane.rowDivisor) * cbPlane.stride;
    const uint8_t* crRow = crPlane.samples.data() + size_t(y / crPlane.rowDivisor) * crPlane.stride;
    const bool pairs = cbPlane.columnDivisor == 2 && crPlane.columnDivisor == 2;
    row.pairShift = pairs ? 1 : 0;
    const int entries = pairs ? (width + 1) / 2 : width;
    const int cbRepeat = pairs ? 1 : cbPlane.columnDivisor;
    const int crRepeat = pairs ? 1 : crPlane.columnDivisor;
    int at = 0;
#ifdef __SSE2__
    if (simd && cbRepeat == 1 && crRepeat == 1)
        for (; at + 8 <= entries; at += 8)
            ChromaTermsSse2(cbRow + at, crRow + at, &row.r[size_t(at)], &row.g[size_t(at)],
                            &row.b[size_t(at)]);
#else
    (void)simd;
#endif
    // Replicated chroma samples are expanded per sample, not divided out per pixel.
    int cbIndex = at, cbLeft = cbRepeat, crIndex = at, crLeft = crRepeat;
    for (; at < entries; ++at) {
        const int cb = cbRow[cbIndex] - 128, cr = crRow[crIndex] - 128;
        row.r[size_t(at)] = int16_t(RedTerm(cr));
        row.g[size_t(at)] = int16_t(GreenTerm(cb, cr));
        row.b[size_t(at)] = int16_t(BlueTerm(cb));
        if (--cbLeft == 0) ++cbIndex, cbLeft = cbRepeat;
        if (--crLeft == 0) ++crIndex, crLeft = crRepeat;
    }
}

// Y + offset, clamped to 0..255, for one row of RGBA pixels.
void ComposeRow(const uint8_t* luma, const sChromaRow& c, int width, bool simd, uint8_t* px) {
    int x = 0;
#ifdef __SSE2__
    if (simd) {
        const __m128i zero = _mm_setzero_si128();
        const __m128i alpha = _mm_set1_epi8(char(0xFF));
        auto offsets = [&](const std::vector<int16_t>& o) {
            if (!c.pairShift)
                return _mm_loadu_si128(reinterpret_cast<const __m128i*>(o.data() + x));
            const __m128i half =
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(o.data() + x / 2));
            return _mm_unpacklo_epi16(half, half);
        };
        for (; x + 8 <= width; x += 8, px += 32) {
            const __m128i y = _mm_unpacklo_epi8(
                _mm_loadl_epi64(reinterpret_cast<const __m128i*>(luma + x)), zero);
            const __m128i r16 = _mm_add_epi16(y, offsets(c.r));
            const __m128i g16 = _mm_add_epi16(y, offsets(c.g));
            const __m128i b16 = _mm_add_epi16(y, offsets(c.b));
            const __m128i rg =
                _mm_unpacklo_epi8(_mm_packus_epi16(r16, r16), _mm_packus_epi16(g16, g16));
            const __m128i ba = _mm_unpacklo_epi8(_mm_packus_epi16(b16, b16), alpha);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(px), _mm_unpacklo_epi16(rg, ba));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(px + 16), _mm_unpackhi_epi16(rg, ba));
        }
    }
#else
    (void)simd;
#endif
    const uint8_t* clamp = ColourTables().clamp + 384;
    for (; x < width; ++x, px += 4) {
        const size_t at = size_t(x >> c.pairShift);
        const int l = luma[x];
        px[0] = clamp[l + c.r[at]];
        px[1] = clamp[l + c.g[at]];
        px[2] = clamp[l + c.b[at]];
        px[3] = 255;
    }
}

// Sample planes of one unit row, dequantisation and the colour step shared by the
// single-pass and the scan-by-scan decodes.
struct sOutput {
    std::vector<sPlane> planes;
    alignas(16) float scaledQuant[3][64];
    alignas(16) float group[8][64]; // blocks dequantised before their transforms
    sChromaRow chroma;
    bool simd = true;
    int unitsX = 0, unitsY = 0;
};

void PrepareOutput(const jpeg_file_s& j, bool simd, sOutput& o) {
    static const float s[8] = {1.0f, 1.387039845f, 1.306562965f, 1.175875602f,
                               1.0f, 0.785694958f, 0.541196100f, 0.275899379f};
    UnitGrid(j, o.unitsX, o.unitsY);
    o.simd = simd;
    o.planes.resize(size_t(j.numComponents));
    const int hMax = j.components[0].h, vMax = j.components[0].v;
    for (int c = 0; c < j.numComponents; ++c) {
        const jpeg_component_t& comp = j.components[c];
        sPlane& plane = o.planes[size_t(c)];
        plane.stride = size_t(o.unitsX) * size_t(comp.h) * 8;
        plane.samples.assign(plane.stride * size_t(comp.v) * 8, 0);
        plane.rowDivisor = vMax / comp.v;
        plane.columnDivisor = hMax / comp.h;
        for (int z = 0; z < 64; ++z) {
            const int natural = kZigZag[z];
            o.scaledQuant[c][z] =
                float(j.quant[comp.quantTable][z]) * s[natural & 7] * s[natural >> 3];
        }
    }
    std::memset(o.group, 0, sizeof o.group);
    o.chroma.r.resize(size_t(j.width));
    o.chroma.g.resize(size_t(j.width));
    o.chroma.b.resize(size_t(j.width));
}

void ConvertRows(const jpeg_file_s& j, sOutput& o, int firstRow, int rows, uint8_t* out) {
    const int width = j.width;
    const std::vector<sPlane>& planes = o.planes;
    o.chroma.sourceRow = -1;
    for (int y = 0; y < rows; ++y) {
        uint8_t* px = out + (size_t(firstRow + y) * size_t(width)) * 4;
        const uint8_t* yRow = planes[0].samples.data() + size_t(y) * planes[0].stride;
        if (j.numComponents == 1) {
            for (int x = 0; x < width; ++x, px += 4) {
                px[0] = px[1] = px[2] = yRow[x];
                px[3] = 255;
            }
            continue;
        }
        // Rows that share their chroma samples share the offsets too.
        const int sourceRow = y / planes[1].rowDivisor * 256 + y / planes[2].rowDivisor;
        if (o.chroma.sourceRow != sourceRow) {
            FillChromaRow(planes, y, width, o.simd, o.chroma);
            o.chroma.sourceRow = sourceRow;
        }
        ComposeRow(yRow, o.chroma, width, o.simd, px);
    }
}

void EmitUnitRow(const jpeg_file_s& j, sOutput& o, int uy, uint8_t* out) {
    const int unitH = 8 * j.components[0].v;
    const int firstRow = uy * unitH;
    ConvertRows(j, o, firstRow, std::min(unitH, j.height - firstRow), out);
}

// The RGBA output of a large picture is written once, front to back: on Linux, huge
// pages spare the kernel one page fault per 4 KB of it.
bool AllocateOutput(const jpeg_file_s& j, sDecodedImage& out, std::string& error) {
    if (!AllocateImage(out, j.width, j.height, 4, error)) return false;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr uintptr_t kHugePage = 2u << 20;
    const uintptr_t begin =
        (reinterpret_cast<uintptr_t>(out.pixels.get()) + kHugePage - 1) & ~(kHugePage - 1);
    const uintptr_t end =
        (reinterpret_cast<uintptr_t>(out.pixels.get()) + out.ByteCount()) & ~(kHugePage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
    return true;
}

bool HandleRestart(jpeg_file_s& j, sBitReader& br, std::string& error) {
    // The interval's data must end exactly at an RSTn marker.
    const uint8_t* q = br.p;
    if (q >= br.end || *q != 0xFF) return Fail(error, "missing restart marker");
    while (q < br.end && *q == 0xFF)
        ++q;
    if (q >= br.end || *q < 0xD0 || *q > 0xD7) return Fail(error, "missing restart marker");
    br.p = q + 1;
    br.Reset();
    for (int c = 0; c < j.numComponents; ++c)
        j.components[c].dcPredictor = 0;
    return true;
}

// Baseline files with every component in one scan: blocks go straight to samples.
bool DecodeSinglePass(jpeg_file_s& j, sBitReader& br, bool simd, sDecodedImage& out,
                      std::string& error) {
    sOutput o;
    PrepareOutput(j, simd, o);
    int blocksPerUnit = 0;
    for (int c = 0; c < j.numComponents; ++c)
        blocksPerUnit += j.components[c].h * j.components[c].v;
    // Every block takes at least two bits (a DC code and an end of block).
    const unsigned long long blocks = (unsigned long long)o.unitsX * o.unitsY * blocksPerUnit;
    if (blocks > (unsigned long long)(br.end - br.p) * 4) return Fail(error, "truncated scan data");
    if (!AllocateOutput(j, out, error)) return false;
    for (int c = 0; c < j.numComponents; ++c)
        j.components[c].dcPredictor = 0;
    // A whole unit is decoded before any of its blocks is transformed: the transform's
    // vector loads would otherwise stall on the scattered coefficient stores just made.
    struct sBlockSlot {
        int component, bx, by;
        bool dcOnly;
    };
    std::vector<sBlockSlot> slots;
    for (int c = 0; c < j.numComponents; ++c)
        for (int by = 0; by < j.components[c].v; ++by)
            for (int bx = 0; bx < j.components[c].h; ++bx)
                slots.push_back({c, bx, by, false});
    std::vector<float> storage(slots.size() * 64 + 4, 0.0f);
    // Blocks handed to the SSE2 transform sit on 16-byte boundaries.
    float* const unitBlocks =
        storage.data() + (-(reinterpret_cast<uintptr_t>(storage.data()) / 4) & 3);
    long long unitsDone = 0;
    for (int uy = 0; uy < o.unitsY; ++uy) {
        for (int ux = 0; ux < o.unitsX; ++ux) {
            if (j.restartInterval && unitsDone > 0 && unitsDone % j.restartInterval == 0 &&
                !HandleRestart(j, br, error))
                return false;
            float* block = unitBlocks;
            for (sBlockSlot& slot : slots) {
                jpeg_component_t& comp = j.components[slot.component];
                if (!DecodeBlock(br, comp, j.dc[comp.dcTable], j.ac[comp.acTable],
                                 o.scaledQuant[slot.component], block, slot.dcOnly))
                    return Fail(error, "corrupt scan data");
                block += 64;
            }
            if (br.Overrun()) return Fail(error, "truncated scan data");
            block = unitBlocks;
            for (const sBlockSlot& slot : slots) {
                const jpeg_component_t& comp = j.components[slot.component];
                sPlane& plane = o.planes[size_t(slot.component)];
                uint8_t* dst = plane.samples.data() + size_t(slot.by) * 8 * plane.stride +
                               size_t(ux * comp.h + slot.bx) * 8;
                IdctBlock(block, slot.dcOnly, simd, dst, plane.stride);
                block += 64;
            }
            std::memset(unitBlocks, 0, slots.size() * 64 * sizeof(float));
            ++unitsDone;
        }
        EmitUnitRow(j, o, uy, out.pixels.get());
    }
    return true;
}

// Dequantises and transforms the stored coefficients, one unit row at a time.
bool OutputCoefficients(jpeg_file_s& j, const sCoefficients& store, bool simd, sDecodedImage& out,
                        std::string& error) {
    for (int c = 0; c < j.numComponents; ++c) {
        if (store.blocks[c].empty()) return Fail(error, "a component has no scan");
        if (!j.quantDefined[j.components[c].quantTable])
            return Fail(error, "missing quantisation table");
    }
    sOutput o;
    PrepareOutput(j, simd, o);
    if (!AllocateOutput(j, out, error)) return false;
    for (int uy = 0; uy < o.unitsY; ++uy) {
        for (int c = 0; c < j.numComponents; ++c) {
            const jpeg_component_t& comp = j.components[c];
            sPlane& plane = o.planes[size_t(c)];
            const float* quant = o.scaledQuant[c];
            for (int by = 0; by < comp.v; ++by) {
                const int16_t* coef = store.blocks[c].data() +
                                      size_t(uy * comp.v + by) * size_t(comp.blocksPerLine) * 64;
                // Eight blocks are dequantised before any is transformed, so the
                // transform's vector loads do not wait on the scattered stores.
                for (int first = 0; first < comp.blocksPerLine; first += 8) {
                    const int count = std::min(8, comp.blocksPerLine - first);
                    bool dcOnly[8];
                    for (int i = 0; i < count; ++i, coef += 64) {
                        float* block = o.group[i];
                        block[0] = float(coef[0]) * quant[0];
                        dcOnly[i] = true;
                        for (int z = 1; z < 64; ++z)
                            if (coef[z]) {
                                block[kZigZag[z]] = float(coef[z]) * quant[z];
                                dcOnly[i] = false;
                            }
                    }
                    for (int i = 0; i < count; ++i) {
                        uint8_t* dst = plane.samples.data() + size_t(by) * 8 * plane.stride +
                                       size_t(first + i) * 8;
                        IdctBlock(o.group[i], dcOnly[i], simd, dst, plane.stride);
                    }
                    std::memset(o.group, 0, sizeof(float) * 64 * size_t(count));
                }
            }
        }
        EmitUnitRow(j, o, uy, out.pixels.get());
    }
    return true;
}

// After a scan's entropy data: the next marker, past any fill bytes.
size_t NextMarker(const sBitReader& br, const uint8_t* data) {
    const uint8_t* q = br.p;
    while (q + 1 < br.end &&
           !(q[0] == 0xFF && q[1] != 0x00 && q[1] != 0xFF && (q[1] < 0xD0 || q[1] > 0xD7)))
        ++q;
    return size_t(q - data);
}

bool Decode(jpeg_file_s& j, CByteReader& in, bool simd, sDecodedImage& out, std::string& error) {
    bool ended = false;
    if (!ReadMarkers(j, in, ended, error)) return false;
    if (ended) return Fail(error, "end of image before a scan");
    sBitReader br{in.Current(), in.Data() + in.Size()};
    if (!j.progressive && j.scanCount == j.numComponents)
        return DecodeSinglePass(j, br, simd, out, error);

    sCoefficients store;
    UnitGrid(j, store.unitsX, store.unitsY);
    for (int c = 0; c < j.numComponents; ++c) {
        j.components[c].blocksPerLine = store.unitsX * j.components[c].h;
        j.components[c].blockRows = store.unitsY * j.components[c].v;
    }
    for (;;) {
        if (!DecodeCoefficientScan(j, store, br, error)) return false;
        if (!in.Seek(NextMarker(br, in.Data()))) return Fail(error, "truncated file");
        if (!ReadMarkers(j, in, ended, error)) {
            // A file cut between scans has lost part of its picture.
            if (in.Remaining() == 0 || error == "truncated file") error = "truncated scan data";
            return false;
        }
        if (ended) break;
        br = sBitReader{in.Current(), in.Data() + in.Size()};
    }
    return OutputCoefficients(j, store, simd, out, error);
}

} // namespace

bool DecodeJPEG(const unsigned char* data, size_t size, sDecodedImage& out, std::string& error,
                eJpegKernels kernels, bool* otherKind) {
    auto state = std::make_unique<jpeg_file_s>();
    std::memset(state.get(), 0, sizeof(jpeg_file_s));
    CByteReader in(data, size);
    out.bottomUp = false;
    const bool ok = Decode(*state, in, kernels == eJpegKernels::Fastest, out, error);
    if (otherKind) *otherKind = !ok && state->otherKind;
    if (!ok) out.pixels.reset();
    return ok;
}

unsigned char* load_jpeg(const char* file, int* width, int* height) {
    std::vector<uint8_t> bytes;
    if (!ReadFileToMemory(file, bytes)) return nullptr;
    sDecodedImage image;
    std::string error;
    if (!DecodeJPEG(bytes.data(), bytes.size(), image, error)) return nullptr;
    *width = image.width;
    *height = image.height;
    return image.pixels.release();
}

GLuint LoadJPEG(char* file, bool anisotropic) {
    sDecodedImage image;
    std::string error;
    eImageReader reader;
    const bool ok = DecodeJpegFile(file, image, error, &reader);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    SetRepeatSampling(GL_LINEAR_MIPMAP_LINEAR, anisotropic);
    if (!ok) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return name;
    }
    CScopedUnpackAlignment tightRows;
    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image.width, image.height,
                      image.components == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE,
                      image.pixels.get());
    return name;
}
