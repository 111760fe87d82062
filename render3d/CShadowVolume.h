#pragma once
// Side walls of a stencil shadow volume: the silhouette edges of the faces turned
// towards the light, each extruded away from the light into two triangles.
// Depth-pass counting, no caps.
#include <cstdint>
#include <vector>

#include "math/Matrix4x4f.h"
#include "models/CEntity.h"
#include "models/CTObjectLoader.h"

class CShadowVolume {
public:
    struct edge {
        int a;
        int b;
        bool unique; // true while exactly one lit face has this edge: a silhouette edge
    };

    CShadowVolume();

    // Engine XML model: uses object 0 of the model.
    void buildShadowVolume(T3DModel* model, CVector3 light, CVector3* position);
    // One mesh of a 3DS or OBJ model; normals follow the current angle. The axis is
    // accepted for symmetry with the draw transform but the walls turn about y only.
    void buildShadowV3DS(t3DObject& mesh, CVector3& light, CVector3& position, CVector3& size,
                         float angle, CVector3& axis);
    // MD2 model between two animation frames: faces and normals of the first frame,
    // positions interpolated between current and next by t.
    void buildShadowMD2(t3DObject* first, t3DObject* current, t3DObject* next, float t,
                        CVector3* light, CVector3* position, CVector3* size, float angle,
                        CVector3 axis);

    void addEdge(int face, int a, int b);
    void addEdge3DS(int a, int b);
    void calculateFaceNormal(T3DModel* model, int face);
    void calculateFaceNormalObject3DS(t3DObject& mesh, int face, float angle);

    // Draws the walls as plain triangles (used for stencil counting and as a debug view).
    void DrawSillhoute();

    const std::vector<edge>& GetEdges() const { return m_Edges; }
    unsigned GetEdgeCount() const { return m_EdgeCount; }
    unsigned GetVolumeVertexCount() const { return m_VolumeVertexCount; }
    const std::vector<vertex>& GetVolumeVertices() const { return m_VolumeVertices; }
    void SetRebuildInterval(int interval) { m_RebuildInterval = interval; }
    int GetRebuildInterval() const { return m_RebuildInterval; }
    bool AreNormalsNeeded() const { return m_NormalsNeeded; }

private:
    // Finds the current unique record of an unordered vertex pair in constant time,
    // giving exactly the records a front-to-back search of the edge list would.
    class EdgeLookup {
    public:
        void Reset(size_t expectedEdges);
        // Index of the unique record for {a, b}, or -1; the slot is returned so the
        // caller can update it without a second probe.
        int32_t* Find(int a, int b);
        bool NeedsGrowth() const { return (m_Used + 1) * 2 > m_Slots.size(); }

    private:
        struct Slot {
            uint64_t key;
            uint32_t stamp;
            int32_t index;
        };
        std::vector<Slot> m_Slots;
        uint32_t m_Stamp = 0;
        size_t m_Mask = 0;
        size_t m_Used = 0;
    };

    void ClearEdges();
    void AppendWall(const CVector3& p1, const CVector3& p2, const CVector3& e1, const CVector3& e2);
    void WriteWall(size_t at, const CVector3& p1, const CVector3& p2, const CVector3& e1,
                   const CVector3& e2);
    // scale, then rotation about y, then translation, each through the work matrix.
    void ToWorld(CVector3& p, const CVector3& position, const CVector3& size, float angle);

    std::vector<edge> m_Edges;
    unsigned m_EdgeCount = 0;
    std::vector<vertex> m_VolumeVertices;
    unsigned m_VolumeVertexCount = 0;
    CVector3 m_Extrusion;
    bool m_NormalsNeeded = true;
    int m_RebuildInterval = 1;
    int m_CallsSinceRebuild = 0;
    matrix4x4f m_Transform;
    CVector3 m_CurrentA, m_CurrentB, m_NextA, m_NextB;
    int m_WriteIndex = 0;
    EdgeLookup m_Lookup;
};
