#pragma once
#include "math/3DMath.h"

#include <memory>
#include <vector>

// An axis-aligned box in screen pixels (y downwards): the top-left and bottom-right
// corners plus a width and height used for drawing.
struct CBoundingBox2D {
    CVector2 m_vA; // top-left corner
    CVector2 m_vB; // bottom-right corner
    float m_fWidth = 0.0f;
    float m_fHeight = 0.0f;

    CBoundingBox2D() = default;
    CBoundingBox2D(CVector2 a, CVector2 b) : m_vA(a), m_vB(b) {}

    void SetPoints(CVector2 a, CVector2 b) {
        m_vA = a;
        m_vB = b;
    }
    void SetBoxParameters(float w, float h) {
        m_fWidth = w;
        m_fHeight = h;
    }
    void TransformPointsWith(CVector2 d) {
        m_vA = m_vA + d;
        m_vB = m_vB + d;
    }
    // A box without area (an object with nothing to measure) collides with nothing.
    bool IsEmpty() const { return !(m_vB.x > m_vA.x && m_vB.y > m_vA.y); }
    // The red outline at p, in the pixel view; leaves texturing off.
    void Draw(CVector2 p) const;
};

// Boxes overlap unless one lies strictly beside the other, so boxes that share an edge
// overlap. Empty boxes overlap nothing.
bool BoxesOverlap(const CBoundingBox2D& a, const CBoundingBox2D& b);

// One object's part in a frame's collision pass: its box where it stands and where its
// pending moves would take it.
struct sBoxMove {
    CBoundingBox2D from;
    CBoundingBox2D to;
};

// How the pass finds the pairs worth testing: a uniform grid, or every pair, which gives
// the same result at quadratic cost and is kept as the yardstick for the grid.
enum eBroadPhase { BROAD_PHASE_GRID, BROAD_PHASE_ALL_PAIRS };

// Decides which moves of a frame are kept (1) and which are refused (0). A move is
// refused when the new box overlaps another object's box at its place so far and the
// two did not already overlap at the start. All such moves are refused together; a
// refused object stays where it was, which may refuse further moves, until nothing
// changes. The result does not depend on the order of the objects. Objects apart at the start
// are therefore apart at the end, objects that overlap may move apart, and a move that
// hits nothing is kept.
std::vector<char> ResolveMoves(const std::vector<sBoxMove>& moves,
                               eBroadPhase broadPhase = BROAD_PHASE_GRID);

// ResolveMoves for a pass run every frame: the resolver keeps its working memory between
// calls. The result stays valid until the next call.
class CMoveResolver {
public:
    CMoveResolver();
    ~CMoveResolver();
    CMoveResolver(const CMoveResolver&) = delete;
    CMoveResolver& operator=(const CMoveResolver&) = delete;

    const std::vector<char>& Resolve(const std::vector<sBoxMove>& moves,
                                     eBroadPhase broadPhase = BROAD_PHASE_GRID);

private:
    struct sScratch;
    std::unique_ptr<sScratch> m_Scratch;
};
