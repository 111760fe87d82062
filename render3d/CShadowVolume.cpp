#include "render3d/CShadowVolume.h"

#include <GL/glew.h>

#include <algorithm>

namespace {

// A face takes part in the volume when its normal points at the light position vector.
constexpr float kLitThreshold = 0.1f;
// Walls reach 1000 times the light-to-point distance away from the light.
constexpr float kExtrusion = 1000.0f;

bool IsLit(const CVector3& normal, const CVector3& light) {
    return Dot(normal, light) >= kLitThreshold;
}

bool IndexInRange(int index, int count) {
    return index >= 0 && index < count;
}

bool FaceInRange(const tFace& face, int vertexCount) {
    return IndexInRange(face.vertIndex[0], vertexCount) &&
           IndexInRange(face.vertIndex[1], vertexCount) &&
           IndexInRange(face.vertIndex[2], vertexCount);
}

vertex PositionOnly(const CVector3& p) {
    vertex v{};
    v.x = p.x;
    v.y = p.y;
    v.z = p.z;
    return v;
}

uint64_t PairKey(int a, int b) {
    const uint32_t lo = uint32_t(std::min(a, b));
    const uint32_t hi = uint32_t(std::max(a, b));
    return (uint64_t(lo) << 32) | hi;
}

size_t HashKey(uint64_t key) {
    key ^= key >> 33;
    key *= 0xff51afd7ed558ccdULL;
    key ^= key >> 33;
    return size_t(key);
}

} // namespace

// ---------------------------------------------------------------------------------------
// Edge lookup: open addressing over the unordered vertex pair. Slots are invalidated by
// bumping a stamp, so a rebuild does not pay for clearing the table.

void CShadowVolume::EdgeLookup::Reset(size_t expectedEdges) {
    size_t capacity = 64;
    while (capacity < expectedEdges * 2)
        capacity <<= 1;
    if (capacity != m_Slots.size()) {
        m_Slots.assign(capacity, Slot{0, 0, -1});
        m_Mask = capacity - 1;
        m_Stamp = 0;
    }
    if (++m_Stamp == 0) { // wrapped: old stamps could match again
        std::fill(m_Slots.begin(), m_Slots.end(), Slot{0, 0, -1});
        m_Stamp = 1;
    }
    m_Used = 0;
}

int32_t* CShadowVolume::EdgeLookup::Find(int a, int b) {
    const uint64_t key = PairKey(a, b);
    size_t i = HashKey(key) & m_Mask;
    while (m_Slots[i].stamp == m_Stamp) {
        if (m_Slots[i].key == key) return &m_Slots[i].index;
        i = (i + 1) & m_Mask;
    }
    m_Slots[i] = Slot{key, m_Stamp, -1};
    ++m_Used;
    return &m_Slots[i].index;
}

// ---------------------------------------------------------------------------------------

CShadowVolume::CShadowVolume() {
    m_Lookup.Reset(0);
}

void CShadowVolume::ClearEdges() {
    m_Edges.clear();
    m_EdgeCount = 0;
    m_Lookup.Reset(0);
}

void CShadowVolume::addEdge(int /*face*/, int a, int b) {
    addEdge3DS(a, b);
}

void CShadowVolume::addEdge3DS(int a, int b) {
    if (m_Lookup.NeedsGrowth()) {
        // Re-enter the pairs that still have a unique record; the others only matter
        // as "no unique record", which is also what an absent slot means.
        m_Lookup.Reset(m_Edges.size() * 2 + 64);
        for (size_t i = 0; i < m_Edges.size(); ++i)
            if (m_Edges[i].unique) *m_Lookup.Find(m_Edges[i].a, m_Edges[i].b) = int32_t(i);
    }
    int32_t* unique = m_Lookup.Find(a, b);
    if (*unique >= 0) {
        m_Edges[size_t(*unique)].unique = false;
        *unique = -1;
        return;
    }
    *unique = int32_t(m_Edges.size());
    m_Edges.push_back(edge{a, b, true});
    ++m_EdgeCount;
}

