#include "render3d/C3DGameObject.h"

#include <GL/glew.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "math/CFrustum.h"
#include "models/3dsObject.h"
#include "models/CEntity.h"
#include "models/CMD2Object.h"
#include "models/CTObject.h"
#include "models/CMD3.h"
#include "models/CObj.h"
#include "render3d/CCamera.h"
#include "render3d/CLightManager.h"

namespace {

void DrawPlain(CEntity& model, bool textured) {
    model.Draw(textured);
}

// Face culling is switched on only around the draw call, with the face each format needs.
void DrawMD2(CEntity& model, bool textured) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_FRONT);
    model.Draw(textured);
    glDisable(GL_CULL_FACE);
}

void Draw3DS(CEntity& model, bool) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    // The 3DS buffers are always drawn textured, whatever the pass asks for.
    model.DrawVBONEW(true);
    glDisable(GL_CULL_FACE);
}

void DrawOBJ(CEntity& model, bool textured) {
    glEnable(GL_CULL_FACE);
    glCullFace(GL_BACK);
    model.DrawVBONEW(textured);
    glDisable(GL_CULL_FACE);
}

void SetOBJAngle(CEntity& model, float angle) {
    if (auto* obj = dynamic_cast<CObj*>(&model))
        obj->SetAngle(angle);
    else
        model.SetAngle(angle);
}

void CheckOBJRayHit(CEntity& model, CRay& ray) {
    if (auto* obj = dynamic_cast<CObj*>(&model)) obj->CheckRayHit(ray);
}

void SetEntityAngle(CEntity& model, float angle) {
    model.SetAngle(angle);
}

void Set3DSAngle(CEntity& model, float angle) {
    if (auto* model3ds = dynamic_cast<C3DSObject*>(&model))
        model3ds->SetAngle(angle);
    else
        model.SetAngle(angle);
}

void Draw3DSBoundingBox(CEntity& model) {
    if (auto* model3ds = dynamic_cast<C3DSObject*>(&model))
        model3ds->DrawBoundingBoxNEW();
    else
        model.DrawBoundingBox();
}

CVector3 Get3DSSphereCenter(CEntity& model) {
    auto* model3ds = dynamic_cast<C3DSObject*>(&model);
    return model3ds != nullptr ? model3ds->GetBoundingSphereCenter() : CVector3();
}

float Get3DSSphereRadius(CEntity& model) {
    auto* model3ds = dynamic_cast<C3DSObject*>(&model);
    return model3ds != nullptr ? model3ds->GetBoundingSphereRadius() : 0.0f;
}

// The format rows reach their class's own operations only when the model really is of
// that class; anything else falls back to the entity's behaviour or to nothing.
void SetMD2Angle(CEntity& model, float angle) {
    if (auto* md2 = dynamic_cast<CMD2Object*>(&model))
        md2->SetAngle(angle);
    else
        model.SetAngle(angle);
}

void SetMD2Animation(CEntity& model, int animation) {
    if (auto* md2 = dynamic_cast<CMD2Object*>(&model)) md2->SetAnim(animation);
}

void SetMD2AnimationSpeed(CEntity& model, float speed) {
    if (auto* md2 = dynamic_cast<CMD2Object*>(&model)) md2->SetAnimationSpeed(speed);
}

void SetMD2DefaultAnimation(CEntity& model, int animation) {
    if (auto* md2 = dynamic_cast<CMD2Object*>(&model)) md2->SetDefaultAnimation(animation);
}

void DrawEntityBoundingBox(CEntity& model) {
    model.DrawBoundingBox();
}

// The XML model takes the parallax path while the graphics core has parallax mapping on.
void DrawZarvo(CEntity& model, bool textured) {
    auto* zarvo = dynamic_cast<CTObject*>(&model);
    if (zarvo && g_Graphics && g_Graphics->isParallaxMappingEnabled())
        zarvo->DrawParallax(textured);
    else
        model.Draw(textured);
}

void SetZarvoAngle(CEntity& model, float angle) {
    if (auto* zarvo = dynamic_cast<CTObject*>(&model))
        zarvo->SetAngle(angle);
    else
        model.SetAngle(angle);
}

void ZarvoRayHit(CEntity& model, CRay& ray) {
    if (auto* zarvo = dynamic_cast<CTObject*>(&model)) zarvo->CheckRayHit(ray);
}

