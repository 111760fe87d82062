#pragma once
// Gives the engine's frame timing a chosen interval without a display: a fake clock
// read by CUtils, stepped by exactly the interval between two measurements.
#include "core/Engine.h"
#include "core/Utils.h"

#include <SDL.h>

namespace scene2d_test {

class FrameIntervalFixture {
public:
    FrameIntervalFixture() {
        previous_ = g_Utils;
        g_Utils = &utils_;
        CUtils::SetTickSource(&Now);
    }
    ~FrameIntervalFixture() {
        CUtils::SetTickSource(nullptr);
        g_Utils = previous_;
    }
    // Milliseconds. The clock restarts near 0, where the engine's single-precision
    // seconds still hold whole milliseconds exactly.
    void SetInterval(unsigned int ms) {
        ticks_ = 0;
        utils_.CalculateFrameRate();
        ticks_ = ms;
        utils_.CalculateFrameRate();
    }

private:
    static Uint32 Now() { return ticks_; }
    static inline Uint32 ticks_ = 0;
    CUtils utils_;
    CUtils* previous_ = nullptr;
};

} // namespace scene2d_test