void CShadowVolume::calculateFaceNormal(T3DModel* model, int face) {
    T3DModelObject& object = model->objects[0];
    T3DFace& f = object.faces[size_t(face)];
    const vertex& va = object.vertices[size_t(f.a)];
    const vertex& vb = object.vertices[size_t(f.b)];
    const vertex& vc = object.vertices[size_t(f.c)];
    const CVector3 a(va.x, va.y, va.z), b(vb.x, vb.y, vb.z), c(vc.x, vc.y, vc.z);
    f.normal = Normalize(Cross(b - a, c - a));
}

void CShadowVolume::calculateFaceNormalObject3DS(t3DObject& mesh, int face, float angle) {
    tFace& f = mesh.pFaces[face];
    const CVector3& a = mesh.pVerts[f.vertIndex[0]];
    const CVector3& b = mesh.pVerts[f.vertIndex[1]];
    const CVector3& c = mesh.pVerts[f.vertIndex[2]];
    CVector3 n = Cross(b - a, c - a);
    m_Transform.rotate_y(angle);
    m_Transform.transformPoint(&n);
    n.normalize();
    f.normal = n;
}

void CShadowVolume::ToWorld(CVector3& p, const CVector3& position, const CVector3& size,
                            float angle) {
    PlaceInWorld(m_Transform, p, position, size, angle);
}

void CShadowVolume::AppendWall(const CVector3& p1, const CVector3& p2, const CVector3& e1,
                               const CVector3& e2) {
    m_VolumeVertices.push_back(PositionOnly(p1));
    m_VolumeVertices.push_back(PositionOnly(p2));
    m_VolumeVertices.push_back(PositionOnly(e1));
    m_VolumeVertices.push_back(PositionOnly(p2));
    m_VolumeVertices.push_back(PositionOnly(e2));
    m_VolumeVertices.push_back(PositionOnly(e1));
    m_VolumeVertexCount += 6;
}

void CShadowVolume::WriteWall(size_t at, const CVector3& p1, const CVector3& p2, const CVector3& e1,
                              const CVector3& e2) {
    const CVector3* corners[6] = {&p1, &p2, &e1, &p2, &e2, &e1};
    for (int i = 0; i < 6; ++i) {
        vertex& v = m_VolumeVertices[at + size_t(i)];
        v.x = corners[i]->x;
        v.y = corners[i]->y;
        v.z = corners[i]->z;
    }
    m_VolumeVertexCount += 6;
}

void CShadowVolume::buildShadowVolume(T3DModel* model, CVector3 light, CVector3* position) {
    ClearEdges();
    m_VolumeVertices.clear();
    m_VolumeVertexCount = 0;
    if (!model || model->objects.empty()) return;
    T3DModelObject& object = model->objects[0];
    const int vertexCount = int(object.vertices.size());
    for (size_t i = 0; i < object.faces.size(); ++i) {
        const T3DFace& f = object.faces[i];
        const bool quad = f.d != -1;
        if (!IndexInRange(f.a, vertexCount) || !IndexInRange(f.b, vertexCount) ||
            !IndexInRange(f.c, vertexCount) || (quad && !IndexInRange(f.d, vertexCount)))
            continue;
        calculateFaceNormal(model, int(i));
        if (!IsLit(f.normal, light)) continue;
        const vertex& first = object.vertices[size_t(f.a)];
        m_Extrusion = (*position + CVector3(first.x, first.y, first.z)) - light;
        if (quad) {
            addEdge(int(i), f.a, f.b);
            addEdge(int(i), f.b, f.c);
            addEdge(int(i), f.c, f.d);
            addEdge(int(i), f.d, f.a);
        } else {
            addEdge(int(i), f.a, f.b);
            addEdge(int(i), f.b, f.c);
            addEdge(int(i), f.c, f.a);
        }
    }
    for (const edge& e : m_Edges) {
        if (!e.unique) continue;
        const vertex& v1 = object.vertices[size_t(e.a)];
        const vertex& v2 = object.vertices[size_t(e.b)];
        const CVector3 p1 = CVector3(v1.x, v1.y, v1.z) + *position;
        const CVector3 p2 = CVector3(v2.x, v2.y, v2.z) + *position;
        AppendWall(p1, p2, p1 + m_Extrusion * kExtrusion, p2 + m_Extrusion * kExtrusion);
    }
}

