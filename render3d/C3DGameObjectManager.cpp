#include "render3d/C3DGameObjectManager.h"

#include <GL/glew.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "render3d/C3DGameObject.h"

C3DGameObjectManager::C3DGameObjectManager()
    : m_bDrawShadowVolume(false), m_bRegenerateShadowVolume(false), m_bDrawBoundingBox(false),
      m_iNumOfAllVertices(0) {}

C3DGameObjectManager::~C3DGameObjectManager() {
    for (C3DGameObject* object : m_Objects)
        delete object;
}

void C3DGameObjectManager::RegisterObject(C3DGameObject* object) {
    if (object == nullptr) return;
    m_Objects.push_back(object);
    m_iNumOfAllVertices += object->GetObjectVertexNum();
}

void C3DGameObjectManager::Render() {
    if (g_Graphics == nullptr || !g_Graphics->isShadowEnabled())
        DrawObjects();
    else if (g_Graphics->GetActiveShadowMethod() != SHADOW_VOLUME)
        DrawObjectsShadowMapping();
    else
        DrawObjectsShadowVolume();
}

void C3DGameObjectManager::DrawObjects() {
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    for (C3DGameObject* object : m_Objects) {
        // An invisible object keeps its last frustum result.
        if (!object->GetVisible()) continue;
        object->checkFrustum();
        if (!object->IsObjectInFrustum()) continue;
        object->Draw(true);
        if (m_bDrawBoundingBox) object->DrawBoundingBox();
    }
}

// The two shadow passes are not written yet; until they are, the scene is drawn
// unshadowed rather than not at all.
void C3DGameObjectManager::DrawObjectsShadowVolume() {
    DrawObjects();
}

void C3DGameObjectManager::DrawObjectsShadowMapping() {
    DrawObjects();
}
