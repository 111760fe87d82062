// Unpacking image-library surfaces that GL cannot take as they are (palettes, other
// channel orders, padded rows) against a plain copy of the same bytes.
#include <benchmark/benchmark.h>

#include "gui/CFont.h"
#include "image/CTexture.h"

#include <SDL.h>

#include <cstring>
#include <vector>

namespace {

SDL_Surface* MakeSurface(int bits, Uint32 r, Uint32 g, Uint32 b) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 1024, 1024, bits, r, g, b, 0);
    auto* p = static_cast<Uint8*>(s->pixels);
    for (size_t i = 0; i < size_t(s->pitch) * s->h; ++i)
        p[i] = Uint8(i * 31);
    return s;
}

void BM_CopyRgb1024(benchmark::State& state) {
    std::vector<unsigned char> src(1024 * 1024 * 3, 7), dst(src.size());
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), src.size());
        benchmark::DoNotOptimize(dst.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(src.size()));
}
BENCHMARK(BM_CopyRgb1024);

void BM_PackBgr24_1024(benchmark::State& state) {
    SDL_Surface* s = MakeSurface(24, 0xFF0000, 0x00FF00, 0x0000FF);
    for (auto _ : state)
        benchmark::DoNotOptimize(PackSurfacePixels(s, false, false));
    state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 1024 * 3);
    SDL_FreeSurface(s);
}
BENCHMARK(BM_PackBgr24_1024);

void BM_PackPalette8_1024(benchmark::State& state) {
    SDL_Surface* s = MakeSurface(8, 0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(PackSurfacePixels(s, false, true));
    state.SetBytesProcessed(int64_t(state.iterations()) * 1024 * 1024 * 3);
    SDL_FreeSurface(s);
}
BENCHMARK(BM_PackPalette8_1024);

// Formatting happens on every PrintText; it writes into the font's own buffer.
void BM_FormatFpsText(benchmark::State& state) {
    char buffer[font_layout::kTextBufferSize];
    auto format = [&buffer](const char* fmt, ...) {
        va_list list;
        va_start(list, fmt);
        font_layout::FormatText(buffer, sizeof buffer, fmt, list);
        va_end(list);
    };
    int fps = 0;
    for (auto _ : state) {
        format("Current FPS: %d", ++fps);
        benchmark::DoNotOptimize(buffer);
    }
}
BENCHMARK(BM_FormatFpsText);

} // namespace

BENCHMARK_MAIN();
