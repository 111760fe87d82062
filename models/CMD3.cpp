#include "models/CMD3.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/Utils.h"
#include "math/3DMath.h"
#include "models/MeshMath.h"

namespace {

// Frame numbers past this are not taken from a configuration (keeps the sums in range).
constexpr int kMaxConfigNumber = 1000000;

std::string PartPath(const char* folder, const char* name, const char* suffix) {
    return std::string(folder) + "/" + name + suffix;
}

void SetAnimationByName(t3DModel& model, const char* name) {
    if (!name) return;
    for (size_t i = 0; i < model.pAnimations.size(); ++i)
        if (strcasecmp(model.pAnimations[i].strName, name) == 0) {
            model.currentAnim = int(i);
            model.currentFrame = model.pAnimations[i].startFrame;
            return;
        }
}

const tAnimationInfo* CurrentAnimation(const t3DModel& model) {
    if (model.numOfAnimations <= 0 || model.currentAnim < 0 ||
        size_t(model.currentAnim) >= model.pAnimations.size())
        return nullptr;
    return &model.pAnimations[size_t(model.currentAnim)];
}

bool ParseConfigNumber(std::string_view word, int& out) {
    const std::from_chars_result r = std::from_chars(word.data(), word.data() + word.size(), out);
    return r.ec == std::errc() && r.ptr == word.data() + word.size() && out >= 0 &&
           out <= kMaxConfigNumber;
}

} // namespace

CModelMD3::CModelMD3() : m_TickSource(CUtils::EngineTicks) {}

CModelMD3::~CModelMD3() {
    DestroyModel(&m_Head);
    DestroyModel(&m_Upper);
    DestroyModel(&m_Lower);
    DestroyModel(&m_Weapon);
}

t3DModel* CModelMD3::GetModel(int part) {
    switch (part) {
    case PART_LOWER:
        return &m_Lower;
    case PART_UPPER:
        return &m_Upper;
    case PART_HEAD:
        return &m_Head;
    default:
        return &m_Weapon;
    }
}

int CModelMD3::PartIndex(const t3DModel* model) const {
    if (model == &m_Lower) return PART_LOWER;
    if (model == &m_Upper) return PART_UPPER;
    if (model == &m_Head) return PART_HEAD;
    return PART_WEAPON;
}

int CModelMD3::GetFrameCount(const t3DModel* model) const {
    return m_iFrames[PartIndex(model)];
}

int CModelMD3::ClampFrame(const t3DModel* model, int frame) const {
    const int frames = GetFrameCount(model);
    return std::max(0, std::min(frame, frames - 1));
}

bool CModelMD3::LoadModel(char* folder, char* name) {
    if (!folder || !name) return false;
    bool ok = true;
    struct sPart {
        t3DModel* model;
        const char* suffix;
        const char* modelError;
    };
    const sPart parts[3] = {{&m_Head, "_head", "Unable to load the Head model"},
                            {&m_Upper, "_upper", "Unable to load the Upper model"},
                            {&m_Lower, "_lower", "Unable to load the Lower model"}};
    for (const sPart& part : parts) {
        CLoadMD3 loader;
        std::string path = PartPath(folder, name, part.suffix) + ".md3";
        const bool loaded = loader.ImportMD3(part.model, &path[0]);
        m_iFrames[PartIndex(part.model)] = loaded ? loader.GetFrameCount() : 0;
        if (!loaded) {
            std::fprintf(stderr, "%s\n", part.modelError);
            ok = false;
        }
    }
    const sPart skins[3] = {{&m_Lower, "_lower", "Unable to load the lower skin "},
                            {&m_Upper, "_upper", "Unable to load the Upper skin"},
                            {&m_Head, "_head", "Unable to load the Head Skin"}};
    for (const sPart& skin : skins) {
        if (skin.model->pObject.empty()) continue;
        CLoadMD3 loader;
        std::string path = PartPath(folder, name, skin.suffix) + ".skin";
        if (!loader.LoadSkin(skin.model, &path[0])) {
            std::fprintf(stderr, "%s\n", skin.modelError);
            ok = false;
        }
    }
    LoadModelTextures(&m_Lower, folder);
    LoadModelTextures(&m_Upper, folder);
    LoadModelTextures(&m_Head, folder);
    std::string config = PartPath(folder, name, "_animation.cfg");
    if (!LoadAnimations(&config[0])) {
        std::fprintf(stderr, "Unable to load the Animation Config File!\n");
        ok = false;
    }
    LinkModel(&m_Lower, &m_Upper, "tag_torso");
    LinkModel(&m_Upper, &m_Head, "tag_head");
    return ok;
}

