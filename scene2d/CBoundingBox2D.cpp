#include "scene2d/CBoundingBox2D.h"

#include "core/CGraphicsCore.h"
#include "core/Engine.h"

#include <GL/glew.h>

#include <algorithm>
#include <numeric>

void CBoundingBox2D::Draw(CVector2 p) const {
    if (g_Graphics) g_Graphics->SetWireFrameMode(true);
    glDisable(GL_TEXTURE_2D);
    glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_QUADS);
    glVertex3f(p.x, p.y + m_fHeight, 0.0f);
    glVertex3f(p.x + m_fWidth, p.y + m_fHeight, 0.0f);
    glVertex3f(p.x + m_fWidth, p.y, 0.0f);
    glVertex3f(p.x, p.y, 0.0f);
    glEnd();
    if (g_Graphics) g_Graphics->SetWireFrameMode(false);
}

bool BoxesOverlap(const CBoundingBox2D& a, const CBoundingBox2D& b) {
    if (a.IsEmpty() || b.IsEmpty()) return false;
    return !(a.m_vB.x < b.m_vA.x || b.m_vB.x < a.m_vA.x || a.m_vB.y < b.m_vA.y ||
             b.m_vB.y < a.m_vA.y);
}

namespace {

bool IsMoving(const sBoxMove& m) {
    return m.from.m_vA.x != m.to.m_vA.x || m.from.m_vA.y != m.to.m_vA.y ||
           m.from.m_vB.x != m.to.m_vB.x || m.from.m_vB.y != m.to.m_vB.y;
}

// Two objects that may stop each other: i's new box against j's new and start boxes,
// and i's start box against j's new box.
struct sContact {
    unsigned int i, j;
    bool newNew, newStart, startNew;
};

// The whole ground an object may cover this frame; false when it covers none.
bool Envelope(const sBoxMove& m, CBoundingBox2D& out) {
    const bool from = !m.from.IsEmpty(), to = !m.to.IsEmpty();
    if (!from && !to) return false;
    const CBoundingBox2D& a = from ? m.from : m.to;
    const CBoundingBox2D& b = to ? m.to : m.from;
    out.m_vA = CVector2(std::min(a.m_vA.x, b.m_vA.x), std::min(a.m_vA.y, b.m_vA.y));
    out.m_vB = CVector2(std::max(a.m_vB.x, b.m_vB.x), std::max(a.m_vB.y, b.m_vB.y));
    return true;
}

void TestPair(const std::vector<sBoxMove>& moves, unsigned int i, unsigned int j,
              std::vector<sContact>& contacts) {
    const sBoxMove& a = moves[i];
    const sBoxMove& b = moves[j];
    // Objects that already overlap may part or stay; they never stop each other.
    if (BoxesOverlap(a.from, b.from)) return;
    const sContact c{i, j, BoxesOverlap(a.to, b.to), BoxesOverlap(a.to, b.from),
                     BoxesOverlap(a.from, b.to)};
    if (c.newNew || c.newStart || c.startNew) contacts.push_back(c);
}

// A uniform grid of cells about twice the size of an average object's envelope: an
// object lies in a few cells, a cell holds a few objects, so the pairs looked at grow
// with the number of objects, not its square.
void GridPairs(const std::vector<sBoxMove>& moves, std::vector<sContact>& contacts) {
    std::vector<CBoundingBox2D> envelopes(moves.size());
    std::vector<unsigned int> present;
    present.reserve(moves.size());
    CVector2 low, high;
    double extent = 0.0;
    for (unsigned int i = 0; i < moves.size(); ++i) {
        if (!Envelope(moves[i], envelopes[i])) continue;
        const CBoundingBox2D& e = envelopes[i];
        if (present.empty()) low = e.m_vA, high = e.m_vB;
        low = CVector2(std::min(low.x, e.m_vA.x), std::min(low.y, e.m_vA.y));
        high = CVector2(std::max(high.x, e.m_vB.x), std::max(high.y, e.m_vB.y));
        extent += std::max(e.m_vB.x - e.m_vA.x, e.m_vB.y - e.m_vA.y);
        present.push_back(i);
    }
    if (present.size() < 2) return;

    // Coarser cells when the scene is sparse, so the grid never has more than about
    // four cells per object.
    double cell = std::max(2.0 * extent / double(present.size()), 1.0);
    const double width = double(high.x) - low.x, height = double(high.y) - low.y;
    const double maxCells = 4.0 * double(present.size()) + 16.0;
    while ((width / cell + 1.0) * (height / cell + 1.0) > maxCells)
        cell *= 1.5;
    const int columns = int(width / cell) + 1, rows = int(height / cell) + 1;
    auto column = [&](float x) { return std::min(int((double(x) - low.x) / cell), columns - 1); };
    auto row = [&](float y) { return std::min(int((double(y) - low.y) / cell), rows - 1); };

    // The objects of each cell, as offsets into one list.
    std::vector<unsigned int> first(size_t(columns) * rows + 1, 0);
    auto eachCell = [&](unsigned int i, auto&& visit) {
        const CBoundingBox2D& e = envelopes[i];
        for (int r = row(e.m_vA.y); r <= row(e.m_vB.y); ++r)
            for (int c = column(e.m_vA.x); c <= column(e.m_vB.x); ++c)
                visit(size_t(r) * columns + c);
    };
    for (unsigned int i : present)
        eachCell(i, [&](size_t cellIndex) { ++first[cellIndex + 1]; });
    std::partial_sum(first.begin(), first.end(), first.begin());
    std::vector<unsigned int> fill(first.begin(), first.end() - 1);
    std::vector<unsigned int> members(first.back());
    for (unsigned int i : present)
        eachCell(i, [&](size_t cellIndex) { members[fill[cellIndex]++] = i; });

    for (size_t cellIndex = 0; cellIndex + 1 < first.size(); ++cellIndex) {
        for (unsigned int a = first[cellIndex]; a < first[cellIndex + 1]; ++a) {
            const unsigned int i = members[a];
            const CBoundingBox2D& p = envelopes[i];
            for (unsigned int b = a + 1; b < first[cellIndex + 1]; ++b) {
                const unsigned int j = members[b];
                const CBoundingBox2D& q = envelopes[j];
                if (p.m_vB.x < q.m_vA.x || q.m_vB.x < p.m_vA.x || p.m_vB.y < q.m_vA.y ||
                    q.m_vB.y < p.m_vA.y)
                    continue;
                // A pair shares every cell its envelopes' overlap covers; only the cell of
                // the overlap's top-left corner tests it.
                const float x = std::max(p.m_vA.x, q.m_vA.x), y = std::max(p.m_vA.y, q.m_vA.y);
                if (size_t(row(y)) * columns + column(x) != cellIndex) continue;
                TestPair(moves, std::min(i, j), std::max(i, j), contacts);
            }
        }
    }
}

} // namespace

