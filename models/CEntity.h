#pragma once
// The abstract model every loaded 3D model derives from, and the shared in-memory
// model record that the MD2, 3DS, MD3 and OBJ loaders fill.
//
// What every loader of a model, skin, texture or configuration file does when the file
// cannot be used (missing, cut short, corrupt):
// - it prints its message once (ReportLoadFailure for models) and reports false or 0
//   to its caller; it never shuts SDL down and never ends the program, since the
//   window, the GL context and the rest of the scene are still in use;
// - the object it was meant for stays empty: IsEmpty() is true, GetModelVertexNum() is
//   0, the bounding box has no extent, and drawing, shadow volumes and animation do
//   nothing. C3DGameObject culls an empty model and leaves it out of shadow casting
//   and ray tests, so the rest of the scene renders as usual;
// - a failed skin or texture leaves texture name 0 (or the reader's own fallback
//   image) and the model draws untextured.
// Only the documented ends stop the program (an unloadable font, the XML reader's
// parse error): cleanly, with the message and their exit status, never by a crash.
#include <GL/glew.h>

#include <cstdio>
#include <string>
#include <vector>

#include "math/Matrix4x4f.h"

class CShadowVolume;
class CFrustum;

struct sBoundingBox {
    CVector3 min;
    CVector3 max;
};

struct sBoundingSphere {
    CVector3 center;
    float radius = 0.0f;
};

struct tFace {
    int vertIndex[3];
    int coordIndex[3];
    CVector3 normal;
};

struct tMaterialInfo {
    char strName[255];
    char strFile[255];
    unsigned char color[3];
    int texureId;
    float uTile;
    float vTile;
    float uOffset;
    float vOffset;
};

struct tAnimationInfo {
    char strName[255];
    int startFrame;
    int endFrame;
    int loopingFrames;
    int framesPerSecond;
};

struct tMd3Tag {
    char strName[64];
    CVector3 vPosition;
    float rotation[3][3];
};

// One mesh (3DS, OBJ, MD3) or one animation frame (MD2). The arrays are owned by
// the model class that loaded it and released in its Destroy().
struct t3DObject {
    int numOfVerts;
    int numOfFaces;
    int numTexVertex;
    int materialID;
    bool bHasTexture;
    char strName[255];
    CVector3* pVerts;
    CVector3* pNormals;
    CVector2* pTexVerts;
    tFace* pFaces;
    sBoundingBox boundingBox;
    sBoundingSphere boundingSphere;
    int arrayVertexCount;
    GLuint vertexBuffer;
    GLuint normalBuffer;
    GLuint texCoordBuffer;
    GLuint colorBuffer;
};

struct t3DModel {
    int numOfObjects = 0;
    int numOfMaterials = 0;
    int numOfAnimations = 0;
    int currentAnim = 0;
    int currentFrame = 0;
    int nextFrame = 0;
    std::vector<tAnimationInfo> pAnimations;
    std::vector<tMaterialInfo> pMaterials;
    std::vector<t3DObject> pObject;
    float t = 0.0f;
    float lastTime = 0.0f;
    int numOfTags = 0;
    t3DModel** pLinks = nullptr;
    tMd3Tag* pTags = nullptr;
    sBoundingBox boundingBox;
    sBoundingSphere boundingSphere;
    int numOfVertices = 0;
};

// A zero-filled mesh record, as the loaders start every new mesh.
t3DObject MakeEmptyObject();
// A zero-filled material record.
tMaterialInfo MakeEmptyMaterial();
// Copies src into a fixed-size name field, cutting it so the terminator always fits.
void CopyName(char* dst, size_t dstSize, const char* src, size_t srcLength);
// Releases a mesh's owned arrays (faces, normals, vertices, texture coordinates).
void ReleaseObjectArrays(t3DObject& object);
// Releases every mesh of the model and empties its lists and counts.
void ReleaseModel(t3DModel& model);
// The one line a model loader prints when a file fails: "<message>: <file>!".
void ReportLoadFailure(std::FILE* stream, const std::string& message, const char* file);

// Moves p to world space as models place themselves: translate(rotate_y(scale(p))).
// `scratch` holds the step matrices (the rotation axis is deliberately not used).
void PlaceInWorld(matrix4x4f& scratch, CVector3& p, const CVector3& position, const CVector3& size,
                  float angle);

class CEntity {
public:
    CEntity();
    virtual ~CEntity();

    virtual void SetSize(float x, float y, float z);
    virtual void SetPosition(float x, float y, float z);
    virtual void Draw(bool textured);
    virtual void BuildShadowVolume(CVector3 light);
    virtual void RenderToStencilV();
    virtual void DrawShadowVolumeV();
    virtual void DrawVBONEW(bool textured);
    virtual void DrawBoundingBox();
    virtual int GetModelVertexNum();
    // True while no geometry is loaded (before a load, or after one that failed).
    // Model classes override it; the base has nothing to say and reports false.
    virtual bool IsEmpty() { return false; }

    CVector3* GetPosition() { return &m_vPosition; }
    CVector3* GetSize() { return &m_vSize; }
    CVector3* GetRotationVector() { return &m_vRotationAxis; }
    void SetAngle(float angle) { m_fAngle = angle; }
    float GetAngle() const { return m_fAngle; }

    // Pushes the modelview matrix and applies translate, rotate and scale; the
    // caller pops it after drawing.
    void TransformToWordCoordinate();
    void TransformModelLevelBoundingBoxCoordinates(CVector3& min, CVector3& max);
    void TransformCustomBoundingCoordinates(CVector3& a, CVector3& b);
    void TransformCustomVectorCoordinates(CVector3& v);
    CVector3* GetTransformedModelLevelBBMinPoint() { return &m_vTransformedBBMin; }
    CVector3* GetTransformedModelLevelBBMaxPoint() { return &m_vTransformedBBMax; }
    void TransformBBCoordinates(bool transform) { m_bTransformBB = transform; }
    bool IsTransformBBCoordinates() const { return m_bTransformBB; }

protected:
    // Counts the volumes' walls into the stencil buffer (depth pass, no caps), with
    // two-sided stencil when the graphics core reports it.
    static void RenderVolumesToStencil(const std::vector<CShadowVolume*>& volumes);

    // Placement changes of models whose world box follows them: each stores the value and
    // calls UpdateWorldBox.
    void PlaceAt(float x, float y, float z);
    void ScaleTo(float x, float y, float z);
    void TurnTo(float angle);
    virtual void UpdateWorldBox() {}

    // The mesh box moved to world space against the frustum; true without a frustum.
    bool MeshInFrustum(const CFrustum* frustum, const sBoundingBox& box);

    // Moves a point to world space: translate(rotate_y(scale(p))). The rotation axis
    // field is deliberately not used here.
    void TransformPoint(CVector3& p);

    CVector3 m_vPosition;
    CVector3 m_vSize;
    float m_fAngle;
    CVector3 m_vRotationAxis;
    matrix4x4f m_mTransform;
    std::vector<CShadowVolume*> m_ShadowVolumes;
    CVector3 m_vTransformedBBMin;
    CVector3 m_vTransformedBBMax;
    bool m_bTransformBB;
};
