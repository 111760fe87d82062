#include "image/loadjpeg.h"

#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#ifdef __SSE2__
#include <emmintrin.h>
#include <xmmintrin.h>
#endif

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

bool ReadFrame(jpeg_file_s& j, CByteReader& seg, std::string& error) {
    uint8_t precision, count;
    uint16_t height, width;
    if (!seg.ReadU8(precision) || !seg.ReadU16BE(height) || !seg.ReadU16BE(width) ||
        !seg.ReadU8(count))
        return Fail(error, "truncated frame header");
    if (seg.Size() != 6 + 3 * size_t(count)) return Fail(error, "bad frame length");
    if (precision != 8) return Fail(error, "unsupported sample precision");
    if (count != 1 && count != 3) return Fail(error, "unsupported component count");
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
    if (count != j.numComponents) return Fail(error, "unsupported non-interleaved scan");
    bool seen[3] = {false, false, false};
    for (int i = 0; i < count; ++i) {
        uint8_t id, tables;
        if (!seg.ReadU8(id) || !seg.ReadU8(tables)) return Fail(error, "truncated scan header");
        int match = -1;
        for (int c = 0; c < j.numComponents; ++c)
            if (j.components[c].id == id && !seen[c]) match = c;
        if (match < 0) return Fail(error, "scan names an unknown component");
        seen[match] = true;
        jpeg_component_t& c = j.components[match];
        c.dcTable = tables >> 4;
        c.acTable = tables & 0x0F;
        if (c.dcTable > 3 || c.acTable > 3) return Fail(error, "bad Huffman table id");
        if (!j.dc[c.dcTable].defined || !j.ac[c.acTable].defined)
            return Fail(error, "missing Huffman table");
        if (!j.quantDefined[c.quantTable]) return Fail(error, "missing quantisation table");
    }
    uint8_t ss, se, approx;
    if (!seg.ReadU8(ss) || !seg.ReadU8(se) || !seg.ReadU8(approx))
        return Fail(error, "truncated scan header");
    j.spectralStart = ss;
    j.spectralEnd = se;
    j.approxHigh = approx >> 4;
    j.approxLow = approx & 0x0F;
    return true;
}