bool CModelMD3::LoadWeapon(char* folder, char* name) {
    if (!folder || !name) return false;
    CLoadMD3 loader;
    std::string path = PartPath(folder, name, ".md3");
    if (!loader.ImportMD3(&m_Weapon, &path[0])) {
        m_iFrames[PART_WEAPON] = 0;
        std::fprintf(stderr, "Unable to load the Weapon model\n");
        return false;
    }
    m_iFrames[PART_WEAPON] = loader.GetFrameCount();
    bool ok = true;
    std::string shader = PartPath(folder, name, ".shader");
    if (!loader.LoadShader(&m_Weapon, &shader[0])) {
        std::fprintf(stderr, "Unable to load the Shader file\n");
        ok = false;
    }
    LoadModelTextures(&m_Weapon, folder);
    LinkModel(&m_Upper, &m_Weapon, "tag_weapon");
    return ok;
}

void CModelMD3::LoadModelTextures(t3DModel* model, char* folder) {
    if (!model || !folder) return;
    for (tMaterialInfo& material : model->pMaterials) {
        if (material.strFile[0] == '\0') continue;
        if (m_bLoadTextures)
            material.texureId =
                int(CreateModelTexture(std::string(folder) + "/" + material.strFile));
        m_strTextures.push_back(material.strFile);
    }
}

int CModelMD3::ParseAnimations(const char* text, size_t size, std::vector<tAnimationInfo>& lower,
                               std::vector<tAnimationInfo>& upper) {
    std::vector<int> starts; // first frame of every entry, in file order
    int torsoOffset = 0;
    bool offsetKnown = false;
    ForEachLine(text, size, [&](const char* start, size_t length) {
        std::string_view words[6];
        size_t count = 0;
        std::string_view line(start, length);
        while (count < 6) {
            const size_t begin = line.find_first_not_of(" \t\r\v\f");
            if (begin == std::string_view::npos) break;
            line.remove_prefix(begin);
            const size_t end = std::min(line.find_first_of(" \t\r\v\f"), line.size());
            words[count++] = line.substr(0, end);
            line.remove_prefix(end);
        }
        // Lines that do not start with a number (sex, footsteps, comments) are skipped.
        int numbers[4];
        if (count < 4 || !std::isdigit(static_cast<unsigned char>(words[0][0]))) return;
        for (int i = 0; i < 4; ++i)
            if (!ParseConfigNumber(words[i], numbers[i])) return;
        // The name follows the numbers, usually behind a "//".
        std::string_view name;
        for (size_t i = 4; i < count && name.empty(); ++i) {
            std::string_view word = words[i];
            while (!word.empty() && word.front() == '/')
                word.remove_prefix(1);
            name = word;
        }
        tAnimationInfo animation{};
        CopyName(animation.strName, sizeof(animation.strName), name.data(), name.size());
        animation.startFrame = numbers[0];
        animation.endFrame = numbers[0] + numbers[1];
        animation.loopingFrames = numbers[2];
        animation.framesPerSecond = numbers[3];
        starts.push_back(numbers[0]);
        if (name.find("BOTH") != std::string_view::npos) {
            lower.push_back(animation);
            upper.push_back(animation);
        } else if (name.find("TORSO") != std::string_view::npos) {
            upper.push_back(animation);
        } else if (name.find("LEGS") != std::string_view::npos) {
            if (!offsetKnown) {
                // Legs frames follow the torso-only ones in the file's numbering.
                offsetKnown = true;
                if (starts.size() > 13) torsoOffset = starts[13] - starts[6];
            }
            animation.startFrame -= torsoOffset;
            animation.endFrame -= torsoOffset;
            lower.push_back(animation);
        }
    });
    return torsoOffset;
}

