#pragma once
// An animated MD2 character: owns the loader, the model, the skin texture and the
// animation clock, and draws by interpolating between two frames.
#include <cstdint>
#include <functional>

#include "models/CEntity.h"
#include "models/CMD2Loader.h"
#include "render3d/CShadowVolume.h"

class CMD2Object : public CEntity {
public:
    using TickSource = std::function<uint32_t()>;

    CMD2Object();
    ~CMD2Object() override;

    // Loads the model and its skin; false when the model file failed (the object stays
    // empty). A failed skin only leaves the model untextured.
    bool Init(char* file, char* skin);
    void Draw(bool textured) override;

    void SetAnim(int n);
    void SetAnimationSpeed(float framesPerSecond) { m_fAnimationSpeed = framesPerSecond; }
    float GetAnimationSpeed() const { return m_fAnimationSpeed; }
    // Animation to fall back to when the current one ends; -1 for none.
    void SetDefaultAnimation(int n) { m_iDefaultAnimation = n; }

    void SetPosition(float x, float y, float z) override { PlaceAt(x, y, z); }
    void SetSize(float x, float y, float z) override { ScaleTo(x, y, z); }
    void SetAngle(float angle) { TurnTo(angle); }

    // Advances the clock: when a frame step has passed, the current frame becomes next.
    // Returns the interpolation factor computed before the step (not clamped).
    float ReturnCurrentTime(int next);

    // The volume is built between the current and the next frame and advances the same
    // clock as Draw.
    void BuildShadowVolume(CVector3 light) override;
    void RenderToStencilV() override;
    void DrawShadowVolumeV() override;

    int GetModelVertexNum() override { return m_Model.numOfVertices; }
    bool IsEmpty() override { return m_Model.numOfObjects <= 0; }
    void DrawBoundingBox() override;
    void DrawBoundingSphere();
    CVector3* GetBoundingBoxMinPoint() { return GetTransformedModelLevelBBMinPoint(); }
    CVector3* GetBoundingBoxMaxPoint() { return GetTransformedModelLevelBBMaxPoint(); }
    void ComputeBoundingRadius();
    float GetBoundingRadius() const { return m_fBoundingRadius; }
    void Destroy();

    t3DModel* getModel() { return &m_Model; }
    CShadowVolume* GetShadowVolume() { return &m_ShadowVolume; }
    GLuint GetSkinTexture() const { return m_SkinTexture; }
    // Replaces the skin (the texture is not owned).
    void SetSkinTexture(GLuint texture) { m_SkinTexture = texture; }
    // Replaces the engine clock (tests drive time through this).
    void SetTickSource(TickSource source) { m_TickSource = std::move(source); }
    // Frame shown after the current one. With applyDefault the end of an animation
    // switches to the default animation (drawing does this, shadow building does not).
    int NextFrame(bool applyDefault);
    // The clock's interpolation factor, limited to the next frame's pose.
    float BlendTowards(int next);

private:
    void UpdateWorldBox() override;

    CMD2Loader m_Loader;
    t3DModel m_Model;
    GLuint m_SkinTexture = 0;
    float m_fElapsedTime = 0.0f;
    float m_fLastTime = 0.0f;
    float m_fAnimationSpeed = 5.0f;
    float m_fBoundingRadius = 0.0f;
    CShadowVolume m_ShadowVolume;
    int m_iDefaultAnimation = -1;
    TickSource m_TickSource;
};