// Reads markers up to and including the first scan header; `in` is left at the scan data.
bool ReadMarkers(jpeg_file_s& j, CByteReader& in, std::string& error) {
    bool first = true;
    for (;;) {
        uint8_t b, code;
        if (!in.ReadU8(b) || b != 0xFF) return Fail(error, "marker expected");
        do {
            if (!in.ReadU8(code)) return Fail(error, "truncated marker");
        } while (code == 0xFF);
        if (first && code != 0xD8) return Fail(error, "not a JPEG file");
        first = false;
        if (code == 0xD8 || (code >= 0xD0 && code <= 0xD7) || code == 0x01) continue;
        if (code == 0xD9) return Fail(error, "end of image before a scan");
        if (code >= 0xC1 && code <= 0xCF && code != 0xC4 && code != 0xCC)
            return Fail(error, "unsupported frame type (not baseline)");
        uint16_t length;
        if (!in.ReadU16BE(length) || length < 2) return Fail(error, "bad marker length");
        const uint8_t* body = in.Take(length - 2u);
        if (!body) return Fail(error, "truncated marker segment");
        CByteReader seg(body, length - 2u);
        switch (code) {
        case 0xC0:
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

// Decodes one block's coefficients, dequantised and scaled for the IDCT, into `block`
// (natural order, zero on entry). Returns false on a corrupt stream.
bool DecodeBlock(sBitReader& br, jpeg_component_t& c, const jpeg_huffman_table_t& dc,
                 const jpeg_huffman_table_t& ac, const float* scaledQuant, float* block,
                 bool& dcOnly) {
    const int s = DecodeSymbol(br, dc);
    if (s < 0 || s > 16) return false;
    const int diff = s ? ReceiveExtend(br, s) : 0;
    c.dcPredictor = std::clamp(c.dcPredictor + diff, -kMaxDcValue, kMaxDcValue);
    block[0] = float(c.dcPredictor) * scaledQuant[0];
    dcOnly = true;
    for (int k = 1; k < 64;) {
        if (br.bits < 16) br.Fill();
        const auto& fast = ac.fastCoefficient[br.acc >> (64 - jpeg_huffman_table_t::kFastBits)];
        if (fast.length) {
            br.Consume(fast.length);
            k += fast.run;
            if (k > 63) return false;
            block[kZigZag[k]] = float(fast.value) * scaledQuant[k];
            dcOnly = false;
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
        dcOnly = false;
        ++k;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Arai-Agui-Nakajima inverse DCT, four columns (or rows) per vector lane group.

typedef float v4f __attribute__((vector_size(16)));

inline void Idct8(v4f* d) {
    // Even part.
    v4f tmp10 = d[0] + d[4];
    v4f tmp11 = d[0] - d[4];
    v4f tmp13 = d[2] + d[6];
    v4f tmp12 = (d[2] - d[6]) * 1.414213562f - tmp13;
    v4f e0 = tmp10 + tmp13, e3 = tmp10 - tmp13;
    v4f e1 = tmp11 + tmp12, e2 = tmp11 - tmp12;
    // Odd part.
    v4f z13 = d[5] + d[3];
    v4f z10 = d[5] - d[3];
    v4f z11 = d[1] + d[7];
    v4f z12 = d[1] - d[7];
    v4f o7 = z11 + z13;
    v4f o11 = (z11 - z13) * 1.414213562f;
    v4f z5 = (z10 + z12) * 1.847759065f;
    v4f o10 = z12 * 1.082392200f - z5;
    v4f o12 = z10 * -2.613125930f + z5;
    v4f o6 = o12 - o7;
    v4f o5 = o11 - o6;
    v4f o4 = o10 + o5;
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

#ifdef __SSE2__
// Transposes the 4x4 lane blocks of eight vectors: out[c] holds column c of rows 0-3
// (lanes) for c < 4 from in[0..3], and of rows 4-7 in outHigh.
inline void Transpose4(const v4f* in, v4f* out) {
    __m128 a = in[0], b = in[1], c = in[2], d = in[3];
    _MM_TRANSPOSE4_PS(a, b, c, d);
    out[0] = a, out[1] = b, out[2] = c, out[3] = d;
}
#endif

// Transforms `block` and writes its 8x8 samples at dst with the given stride.
void IdctBlock(const float* block, bool dcOnly, uint8_t* dst, size_t stride) {
    if (dcOnly) {
        const uint8_t sample = SampleFromValue(block[0]);
        for (int r = 0; r < 8; ++r)
            std::memset(dst + size_t(r) * stride, sample, 8);
        return;
    }
    alignas(16) float transposed[64];
    v4f d[8];
    for (int half = 0; half < 2; ++half) { // columns, four at a time
        for (int r = 0; r < 8; ++r)
            std::memcpy(&d[r], block + r * 8 + half * 4, 16);
        // Columns with nothing below row 0 transform to that row repeated (exactly).
        static const float kZeroRows[28] = {};
        bool onlyFirstRow = true;
        for (int r = 1; r < 8 && onlyFirstRow; ++r)
            onlyFirstRow = std::memcmp(block + r * 8 + half * 4, kZeroRows, 16) == 0;
        if (onlyFirstRow)
            for (int r = 1; r < 8; ++r)
                d[r] = d[0];
        else
            Idct8(d);
#ifdef __SSE2__
        v4f top[4], bottom[4];
        Transpose4(d, top);
        Transpose4(d + 4, bottom);
        for (int i = 0; i < 4; ++i) {
            std::memcpy(transposed + (half * 4 + i) * 8, &top[i], 16);
            std::memcpy(transposed + (half * 4 + i) * 8 + 4, &bottom[i], 16);
        }
#else
        for (int r = 0; r < 8; ++r)
            for (int lane = 0; lane < 4; ++lane)
                transposed[(half * 4 + lane) * 8 + r] = d[r][lane];
#endif
    }
    for (int half = 0; half < 2; ++half) { // rows, four at a time
        for (int c = 0; c < 8; ++c)
            std::memcpy(&d[c], transposed + c * 8 + half * 4, 16);
        Idct8(d);
#ifdef __SSE2__
        v4f left[4], right[4];
        Transpose4(d, left);
        Transpose4(d + 4, right);
        const __m128 lo = _mm_set1_ps(-32768.0f), hi = _mm_set1_ps(32767.0f);
        const __m128i bias = _mm_set1_epi32(128);
        for (int i = 0; i < 4; ++i) {
            __m128i a = _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(left[i], lo), hi));
            __m128i b = _mm_cvttps_epi32(_mm_min_ps(_mm_max_ps(right[i], lo), hi));
            a = _mm_add_epi32(_mm_srai_epi32(a, 3), bias);
            b = _mm_add_epi32(_mm_srai_epi32(b, 3), bias);
            const __m128i words = _mm_packs_epi32(a, b);
            _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + size_t(half * 4 + i) * stride),
                             _mm_packus_epi16(words, words));
        }
#else
        for (int c = 0; c < 8; ++c)
            for (int lane = 0; lane < 4; ++lane)
                dst[size_t(half * 4 + lane) * stride + size_t(c)] = SampleFromValue(d[c][lane]);
#endif
    }
}

// ---------------------------------------------------------------------------------------
// Colour conversion

struct sColourTables {
    int crToR[256], cbToB[256], cbToG[256], crToG[256];
    uint8_t clamp[1024]; // index value + 384
    sColourTables() {
        for (int i = 0; i < 256; ++i) {
            crToR[i] = int(std::floor(1.402 * (i - 128)));
            cbToB[i] = int(std::floor(1.772 * (i - 128)));
            cbToG[i] = int(std::lround(-0.34414 * (i - 128) * 65536.0));
            crToG[i] = int(std::lround(-0.71414 * (i - 128) * 65536.0));
        }
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
    bool pairs = false;
    int sourceRow = -1;
};

void FillChromaRow(const std::vector<sPlane>& planes, int y, int width, sChromaRow& row) {
    const sColourTables& t = ColourTables();
    const sPlane& cbPlane = planes[1];
    const sPlane& crPlane = planes[2];
    const uint8_t* cbRow = cbPlane.samples.data() + size_t(y / cbPlane.rowDivisor) * cbPlane.stride;
    const uint8_t* crRow = crPlane.samples.data() + size_t(y / crPlane.rowDivisor) * crPlane.stride;
    auto store = [&](int at, int cb, int cr) {
        row.r[size_t(at)] = int16_t(t.crToR[cr]);
        row.g[size_t(at)] = int16_t((t.cbToG[cb] + t.crToG[cr]) >> 16);
        row.b[size_t(at)] = int16_t(t.cbToB[cb]);
    };
    row.pairs = cbPlane.columnDivisor == 2 && crPlane.columnDivisor == 2;
    if (row.pairs) {
        for (int column = 0; column < (width + 1) / 2; ++column)
            store(column, cbRow[column], crRow[column]);
        return;
    }
    for (int x = 0; x < width; ++x)
        store(x, cbRow[x / cbPlane.columnDivisor], crRow[x / crPlane.columnDivisor]);
}

// Y + offset, clamped to 0..255, for one row of RGBA pixels.
void ComposeRow(const uint8_t* luma, const sChromaRow& c, int width, uint8_t* px) {
    int x = 0;
#ifdef __SSE2__
    const __m128i zero = _mm_setzero_si128();
    const __m128i alpha = _mm_set1_epi8(char(0xFF));
    auto offsets = [&](const std::vector<int16_t>& o) {
        if (!c.pairs) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(o.data() + x));
        const __m128i half = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(o.data() + x / 2));
        return _mm_unpacklo_epi16(half, half);
    };
    for (; x + 8 <= width; x += 8, px += 32) {
        const __m128i y =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(luma + x)), zero);
        const __m128i r16 = _mm_add_epi16(y, offsets(c.r));
        const __m128i g16 = _mm_add_epi16(y, offsets(c.g));
        const __m128i b16 = _mm_add_epi16(y, offsets(c.b));
        const __m128i rg =
            _mm_unpacklo_epi8(_mm_packus_epi16(r16, r16), _mm_packus_epi16(g16, g16));
        const __m128i ba = _mm_unpacklo_epi8(_mm_packus_epi16(b16, b16), alpha);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(px), _mm_unpacklo_epi16(rg, ba));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(px + 16), _mm_unpackhi_epi16(rg, ba));
    }
