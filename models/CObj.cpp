#include "models/CObj.h"

#include <cmath>

#include "core/Engine.h"
#include "math/CRay.h"
#include "models/MeshMath.h"
#include "render3d/CLightManager.h"
#include "render3d/CShaderManager.h"

CObj::~CObj() {
    Destroy();
    DeleteMeshVolumes(m_MeshVolumes);
}

bool CObj::Init(char* file, char* texture) {
    if (!m_Loader.ImportObj(&m_Model, file)) {
        UpdateWorldBox();
        return false;
    }
    m_Loader.AddMaterial(&m_Model, texture, texture, 255, 255, 255);
    m_Loader.SetObjectMaterial(&m_Model, 0, 0);
    for (int i = 0; i < m_Model.numOfMaterials; ++i) {
        tMaterialInfo& material = m_Model.pMaterials[size_t(i)];
        if (material.strFile[0] != '\0') m_Texture = CreateModelTexture(material.strFile);
        material.texureId = i;
    }
    UpdateWorldBox();
    return true;
}

void CObj::UpdateWorldBox() {
    TransformModelLevelBoundingBoxCoordinates(m_Model.boundingBox.min, m_Model.boundingBox.max);
}

bool CObj::BindMeshTexture(const t3DObject& mesh, bool textured) {
    if (!textured || !mesh.bHasTexture) {
        glDisable(GL_TEXTURE_2D);
        return false;
    }
    glActiveTextureARB(GL_TEXTURE0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, m_Texture);
    return true;
}

void CObj::Draw(bool textured) {
    m_iDrawnMeshes = 0;
    TransformToWordCoordinate();
    if (IsTransformBBCoordinates()) UpdateWorldBox();
    glColor3f(1.0f, 1.0f, 1.0f);
    const CFrustum* frustum = CameraFrustum();
    for (const t3DObject& mesh : m_Model.pObject) {
        if (mesh.numOfFaces == 0 || !MeshInFrustum(frustum, mesh.boundingBox)) continue;
        const bool withTexture = BindMeshTexture(mesh, textured);
        glColor3ub(255, 255, 255);
        glBegin(GL_TRIANGLES);
        for (int f = 0; f < mesh.numOfFaces; ++f)
            for (int k = 0; k < 3; ++k) {
                const tFace& face = mesh.pFaces[f];
                const CVector3& n = mesh.pNormals[face.vertIndex[k]];
                glNormal3f(n.x, n.y, n.z);
                if (withTexture) {
                    const CVector2& uv = mesh.pTexVerts[face.coordIndex[k]];
                    glTexCoord2f(uv.x, uv.y);
                }
                const CVector3& p = mesh.pVerts[face.vertIndex[k]];
                glVertex3f(p.x, p.y, p.z);
            }
        glEnd();
        ++m_iDrawnMeshes;
    }
    glPopMatrix();
}

void CObj::DrawVBONEW(bool textured) {
    DrawVBO(textured, CameraFrustum());
}

void CObj::DrawVBO(bool textured, const CFrustum* frustum) {
    m_iDrawnMeshes = 0;
    TransformToWordCoordinate();
    glDisable(GL_CULL_FACE);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    for (const t3DObject& mesh : m_Model.pObject) {
        if (!mesh.vertexBuffer || !MeshInFrustum(frustum, mesh.boundingBox)) continue;
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.vertexBuffer);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.normalBuffer);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        if (BindMeshTexture(mesh, textured)) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glClientActiveTextureARB(GL_TEXTURE0);
            glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.texCoordBuffer);
            glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
            glDrawArrays(GL_TRIANGLES, 0, mesh.arrayVertexCount);
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
        } else {
            glDrawArrays(GL_TRIANGLES, 0, mesh.arrayVertexCount);
        }
        ++m_iDrawnMeshes;
    }
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    if (g_ShaderManager)
        if (CShader* shader = g_ShaderManager->getDefaultShaders(SHADER_DIR_PER_PIXEL))
            shader->End();
    glPopMatrix();
}

void CObj::BuildShadowVolume(CVector3 light) {
    BuildMeshVolumes(m_MeshVolumes, m_Model.pObject, light, m_vPosition, m_vSize, m_fAngle,
                     m_vRotationAxis);
}

void CObj::RenderToStencilV() {
    RenderVolumesToStencil(m_MeshVolumes);
}

void CObj::DrawShadowVolumeV() {
    DrawMeshVolumes(m_MeshVolumes);
}

void CObj::DrawBoundingBox() {
    TransformToWordCoordinate();
    glColor3f(0.9f, 0.2f, 0.1f);
    DrawBoxEdges(m_Model.boundingBox);
    glPopMatrix();
}

int CObj::intersect_triangle(CVector3 origin, CVector3 dir, CVector3 a, CVector3 b, CVector3 c,
                             double* t, double* u, double* v) {
    const CVector3 e1 = Vector(b, a);
    const CVector3 e2 = Vector(c, a);
    const CVector3 p = Cross(dir, e2);
    const double det = Dot(e1, p);
    if (std::fabs(det) < 1e-6) return 0;
    const double inv = 1.0 / det;
    const CVector3 s = Vector(origin, a);
    *u = Dot(s, p) * inv;
    if (*u < 0.0 || *u > 1.0) return 0;
    const CVector3 q = Cross(s, e1);
    *v = Dot(dir, q) * inv;
    if (*v < 0.0 || *u + *v > 1.0) return 0;
    *t = Dot(e2, q) * inv;
    return 1;
}

void CObj::CheckRayHit(CRay& ray) {
    const CVector3 origin = ray.GetOrigin();
    const CVector3 dir = ray.GetDirection();
    const CVector3 light =
        g_LightManager ? g_LightManager->getLightPos(1) : CVector3(0.0f, 100.0f, 0.0f);
    const float radians = m_fAngle * 3.14159265358979f / 180.0f;
    const float cosA = std::cos(radians), sinA = std::sin(radians);
    for (const t3DObject& mesh : m_Model.pObject)
        for (int f = 0; f < mesh.numOfFaces; ++f) {
            const tFace& face = mesh.pFaces[f];
            CVector3 corner[3];
            for (int k = 0; k < 3; ++k) {
                corner[k] = mesh.pVerts[face.vertIndex[k]];
                PlaceInWorld(m_mTransform, corner[k], m_vPosition, m_vSize, m_fAngle);
            }
            double t, u, v;
            if (!intersect_triangle(origin, dir, corner[0], corner[1], corner[2], &t, &u, &v))
                continue;
            const float w = float(1.0 - u - v);
            const CVector3 hit(corner[0].x * w + corner[1].x * float(u) + corner[2].x * float(v),
                               corner[0].y * w + corner[1].y * float(u) + corner[2].y * float(v),
                               corner[0].z * w + corner[1].z * float(u) + corner[2].z * float(v));
            if (!ray.SetDistanceFromOriginToaPoint(hit)) continue;
            const CVector3 toHit = Normalize(Vector(hit, light));
            // The face normal turned about y as the model is (as glRotatef does).
            const CVector3& n = face.normal;
            const CVector3 normal(n.x * cosA + n.z * sinA, n.y, -n.x * sinA + n.z * cosA);
            float d = Dot(toHit, normal);
            if (d < 0.0f) d = 0.5f;
            ray.SetColor(0.8f * d, 0.2f * d, 0.4f * d);
            ray.SetHit(true);
        }
}

void CObj::Destroy() {
    ReleaseModel(m_Model);
}
