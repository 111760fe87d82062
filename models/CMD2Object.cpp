#include "models/CMD2Object.h"

#include <algorithm>

#include "core/Utils.h"
#include "models/MeshMath.h"

namespace {
// Positive modulo, so out-of-range animation numbers still pick a valid animation.
int WrapIndex(int n, int count) {
    return ((n % count) + count) % count;
}
} // namespace

CMD2Object::CMD2Object() : m_TickSource(CUtils::EngineTicks) {}

CMD2Object::~CMD2Object() {
    Destroy();
}

bool CMD2Object::Init(char* file, char* skin) {
    const bool loaded = m_Loader.ImportMD2(&m_Model, file, skin);
    ComputeBoundingRadius();
    for (int i = 0; i < m_Model.numOfMaterials; ++i) {
        tMaterialInfo& material = m_Model.pMaterials[size_t(i)];
        if (material.strFile[0] == '\0') continue;
        m_SkinTexture = CreateModelTexture(material.strFile);
        material.texureId = i;
    }
    UpdateWorldBox();
    return loaded;
}

void CMD2Object::UpdateWorldBox() {
    if (IsEmpty()) {
        // No extent: a point where the object stands.
        m_vTransformedBBMin = m_vTransformedBBMax = m_vPosition;
        return;
    }
    sBoundingBox& box = m_Model.pObject[size_t(m_Model.currentFrame)].boundingBox;
    TransformModelLevelBoundingBoxCoordinates(box.min, box.max);
}

void CMD2Object::SetAnim(int n) {
    if (m_Model.numOfAnimations <= 0) return;
    m_Model.currentAnim = WrapIndex(n, m_Model.numOfAnimations);
    m_Model.currentFrame = m_Model.pAnimations[size_t(m_Model.currentAnim)].startFrame;
}

int CMD2Object::NextFrame(bool applyDefault) {
    // A model with one frame (or no named animation) stands still.
    if (m_Model.numOfAnimations <= 0) return m_Model.currentFrame;
    const tAnimationInfo animation = m_Model.pAnimations[size_t(m_Model.currentAnim)];
    const int next = (m_Model.currentFrame + 1) % animation.endFrame;
    if (next != 0) return next;
    // The animation ended. Shadow building goes back to its start; drawing runs on
    // from frame 0 unless a default animation takes over (from the ended one's start).
    if (!applyDefault) return animation.startFrame;
    if (m_iDefaultAnimation < 0) return 0;
    m_Model.currentAnim = WrapIndex(m_iDefaultAnimation, m_Model.numOfAnimations);
    return animation.startFrame;
}

float CMD2Object::ReturnCurrentTime(int next) {
    const float now = float(m_TickSource());
    m_fElapsedTime = now - m_fLastTime;
    const float step = 1000.0f / m_fAnimationSpeed;
    const float t = m_fElapsedTime / step;
    if (m_fElapsedTime >= step) {
        m_Model.currentFrame = next;
        m_fLastTime = now;
    }
    return t;
}

float CMD2Object::BlendTowards(int next) {
    // The clock's factor grows past 1 when a frame takes longer than an animation step.
    // Blending that far would extrapolate the model beyond its next pose: after one stall
    // it balloons over the screen, the next frame is slower still and the stall feeds
    // itself. The shape never goes past the next frame.
    return std::min(ReturnCurrentTime(next), 1.0f);
}

void CMD2Object::Draw(bool textured) {
    TransformToWordCoordinate();
    glColor3f(1.0f, 1.0f, 1.0f);
    if (m_Model.numOfObjects <= 0) {
        glPopMatrix();
        return;
    }
    const int current = m_Model.currentFrame;
    const int next = NextFrame(true);
    const float t = BlendTowards(next);

    if (textured) {
        glActiveTextureARB(GL_TEXTURE0);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, m_SkinTexture);
        glActiveTextureARB(GL_TEXTURE2);
        glDisable(GL_TEXTURE_2D);
        glActiveTextureARB(GL_TEXTURE0);
    }

    const t3DObject& first = m_Model.pObject[0];
    const t3DObject& from = m_Model.pObject[size_t(current)];
    const t3DObject& to = m_Model.pObject[size_t(next)];
    glBegin(GL_TRIANGLES);
    for (int f = 0; f < first.numOfFaces; ++f) {
        const tFace& face = first.pFaces[f];
        for (int k = 0; k < 3; ++k) {
            const int v = face.vertIndex[k];
            if (first.pTexVerts) {
                const CVector2& uv = first.pTexVerts[face.coordIndex[k]];
                glTexCoord2f(uv.x, uv.y);
            }
            const CVector3& n = first.pNormals[v];
            glNormal3f(n.x, n.y, n.z);
            const CVector3 p = from.pVerts[v] + (to.pVerts[v] - from.pVerts[v]) * t;
            glVertex3f(p.x, p.y, p.z);
        }
    }
    glEnd();
    glPopMatrix();
}

void CMD2Object::BuildShadowVolume(CVector3 light) {
    if (m_Model.numOfObjects <= 0) return;
    const int current = m_Model.currentFrame;
    const int next = NextFrame(false);
    const float t = BlendTowards(next);
    m_ShadowVolume.buildShadowMD2(&m_Model.pObject[0], &m_Model.pObject[size_t(current)],
                                  &m_Model.pObject[size_t(next)], t, &light, &m_vPosition, &m_vSize,
                                  m_fAngle, m_vRotationAxis);
}

void CMD2Object::RenderToStencilV() {
    RenderVolumesToStencil({&m_ShadowVolume});
}

void CMD2Object::DrawShadowVolumeV() {
    m_ShadowVolume.DrawSillhoute();
}

void CMD2Object::DrawBoundingBox() {
    if (m_Model.numOfObjects <= 0) return;
    glDisable(GL_TEXTURE_2D);
    TransformToWordCoordinate();
    glColor3f(0.9f, 0.2f, 0.1f);
    DrawBoxEdges(m_Model.pObject[size_t(m_Model.currentFrame)].boundingBox);
    glPopMatrix();
    glEnable(GL_TEXTURE_2D);
}

void CMD2Object::DrawBoundingSphere() {
    DrawSphereAt(m_vPosition, m_vSize, m_Model.boundingSphere);
}

void CMD2Object::ComputeBoundingRadius() {
    float smallest = 0.0f, largest = 0.0f;
    if (!m_Model.pObject.empty()) {
        const t3DObject& first = m_Model.pObject[0];
        for (const t3DObject& frame : m_Model.pObject)
            for (int f = 0; f < first.numOfFaces; ++f)
                for (int k = 0; k < 3; ++k) {
                    const float z = frame.pVerts[first.pFaces[f].vertIndex[k]].z;
                    if (z < smallest) smallest = z;
                    if (z > largest) largest = z;
                }
    }
    m_fBoundingRadius = (largest - smallest) / 2.0f;
}

void CMD2Object::Destroy() {
    ReleaseModel(m_Model);
}
