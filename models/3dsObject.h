#pragma once
// A static 3DS model: owns the loader, the model, one texture per material and one
// shadow volume per mesh; draws from buffer objects with a per-mesh frustum test.
#include <vector>

#include "math/CFrustum.h"
#include "models/3dsLoader.h"
#include "models/CEntity.h"

class CShader;

class C3DSObject : public CEntity {
public:
    C3DSObject();
    ~C3DSObject() override;

    // Loads file; material textures are looked up as folder + texture file name (the
    // folder is expected to end with "/"). False when the model file failed (the object
    // stays empty); a failed texture only leaves its material untextured.
    bool Init(char* folder, char* file, bool swap);
    void Draw(bool textured) override;
    void DrawVBONEW(bool textured) override;
    // The buffer draw against a given frustum; null draws every mesh.
    void DrawVBO(bool textured, const CFrustum* frustum);

    void SetPosition(float x, float y, float z) override { PlaceAt(x, y, z); }
    void SetSize(float x, float y, float z) override { ScaleTo(x, y, z); }
    void SetAngle(float angle) { TurnTo(angle); }

    // One volume per mesh, created by the first build and rebuilt in place afterwards.
    void BuildShadowVolume(CVector3 light) override;
    void RenderToStencilV() override;
    void DrawShadowVolumeV() override;

    int GetModelVertexNum() override { return m_Model.numOfVertices; }
    bool IsEmpty() override { return m_Model.pObject.empty(); }
    void DrawBoundingBox() override;
    void DrawBoundingBoxNEW();
    void DrawBoundingSphere();
    CVector3* GetBoundingBoxMinPoint() { return GetTransformedModelLevelBBMinPoint(); }
    CVector3* GetBoundingBoxMaxPoint() { return GetTransformedModelLevelBBMaxPoint(); }
    CVector3 GetBoundingSphereCenter();
    float GetBoundingSphereRadius() const { return m_Model.boundingSphere.radius; }
    t3DModel* getModel() { return &m_Model; }
    const std::vector<CShadowVolume*>& GetShadowVolumes() const { return m_MeshVolumes; }
    CShader* GetShader() const { return m_pShader; }
    GLuint GetTexture(int material) const;
    // Number of meshes the last buffer draw sent to GL.
    int GetDrawnMeshCount() const { return m_iDrawnMeshes; }
    void Destroy();

    // Texture path of a material: folder and file name joined without a separator.
    static std::string TexturePath(const char* folder, const char* file);

private:
    void UpdateWorldBox() override;

    CLoad3DS m_Loader;
    t3DModel m_Model;
    // At least ten entries, one per material when there are more.
    std::vector<GLuint> m_Textures;
    CShader* m_pShader = nullptr;
    std::vector<CShadowVolume*> m_MeshVolumes; // owned
    int m_iDrawnMeshes = 0;
};