// The format classes plug their own operations into these rows as they land (the XML
// model's parallax path and ray test, the OBJ ray test, and each class's own SetAngle,
// which also moves its world box).
const sModelKindOps KIND_OPS[MODEL_KIND_COUNT] = {
    // MODEL_KIND_ZARVO
    {DrawZarvo, SetZarvoAngle, DrawEntityBoundingBox, ZarvoRayHit, nullptr, nullptr, nullptr,
     nullptr, nullptr, true, false},
    // MODEL_KIND_MD2
    {DrawMD2, SetMD2Angle, DrawEntityBoundingBox, nullptr, SetMD2Animation, SetMD2AnimationSpeed,
     SetMD2DefaultAnimation, nullptr, nullptr, true, true},
    // MODEL_KIND_3DS
    {Draw3DS, Set3DSAngle, Draw3DSBoundingBox, nullptr, nullptr, nullptr, nullptr,
     Get3DSSphereCenter, Get3DSSphereRadius, true, false},
    // MODEL_KIND_OBJ
    {DrawOBJ, SetOBJAngle, DrawEntityBoundingBox, CheckOBJRayHit, nullptr, nullptr, nullptr,
     nullptr, nullptr, true, false},
    // MODEL_KIND_MD3
    {DrawPlain, SetEntityAngle, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
     false, false},
};

} // namespace

const sModelKindOps& GetModelKindOps(int kind) {
    return KIND_OPS[kind >= 0 && kind < MODEL_KIND_COUNT ? kind : MODEL_KIND_MD3];
}

C3DGameObject::C3DGameObject()
    : m_pModels{}, m_iKind(MODEL_KIND_ZARVO), m_bCastShadow(false), m_bVisible(true),
      m_bGenerateShadowVolume(true), m_bInFrustum(false),
      m_pOps(&GetModelKindOps(MODEL_KIND_ZARVO)) {}

C3DGameObject::~C3DGameObject() {
    for (CEntity* model : m_pModels)
        delete model;
}

void C3DGameObject::AttachModel(int kind, CEntity* model, const sModelKindOps* ops) {
    const int slot = SlotOf(kind);
    // A second load into the same slot replaces the first model instead of leaking it.
    if (m_pModels[slot] != model) delete m_pModels[slot];
    m_pModels[slot] = model;
    m_iKind = kind;
    m_pOps = ops != nullptr ? ops : &GetModelKindOps(kind);
}

bool C3DGameObject::LoadZarvoModel(char* file) {
    auto* model = new CTObject();
    const bool loaded = model->Init(file);
    AttachModel(MODEL_KIND_ZARVO, model);
    return loaded;
}

bool C3DGameObject::LoadMD2Model(char* modelFile, char* skinFile) {
    auto* model = new CMD2Object();
    const bool loaded = model->Init(modelFile, skinFile);
    AttachModel(MODEL_KIND_MD2, model);
    return loaded;
}

bool C3DGameObject::Load3DS(char* textureFolder, char* modelFile, bool swap) {
    auto* model = new C3DSObject();
    const bool loaded = model->Init(textureFolder, modelFile, swap);
    AttachModel(MODEL_KIND_3DS, model);
    return loaded;
}

bool C3DGameObject::HasEmptyModel() const {
    CEntity* model = GetModel();
    return model == nullptr || model->IsEmpty();
}

bool C3DGameObject::LoadOBJModel(char* modelFile, char* texture) {
    auto* model = new CObj();
    const bool loaded = model->Init(modelFile, texture);
    AttachModel(MODEL_KIND_OBJ, model);
    return loaded;
}

bool C3DGameObject::LoadMD3Model(char* name, char* folder, char* weapon) {
    auto* model = new CMd3();
    const bool loaded = model->Init(name, folder, weapon);
    model->SetAnim("LEGS_IDLE", "TORSO_STAND");
    AttachModel(MODEL_KIND_MD3, model);
    return loaded;
}

void C3DGameObject::SetPosition(float x, float y, float z) {
    if (CEntity* model = GetModel()) model->SetPosition(x, y, z);
    m_bGenerateShadowVolume = true;
}

void C3DGameObject::SetSize(float x, float y, float z) {
    if (CEntity* model = GetModel()) model->SetSize(x, y, z);
    m_bGenerateShadowVolume = true;
}

void C3DGameObject::SetAngle(float angle) {
    CEntity* model = GetModel();
    if (model != nullptr && m_pOps->setAngle != nullptr) m_pOps->setAngle(*model, angle);
    m_bGenerateShadowVolume = true;
}

CVector3* C3DGameObject::GetPosition() {
    CEntity* model = GetModel();
    return model != nullptr ? model->GetPosition() : nullptr;
}

