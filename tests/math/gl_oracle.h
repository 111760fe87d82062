#pragma once
// What the fixed-function matrix stack holds after a sequence of GL matrix calls: the
// independent reference the matrix builders are checked against.
#include "math_test_util.h"
#include "support/gl_context.h"

#include <array>

namespace math_test {

template <typename GlCalls> std::array<float, 16> GlModelviewAfter(GlCalls calls) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    calls();
    std::array<float, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// The 16 floats at `m` are what the GL calls leave on the modelview stack.
template <typename GlCalls>::testing::AssertionResult MatchesGl(const float* m, GlCalls calls) {
    return NearlyEqual(GlModelviewAfter(calls).data(), m, 16);
}

} // namespace math_test
