// The frame's collision pass against a plain all-pairs reference, on random scenes.
#include <gtest/gtest.h>

#include "scene2d/CBoundingBox2D.h"

#include <algorithm>
#include <array>
#include <random>
#include <tuple>

// A square of side s at (x, y) moved by (dx, dy).
static sBoxMove Move(float x, float y, float s, float dx, float dy) {
    CBoundingBox2D from(CVector2(x, y), CVector2(x + s, y + s)), to = from;
    to.TransformPointsWith(CVector2(dx, dy));
    return {from, to};
}

// Rounds over every pair: a kept move whose new box overlaps another object's box where the
// last round left it (and did not overlap it at the start) is refused.
static std::vector<char> Reference(const std::vector<sBoxMove>& moves) {
    const size_t n = moves.size();
    std::vector<char> kept(n, 1);
    for (std::vector<char> next; next != kept; std::swap(kept, next)) { // until a round keeps all
        next = kept;
        for (size_t i = 0; i < n; ++i) {
            const sBoxMove& m = moves[i];
            if (!kept[i] || (m.from.m_vA.x == m.to.m_vA.x && m.from.m_vA.y == m.to.m_vA.y))
                continue;
            for (size_t j = 0; j < n; ++j)
                if (j != i && !BoxesOverlap(m.from, moves[j].from) &&
                    BoxesOverlap(m.to, kept[j] ? moves[j].to : moves[j].from))
                    next[i] = 0;
        }
    }
    return kept;
}

TEST(CollisionPass, TheCasesTheOldPairOrderGotWrongOrThatMatterMost) {
    // {what, squares as {x, y, size, step along x}, which moves are kept}
    const std::tuple<const char*, std::vector<std::array<float, 4>>, std::vector<char>> cases[] = {
        {"one object alone always moves", {{0, 0, 10, 5}}, {1}},
        {"moving to touch: both refused", {{0, 0, 10, 5}, {20, 0, 10, -5}}, {0, 0}},
        {"ending one pixel apart: both move", {{0, 0, 10, 4}, {20, 0, 10, -5}}, {1, 1}},
        {"A into B, C between", {{0, 0, 10, 15}, {100, 100, 10, 1}, {20, 0, 10, 0}}, {0, 1, 1}},
        {"overlapping objects may part", {{0, 0, 10, -6}, {5, 0, 10, 6}}, {1, 1}},
        {"refused blocks follower", {{0, 0, 10, 5}, {12, 0, 10, 5}, {25, 0, 10, 0}}, {0, 0, 1}},
        {"no animation: an empty box passes", {{0, 0, 0, 20}, {15, -5, 10, 0}}, {1, 1}},
    };
    for (const auto& [what, squares, kept] : cases) {
        std::vector<sBoxMove> moves;
        for (const auto& q : squares)
            moves.push_back(Move(q[0], q[1], q[2], q[3], 0));
        EXPECT_EQ(ResolveMoves(moves), kept) << what;
        EXPECT_EQ(ResolveMoves(moves, BROAD_PHASE_ALL_PAIRS), kept) << what;
    }
    EXPECT_TRUE(ResolveMoves({}).empty());
}

TEST(CollisionPass, RandomScenesMatchTheAllPairsReferenceInEitherRegistrationOrder) {
    std::mt19937 random(1234);
    int refused = 0, kept = 0;
    CMoveResolver resolver; // reused across scenes of every size, as the manager reuses it
    for (int scene = 0; scene < 4000; ++scene) {
        // Crowded small fields, sizes from empty up, moves up to a box size; whole pixels
        // half the time so edges touch exactly; now and then one large object over many cells.
        const int n = 1 + int(random() % 24);
        const float field = float(20 + random() % (scene % 10 ? 120 : 600));
        std::uniform_real_distribution<float> at(0.0f, field);
        std::uniform_int_distribution<int> size(0, 16), step(-12, 12);
        std::vector<sBoxMove> moves;
        for (int i = 0; i < n; ++i) {
            const bool whole = random() % 2, still = random() % 4 == 0;
            const float x = whole ? float(int(at(random))) : at(random);
            const float y = whole ? float(int(at(random))) : at(random);
            const float s = float(random() % 16 == 0 ? 40 + random() % 60 : size(random));
            moves.push_back(Move(x, y, s, still ? 0.0f : float(step(random)),
                                 still ? 0.0f : float(step(random))));
        }
        const std::vector<char> result = resolver.Resolve(moves);
        ASSERT_EQ(result, Reference(moves)) << "scene " << scene;
        ASSERT_EQ(ResolveMoves(moves, BROAD_PHASE_ALL_PAIRS), result) << "scene " << scene;
        const std::vector<sBoxMove> reversed(moves.rbegin(), moves.rend());
        ASSERT_EQ(ResolveMoves(reversed), std::vector<char>(result.rbegin(), result.rend()))
            << "scene " << scene << " depends on the order";
        kept += int(std::count(result.begin(), result.end(), 1));
        refused += n - int(std::count(result.begin(), result.end(), 1));
    }
    EXPECT_GT(refused, 5000);
    EXPECT_GT(kept, 5000);
}