bool CModelMD3::LoadAnimations(char* file) {
    std::vector<uint8_t> bytes;
    if (!file || !ReadFileToMemory(file, bytes)) return false;
    m_Lower.pAnimations.clear();
    m_Upper.pAnimations.clear();
    m_iTorsoOffset = ParseAnimations(reinterpret_cast<const char*>(bytes.data()), bytes.size(),
                                     m_Lower.pAnimations, m_Upper.pAnimations);
    m_Lower.numOfAnimations = int(m_Lower.pAnimations.size());
    m_Upper.numOfAnimations = int(m_Upper.pAnimations.size());
    m_Head.numOfAnimations = 0;
    m_Weapon.numOfAnimations = 0;
    m_Lower.currentAnim = m_Upper.currentAnim = 0;
    // A configuration without a single animation (empty, or nothing but comments) is as
    // good as none: the character could not animate, so the caller hears of it.
    return m_Lower.numOfAnimations > 0 || m_Upper.numOfAnimations > 0;
}

void CModelMD3::LinkModel(t3DModel* model, t3DModel* link, const char* tag) {
    if (!model || !link || !tag || !model->pLinks || link->pObject.empty()) return;
    for (int i = 0; i < model->numOfTags; ++i)
        if (strcasecmp(model->pTags[i].strName, tag) == 0) {
            model->pLinks[i] = link;
            return;
        }
}

void CModelMD3::SetTorsoAnimation(const char* name) {
    SetAnimationByName(m_Upper, name);
}

void CModelMD3::SetLegsAnimation(const char* name) {
    SetAnimationByName(m_Lower, name);
}

void CModelMD3::DrawModel() {
    // MD3 space is z-up; the engine is y-up.
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    UpdateModel(&m_Lower);
    UpdateModel(&m_Upper);
    DrawLink(&m_Lower);
}

void CModelMD3::UpdateModel(t3DModel* model) {
    int start = 0, end = 1;
    if (const tAnimationInfo* animation = CurrentAnimation(*model)) {
        start = animation->startFrame;
        end = animation->endFrame;
    }
    // After the last frame, or from outside the range (a switched animation), the
    // animation starts over.
    model->nextFrame = model->currentFrame + 1;
    if (model->nextFrame >= end || model->nextFrame < start) model->nextFrame = start;
    SetCurrentTime(model);
}

void CModelMD3::SetCurrentTime(t3DModel* model) {
    const tAnimationInfo* animation = CurrentAnimation(*model);
    if (!animation) return;
    if (animation->framesPerSecond <= 0) {
        model->t = 0.0f;
        return;
    }
    const float now = float(m_TickSource());
    const float elapsed = now - model->lastTime;
    const float step = 1000.0f / float(animation->framesPerSecond);
    if (elapsed >= step) {
        model->currentFrame = model->nextFrame;
        model->lastTime = now;
    }
    // Once stepped, current and next are the same frame, so any t shows that frame.
    model->t = std::min(std::max(elapsed / step, 0.0f), 1.0f);
}

void CModelMD3::TagMatrix(const t3DModel* model, int tag, float out[16]) const {
    const int current = ClampFrame(model, model->currentFrame);
    const int next = ClampFrame(model, model->nextFrame);
    const tMd3Tag& a = model->pTags[current * model->numOfTags + tag];
    const tMd3Tag& b = model->pTags[next * model->numOfTags + tag];
    const float t = model->t;
    CQuaternion from, to;
    from.CreateFromMatrix(&a.rotation[0][0], 3);
    to.CreateFromMatrix(&b.rotation[0][0], 3);
    CQuaternion::Slerp(from, to, t).CreateMatrix(out);
    out[12] = a.vPosition.x + (b.vPosition.x - a.vPosition.x) * t;
    out[13] = a.vPosition.y + (b.vPosition.y - a.vPosition.y) * t;
    out[14] = a.vPosition.z + (b.vPosition.z - a.vPosition.z) * t;
}

