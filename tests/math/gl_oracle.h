#pragma once
// What the fixed-function matrix stack holds after a sequence of GL matrix calls: the
// independent reference the matrix builders are checked against.
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

} // namespace math_test