float C3DGameObject::GetAngle() {
    CEntity* model = GetModel();
    return model != nullptr ? model->GetAngle() : 0.0f;
}

void C3DGameObject::SetGenerateShadowVolume(bool generate) {
    m_bGenerateShadowVolume = generate;
}

void C3DGameObject::Draw(bool textured) {
    CEntity* model = GetModel();
    if (!HasEmptyModel() && m_pOps->draw != nullptr) m_pOps->draw(*model, textured);
}

void C3DGameObject::BuildShadowVolume() {
    CEntity* model = GetModel();
    if (HasEmptyModel() || !m_pOps->hasBoundsAndShadows) return;
    const CVector3 light =
        g_LightManager != nullptr ? g_LightManager->getLightPos(1) : CVector3(0.0f, 100.0f, 0.0f);
    model->BuildShadowVolume(light);
    m_bGenerateShadowVolume = m_pOps->shadowVolumeAlwaysOutOfDate;
}

void C3DGameObject::RenderToStencil() {
    CEntity* model = GetModel();
    if (!HasEmptyModel() && m_pOps->hasBoundsAndShadows) model->RenderToStencilV();
}

void C3DGameObject::DrawShadowVolume() {
    CEntity* model = GetModel();
    if (!HasEmptyModel() && m_pOps->hasBoundsAndShadows) model->DrawShadowVolumeV();
}

void C3DGameObject::DrawBoundingBox() {
    CEntity* model = GetModel();
    if (!HasEmptyModel() && m_pOps->drawBoundingBox != nullptr) m_pOps->drawBoundingBox(*model);
}

int C3DGameObject::GetObjectVertexNum() {
    CEntity* model = GetModel();
    return model != nullptr && m_pOps->hasBoundsAndShadows ? model->GetModelVertexNum() : 0;
}

CVector3* C3DGameObject::GetBoundingBoxMinPoint() {
    CEntity* model = GetModel();
    return model != nullptr && m_pOps->hasBoundsAndShadows
               ? model->GetTransformedModelLevelBBMinPoint()
               : nullptr;
}

CVector3* C3DGameObject::GetBoundingBoxMaxPoint() {
    CEntity* model = GetModel();
    return model != nullptr && m_pOps->hasBoundsAndShadows
               ? model->GetTransformedModelLevelBBMaxPoint()
               : nullptr;
}

void C3DGameObject::checkFrustum() {
    const CVector3* min = GetBoundingBoxMinPoint();
    const CVector3* max = GetBoundingBoxMaxPoint();
    CFrustum* frustum = g_Camera != nullptr ? g_Camera->GetFrustum() : nullptr;
    if (HasEmptyModel()) {
        m_bInFrustum = false;
        return;
    }
    // Without a box (MD3) or a camera there is nothing to cull against.
    if (min == nullptr || max == nullptr || frustum == nullptr) {
        m_bInFrustum = true;
        return;
    }
    m_bInFrustum = frustum->BoxInFrustum(min->x, min->y, min->z, max->x, max->y, max->z) != 0;
}

void C3DGameObject::SetAnimation(int animation) {
    CEntity* model = GetModel();
    if (model != nullptr && m_pOps->setAnimation != nullptr)
        m_pOps->setAnimation(*model, animation);
}

void C3DGameObject::SetAnimationSpeed(float speed) {
    CEntity* model = GetModel();
    if (model != nullptr && m_pOps->setAnimationSpeed != nullptr)
        m_pOps->setAnimationSpeed(*model, speed);
}

void C3DGameObject::SetDefaultAnimation(int animation) {
    CEntity* model = GetModel();
    if (model != nullptr && m_pOps->setDefaultAnimation != nullptr)
        m_pOps->setDefaultAnimation(*model, animation);
}

void C3DGameObject::CheckRayHit(CRay& ray) {
    CEntity* model = GetModel();
    if (!HasEmptyModel() && m_pOps->checkRayHit != nullptr) m_pOps->checkRayHit(*model, ray);
}

CVector3 C3DGameObject::GetBoundingSphereCenter() {
    CEntity* model = GetModel();
    if (model == nullptr || m_pOps->boundingSphereCenter == nullptr) return CVector3();
    return m_pOps->boundingSphereCenter(*model);
}

float C3DGameObject::GetBoundingSphereRadius() {
    CEntity* model = GetModel();
    if (model == nullptr || m_pOps->boundingSphereRadius == nullptr) return 0.0f;
    return m_pOps->boundingSphereRadius(*model);
}
