#pragma once
// Random inputs and tolerant comparisons shared by the math tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace math_test {

class Random {
public:
    explicit Random(unsigned seed) : engine_(seed) {}
    float Uniform(float lo, float hi) {
        return std::uniform_real_distribution<float>(lo, hi)(engine_);
    }

private:
    std::mt19937 engine_;
};

// Relative to the larger magnitude, with an absolute floor for values near zero.
inline ::testing::AssertionResult NearlyEqual(const float* expected, const float* actual, int n,
                                              float tolerance = 1e-5f) {
    for (int i = 0; i < n; ++i) {
        const float scale = std::max(1.0f, std::max(std::fabs(expected[i]), std::fabs(actual[i])));
        if (!(std::fabs(expected[i] - actual[i]) <= tolerance * scale))
            return ::testing::AssertionFailure()
                   << "entry " << i << ": expected " << expected[i] << ", got " << actual[i];
    }
    return ::testing::AssertionSuccess();
}

} // namespace math_test
