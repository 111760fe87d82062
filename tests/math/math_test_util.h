#pragma once
// Random inputs and tolerant comparisons shared by the math tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace math_test {

struct Random {
    explicit Random(unsigned seed) : engine(seed) {}
    float operator()(float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(engine);
    }
    std::mt19937 engine;
};

// Relative to the larger magnitude, with an absolute floor for values near zero.
inline ::testing::AssertionResult NearlyEqual(const float* expected, const float* actual, int n,
                                              float tolerance = 1e-5f) {
    for (int i = 0; i < n; ++i)
        if (!(std::fabs(expected[i] - actual[i]) <=
              tolerance * std::max({1.0f, std::fabs(expected[i]), std::fabs(actual[i])})))
            return ::testing::AssertionFailure()
                   << "entry " << i << ": expected " << expected[i] << ", got " << actual[i];
    return ::testing::AssertionSuccess();
}

// Bottom row (0, 0, 0, 1): the affine case the matrix classes take shortcuts for.
inline void MakeAffine(float* m) {
    m[3] = m[7] = m[11] = 0;
    m[15] = 1;
}

} // namespace math_test
