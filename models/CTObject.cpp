#include "models/CTObject.h"

#include <algorithm>
#include <cmath>

#include "core/Engine.h"
#include "math/CFrustum.h"
#include "math/CRay.h"
#include "models/MeshMath.h"
#include "render3d/CCamera.h"
#include "render3d/CLightManager.h"
#include "render3d/CShader.h"
#include "render3d/CShaderManager.h"

namespace {

// Möller–Trumbore without back-face culling. Only hits in front of the origin count:
// a triangle behind the ray must not shadow what it looks at.
bool IntersectTriangle(const CVector3& origin, const CVector3& dir, const CVector3& v0,
                       const CVector3& v1, const CVector3& v2, float& t, float& u, float& v) {
    const float kEpsilon = 1e-6f;
    const CVector3 e1 = v1 - v0, e2 = v2 - v0;
    const CVector3 p = Cross(dir, e2);
    const float det = Dot(e1, p);
    if (std::fabs(det) < kEpsilon) return false;
    const float inv = 1.0f / det;
    const CVector3 s = origin - v0;
    u = Dot(s, p) * inv;
    if (u < 0.0f || u > 1.0f) return false;
    const CVector3 q = Cross(s, e1);
    v = Dot(dir, q) * inv;
    if (v < 0.0f || u + v > 1.0f) return false;
    t = Dot(e2, q) * inv;
    return t > kEpsilon;
}

CVector3 Position(const vertex& v) {
    return CVector3(v.x, v.y, v.z);
}

} // namespace

CTObject::CTObject() = default;
CTObject::~CTObject() = default;

bool CTObject::Init(char* fileName) {
    return Init(fileName, m_Loader);
}

bool CTObject::Init(const char* fileName, CTObjectLoader& loader) {
    m_pModel.reset();
    auto model = std::make_unique<T3DModel>();
    if (loader.LoadModelFromXML(fileName, *model)) {
        loader.CalculateTangentSpaceVectors(model.get());
        m_pModel = std::move(model);
    }
    UpdateWorldBox();
    return IsLoaded();
}

void CTObject::UpdateWorldBox() {
    if (!m_pModel) {
        // Nothing loaded: an empty box at the origin.
        m_vTransformedBBMin = CVector3();
        m_vTransformedBBMax = CVector3();
        return;
    }
    CVector3 min = m_pModel->boundingBox.min, max = m_pModel->boundingBox.max;
    TransformModelLevelBoundingBoxCoordinates(min, max);
}

void CTObject::Draw(bool textured) {
    if (!m_pModel) return;
    TransformToWordCoordinate();
    DrawFaces(textured, false);
    glPopMatrix();
}

void CTObject::DrawParallax(bool textured) {
    if (!m_pModel) return;
    glPushMatrix();
    glTranslatef(m_vPosition.x, m_vPosition.y, m_vPosition.z);
    glRotatef(m_fAngle, m_vRotationAxis.x, m_vRotationAxis.y, m_vRotationAxis.z);
    glScalef(m_vSize.x, m_vSize.y, m_vSize.z);
    DrawFaces(textured, true);
    glPopMatrix();
}

void CTObject::DrawFaces(bool textured, bool parallax) {
    m_iTextureBinds = 0;
    m_iDrawnObjects = 0;
    // The parallax uniforms are looked up in the parallax program but set on whatever
    // program is current (the shadow-map pass makes them the same one).
    GLint eye = -1, tangent = -1, normal = -1, binormal = -1;
    if (parallax && g_ShaderManager && glGetHandleARB &&
        glGetHandleARB(GL_PROGRAM_OBJECT_ARB) != 0) {
        if (CShader* shader = g_ShaderManager->getDefaultShaders(SHADER_PARALLAX_SHADOW)) {
            const GLhandleARB program = shader->getShaderHandler();
            eye = glGetUniformLocationARB(program, "Eye");
            tangent = glGetUniformLocationARB(program, "Tangent");
            normal = glGetUniformLocationARB(program, "Normal");
            binormal = glGetUniformLocationARB(program, "BiNormal");
        }
    }
    const bool uniforms = eye != -1 || tangent != -1 || normal != -1 || binormal != -1;
    const CVector3 eyePos = g_Camera ? *g_Camera->GetCameraPosition() : CVector3();
    const CFrustum* frustum = g_Camera ? g_Camera->GetFrustum() : nullptr;
    int lastColour = -1, lastHeight = -1;

    for (const T3DModelObject& object : m_pModel->objects) {
        if (frustum) {
            CVector3 min = object.boundingBox.min, max = object.boundingBox.max;
            TransformCustomBoundingCoordinates(min, max);
            if (!frustum->BoxInFrustum(min.x, min.y, min.z, max.x, max.y, max.z)) continue;
        }
        ++m_iDrawnObjects;
        for (const T3DFace& f : object.faces) {
            const bool quad = f.d != -1;
            const bool parallaxQuad = parallax && quad;
            if (textured) {
                const int colour = f.materialIndex >= 0
                                       ? m_pModel->materials[size_t(f.materialIndex)].textureId
                                       : -1;
                const int height =
                    parallaxQuad && f.parallaxMapIndex >= 0
                        ? m_pModel->parallaxMaps[size_t(f.parallaxMapIndex)].textureId
                        : lastHeight;
                if (colour == -1) {
                    glDisable(GL_TEXTURE_2D);
                    // Forget the binding: the next textured face must switch texturing
                    // back on even when it uses the texture bound before.
                    lastColour = -1;
                } else if (colour != lastColour || height != lastHeight) {
                    glActiveTextureARB(GL_TEXTURE0_ARB);
                    glEnable(GL_TEXTURE_2D);
                    glBindTexture(GL_TEXTURE_2D, GLuint(colour));
                    ++m_iTextureBinds;
                    if (parallaxQuad && height != -1) {
                        glActiveTextureARB(GL_TEXTURE2_ARB);
                        glBindTexture(GL_TEXTURE_2D, GLuint(height));
                        glActiveTextureARB(GL_TEXTURE0_ARB);
                    }
                    lastColour = colour;
                    lastHeight = height;
                }
            }
            if (parallaxQuad && uniforms) {
                glUniform4fARB(eye, eyePos.x, eyePos.y, eyePos.z, 1.0f);
                glUniform4fARB(tangent, f.tangent.x, f.tangent.y, f.tangent.z, 0.0f);
                glUniform4fARB(normal, f.normal.x, f.normal.y, f.normal.z, 0.0f);
                glUniform4fARB(binormal, f.binormal.x, f.binormal.y, f.binormal.z, 0.0f);
            }
            const int triangle[3] = {f.a, f.b, f.c};
            const int twoTriangles[6] = {f.a, f.b, f.c, f.c, f.d, f.a};
            const int* order = quad ? twoTriangles : triangle;
            const int count = quad ? 6 : 3;
            glBegin(GL_TRIANGLES);
            for (int k = 0; k < count; ++k) {
                const vertex& v = object.vertices[size_t(order[k])];
                if (v.u0 != -1.0f) glTexCoord2f(v.u0, v.v0);
                glColor4f(v.r, v.g, v.b, v.a);
                if (k == 0) glNormal3f(f.normal.x, f.normal.y, f.normal.z);
                glVertex3f(v.x, v.y, v.z);
            }
            glEnd();
        }
    }
}

