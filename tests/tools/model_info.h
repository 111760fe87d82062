#pragma once
// Shared by the content tests: running a command, and assimp's summary of a model file
// compared with extents found another way.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace content_test {

inline std::string RunCommand(const std::string& command, int* status = nullptr) {
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buf[4096];
    while (size_t n = fread(buf, 1, sizeof buf, pipe))
        out.append(buf, n);
    int rc = pclose(pipe);
    if (status) *status = rc;
    return out;
}

struct Extents {
    int vertices = 0, faces = 0;
    std::array<float, 3> lo{}, hi{};
};

// Reads assimp's summary of a model file.
inline bool AssimpInfo(const std::string& file, Extents& e) {
    std::string out = RunCommand("assimp info '" + file + "'");
    auto number = [&](const char* key) {
        size_t at = out.find(key);
        return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + std::strlen(key));
    };
    auto point = [&](const char* key, std::array<float, 3>& p) {
        size_t at = out.find(key);
        return at != std::string::npos && std::sscanf(out.c_str() + at + std::strlen(key),
                                                      " (%f %f %f)", &p[0], &p[1], &p[2]) == 3;
    };
    e.vertices = number("Vertices:");
    e.faces = number("Faces:");
    return e.faces > 0 && point("Minimum point", e.lo) && point("Maximum point", e.hi);
}

// Assimp turns axes around per format; compare the extents as a set of intervals
// that may be mirrored.
inline void ExpectSameExtents(const Extents& ours, const Extents& theirs, float tolerance,
                              const std::string& what) {
    std::array<bool, 3> used{};
    for (int a = 0; a < 3; ++a) {
        bool found = false;
        for (int b = 0; b < 3 && !found; ++b) {
            if (used[b]) continue;
            bool same = std::fabs(ours.lo[a] - theirs.lo[b]) < tolerance &&
                        std::fabs(ours.hi[a] - theirs.hi[b]) < tolerance;
            bool mirrored = std::fabs(ours.lo[a] + theirs.hi[b]) < tolerance &&
                            std::fabs(ours.hi[a] + theirs.lo[b]) < tolerance;
            if (same || mirrored) used[b] = found = true;
        }
        EXPECT_TRUE(found) << what << ": axis " << a << " [" << ours.lo[a] << ", " << ours.hi[a]
                           << "] has no match";
    }
}

} // namespace content_test
