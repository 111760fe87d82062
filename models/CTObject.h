#pragma once
// The engine's own XML model as an entity: owns the loaded model and draws it face by
// face, plainly or with the parallax-mapping uniforms, builds its shadow volume and
// answers ray hits. A model that failed to load stays empty and draws nothing.
#include <memory>

#include "models/CEntity.h"
#include "models/CTObjectLoader.h"
#include "render3d/CShadowVolume.h"

class CRay;

class CTObject : public CEntity {
public:
    CTObject();
    ~CTObject() override;

    // Loads the file, computes the tangent frames and places the world box. False (and
    // an empty model) when the file cannot be used.
    bool Init(char* fileName);
    // The same with a loader set up by the caller (a texture hook, for instance).
    bool Init(const char* fileName, CTObjectLoader& loader);

    void SetPosition(float x, float y, float z) override { PlaceAt(x, y, z); }
    void SetSize(float x, float y, float z) override { ScaleTo(x, y, z); }
    void SetAngle(float angle) { TurnTo(angle); }

    void Draw(bool textured) override;
    // Draw with the parallax uniforms of each quad set on the current program and the
    // height map on texture unit 2.
    void DrawParallax(bool textured);
    void DrawBoundingBox() override;

    void BuildShadowVolume(CVector3 light) override;
    void RenderToStencilV() override;
    void DrawShadowVolumeV() override;
    void DrawShadowVolume() { DrawShadowVolumeV(); }

    void CheckRayHit(CRay& ray);
    int GetModelVertexNum() override { return m_pModel ? int(m_pModel->totalVertices) : 0; }

    bool IsLoaded() const { return m_pModel != nullptr; }
    bool IsEmpty() override { return !IsLoaded(); }
    const T3DModel* GetModel() const { return m_pModel.get(); }
    // Textures bound by the last draw (a face that keeps its texture binds nothing).
    int GetTextureBindCount() const { return m_iTextureBinds; }
    // Sub-objects that passed the frustum test in the last draw.
    int GetDrawnObjectCount() const { return m_iDrawnObjects; }

private:
    void UpdateWorldBox() override;
    void DrawFaces(bool textured, bool parallax);

    CTObjectLoader m_Loader;
    std::unique_ptr<T3DModel> m_pModel;
    CShadowVolume m_ShadowVolume;
    int m_iTextureBinds = 0;
    int m_iDrawnObjects = 0;
};