void CTObject::DrawBoundingBox() {
    if (!m_pModel) return;
    TransformToWordCoordinate();
    glColor3f(1.0f, 1.0f, 1.0f);
    DrawBoxEdges(m_pModel->boundingBox);
    for (const T3DModelObject& object : m_pModel->objects)
        DrawBoxEdges(object.boundingBox);
    glPopMatrix();
}

void CTObject::BuildShadowVolume(CVector3 light) {
    if (!m_pModel) return;
    m_ShadowVolume.buildShadowVolume(m_pModel.get(), light, &m_vPosition);
}

void CTObject::RenderToStencilV() {
    if (!m_pModel) return;
    RenderVolumesToStencil({&m_ShadowVolume});
}

void CTObject::DrawShadowVolumeV() {
    if (!m_pModel) return;
    m_ShadowVolume.DrawSillhoute();
}

void CTObject::CheckRayHit(CRay& ray) {
    if (!m_pModel) return;
    const CVector3 origin = ray.GetOrigin(), dir = ray.GetDirection();
    const CVector3 light =
        g_LightManager ? g_LightManager->getLightPos(1) : CVector3(0.0f, 100.0f, 0.0f);
    matrix4x4f rotation;
    rotation.rotate_y(m_fAngle);
    for (const T3DModelObject& object : m_pModel->objects) {
        for (const T3DFace& f : object.faces) {
            CVector3 p[4] = {Position(object.vertices[size_t(f.a)]),
                             Position(object.vertices[size_t(f.b)]),
                             Position(object.vertices[size_t(f.c)]), CVector3()};
            const bool quad = f.d != -1;
            if (quad) p[3] = Position(object.vertices[size_t(f.d)]);
            for (int k = 0; k < (quad ? 4 : 3); ++k)
                TransformPoint(p[k]);
            const float* diffuse = f.materialIndex >= 0
                                       ? m_pModel->materials[size_t(f.materialIndex)].diffuse
                                       : nullptr;
            const float dr = diffuse ? diffuse[0] : 1.0f, dg = diffuse ? diffuse[1] : 1.0f,
                        db = diffuse ? diffuse[2] : 1.0f;
            float t, u, v;
            // A quad is the triangles (a, b, c) and, when that misses, (c, d, a).
            const CVector3* tri = p;
            const CVector3 second[3] = {p[2], quad ? p[3] : p[0], p[0]};
            bool hit = IntersectTriangle(origin, dir, p[0], p[1], p[2], t, u, v);
            bool firstOfQuad = quad;
            if (!hit && quad) {
                tri = second;
                firstOfQuad = false;
                hit = IntersectTriangle(origin, dir, second[0], second[1], second[2], t, u, v);
            }
            if (!hit) continue;
            const CVector3 point = tri[0] * (1.0f - u - v) + tri[1] * u + tri[2] * v;
            if (!ray.SetDistanceFromOriginToaPoint(point)) continue;
            if (firstOfQuad) {
                CVector3 n = f.normal;
                rotation.transformVector(&n);
                // Lambert term with the direction towards the light.
                const float lambert = std::max(0.0f, Dot(Normalize(n), Normalize(light - point)));
                ray.SetColor(dr * lambert, dg * lambert, db * lambert);
            } else {
                ray.SetColor(dr, dg, db);
            }
            ray.SetHit(true);
        }
    }
}
