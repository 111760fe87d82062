#include "scene2d/CBoundingBox2D.h"

#include "core/CGraphicsCore.h"
#include "core/Engine.h"

#include <GL/glew.h>

#include <algorithm>
#include <cstdint>
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

// The whole ground an object may cover this frame, as left, top, right, bottom.
struct sSpan {
    float x0, y0, x1, y1;
};

// False when the object covers no ground.
bool Envelope(const sBoxMove& m, sSpan& out) {
    const bool from = !m.from.IsEmpty(), to = !m.to.IsEmpty();
    if (!from && !to) return false;
    const CBoundingBox2D& a = from ? m.from : m.to;
    const CBoundingBox2D& b = to ? m.to : m.from;
    out = {std::min(a.m_vA.x, b.m_vA.x), std::min(a.m_vA.y, b.m_vA.y), std::max(a.m_vB.x, b.m_vB.x),
           std::max(a.m_vB.y, b.m_vB.y)};
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

void Prefetch(const void* at) {
#if defined(__GNUC__)
    __builtin_prefetch(at);
#else
    (void)at;
#endif
}

// An object in the grid: its envelope and the cells it covers.
struct sPlaced {
    sSpan span;
    unsigned int object;
    uint16_t column0, column1, row0, row1; // small records keep large scenes in cache
};

} // namespace

// Every list the pass needs. They keep their capacity from frame to frame: a large
// scene would otherwise map and fault in fresh pages for all of them every frame.
struct CMoveResolver::sScratch {
    std::vector<char> kept, moving, asked;
    std::vector<sContact> contacts;
    std::vector<sPlaced> placed, byColumn, byRow;
    std::vector<std::pair<unsigned int, unsigned int>> candidates; // pairs whose envelopes meet
    std::vector<unsigned int> columnFirst, rowFirst, first, fill, byObject, ask, refused;

    void GridPairs(const std::vector<sBoxMove>& moves);
};

// A uniform grid of cells about twice the size of an average object's envelope: an
// object lies in a few cells, a cell holds a few objects, so the pairs looked at grow
// with the number of objects, not its square. The objects are sorted into the grid's
// rows by their first column (two counting-sort passes, each writing to about as many
// places as the grid has columns or rows, which keeps a large scene in cache); each
// row is then swept from left to right.
void CMoveResolver::sScratch::GridPairs(const std::vector<sBoxMove>& moves) {
    placed.clear();
    candidates.clear();
    sSpan all{};
    double extent = 0.0;
    for (unsigned int i = 0; i < moves.size(); ++i) {
        sSpan e;
        if (!Envelope(moves[i], e)) continue;
        if (placed.empty()) all = e;
        all = {std::min(all.x0, e.x0), std::min(all.y0, e.y0), std::max(all.x1, e.x1),
               std::max(all.y1, e.y1)};
        extent += std::max(e.x1 - e.x0, e.y1 - e.y0);
        placed.push_back({e, i, 0, 0, 0, 0});
    }
    if (placed.size() < 2) return;

    // Coarser cells when the scene is sparse, so the grid never has more than about
    // four cells per object.
    double cell = std::max(2.0 * extent / double(placed.size()), 1.0);
    const double width = double(all.x1) - all.x0, height = double(all.y1) - all.y0;
    const double maxCells = 4.0 * double(placed.size()) + 16.0;
    while ((width / cell + 1.0) * (height / cell + 1.0) > maxCells || width / cell >= 65535.0 ||
           height / cell >= 65535.0)
        cell *= 1.5;
    const int columns = int(width / cell) + 1, rows = int(height / cell) + 1;
    const auto column = [&](float x) {
        return std::min(int((double(x) - all.x0) / cell), columns - 1);
    };
    const auto row = [&](float y) { return std::min(int((double(y) - all.y0) / cell), rows - 1); };

    columnFirst.assign(size_t(columns) + 1, 0);
    rowFirst.assign(size_t(rows) + 1, 0);
    for (sPlaced& p : placed) {
        p.column0 = uint16_t(column(p.span.x0)), p.column1 = uint16_t(column(p.span.x1));
        p.row0 = uint16_t(row(p.span.y0)), p.row1 = uint16_t(row(p.span.y1));
        ++columnFirst[size_t(p.column0) + 1];
        for (int r = p.row0; r <= p.row1; ++r)
            ++rowFirst[size_t(r) + 1];
    }
    std::partial_sum(columnFirst.begin(), columnFirst.end(), columnFirst.begin());
    std::partial_sum(rowFirst.begin(), rowFirst.end(), rowFirst.begin());
    byColumn.resize(placed.size());
    for (const sPlaced& p : placed)
        byColumn[columnFirst[size_t(p.column0)]++] = p;
    byRow.resize(rowFirst.back());
    for (const sPlaced& p : byColumn)
        for (int r = p.row0; r <= p.row1; ++r)
            byRow[rowFirst[size_t(r)]++] = p;

    // Each row's objects now run from the end of the previous row's to its own end.
    unsigned int begin = 0;
    for (int r = 0; r < rows; ++r) {
        const unsigned int end = rowFirst[size_t(r)];
        for (unsigned int a = begin; a < end; ++a) {
            const sPlaced& p = byRow[a];
            // Later objects start in p's first column or after it; past p's last column
            // they lie beside it.
            for (unsigned int b = a + 1; b < end && byRow[b].column0 <= p.column1; ++b) {
                const sPlaced& q = byRow[b];
                if (p.span.x1 < q.span.x0 || q.span.x1 < p.span.x0 || p.span.y1 < q.span.y0 ||
                    q.span.y1 < p.span.y0)
                    continue;
                // A pair shares every row its envelopes' overlap covers; only the first
                // of them takes it.
                if (std::max(p.row0, q.row0) != r) continue;
                candidates.push_back({std::min(p.object, q.object), std::max(p.object, q.object)});
            }
        }
        begin = end;
    }

    // The pairs' boxes lie anywhere in a large scene's memory: asking for them a few
    // pairs ahead lets the waits for them overlap.
    constexpr size_t kAhead = 8;
    for (size_t k = 0; k < candidates.size(); ++k) {
        if (k + kAhead < candidates.size()) {
            Prefetch(&moves[candidates[k + kAhead].first]);
            Prefetch(&moves[candidates[k + kAhead].second]);
        }
        TestPair(moves, candidates[k].first, candidates[k].second, contacts);
    }
}

