#pragma once
// A placed object of the 3D scene: it owns one loaded model and adds visibility,
// shadow casting, the last frustum result and a per-kind dispatch of drawing, shadow
// and bounding operations.
#include "math/3DMath.h"

class CEntity;
class CRay;

// The model kinds, as stored in an object.
enum eModelKind {
    MODEL_KIND_ZARVO = 0, // engine XML model
    MODEL_KIND_MD2 = 1,
    MODEL_KIND_3DS = 2,
    MODEL_KIND_OBJ = 3,
    MODEL_KIND_MD3 = 4,
    MODEL_KIND_COUNT = 5
};

// What a model kind does beyond the CEntity virtuals. One row per kind; a null entry
// means the kind does nothing for that operation. A game can plug a model class of its
// own into an object with a row of its own (C3DGameObject::AttachModel).
struct sModelKindOps {
    void (*draw)(CEntity& model, bool textured);
    void (*setAngle)(CEntity& model, float angle);
    void (*drawBoundingBox)(CEntity& model);
    void (*checkRayHit)(CEntity& model, CRay& ray);
    void (*setAnimation)(CEntity& model, int animation);
    void (*setAnimationSpeed)(CEntity& model, float speed);
    void (*setDefaultAnimation)(CEntity& model, int animation);
    CVector3 (*boundingSphereCenter)(CEntity& model);
    float (*boundingSphereRadius)(CEntity& model);
    // False for MD3: no bounding box, no vertex count, no shadows, always in the frustum.
    bool hasBoundsAndShadows;
    // True for MD2: animated geometry needs a new shadow volume every frame.
    bool shadowVolumeAlwaysOutOfDate;
};

// The built-in row of a kind (kinds outside 0..4 fall back to MD3's, as the
// object's angle setter does).
const sModelKindOps& GetModelKindOps(int kind);

class C3DGameObject {
public:
    C3DGameObject();
    ~C3DGameObject();
    C3DGameObject(const C3DGameObject&) = delete;
    C3DGameObject& operator=(const C3DGameObject&) = delete;

    // Loaders: each creates the model, initialises it from the files and attaches it.
    // False when the model file failed: the empty model is attached all the same, is
    // culled and casts no shadow, and the rest of the scene goes on.
    bool LoadZarvoModel(char* file);
    bool LoadMD2Model(char* modelFile, char* skinFile);
    bool Load3DS(char* textureFolder, char* modelFile, bool swap);
    bool LoadOBJModel(char* modelFile, char* texture);
    // MD3 character NAME from folder with an optional weapon, idling.
    bool LoadMD3Model(char* name, char* folder, char* weapon);

    // Stores a loaded model in the kind's slot (releasing one already there) and makes
    // it the current kind. The object owns the model. Without a row the kind's built-in
    // one is used.
    void AttachModel(int kind, CEntity* model, const sModelKindOps* ops = nullptr);
    CEntity* GetModel() const { return m_pModels[SlotOf(m_iKind)]; }
    int GetModelKind() const { return m_iKind; }

    void SetPosition(float x, float y, float z);
    void SetSize(float x, float y, float z);
    void SetAngle(float angle);
    CVector3* GetPosition();
    float GetAngle();

    void SetCastShadow(bool castShadow) { m_bCastShadow = castShadow; }
    bool isShadowCaster() const { return m_bCastShadow; }
    void SetVisible(bool visible) { m_bVisible = visible; }
    bool GetVisible() const { return m_bVisible; }
    void SetObjectInFrustum(bool inFrustum) { m_bInFrustum = inFrustum; }
    bool IsObjectInFrustum() const { return m_bInFrustum; }
    void SetGenerateShadowVolume(bool generate);
    bool GetGenerateShadowVolume() const { return m_bGenerateShadowVolume; }

    void Draw(bool textured);
    void BuildShadowVolume();
    void RenderToStencil();
    void DrawShadowVolume();
    void DrawBoundingBox();
    int GetObjectVertexNum();
    CVector3* GetBoundingBoxMinPoint();
    CVector3* GetBoundingBoxMaxPoint();
    // Tests the model's world box against the camera's frustum and stores the result;
    // an empty model is never inside.
    void checkFrustum();
    // True without a model or with one whose load failed.
    bool HasEmptyModel() const;

    void SetAnimation(int animation);
    void SetAnimationSpeed(float speed);
    void SetDefaultAnimation(int animation);
    void CheckRayHit(CRay& ray);
    CVector3 GetBoundingSphereCenter();
    float GetBoundingSphereRadius();

private:
    static int SlotOf(int kind) {
        return kind >= 0 && kind < MODEL_KIND_COUNT ? kind : MODEL_KIND_MD3;
    }
    CEntity* m_pModels[MODEL_KIND_COUNT];
    int m_iKind;
    bool m_bCastShadow;
    bool m_bVisible;
    bool m_bGenerateShadowVolume;
    bool m_bInFrustum;
    const sModelKindOps* m_pOps;
};
