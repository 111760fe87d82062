#include "models/MeshMath.h"

#include <GL/glu.h>

#include <cmath>

#include <string>
#include <vector>

#include "core/Engine.h"
#include "core/Utils.h"
#include "render3d/CCamera.h"
#include "render3d/CShadowVolume.h"

const CVector3 kUnusedVertexNormal(0.0f, 1.0f, 0.0f);

namespace {
// Inline forms of the vector steps (same arithmetic as 3DMath) for the per-face loops.
inline CVector3 Difference(const CVector3& a, const CVector3& b) {
    return CVector3(a.x - b.x, a.y - b.y, a.z - b.z);
}
inline CVector3 CrossProduct(const CVector3& a, const CVector3& b) {
    return CVector3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// The vertex-normal pass; onFace(f, a, b, c) sees each face's corners while they are at
// hand, so a caller that also wants face normals needs no second walk over the mesh.
template <class OnFace>
void Accumulate(const tFace* faces, int numFaces, const CVector3* verts, int numVerts,
                float countSign, CVector3* normals, OnFace onFace) {
    // The sums build up in the output array itself.
    std::vector<int> counts(size_t(numVerts > 0 ? numVerts : 0), 0);
    for (int i = 0; i < numVerts; ++i)
        normals[i] = CVector3(0.0f, 0.0f, 0.0f);
    for (int f = 0; f < numFaces; ++f) {
        const int* v = faces[f].vertIndex;
        CVector3 normal = CrossProduct(Difference(verts[v[0]], verts[v[2]]),
                                       Difference(verts[v[2]], verts[v[1]]));
        onFace(f, verts[v[0]], verts[v[1]], verts[v[2]]);
        for (int k = 0; k < 3; ++k) {
            // A face that names a vertex twice still counts once for it.
            if ((k >= 1 && v[k] == v[0]) || (k == 2 && v[2] == v[1])) continue;
            CVector3& sum = normals[v[k]];
            sum.x += normal.x;
            sum.y += normal.y;
            sum.z += normal.z;
            ++counts[size_t(v[k])];
        }
    }
    for (int i = 0; i < numVerts; ++i) {
        if (counts[size_t(i)] == 0) {
            normals[i] = kUnusedVertexNormal;
            continue;
        }
        const float divisor = countSign * float(counts[size_t(i)]);
        const CVector3& sum = normals[i];
        const CVector3 n(sum.x / divisor, sum.y / divisor, sum.z / divisor);
        const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
        normals[i] = (length > 0.0f && std::isfinite(length))
                         ? CVector3(n.x / length, n.y / length, n.z / length)
                         : kUnusedVertexNormal;
    }
}

} // namespace

void AccumulateVertexNormals(const tFace* faces, int numFaces, const CVector3* verts, int numVerts,
                             float countSign, CVector3* normals) {
    Accumulate(faces, numFaces, verts, numVerts, countSign, normals,
               [](int, const CVector3&, const CVector3&, const CVector3&) {});
}

CVector3 FaceNormal(const CVector3& a, const CVector3& b, const CVector3& c) {
    const CVector3 n = CrossProduct(Difference(b, a), Difference(c, a));
    const float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    return length > 0.0f ? CVector3(n.x / length, n.y / length, n.z / length) : CVector3();
}

void ComputeMeshNormals(t3DModel& model, bool faceNormalsToo) {
    model.numOfVertices = 0;
    for (t3DObject& object : model.pObject) {
        model.numOfVertices += object.numOfFaces * 3;
        if (!faceNormalsToo) {
            AccumulateVertexNormals(object.pFaces, object.numOfFaces, object.pVerts,
                                    object.numOfVerts, -1.0f, object.pNormals);
            continue;
        }
        tFace* faces = object.pFaces;
        Accumulate(faces, object.numOfFaces, object.pVerts, object.numOfVerts, -1.0f,
                   object.pNormals,
                   [faces](int f, const CVector3& a, const CVector3& b, const CVector3& c) {
                       faces[f].normal = FaceNormal(a, b, c);
                   });
    }
}

void ComputeMeshBoxes(t3DModel& model) {
    ResetBox(model.boundingBox);
    for (t3DObject& object : model.pObject) {
        ResetBox(object.boundingBox);
        GrowBox(object.boundingBox, object.pVerts, object.numOfVerts);
        GrowBox(model.boundingBox, object.pVerts, object.numOfVerts);
    }
}

void ResetBox(sBoundingBox& box) {
    box.min = CVector3(999999.0f, 999999.0f, 999999.0f);
    box.max = CVector3(-999999.0f, -999999.0f, -999999.0f);
}

void GrowBox(sBoundingBox& box, const CVector3* points, int count) {
    for (int i = 0; i < count; ++i) {
        const CVector3& p = points[i];
        if (p.x < box.min.x) box.min.x = p.x;
        if (p.y < box.min.y) box.min.y = p.y;
        if (p.z < box.min.z) box.min.z = p.z;
        if (p.x > box.max.x) box.max.x = p.x;
        if (p.y > box.max.y) box.max.y = p.y;
        if (p.z > box.max.z) box.max.z = p.z;
    }
}

sBoundingSphere ComputeSphereOverObjects(const std::vector<t3DObject>& objects) {
    sBoundingSphere sphere;
    CVector3 sum;
    long total = 0;
    for (const t3DObject& o : objects) {
        for (int i = 0; i < o.numOfVerts; ++i)
            sum.add(o.pVerts[i]);
        total += o.numOfVerts;
    }
    if (total == 0) return sphere;
    sphere.center = DivideVectorByScaler(sum, float(total));
    float radius = -1000000000.0f;
    for (const t3DObject& o : objects)
        for (int i = 0; i < o.numOfVerts; ++i) {
            const float d = Distance(sphere.center, o.pVerts[i]);
            if (d > radius) radius = d;
        }
    sphere.radius = radius;
    return sphere;
}

GLuint CreateModelTexture(const std::string& path) {
    std::string name = path;
    if (g_Utils) return g_Utils->CreateTexture(&name[0]);
    CUtils utils;
    return utils.CreateTexture(&name[0]);
}

void DrawBoxEdges(const sBoundingBox& box) {
    const CVector3& a = box.min;
    const CVector3& b = box.max;
    const float corners[8][3] = {{a.x, a.y, a.z}, {b.x, a.y, a.z}, {b.x, b.y, a.z},
                                 {a.x, b.y, a.z}, {a.x, a.y, b.z}, {b.x, a.y, b.z},
                                 {b.x, b.y, b.z}, {a.x, b.y, b.z}};
    static const int edges[12][2] = {{0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6},
                                     {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    // Plain lines in the current colour: the passes that ask for boxes may still have a
    // lighting program, lighting or a texture on, which would shade or hide the lines.
    const GLhandleARB program = glGetHandleARB(GL_PROGRAM_OBJECT_ARB);
    if (program) glUseProgramObjectARB(0);
    glPushAttrib(GL_ENABLE_BIT);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_LINES);
    for (const auto& e : edges) {
        glVertex3fv(corners[e[0]]);
        glVertex3fv(corners[e[1]]);
    }
    glEnd();
    glPopAttrib();
    if (program) glUseProgramObjectARB(program);
}

void DrawSphereAt(const CVector3& position, const CVector3& size, const sBoundingSphere& sphere) {
    GLUquadric* quadric = gluNewQuadric();
    if (!quadric) return;
    gluQuadricNormals(quadric, GLU_SMOOTH);
    glPushMatrix();
    glTranslatef(position.x, position.y, position.z);
    glTranslatef(sphere.center.x * size.x, sphere.center.y * size.y, sphere.center.z * size.z);
    glScalef(size.x, size.y, size.z);
    glColor3f(0.9f, 0.2f, 0.1f);
    gluSphere(quadric, sphere.radius, 64, 64);
    glPopMatrix();
    gluDeleteQuadric(quadric);
}

bool HaveBufferObjects() {
    return glGenBuffersARB && glBindBufferARB && glBufferDataARB;
}

GLuint UploadFloatBuffer(const std::vector<float>& data) {
    GLuint name = 0;
    glGenBuffersARB(1, &name);
    glBindBufferARB(GL_ARRAY_BUFFER_ARB, name);
    glBufferDataARB(GL_ARRAY_BUFFER_ARB, GLsizeiptrARB(data.size() * sizeof(float)), data.data(),
                    GL_STATIC_DRAW_ARB);
    return name;
}

void BuildMeshVolumes(std::vector<CShadowVolume*>& volumes, std::vector<t3DObject>& meshes,
                      CVector3 light, CVector3 position, CVector3 size, float angle,
                      CVector3 axis) {
    if (volumes.empty())
        for (size_t i = 0; i < meshes.size(); ++i)
            volumes.push_back(new CShadowVolume());
    for (size_t i = 0; i < meshes.size() && i < volumes.size(); ++i)
        volumes[i]->buildShadowV3DS(meshes[i], light, position, size, angle, axis);
}

void DrawMeshVolumes(const std::vector<CShadowVolume*>& volumes) {
    for (CShadowVolume* volume : volumes)
        volume->DrawSillhoute();
}

void DeleteMeshVolumes(std::vector<CShadowVolume*>& volumes) {
    for (CShadowVolume* volume : volumes)
        delete volume;
    volumes.clear();
}

const CFrustum* CameraFrustum() {
    return g_Camera ? g_Camera->GetFrustum() : nullptr;
}
