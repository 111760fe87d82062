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

void SweepPairs(const std::vector<sBoxMove>& moves, std::vector<sContact>& contacts) {
    std::vector<CBoundingBox2D> envelopes(moves.size());
    std::vector<unsigned int> order;
    order.reserve(moves.size());
    float lowX = 0, highX = 0, lowY = 0, highY = 0;
    for (unsigned int i = 0; i < moves.size(); ++i) {
        if (!Envelope(moves[i], envelopes[i])) continue;
        const CVector2 a = envelopes[i].m_vA;
        if (order.empty()) {
            lowX = highX = a.x;
            lowY = highY = a.y;
        }
        lowX = std::min(lowX, a.x), highX = std::max(highX, a.x);
        lowY = std::min(lowY, a.y), highY = std::max(highY, a.y);
        order.push_back(i);
    }
    // Sweeping along the longer side of the scene keeps the runs of candidates short.
    const bool alongX = highX - lowX >= highY - lowY;
    auto low = [&](unsigned int i) { return alongX ? envelopes[i].m_vA.x : envelopes[i].m_vA.y; };
    auto high = [&](unsigned int i) { return alongX ? envelopes[i].m_vB.x : envelopes[i].m_vB.y; };
    auto crossLow = [&](unsigned int i) {
        return alongX ? envelopes[i].m_vA.y : envelopes[i].m_vA.x;
    };
    auto crossHigh = [&](unsigned int i) {
        return alongX ? envelopes[i].m_vB.y : envelopes[i].m_vB.x;
    };
    std::sort(order.begin(), order.end(),
              [&](unsigned int a, unsigned int b) { return low(a) < low(b); });
    for (size_t k = 0; k < order.size(); ++k) {
        const unsigned int i = order[k];
        for (size_t l = k + 1; l < order.size() && low(order[l]) <= high(i); ++l) {
            const unsigned int j = order[l];
            if (crossHigh(j) < crossLow(i) || crossHigh(i) < crossLow(j)) continue;
            TestPair(moves, std::min(i, j), std::max(i, j), contacts);
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
        SweepPairs(moves, contacts);
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
