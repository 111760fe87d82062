#pragma once
// The engine's frame interval fixed without a display: a fake clock read by a CUtils installed
// as g_Utils for the object's lifetime.
#include "core/Engine.h"
#include "core/Utils.h"

namespace scene2d_test {
class FrameInterval {
public:
    explicit FrameInterval(unsigned int ms) : previous_(g_Utils) {
        g_Utils = &utils_;
        CUtils::SetTickSource([] { return ticks_; });
        for (Uint32 t : {0u, ms}) // from near 0, where single-precision seconds hold whole ms
            ticks_ = t, utils_.CalculateFrameRate();
    }
    ~FrameInterval() { CUtils::SetTickSource(nullptr), g_Utils = previous_; }

private:
    static inline Uint32 ticks_ = 0;
    CUtils utils_;
    CUtils* previous_;
};
} // namespace scene2d_test
