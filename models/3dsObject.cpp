#include "models/3dsObject.h"

#include <cstdio>

#include "core/Engine.h"
#include "core/Utils.h"
#include "models/MeshMath.h"
#include "render3d/CCamera.h"
#include "render3d/CShaderManager.h"
#include "render3d/CShadowVolume.h"

namespace {
constexpr size_t kMinTextureSlots = 10;
} // namespace

C3DSObject::C3DSObject() : m_Textures(kMinTextureSlots, 0) {}

C3DSObject::~C3DSObject() {
    Destroy();
    DeleteMeshVolumes(m_MeshVolumes);
}

std::string C3DSObject::TexturePath(const char* folder, const char* file) {
    return std::string(folder ? folder : "") + (file ? file : "");
}

bool C3DSObject::Init(char* folder, char* file, bool swap) {
    const bool loaded = m_Loader.Import3DS(&m_Model, file, swap);
    if (size_t(m_Model.numOfMaterials) > m_Textures.size())
        m_Textures.resize(size_t(m_Model.numOfMaterials), 0);
    for (int i = 0; i < m_Model.numOfMaterials; ++i) {
        tMaterialInfo& material = m_Model.pMaterials[size_t(i)];
        if (material.strFile[0] != '\0') {
            std::string path = TexturePath(folder, material.strFile);
            m_Textures[size_t(i)] = CreateModelTexture(path);
            std::printf("%s\n", path.c_str());
        }
        material.texureId = i;
    }
    std::fflush(stdout);
    m_pShader =
        g_ShaderManager ? g_ShaderManager->getDefaultShaders(SHADER_DIR_PER_PIXEL) : nullptr;
    UpdateWorldBox();
    return loaded;
}

GLuint C3DSObject::GetTexture(int material) const {
    return material >= 0 && size_t(material) < m_Textures.size() ? m_Textures[size_t(material)] : 0;
}

void C3DSObject::UpdateWorldBox() {
    TransformModelLevelBoundingBoxCoordinates(m_Model.boundingBox.min, m_Model.boundingBox.max);
}

void C3DSObject::Draw(bool textured) {
    TransformToWordCoordinate();
    for (const t3DObject& mesh : m_Model.pObject) {
        if (textured) {
            if (mesh.bHasTexture) {
                glEnable(GL_TEXTURE_2D);
                glColor3ub(255, 255, 255);
                glBindTexture(GL_TEXTURE_2D, GetTexture(mesh.materialID));
            } else {
                glDisable(GL_TEXTURE_2D);
                glColor3ub(255, 255, 255);
            }
        }
        const bool colored = m_Model.numOfMaterials > 0 && mesh.materialID >= 0;
        glBegin(GL_TRIANGLES);
        for (int f = 0; f < mesh.numOfFaces; ++f) {
            for (int k = 0; k < 3; ++k) {
                const int v = mesh.pFaces[f].vertIndex[k];
                const CVector3& n = mesh.pNormals[v];
                glNormal3f(n.x, n.y, n.z);
                if (mesh.bHasTexture && mesh.pTexVerts) {
                    glTexCoord2f(mesh.pTexVerts[v].x, mesh.pTexVerts[v].y);
                } else if (colored) {
                    const unsigned char* c = m_Model.pMaterials[size_t(mesh.materialID)].color;
                    glColor3ub(c[0], c[1], c[2]);
                }
                const CVector3& p = mesh.pVerts[v];
                glVertex3f(p.x, p.y, p.z);
            }
        }
        glEnd();
    }
    glPopMatrix();
}

void C3DSObject::DrawVBONEW(bool textured) {
    DrawVBO(textured, CameraFrustum());
}

void C3DSObject::DrawVBO(bool textured, const CFrustum* frustum) {
    m_iDrawnMeshes = 0;
    TransformToWordCoordinate();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    for (const t3DObject& mesh : m_Model.pObject) {
        if (!MeshInFrustum(frustum, mesh.boundingBox)) continue;
        if (!mesh.vertexBuffer) continue;
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.vertexBuffer);
        glVertexPointer(3, GL_FLOAT, 0, nullptr);
        glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.normalBuffer);
        glNormalPointer(GL_FLOAT, 0, nullptr);
        if (textured && mesh.bHasTexture) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glClientActiveTextureARB(GL_TEXTURE0);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, GetTexture(mesh.materialID));
            glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.texCoordBuffer);
            glTexCoordPointer(2, GL_FLOAT, 0, nullptr);
        } else {
            glDisable(GL_TEXTURE_2D);
            // The colour array stays disabled: the current colour (white) applies.
            glBindBufferARB(GL_ARRAY_BUFFER_ARB, mesh.colorBuffer);
            glColorPointer(3, GL_FLOAT, 0, nullptr);
        }
        glDrawArrays(GL_TRIANGLES, 0, mesh.arrayVertexCount);
        ++m_iDrawnMeshes;
    }
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, 0);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    // Left enabled, the coordinate array would keep pointing into this mesh's buffer
    // and later array draws with more vertices would read past its end.
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    glPopMatrix();
}

void C3DSObject::BuildShadowVolume(CVector3 light) {
    BuildMeshVolumes(m_MeshVolumes, m_Model.pObject, light, m_vPosition, m_vSize, m_fAngle,
                     m_vRotationAxis);
}

void C3DSObject::RenderToStencilV() {
    RenderVolumesToStencil(m_MeshVolumes);
}

void C3DSObject::DrawShadowVolumeV() {
    DrawMeshVolumes(m_MeshVolumes);
}

void C3DSObject::DrawBoundingBox() {
    TransformToWordCoordinate();
    glColor3f(0.9f, 0.2f, 0.1f);
    DrawBoxEdges(m_Model.boundingBox);
    glPopMatrix();
}

void C3DSObject::DrawBoundingBoxNEW() {
    DrawBoundingBox();
}

void C3DSObject::DrawBoundingSphere() {
    DrawSphereAt(m_vPosition, m_vSize, m_Model.boundingSphere);
}

CVector3 C3DSObject::GetBoundingSphereCenter() {
    CVector3 center = m_Model.boundingSphere.center;
    TransformCustomVectorCoordinates(center);
    return center;
}

void C3DSObject::Destroy() {
    ReleaseModel(m_Model);
}
