// Decode throughput of the engine's image readers against SDL_image's IMG_Load and
// libjpeg-turbo's floating-point IDCT, on the same in-memory files. The inputs are made
// at start-up with ImageMagick from one seeded fractal picture.
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>
#include <SDL/SDL_image.h>
#include <jpeglib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "image/CTGALoader.h"
#include "image/bmp.h"
#include "image/loadjpeg.h"
#include "image/pcx.h"
#include "image/tgaload.h"

namespace {

struct sInput {
    std::vector<uint8_t> bytes;
    long long pixels = 0;
};

std::map<std::string, sInput>& Inputs() {
    static std::map<std::string, sInput> inputs;
    return inputs;
}

bool MakeInputs() {
    char pattern[] = "/tmp/zarvo-image-bench-XXXXXX";
    const char* dir = mkdtemp(pattern);
    if (!dir) return false;
    const std::string d = dir;
    const std::string src = d + "/src.png";
    struct Job {
        const char* name;
        std::string command;
        long long pixels;
    } jobs[] = {
        {"", "convert -seed 7 -size 1024x1024 plasma:fractal -blur 0x1 " + src, 0},
        {"jpeg_1024x768",
         "convert " + src + " -resize 1024x768! -quality 90 -sampling-factor 2x2 " + d + "/a.jpg",
         1024LL * 768},
        {"jpeg_4096x4096",
         "convert " + src + " -resize 4096x4096! -quality 90 -sampling-factor 2x2 " + d + "/b.jpg",
         4096LL * 4096},
        {"jpeg_progressive_1024x768",
         "convert " + src + " -resize 1024x768! -quality 90 -sampling-factor 2x2 -interlace JPEG " +
             d + "/g.jpg",
         1024LL * 768},
        {"tga_raw_1024", "convert " + src + " -compress None " + d + "/c.tga", 1024LL * 1024},
        {"tga_rle_1024", "convert " + src + " -compress RLE " + d + "/d.tga", 1024LL * 1024},
        {"bmp24_1024", "convert " + src + " -type TrueColor BMP3:" + d + "/e.bmp", 1024LL * 1024},
        {"pcx8_1024", "convert " + src + " -colors 256 -type Palette " + d + "/f.pcx",
         1024LL * 1024},
    };
    const char* files[] = {"", "a.jpg", "b.jpg", "g.jpg", "c.tga", "d.tga", "e.bmp", "f.pcx"};
    for (size_t i = 0; i < sizeof jobs / sizeof jobs[0]; ++i) {
        if (std::system(jobs[i].command.c_str()) != 0) return false;
        if (!*jobs[i].name) continue;
        sInput& input = Inputs()[jobs[i].name];
        input.pixels = jobs[i].pixels;
        if (!ReadFileToMemory((d + "/" + files[i]).c_str(), input.bytes)) return false;
    }
    std::system(("rm -rf '" + d + "'").c_str());
    return true;
}

void SetRate(benchmark::State& state, const sInput& input) {
    state.counters["MP/s"] = benchmark::Counter(double(input.pixels) / 1e6,
                                                benchmark::Counter::kIsIterationInvariantRate);
}

template <typename Decode>
void RunEngine(benchmark::State& state, const char* name, Decode decode) {
    const sInput& input = Inputs()[name];
    for (auto _ : state) {
        sDecodedImage image;
        std::string error;
        if (!decode(input.bytes, image, error)) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(image.pixels.get());
    }
    SetRate(state, input);
}

// TGA has no signature, so SDL_image is told the type as IMG_Load does from the name.
void RunSdlImage(benchmark::State& state, const char* name, const char* type) {
    const sInput& input = Inputs()[name];
    for (auto _ : state) {
        SDL_RWops* rw = SDL_RWFromConstMem(input.bytes.data(), int(input.bytes.size()));
        SDL_Surface* surface = IMG_LoadTyped_RW(rw, 1, const_cast<char*>(type));
        if (!surface) state.SkipWithError(IMG_GetError());
        SDL_FreeSurface(surface);
    }
    SetRate(state, input);
}

void RunLibjpegFloat(benchmark::State& state, const char* name) {
    const sInput& input = Inputs()[name];
    for (auto _ : state) {
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr err;
        cinfo.err = jpeg_std_error(&err);
        jpeg_create_decompress(&cinfo);
        jpeg_mem_src(&cinfo, input.bytes.data(), static_cast<unsigned long>(input.bytes.size()));
        jpeg_read_header(&cinfo, TRUE);
        cinfo.dct_method = JDCT_FLOAT;
        cinfo.out_color_space = JCS_EXT_RGBA;
        jpeg_start_decompress(&cinfo);
        const size_t stride = size_t(cinfo.output_width) * 4;
        std::vector<uint8_t> pixels(stride * cinfo.output_height);
        while (cinfo.output_scanline < cinfo.output_height) {
            JSAMPROW row = pixels.data() + cinfo.output_scanline * stride;
            jpeg_read_scanlines(&cinfo, &row, 1);
        }
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        benchmark::DoNotOptimize(pixels.data());
    }
    SetRate(state, input);
}

bool Jpeg(const std::vector<uint8_t>& b, sDecodedImage& out, std::string& error) {
    return DecodeJPEG(b.data(), b.size(), out, error);
}
bool Tga(const std::vector<uint8_t>& b, sDecodedImage& out, std::string& error) {
    return tgaDecode(b.data(), b.size(), 0, out, error);
}
bool Bmp(const std::vector<uint8_t>& b, sDecodedImage& out, std::string& error) {
    return DecodeBMP(b.data(), b.size(), "bench.bmp", out, error);
}
bool Pcx(const std::vector<uint8_t>& b, sDecodedImage& out, std::string& error) {
    return DecodePCX(b.data(), b.size(), out, error) == ePcxResult::Ok;
}
bool FontTga(const std::vector<uint8_t>& b, sDecodedImage& out, std::string& error) {
    CTGALoader loader;
    return loader.DecodeTGA(b.data(), b.size(), "bench.tga", error) && loader.TakeImage(out);
}

} // namespace

