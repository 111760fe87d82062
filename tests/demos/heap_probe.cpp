// Linked into a copy of the real program for soak runs: every frame swap also records the
// heap in use, and at exit the probe prints how it moved after the warm-up. A frame loop
// that allocates without freeing shows up as growth here long before it shows as a leak.
#include <SDL.h>
#include <dlfcn.h>
#include <malloc.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ZARVO_PROBE_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define ZARVO_PROBE_ASAN 1
#endif
#ifdef ZARVO_PROBE_ASAN
// The sanitizer runtime's own count (GCC ships no header for it); glibc's figures do not
// see the sanitizer's allocator.
extern "C" size_t __sanitizer_get_current_allocated_bytes(void);
#endif

namespace {

// Fixed storage: the probe itself must not allocate while it measures.
constexpr size_t kMaxFrames = 1 << 17;
size_t g_heapAfterFrame[kMaxFrames];
size_t g_frames = 0;

size_t HeapInUse() {
#ifdef ZARVO_PROBE_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

size_t WarmUpFrames() {
    const char* value = std::getenv("ZARVO_HEAP_WARMUP");
    return value ? size_t(std::strtoul(value, nullptr, 10)) : 200;
}

// Smallest heap over a window of frames: the floor the frame loop returns to, free of
// whatever a single frame holds briefly.
size_t FloorOver(size_t first, size_t last) {
    return *std::min_element(g_heapAfterFrame + first, g_heapAfterFrame + last);
}

void Report() {
    const size_t warmUp = WarmUpFrames();
    const size_t window = 100;
    if (g_frames < warmUp + 2 * window) {
        std::printf("heap probe: only %zu frames, need %zu for a verdict\n", g_frames,
                    warmUp + 2 * window);
        return;
    }
    const size_t start = FloorOver(warmUp, warmUp + window);
    const size_t end = FloorOver(g_frames - window, g_frames);
    const size_t peak = *std::max_element(g_heapAfterFrame + warmUp, g_heapAfterFrame + g_frames);
    const long long growth = (long long)end - (long long)start;
    // Allocators round and caches settle; a per-frame leak of even 8 bytes over the frames
    // measured goes past this.
    const long long tolerance = 4096;
    std::printf("heap probe: %zu frames; after frame %zu %zu bytes in use, at the end %zu, "
                "peak %zu; growth %lld bytes: %s\n",
                g_frames, warmUp, start, end, peak, growth,
                growth <= tolerance ? "heap steady" : "HEAP GREW");
    std::fflush(stdout);
}

} // namespace

extern "C" void SDL_GL_SwapBuffers(void) {
    using SwapFunction = void (*)(void);
    static const auto realSwap =
        reinterpret_cast<SwapFunction>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    if (g_frames == 0) std::atexit(Report);
    realSwap();
    if (g_frames < kMaxFrames) g_heapAfterFrame[g_frames++] = HeapInUse();
}