CMoveResolver::CMoveResolver() : m_Scratch(new sScratch) {}
CMoveResolver::~CMoveResolver() = default;

const std::vector<char>& CMoveResolver::Resolve(const std::vector<sBoxMove>& moves,
                                                eBroadPhase broadPhase) {
    sScratch& s = *m_Scratch;
    const unsigned int n = unsigned(moves.size());
    s.kept.assign(n, 1);
    s.moving.resize(n);
    for (unsigned int i = 0; i < n; ++i)
        s.moving[i] = IsMoving(moves[i]);

    s.contacts.clear();
    if (broadPhase == BROAD_PHASE_ALL_PAIRS) {
        for (unsigned int i = 0; i < n; ++i)
            for (unsigned int j = i + 1; j < n; ++j)
                TestPair(moves, i, j, s.contacts);
    } else {
        s.GridPairs(moves);
    }
    const std::vector<sContact>& contacts = s.contacts;

    // The contacts of each object, as offsets into one list.
    std::vector<unsigned int>& first = s.first;
    first.assign(n + 1, 0);
    for (const sContact& c : contacts)
        ++first[c.i + 1], ++first[c.j + 1];
    std::partial_sum(first.begin(), first.end(), first.begin());
    s.fill.assign(first.begin(), first.end() - 1);
    s.byObject.resize(contacts.size() * 2);
    for (unsigned int k = 0; k < contacts.size(); ++k)
        s.byObject[s.fill[contacts[k].i]++] = k, s.byObject[s.fill[contacts[k].j]++] = k;

    // Rounds: every move that hits another box at its place after the last round is
    // refused together, so the order of registration never matters (two objects moving
    // into each other are both refused). A later round can only be caused by a refusal,
    // and only the kept movers in contact with it need asking again; refusals only add
    // up, so the work stays linear in the contacts.
    std::vector<char>& kept = s.kept;
    auto blocked = [&](unsigned int i) {
        for (unsigned int k = first[i]; k < first[i + 1]; ++k) {
            const sContact& c = contacts[s.byObject[k]];
            const bool mine = c.i == i;
            const unsigned int other = mine ? c.j : c.i;
            const bool hit = kept[other] ? c.newNew : (mine ? c.newStart : c.startNew);
            if (hit) return true;
        }
        return false;
    };
    s.ask.clear();
    s.asked.assign(n, 0);
    for (unsigned int i = 0; i < n; ++i)
        if (s.moving[i] && first[i + 1] > first[i]) s.ask.push_back(i);
    while (!s.ask.empty()) {
        s.refused.clear();
        for (unsigned int i : s.ask)
            if (kept[i] && blocked(i)) s.refused.push_back(i);
        for (unsigned int i : s.refused)
            kept[i] = 0;
        s.ask.clear();
        for (unsigned int i : s.refused)
            for (unsigned int k = first[i]; k < first[i + 1]; ++k) {
                const sContact& c = contacts[s.byObject[k]];
                const unsigned int other = c.i == i ? c.j : c.i;
                if (s.moving[other] && kept[other] && !s.asked[other]) {
                    s.asked[other] = 1;
                    s.ask.push_back(other);
                }
            }
        for (unsigned int i : s.ask)
            s.asked[i] = 0;
    }
    return kept;
}

std::vector<char> ResolveMoves(const std::vector<sBoxMove>& moves, eBroadPhase broadPhase) {
    CMoveResolver resolver;
    return resolver.Resolve(moves, broadPhase);
}
