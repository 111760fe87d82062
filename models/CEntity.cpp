#include "models/CEntity.h"

#include <cstring>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "math/CFrustum.h"
#include "render3d/CShadowVolume.h"

t3DObject MakeEmptyObject() {
    t3DObject object{};
    return object;
}

tMaterialInfo MakeEmptyMaterial() {
    tMaterialInfo material{};
    return material;
}

void CopyName(char* dst, size_t dstSize, const char* src, size_t srcLength) {
    if (dstSize == 0) return;
    size_t n = 0;
    while (n < srcLength && n + 1 < dstSize && src[n] != '\0') {
        dst[n] = src[n];
        ++n;
    }
    dst[n] = '\0';
}

void ReleaseObjectArrays(t3DObject& object) {
    delete[] object.pFaces;
    delete[] object.pNormals;
    delete[] object.pVerts;
    delete[] object.pTexVerts;
    object.pFaces = nullptr;
    object.pNormals = nullptr;
    object.pVerts = nullptr;
    object.pTexVerts = nullptr;
}

void ReleaseModel(t3DModel& model) {
    for (t3DObject& object : model.pObject)
        ReleaseObjectArrays(object);
    model = t3DModel();
}

void ReportLoadFailure(std::FILE* stream, const std::string& message, const char* file) {
    std::fprintf(stream, "%s: %s!\n", message.c_str(), file ? file : "(null)");
    std::fflush(stream);
}

CEntity::CEntity()
    : m_vSize(1.0f, 1.0f, 1.0f), m_fAngle(0.0f), m_vRotationAxis(0.0f, 1.0f, 0.0f),
      m_bTransformBB(true) {}

// The volumes belong to the model classes; the base only forgets the list.
CEntity::~CEntity() = default;

void CEntity::SetSize(float, float, float) {}
void CEntity::SetPosition(float, float, float) {}

void CEntity::PlaceAt(float x, float y, float z) {
    m_vPosition = CVector3(x, y, z);
    UpdateWorldBox();
}

void CEntity::ScaleTo(float x, float y, float z) {
    m_vSize = CVector3(x, y, z);
    UpdateWorldBox();
}

void CEntity::TurnTo(float angle) {
    m_fAngle = angle;
    UpdateWorldBox();
}
bool CEntity::MeshInFrustum(const CFrustum* frustum, const sBoundingBox& box) {
    if (!frustum) return true;
    CVector3 min = box.min, max = box.max;
    TransformCustomBoundingCoordinates(min, max);
    return frustum->BoxInFrustum(min.x, min.y, min.z, max.x, max.y, max.z) != 0;
}

void CEntity::Draw(bool) {}
void CEntity::BuildShadowVolume(CVector3) {}
void CEntity::RenderToStencilV() {}
void CEntity::DrawShadowVolumeV() {}
void CEntity::DrawVBONEW(bool) {}
void CEntity::DrawBoundingBox() {}
int CEntity::GetModelVertexNum() {
    return 0;
}

void CEntity::TransformToWordCoordinate() {
    glPushMatrix();
    glTranslatef(m_vPosition.x, m_vPosition.y, m_vPosition.z);
    glRotatef(m_fAngle, m_vRotationAxis.x, m_vRotationAxis.y, m_vRotationAxis.z);
    glScalef(m_vSize.x, m_vSize.y, m_vSize.z);
}

namespace {
// Back to normal drawing after the volumes were counted into the stencil buffer.
void RestoreAfterStencilCount() {
    glCullFace(GL_BACK);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glDisable(GL_STENCIL_TEST);
    glDepthMask(GL_TRUE);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
}
} // namespace

void CEntity::RenderVolumesToStencil(const std::vector<CShadowVolume*>& volumes) {
    auto drawAll = [&volumes] {
        for (CShadowVolume* volume : volumes)
            if (volume) volume->DrawSillhoute();
    };
    const bool twoSided =
        g_Graphics && g_Graphics->GetSupportTwoSidedStencilBuffer() && glActiveStencilFaceEXT;
    if (!twoSided) {
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
        glDepthMask(GL_FALSE);
        glEnable(GL_STENCIL_TEST);
        glStencilFunc(GL_ALWAYS, 0, 0);
        glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
        glEnable(GL_CULL_FACE);
        glCullFace(GL_FRONT);
        drawAll();
        glStencilOp(GL_KEEP, GL_KEEP, GL_DECR);
        glCullFace(GL_BACK);
        drawAll();
        RestoreAfterStencilCount();
        glDisable(GL_CULL_FACE);
        return;
    }
    glDepthMask(GL_FALSE);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDisable(GL_CULL_FACE);
    glEnable(GL_STENCIL_TEST);
    glEnable(GL_STENCIL_TEST_TWO_SIDE_EXT);
    glActiveStencilFaceEXT(GL_BACK);
    glStencilOp(GL_KEEP, GL_KEEP, GL_DECR_WRAP_EXT);
    glStencilMask(~0u);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glActiveStencilFaceEXT(GL_FRONT);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR_WRAP_EXT);
    glStencilMask(~0u);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    drawAll();
    RestoreAfterStencilCount();
}

void CEntity::TransformPoint(CVector3& p) {
    PlaceInWorld(m_mTransform, p, m_vPosition, m_vSize, m_fAngle);
}

void PlaceInWorld(matrix4x4f& scratch, CVector3& p, const CVector3& position, const CVector3& size,
                  float angle) {
    scratch.scale(size);
    scratch.transformPoint(&p);
    scratch.rotate_y(angle);
    scratch.transformPoint(&p);
    scratch.translate(position);
    scratch.transformPoint(&p);
}

void CEntity::TransformModelLevelBoundingBoxCoordinates(CVector3& min, CVector3& max) {
    m_vTransformedBBMin = min;
    m_vTransformedBBMax = max;
    TransformCustomBoundingCoordinates(m_vTransformedBBMin, m_vTransformedBBMax);
}

void CEntity::TransformCustomBoundingCoordinates(CVector3& a, CVector3& b) {
    TransformPoint(a);
    TransformPoint(b);
}

void CEntity::TransformCustomVectorCoordinates(CVector3& v) {
    TransformPoint(v);
}