void CShadowVolume::buildShadowV3DS(t3DObject& mesh, CVector3& light, CVector3& position,
                                    CVector3& size, float angle, CVector3& /*axis*/) {
    ClearEdges();
    m_VolumeVertices.clear();
    m_VolumeVertexCount = 0;
    for (int i = 0; i < mesh.numOfFaces; ++i) {
        if (!FaceInRange(mesh.pFaces[i], mesh.numOfVerts)) continue;
        calculateFaceNormalObject3DS(mesh, i, angle);
        const tFace& f = mesh.pFaces[i];
        if (!IsLit(f.normal, light)) continue;
        addEdge3DS(f.vertIndex[0], f.vertIndex[1]);
        addEdge3DS(f.vertIndex[1], f.vertIndex[2]);
        addEdge3DS(f.vertIndex[2], f.vertIndex[0]);
    }
    for (const edge& e : m_Edges) {
        if (!e.unique) continue;
        CVector3 p1 = mesh.pVerts[e.a];
        CVector3 p2 = mesh.pVerts[e.b];
        ToWorld(p1, position, size, angle);
        ToWorld(p2, position, size, angle);
        AppendWall(p1, p2, p1 + (p1 - light) * kExtrusion, p2 + (p2 - light) * kExtrusion);
    }
}

void CShadowVolume::buildShadowMD2(t3DObject* first, t3DObject* current, t3DObject* next, float t,
                                   CVector3* light, CVector3* position, CVector3* size, float angle,
                                   CVector3 /*axis*/) {
    if (m_CallsSinceRebuild == m_RebuildInterval) {
        ClearEdges();
        m_VolumeVertexCount = 0;
        // Faces and their indices come from the first frame; every frame of an MD2 file
        // shares them, but a damaged file could disagree, so stay inside each array.
        const int faceCount = std::min(current->numOfFaces, first->numOfFaces);
        const int vertexCount = std::min(current->numOfVerts, next->numOfVerts);
        for (int i = 0; i < faceCount; ++i) {
            const tFace& f = first->pFaces[i];
            if (!FaceInRange(f, first->numOfVerts) || !FaceInRange(f, vertexCount)) continue;
            if (m_NormalsNeeded) calculateFaceNormalObject3DS(*first, i, angle);
            if (!IsLit(f.normal, *light)) continue;
            addEdge3DS(f.vertIndex[0], f.vertIndex[1]);
            addEdge3DS(f.vertIndex[1], f.vertIndex[2]);
            addEdge3DS(f.vertIndex[2], f.vertIndex[0]);
        }
        m_NormalsNeeded = false;

        m_WriteIndex = 0;
        if (m_VolumeVertices.size() < size_t(m_EdgeCount) * 6)
            m_VolumeVertices.resize(size_t(m_EdgeCount) * 6);
        for (const edge& e : m_Edges) {
            if (!e.unique) continue;
            m_CurrentA = current->pVerts[e.a];
            m_CurrentB = current->pVerts[e.b];
            m_NextA = next->pVerts[e.a];
            m_NextB = next->pVerts[e.b];
            ToWorld(m_CurrentA, *position, *size, angle);
            ToWorld(m_CurrentB, *position, *size, angle);
            ToWorld(m_NextA, *position, *size, angle);
            ToWorld(m_NextB, *position, *size, angle);
            const CVector3 p1 = m_CurrentA + (m_NextA - m_CurrentA) * t;
            const CVector3 p2 = m_CurrentB + (m_NextB - m_CurrentB) * t;
            WriteWall(size_t(m_WriteIndex), p1, p2, p1 + (p1 - *light) * kExtrusion,
                      p2 + (p2 - *light) * kExtrusion);
            m_WriteIndex += 6;
        }
        m_CallsSinceRebuild = 0;
    }
    ++m_CallsSinceRebuild;
}

void CShadowVolume::DrawSillhoute() {
    if (m_VolumeVertexCount == 0) return;
    glDisable(GL_TEXTURE_2D);
    // One client-array draw of the same triangles an immediate-mode loop would send;
    // volumes of large meshes hold hundreds of thousands of vertices.
    glPushClientAttrib(GL_CLIENT_VERTEX_ARRAY_BIT);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(vertex), &m_VolumeVertices[0].x);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(m_VolumeVertexCount));
    glPopClientAttrib();
}