void CModelMD3::DrawLink(t3DModel* model) {
    RenderModel(model);
    for (int i = 0; i < model->numOfTags; ++i) {
        t3DModel* link = model->pLinks ? model->pLinks[i] : nullptr;
        if (!link) continue;
        float matrix[16];
        TagMatrix(model, i, matrix);
        glPushMatrix();
        glMultMatrixf(matrix);
        DrawLink(link);
        glPopMatrix();
    }
}

void CModelMD3::RenderModel(t3DModel* model) {
    if (model->pObject.empty()) return;
    const int current = ClampFrame(model, model->currentFrame);
    const int next = ClampFrame(model, model->nextFrame);
    const float t = model->t;
    for (const t3DObject& mesh : model->pObject) {
        if (mesh.numOfFaces == 0) continue;
        const bool textured =
            mesh.bHasTexture && mesh.materialID >= 0 && mesh.materialID < model->numOfMaterials;
        if (textured) {
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D,
                          GLuint(model->pMaterials[size_t(mesh.materialID)].texureId));
        } else {
            glDisable(GL_TEXTURE_2D);
        }
        const CVector3* from = mesh.pVerts + size_t(current) * size_t(mesh.numOfVerts);
        const CVector3* to = mesh.pVerts + size_t(next) * size_t(mesh.numOfVerts);
        const CVector3* fromN = mesh.pNormals + size_t(current) * size_t(mesh.numOfVerts);
        const CVector3* toN = mesh.pNormals + size_t(next) * size_t(mesh.numOfVerts);
        glBegin(GL_TRIANGLES);
        for (int f = 0; f < mesh.numOfFaces; ++f)
            for (int k = 0; k < 3; ++k) {
                const int v = mesh.pFaces[f].vertIndex[k];
                if (mesh.pTexVerts) glTexCoord2f(mesh.pTexVerts[v].x, mesh.pTexVerts[v].y);
                glNormal3f(fromN[v].x + (toN[v].x - fromN[v].x) * t,
                           fromN[v].y + (toN[v].y - fromN[v].y) * t,
                           fromN[v].z + (toN[v].z - fromN[v].z) * t);
                glVertex3f(from[v].x + (to[v].x - from[v].x) * t,
                           from[v].y + (to[v].y - from[v].y) * t,
                           from[v].z + (to[v].z - from[v].z) * t);
            }
        glEnd();
    }
}

void CModelMD3::DestroyModel(t3DModel* model) {
    if (!model) return;
    ReleaseMd3Model(*model);
    m_iFrames[PartIndex(model)] = 0;
}

bool CMd3::Init(char* name, char* folder, char* weapon) {
    bool ok = m_Model.LoadModel(folder, name);
    if (weapon) ok = m_Model.LoadWeapon(folder, weapon) && ok;
    return ok;
}

void CMd3::SetAnim(const char* legs, const char* torso) {
    m_Model.SetTorsoAnimation(torso);
    m_Model.SetLegsAnimation(legs);
}

void CMd3::IncreaseCharacterAnimation(int part) {
    t3DModel* model = m_Model.GetModel(part);
    if (model->numOfAnimations <= 0) return;
    model->currentAnim = (model->currentAnim + 1) % model->numOfAnimations;
    model->nextFrame = model->pAnimations[size_t(model->currentAnim)].startFrame;
}

void CMd3::Draw(bool) {
    glColor3f(1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(m_vPosition.x, m_vPosition.y, m_vPosition.z);
    glRotatef(m_fAngle, m_vRotationAxis.x, m_vRotationAxis.y, m_vRotationAxis.z);
    glScalef(m_vSize.x, m_vSize.y, m_vSize.z);
    m_Model.DrawModel();
    glPopMatrix();
}
