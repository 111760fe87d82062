#pragma once
// A static OBJ model with one texture given by the caller: owns the loader, the model,
// the texture and one shadow volume per mesh; draws immediately or from buffer objects
// with a per-mesh frustum test, and answers ray queries of the ray tracer.
#include <vector>

#include "math/CFrustum.h"
#include "models/CEntity.h"
#include "models/CObjLoader.h"

class CRay;

class CObj : public CEntity {
public:
    CObj() = default;
    ~CObj() override;
    CObj(const CObj&) = delete;
    CObj& operator=(const CObj&) = delete;

    // Loads the file and the texture. A file that fails to load leaves the model empty
    // (nothing drawn, no texture) and returns false.
    bool Init(char* file, char* texture);
    void Draw(bool textured) override;
    void DrawVBONEW(bool textured) override;
    // The buffer draw against a given frustum; null draws every mesh.
    void DrawVBO(bool textured, const CFrustum* frustum);

    void SetPosition(float x, float y, float z) override { PlaceAt(x, y, z); }
    void SetSize(float x, float y, float z) override { ScaleTo(x, y, z); }
    void SetAngle(float angle) { TurnTo(angle); }

    void BuildShadowVolume(CVector3 light) override;
    void RenderToStencilV() override;
    void DrawShadowVolumeV() override;

    void DrawBoundingBox() override;
    int GetModelVertexNum() override { return m_Model.numOfVertices; }
    bool IsEmpty() override { return m_Model.pObject.empty(); }
    CVector3* GetBoundingBoxMinPoint() { return GetTransformedModelLevelBBMinPoint(); }
    CVector3* GetBoundingBoxMaxPoint() { return GetTransformedModelLevelBBMaxPoint(); }

    // Offers the nearest hit of the ray on any face to the ray and shades it from light 1.
    void CheckRayHit(CRay& ray);
    // Two-sided Moller-Trumbore test; 1 on a hit with the distance t along dir and the
    // barycentric u and v.
    static int intersect_triangle(CVector3 origin, CVector3 dir, CVector3 a, CVector3 b, CVector3 c,
                                  double* t, double* u, double* v);

    t3DModel* getModel() { return &m_Model; }
    GLuint GetTexture() const { return m_Texture; }
    const std::vector<CShadowVolume*>& GetShadowVolumes() const { return m_MeshVolumes; }
    // Number of meshes the last draw sent to GL.
    int GetDrawnMeshCount() const { return m_iDrawnMeshes; }
    void Destroy();

private:
    void UpdateWorldBox() override;
    bool BindMeshTexture(const t3DObject& mesh, bool textured);

    CObjLoader m_Loader;
    t3DModel m_Model;
    std::vector<CShadowVolume*> m_MeshVolumes; // owned
    GLuint m_Texture = 0;
    int m_iDrawnMeshes = 0;
};
