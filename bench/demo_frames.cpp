// Frame time and start-up time of a demo at 1024 x 768, as the program runs it (the
// applications constructed, the demo's own Init and Run passes).
//   demo_frames [WARMUP] [FRAMES] [DEMO]    defaults 30, 300 and shadow; run under X
// DEMO is shadow, enginetest, or enginetest-noshadow (the test bed without shadow maps).
// Prints one line: start-up to the first frame, then median, p95 and fastest frame, in ms,
// and the heap growth over the timed frames.
#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "core/cApp.h"
#include "demos/EngineTestApp.h"
#include "demos/testGameObject.h"
#include "demos/testImageFade.h"
#include "demos/testKavrixBases.h"
#include "demos/testParallaxScroll.h"
#include "demos/testParticleSystem2D.h"
#include "demos/testShadowMapping.h"

#include <GL/glew.h>

#include <malloc.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Start-up to the first frame, then the timed frames after the warm-up.
template <typename Pass>
void Measure(Clock::time_point start, int warmup, int frames, Pass pass) {
    pass();
    glFinish();
    const double startup = Milliseconds(start, Clock::now());

    for (int i = 0; i < warmup; ++i)
        pass();
    const size_t heapAfterWarmup = mallinfo2().uordblks;
    std::vector<double> times;
    times.reserve(size_t(frames));
    for (int i = 0; i < frames; ++i) {
        const Clock::time_point before = Clock::now();
        pass();
        glFinish();
        times.push_back(Milliseconds(before, Clock::now()));
    }
    // Heap in use now against after the warm-up: a steady frame allocates nothing for good.
    const long long heapGrowth = (long long)mallinfo2().uordblks - (long long)heapAfterWarmup;
    std::sort(times.begin(), times.end());
    std::fprintf(stderr,
                 "startup_ms %.1f median_ms %.2f p95_ms %.2f fastest_ms %.2f heap_growth_bytes "
                 "%lld\n",
                 startup, times[times.size() / 2],
                 times[std::min(times.size() - 1, times.size() * 95 / 100)], times.front(),
                 heapGrowth);
}
} // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    const int warmup = argc > 1 ? std::max(0, std::atoi(argv[1])) : 30;
    const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 300;
    sRunOptions options;
    options.windowed = true;
    CApp::SetRunOptions(options);

    // The engine prints its progress; the measurement goes to standard error.
    EngineTestApp engineTest;
    testImageFade imageFade;
    testKavrixBases kavrixBases;
    testGameObject gameObject;
    testParallaxScroll parallaxScroll;
    testParticleSystem2D particles2D;
    testShadowMapping shadow;
    const char* which = argc > 3 ? argv[3] : "shadow";
    if (std::strcmp(which, "shadow") == 0) {
        shadow.Init();
        Measure(start, warmup, frames, [&] { shadow.RunPass(); });
    } else {
        engineTest.Init();
        if (std::strcmp(which, "enginetest-noshadow") == 0) g_Graphics->EnableShadows(false);
        Measure(start, warmup, frames, [&] { engineTest.RunPass(); });
    }
    return 0;
}