std::vector<char> ResolveMoves(const std::vector<sBoxMove>& moves, eBroadPhase broadPhase) {
    const unsigned int n = unsigned(moves.size());
    std::vector<char> kept(n, 1);
    std::vector<char> moving(n);
    for (unsigned int i = 0; i < n; ++i)
        moving[i] = IsMoving(moves[i]);

    std::vector<sContact> contacts;
    if (broadPhase == BROAD_PHASE_ALL_PAIRS) {
        for (unsigned int i = 0; i < n; ++i)
            for (unsigned int j = i + 1; j < n; ++j)
                TestPair(moves, i, j, contacts);
    } else {
        GridPairs(moves, contacts);
    }

    // The contacts of each object, as offsets into one list.
    std::vector<unsigned int> first(n + 1, 0);
    for (const sContact& c : contacts)
        ++first[c.i + 1], ++first[c.j + 1];
    std::partial_sum(first.begin(), first.end(), first.begin());
    std::vector<unsigned int> fill(first.begin(), first.end() - 1);
    std::vector<unsigned int> byObject(contacts.size() * 2);
    for (unsigned int k = 0; k < contacts.size(); ++k)
        byObject[fill[contacts[k].i]++] = k, byObject[fill[contacts[k].j]++] = k;

    // Rounds: every move that hits another box at its place after the last round is
    // refused together, so the order of registration never matters (two objects moving
    // into each other are both refused). A later round can only be caused by a refusal,
    // and only the kept movers in contact with it need asking again; refusals only add
    // up, so the work stays linear in the contacts.
    auto blocked = [&](unsigned int i) {
        for (unsigned int k = first[i]; k < first[i + 1]; ++k) {
            const sContact& c = contacts[byObject[k]];
            const bool mine = c.i == i;
            const unsigned int other = mine ? c.j : c.i;
            const bool hit = kept[other] ? c.newNew : (mine ? c.newStart : c.startNew);
            if (hit) return true;
        }
        return false;
    };
    std::vector<unsigned int> ask, refused;
    std::vector<char> asked(n, 0);
    for (unsigned int i = 0; i < n; ++i)
        if (moving[i] && first[i + 1] > first[i]) ask.push_back(i);
    while (!ask.empty()) {
        refused.clear();
        for (unsigned int i : ask)
            if (kept[i] && blocked(i)) refused.push_back(i);
        for (unsigned int i : refused)
            kept[i] = 0;
        ask.clear();
        for (unsigned int i : refused)
            for (unsigned int k = first[i]; k < first[i + 1]; ++k) {
                const sContact& c = contacts[byObject[k]];
                const unsigned int other = c.i == i ? c.j : c.i;
                if (moving[other] && kept[other] && !asked[other]) {
                    asked[other] = 1;
                    ask.push_back(other);
                }
            }
        for (unsigned int i : ask)
            asked[i] = 0;
    }
    return kept;
}
