#pragma once
// Geometry steps shared by the model loaders: vertex normals, boxes and spheres.
#include <string>
#include <vector>

#include "models/CEntity.h"

// Normal given to a vertex that no face uses (or whose face normals cancel out), so
// every normal is unit length and finite.
extern const CVector3 kUnusedVertexNormal;

// Face normal Cross(p0 - p2, p2 - p1), unnormalised. Each vertex normal is the sum of
// the normals of the faces using it (each face counted once, in face order) divided by
// countSign * (number of such faces), then normalised. One pass over the faces; every
// face index must be below numVerts.
void AccumulateVertexNormals(const tFace* faces, int numFaces, const CVector3* verts, int numVerts,
                             float countSign, CVector3* normals);

// Vertex normals of every mesh (each vertex's face normals summed, divided by the
// negative face count, normalised) and the model's corner count; with faceNormalsToo,
// each tFace's own unit normal (FaceNormal) in the same pass.
void ComputeMeshNormals(t3DModel& model, bool faceNormalsToo = false);
// Mesh boxes and the model box over all meshes' vertices.
void ComputeMeshBoxes(t3DModel& model);

// Unit normal of the triangle a, b, c (counter-clockwise front); zero when degenerate.
CVector3 FaceNormal(const CVector3& a, const CVector3& b, const CVector3& c);

// Grows box by the points (box starts at +/-999999 via ResetBox).
void ResetBox(sBoundingBox& box);
void GrowBox(sBoundingBox& box, const CVector3* points, int count);

// Centre = mean of all vertices of all objects, radius = largest distance from it.
// An empty model gets centre 0 and radius 0.
sBoundingSphere ComputeSphereOverObjects(const std::vector<t3DObject>& objects);

// A model texture through the engine's utility object (a local one before the engine
// has created it).
GLuint CreateModelTexture(const std::string& path);

// True when the buffer-object entry points are loaded (a context with the extension).
bool HaveBufferObjects();
// One GL_STATIC_DRAW array buffer holding data; leaves it bound.
GLuint UploadFloatBuffer(const std::vector<float>& data);

class CShadowVolume;
class CFrustum;
// The frustum of the last CCamera::Look(); null (draw everything) without a camera.
const CFrustum* CameraFrustum();
// One shadow volume per mesh, created by the first build and rebuilt in place afterwards.
void BuildMeshVolumes(std::vector<CShadowVolume*>& volumes, std::vector<t3DObject>& meshes,
                      CVector3 light, CVector3 position, CVector3 size, float angle, CVector3 axis);
void DrawMeshVolumes(const std::vector<CShadowVolume*>& volumes);
void DeleteMeshVolumes(std::vector<CShadowVolume*>& volumes);

// The 12 edges of a box as GL_LINES (no matrix or colour changes).
void DrawBoxEdges(const sBoundingBox& box);
// Draws a sphere of the given radius around the model's centre the way the model classes
// show their bounding sphere.
void DrawSphereAt(const CVector3& position, const CVector3& size, const sBoundingSphere& sphere);