#endif
    const uint8_t* clamp = ColourTables().clamp + 384;
    for (; x < width; ++x, px += 4) {
        const size_t at = size_t(c.pairs ? x / 2 : x);
        const int l = luma[x];
        px[0] = clamp[l + c.r[at]];
        px[1] = clamp[l + c.g[at]];
        px[2] = clamp[l + c.b[at]];
        px[3] = 255;
    }
}

void ConvertRows(const jpeg_file_s& j, const std::vector<sPlane>& planes, int firstRow, int rows,
                 sChromaRow& chroma, uint8_t* out) {
    const int width = j.width;
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
        if (chroma.sourceRow != sourceRow) {
            FillChromaRow(planes, y, width, chroma);
            chroma.sourceRow = sourceRow;
        }
        ComposeRow(yRow, chroma, width, px);
    }
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

bool DecodeScan(jpeg_file_s& j, CByteReader& in, sDecodedImage& out, std::string& error) {
    const int hMax = j.components[0].h, vMax = j.components[0].v;
    const int unitW = 8 * hMax, unitH = 8 * vMax;
    const int unitsX = (j.width + unitW - 1) / unitW;
    const int unitsY = (j.height + unitH - 1) / unitH;
    int blocksPerUnit = 0;
    for (int c = 0; c < j.numComponents; ++c)
        blocksPerUnit += j.components[c].h * j.components[c].v;
    // Every block takes at least two bits (a DC code and an end of block).
    const unsigned long long blocks = (unsigned long long)unitsX * unitsY * blocksPerUnit;
    if (blocks > (unsigned long long)in.Remaining() * 4) return Fail(error, "truncated scan data");
    if (!AllocateImage(out, j.width, j.height, 4, error)) return false;

    std::vector<sPlane> planes(size_t(j.numComponents));
    alignas(16) float scaledQuant[3][64];
    static const float s[8] = {1.0f, 1.387039845f, 1.306562965f, 1.175875602f,
                               1.0f, 0.785694958f, 0.541196100f, 0.275899379f};
    for (int c = 0; c < j.numComponents; ++c) {
        const jpeg_component_t& comp = j.components[c];
        sPlane& plane = planes[size_t(c)];
        plane.stride = size_t(unitsX) * size_t(comp.h) * 8;
        plane.samples.assign(plane.stride * size_t(comp.v) * 8, 0);
        plane.rowDivisor = vMax / comp.v;
        plane.columnDivisor = hMax / comp.h;
        for (int z = 0; z < 64; ++z) {
            const int natural = kZigZag[z];
            scaledQuant[c][z] =
                float(j.quant[comp.quantTable][z]) * s[natural & 7] * s[natural >> 3];
        }
        j.components[c].dcPredictor = 0;
    }

    sBitReader br{in.Data() + in.Tell(), in.Data() + in.Size()};
    alignas(16) float block[64] = {};
    sChromaRow chroma;
    chroma.r.resize(size_t(j.width));
    chroma.g.resize(size_t(j.width));
    chroma.b.resize(size_t(j.width));
    long long unitsDone = 0;
    for (int uy = 0; uy < unitsY; ++uy) {
        for (int ux = 0; ux < unitsX; ++ux) {
            if (j.restartInterval && unitsDone > 0 && unitsDone % j.restartInterval == 0 &&
                !HandleRestart(j, br, error))
                return false;
            for (int c = 0; c < j.numComponents; ++c) {
                jpeg_component_t& comp = j.components[c];
                sPlane& plane = planes[size_t(c)];
                for (int by = 0; by < comp.v; ++by)
                    for (int bx = 0; bx < comp.h; ++bx) {
                        bool dcOnly;
                        if (!DecodeBlock(br, comp, j.dc[comp.dcTable], j.ac[comp.acTable],
                                         scaledQuant[c], block, dcOnly))
                            return Fail(error, "corrupt scan data");
                        uint8_t* dst = plane.samples.data() + size_t(by) * 8 * plane.stride +
                                       size_t(ux * comp.h + bx) * 8;
                        IdctBlock(block, dcOnly, dst, plane.stride);
                        std::memset(block, 0, sizeof block);
                    }
            }
            if (br.Overrun()) return Fail(error, "truncated scan data");
            ++unitsDone;
        }
        const int firstRow = uy * unitH;
        chroma.sourceRow = -1;
        ConvertRows(j, planes, firstRow, std::min(unitH, j.height - firstRow), chroma,
                    out.pixels.get());
    }
    return true;
}

} // namespace

bool DecodeJPEG(const unsigned char* data, size_t size, sDecodedImage& out, std::string& error) {
    auto state = std::make_unique<jpeg_file_s>();
    std::memset(state.get(), 0, sizeof(jpeg_file_s));
    CByteReader in(data, size);
    if (!ReadMarkers(*state, in, error)) return false;
    out.bottomUp = false;
    return DecodeScan(*state, in, out, error);
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
    int width = 0, height = 0;
    unsigned char* pixels = load_jpeg(file, &width, &height);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    SetRepeatSampling(GL_LINEAR_MIPMAP_LINEAR, anisotropic);
    // A failed decode leaves the name without an image, as callers expect a name back.
    if (pixels)
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    std::free(pixels);
    return name;
}
