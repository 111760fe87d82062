#include "render3d/C3DGameObjectManager.h"

#include <GL/glew.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "render3d/C3DGameObject.h"
#include "render3d/CCamera.h"
#include "render3d/CLightManager.h"
#include "render3d/CShader.h"

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
    for (C3DGameObject* object : m_Objects) {
        if (object->GetVisible()) object->checkFrustum();
        if (!object->isShadowCaster()) continue;
        if (m_bRegenerateShadowVolume) object->SetGenerateShadowVolume(true);
        if (object->IsObjectInFrustum()) object->BuildShadowVolume();
    }

    glDepthMask(GL_TRUE);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDepthFunc(GL_LEQUAL);
    glDisable(GL_STENCIL_TEST);
    for (C3DGameObject* object : m_Objects) {
        if (!object->GetVisible() || !object->IsObjectInFrustum()) continue;
        object->Draw(true);
        if (m_bDrawBoundingBox) object->DrawBoundingBox();
    }
    glDisable(GL_LIGHTING);

    for (C3DGameObject* object : m_Objects)
        if (object->GetVisible() && object->IsObjectInFrustum() && object->isShadowCaster())
            object->RenderToStencil();

    DarkenStencilledPixels();

    if (m_bDrawShadowVolume) {
        for (C3DGameObject* object : m_Objects)
            if (object->isShadowCaster() && object->GetVisible()) object->DrawShadowVolume();
    }
    m_bRegenerateShadowVolume = false;
}

// Halves the colour of every pixel whose stencil count is not zero, with a screen-filling
// quad at window depth 0.5 (the depth test stays as the caller set it).
void C3DGameObjectManager::DarkenStencilledPixels() {
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(-1, 1, -1, 1, -1, 1);
    glEnable(GL_STENCIL_TEST);
    glStencilFunc(GL_NOTEQUAL, 0, 0xFFFFFFFFu);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ZERO, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, 0.5f);
    glBegin(GL_TRIANGLE_STRIP);
    glVertex2i(-1, -1);
    glVertex2i(1, -1);
    glVertex2i(-1, 1);
    glVertex2i(1, 1);
    glEnd();
    glDisable(GL_BLEND);
    glDisable(GL_STENCIL_TEST);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glEnable(GL_LIGHTING);
}

Default_Shader_Types C3DGameObjectManager::SelectShadowMapProgram() {
    if (g_Graphics->isParallaxMappingEnabled()) return SHADER_PARALLAX_SHADOW;
    if (g_Graphics->isPCFShadowEnabled()) return SHADER_SHADOW_MAPPING_PCF;
    return SHADER_SHADOW_MAPPING_PER_PIXEL_LIGHT;
}

void C3DGameObjectManager::DrawObjectsShadowMapping() {
    if (!g_Graphics || !g_LightManager || !g_Camera) {
        DrawObjects(); // no light or camera to shadow from: the plain pass
        return;
    }
    const bool fbo = g_Graphics->isFBOSupported() && g_Graphics->GetShadowMapFBO() != 0;
    const GLsizei mapWidth = GLsizei(g_Graphics->GetShadowMapSizeX());
    const GLsizei mapHeight = GLsizei(g_Graphics->GetShadowMapSizeY());
    const MATRIX4X4 lightProjection = g_LightManager->GetLightProjMatrix(1);
    const MATRIX4X4 lightView = g_LightManager->GetLightViewMatrix(1);

    // Depth of the shadow casters as light 1 sees them.
    if (fbo) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, g_Graphics->GetShadowMapFBO());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    glLoadIdentity();
    glViewport(0, 0, mapWidth, mapHeight);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadMatrixf(lightProjection.entries);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(lightView.entries);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glPolygonOffset(8.0f, 4.0f);
    glEnable(GL_POLYGON_OFFSET_FILL);
    for (C3DGameObject* object : m_Objects) {
        object->checkFrustum();
        if (object->GetVisible() && object->isShadowCaster() && object->IsObjectInFrustum())
            object->Draw(false);
    }
    if (fbo) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    } else {
        glBindTexture(GL_TEXTURE_2D, g_Graphics->GetShadowMapTexture());
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, mapWidth, mapHeight);
    }
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDisable(GL_POLYGON_OFFSET_FILL);
    glViewport(0, 0, GLsizei(g_Graphics->GetScreenWidth()), GLsizei(g_Graphics->GetScreenHeight()));
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    if (!fbo) glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT); // the light's view must not show

    // The scene from the camera, each fragment compared against the map on unit 1.
    glLoadIdentity();
    g_Camera->Look();
    CShader* program = g_ShaderManager ? g_ShaderManager->getDefaultShaders(SelectShadowMapProgram())
                                       : nullptr;
    if (program) program->Begin();
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, g_Graphics->GetShadowMapTexture());
    if (program) {
        program->uniform1i("testTexture", 0);
        program->uniform1i("HeightTexture", 2);
        program->uniform1i("shadowMap", 1);
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
    // Eye space -> light clip space -> shadow-map coordinates.
    glMatrixMode(GL_TEXTURE);
    glLoadMatrixf(g_Graphics->GetShadowMapBiasMatrix()->entries);
    glMultMatrixf(lightProjection.entries);
    glMultMatrixf(lightView.entries);
    glMultMatrixf(g_Camera->GetInverseMatrix());
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    for (C3DGameObject* object : m_Objects) {
        if (!object->GetVisible() || !object->IsObjectInFrustum()) continue;
        object->Draw(true);
        if (m_bDrawBoundingBox) object->DrawBoundingBox();
    }
    glMatrixMode(GL_TEXTURE);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glDisable(GL_TEXTURE_2D);
    if (program) program->End();
}
