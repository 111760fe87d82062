#pragma once
// An articulated MD3 character: lower body, upper body and head joined by tags, plus an
// optional weapon. CModelMD3 loads the parts from a folder, reads their animations, links
// them and draws the hierarchy; CMd3 is the entity that places it in the scene.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "models/CEntity.h"
#include "models/CMD3Loader.h"

class CModelMD3 {
public:
    using TickSource = std::function<uint32_t()>;
    enum ePart { PART_LOWER = 0, PART_UPPER = 1, PART_HEAD = 2, PART_WEAPON = 3 };

    CModelMD3();
    ~CModelMD3();
    CModelMD3(const CModelMD3&) = delete;
    CModelMD3& operator=(const CModelMD3&) = delete;

    // Loads NAME_lower/upper/head .md3 and .skin, their textures and NAME_animation.cfg
    // from the folder and links the parts. Each failure prints its message; what loaded
    // stays usable and false is returned.
    bool LoadModel(char* folder, char* name);
    // Loads NAME.md3 with NAME.shader and hangs it on the upper body's tag_weapon.
    bool LoadWeapon(char* folder, char* name);
    void LoadModelTextures(t3DModel* model, char* folder);
    bool LoadAnimations(char* file);
    // Reads animation.cfg text: BOTH entries go to both lists, TORSO ones to the upper,
    // LEGS ones to the lower after moving them down by the torso offset, which is
    // returned (0 when the file has fewer than 14 entries before its first LEGS entry).
    static int ParseAnimations(const char* text, size_t size, std::vector<tAnimationInfo>& lower,
                               std::vector<tAnimationInfo>& upper);
    // Hangs link on the first tag of model named tag (ignoring case). An empty link (a part
    // that did not load) is not hung.
    void LinkModel(t3DModel* model, t3DModel* link, const char* tag);

    void SetTorsoAnimation(const char* name);
    void SetLegsAnimation(const char* name);

    void DrawModel();
    // Picks the next frame of the part's animation and advances its clock.
    void UpdateModel(t3DModel* model);
    void SetCurrentTime(t3DModel* model);
    void DrawLink(t3DModel* model);
    void RenderModel(t3DModel* model);
    void DestroyModel(t3DModel* model);

    // 0 lower, 1 upper, 2 head, anything else the weapon.
    t3DModel* GetModel(int part);
    int GetFrameCount(const t3DModel* model) const;
    // The tag's placement between the part's current and next frame (column-major 4x4):
    // positions interpolated linearly, rotations by quaternion slerp.
    void TagMatrix(const t3DModel* model, int tag, float out[16]) const;
    const std::vector<std::string>& GetTextureNames() const { return m_strTextures; }
    int GetTorsoOffset() const { return m_iTorsoOffset; }
    // Off: textures are named but not created (for tools without a GL context).
    void SetTextureLoading(bool load) { m_bLoadTextures = load; }
    // Replaces the engine clock as the animation clock (tests drive time through this).
    void SetTickSource(TickSource source) { m_TickSource = std::move(source); }

private:
    int PartIndex(const t3DModel* model) const;
    // A frame number clamped to the frames the part has.
    int ClampFrame(const t3DModel* model, int frame) const;

    std::vector<std::string> m_strTextures;
    t3DModel m_Head;
    t3DModel m_Upper;
    t3DModel m_Lower;
    t3DModel m_Weapon;
    int m_iFrames[4] = {0, 0, 0, 0}; // by part index
    int m_iTorsoOffset = 0;
    bool m_bLoadTextures = true;
    TickSource m_TickSource;
};

class CMd3 : public CEntity {
public:
    CMd3() = default;
    ~CMd3() override = default;

    // LoadModel(folder, name), then LoadWeapon(folder, weapon) when a weapon is named.
    bool Init(char* name, char* folder, char* weapon);
    void SetAnim(const char* legs, const char* torso);
    // Moves the part to its next animation (wrapping) from that animation's start.
    void IncreaseCharacterAnimation(int part);
    void Draw(bool textured) override;
    // The vertices of one pose of every part, the weapon included.
    int GetModelVertexNum() override {
        int count = 0;
        for (int part = 0; part < 4; ++part)
            for (const t3DObject& mesh : m_Model.GetModel(part)->pObject)
                count += mesh.numOfVerts;
        return count;
    }
    // Empty while none of the three body parts loaded.
    bool IsEmpty() override {
        for (int part = 0; part < 3; ++part)
            if (!m_Model.GetModel(part)->pObject.empty()) return false;
        return true;
    }

    void SetPosition(float x, float y, float z) override { m_vPosition = CVector3(x, y, z); }
    void SetSize(float x, float y, float z) override { m_vSize = CVector3(x, y, z); }

    CModelMD3* GetModel() { return &m_Model; }

private:
    CModelMD3 m_Model;
};
