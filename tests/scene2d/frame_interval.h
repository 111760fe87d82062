#pragma once
// A fixed frame interval for the engine's frame timing without a display: a fake clock read
// by a CUtils installed as g_Utils for the object's lifetime.
#include "core/Engine.h"
#include "core/Utils.h"

namespace scene2d_test {

class FrameInterval {
public:
    explicit FrameInterval(unsigned int ms) : previous_(g_Utils) {
        g_Utils = &utils_;
        CUtils::SetTickSource(&Now);
        ticks_ = 0; // near 0 the engine's single-precision seconds hold whole milliseconds
        utils_.CalculateFrameRate();
        ticks_ = ms;
        utils_.CalculateFrameRate();
    }
    ~FrameInterval() {
        CUtils::SetTickSource(nullptr);
        g_Utils = previous_;
    }

private:
    static Uint32 Now() { return ticks_; }
    static inline Uint32 ticks_ = 0;
    CUtils utils_;
    CUtils* previous_;
};

} // namespace scene2d_test
