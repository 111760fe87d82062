#pragma once
// All placed objects of the 3D scene, in registration order, rendered once per frame
// with the active shadow technique. Owns the objects.
#include <vector>

#include "render3d/CShaderManager.h"

class C3DGameObject;

class C3DGameObjectManager {
public:
    C3DGameObjectManager();
    ~C3DGameObjectManager();
    C3DGameObjectManager(const C3DGameObjectManager&) = delete;
    C3DGameObjectManager& operator=(const C3DGameObjectManager&) = delete;

    // The object's model must be loaded: its vertex count is added to the total now.
    void RegisterObject(C3DGameObject* object);

    // The per-frame entry: the plain lit pass, or the shadow pass the graphics core selects.
    void Render();
    // Lights GL_LIGHT0 and draws every visible object inside the camera's frustum.
    void DrawObjects();
    // Stencil shadow volumes: lit scene, volumes counted into the stencil buffer, then
    // every pixel with a non-zero count darkened.
    void DrawObjectsShadowVolume();
    // Shadow map: casters' depth from light 1, then the scene through a program that
    // compares each fragment's light-space depth with the map on texture unit 1.
    void DrawObjectsShadowMapping();
    // Parallax mapping wins over PCF; the single-tap per-pixel-light program otherwise.
    static Default_Shader_Types SelectShadowMapProgram();

    void DrawingShadowVolume(bool draw) { m_bDrawShadowVolume = draw; }
    bool GetDrawingShadowVolume() const { return m_bDrawShadowVolume; }
    void SetRegenerateShadowVolume(bool regenerate) { m_bRegenerateShadowVolume = regenerate; }
    bool GetRegenerateShadowVolume() const { return m_bRegenerateShadowVolume; }
    void EnableBoundingBoxDrawing(bool enable) { m_bDrawBoundingBox = enable; }
    bool IsBoundingBoxDrawingEnabled() const { return m_bDrawBoundingBox; }

    int GetNumOfAllVertices() const { return m_iNumOfAllVertices; }
    // A copy of the list; the objects stay owned by the manager.
    std::vector<C3DGameObject*> Get3DObjects() const { return m_Objects; }

private:
    void DarkenStencilledPixels();

    std::vector<C3DGameObject*> m_Objects;
    bool m_bDrawShadowVolume;
    bool m_bRegenerateShadowVolume;
    bool m_bDrawBoundingBox;
    int m_iNumOfAllVertices;
};