#define ENGINE_BENCH(label, input, decoder)                                                        \
    static void BM_Engine_##label(benchmark::State& s) {                                           \
        RunEngine(s, input, decoder);                                                              \
    }                                                                                              \
    BENCHMARK(BM_Engine_##label)->Unit(benchmark::kMillisecond)
#define SDL_BENCH(label, input, type)                                                              \
    static void BM_SdlImage_##label(benchmark::State& s) {                                         \
        RunSdlImage(s, input, type);                                                               \
    }                                                                                              \
    BENCHMARK(BM_SdlImage_##label)->Unit(benchmark::kMillisecond)

// Each JPEG input side by side: the engine, libjpeg-turbo's float IDCT and SDL_image.
#define JPEG_BENCH(label)                                                                          \
    ENGINE_BENCH(label, #label, Jpeg);                                                             \
    static void BM_LibjpegFloat_##label(benchmark::State& s) {                                     \
        RunLibjpegFloat(s, #label);                                                                \
    }                                                                                              \
    BENCHMARK(BM_LibjpegFloat_##label)->Unit(benchmark::kMillisecond);                             \
    SDL_BENCH(label, #label, "JPG")

JPEG_BENCH(jpeg_1024x768);
JPEG_BENCH(jpeg_4096x4096);
JPEG_BENCH(jpeg_progressive_1024x768);
ENGINE_BENCH(tga_raw_1024, "tga_raw_1024", Tga);
ENGINE_BENCH(tga_raw_1024_font_reader, "tga_raw_1024", FontTga);
SDL_BENCH(tga_raw_1024, "tga_raw_1024", "TGA");
ENGINE_BENCH(tga_rle_1024, "tga_rle_1024", Tga);
ENGINE_BENCH(tga_rle_1024_font_reader, "tga_rle_1024", FontTga);
SDL_BENCH(tga_rle_1024, "tga_rle_1024", "TGA");
ENGINE_BENCH(bmp24_1024, "bmp24_1024", Bmp);
SDL_BENCH(bmp24_1024, "bmp24_1024", "BMP");
ENGINE_BENCH(pcx8_1024, "pcx8_1024", Pcx);
SDL_BENCH(pcx8_1024, "pcx8_1024", "PCX");

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (!MakeInputs()) {
        std::fprintf(stderr, "could not make the benchmark inputs with ImageMagick\n");
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
