#pragma once
#include "math/3DMath.h"

#include <string>
#include <vector>

class CTexture;

// Milliseconds since start; the engine clock by default, replaceable so tests control time.
using SpriteTickSource = unsigned int (*)();

// The frame-stepping rules, apart from drawing. Frames are numbered from 1.
struct SpriteTiming {
    // True when more than one animation period has passed; speed 0 never advances.
    static bool PeriodElapsed(unsigned int elapsedMs, unsigned int framesPerSecond);
    static unsigned int NextLooping(unsigned int current, unsigned int count);
    static unsigned int NextOnce(unsigned int current, unsigned int count);
};

// The file name of frame k (1-based): base + k + ".png", e.g. "Data/Flame/flame3.png".
std::string SpriteFrameFileName(const char* base, unsigned int k);

// A frame animation of numbered images that loops or plays once.
class CSprite {
public:
    CSprite();
    CSprite(char* file, unsigned int frames, float x, float y);
    ~CSprite();
    CSprite(const CSprite&) = delete;
    CSprite& operator=(const CSprite&) = delete;

    void LoadTextures(char* file, unsigned int n);

    void Draw();
    void Draw(CVector2 p);
    void Update();
    void DrawOne();
    void DrawOne(CVector2 p);
    void DrawOne(float x, float y);
    void DrawFrame(unsigned int i);
    void DrawFrame(unsigned int i, float x, float y);
    void DrawFrame(unsigned int i, CVector2 p);
    void Reset() { m_CurrentFrame = 1; }

    CTexture* GetTexture(unsigned int i);
    unsigned int GetNumberOfFrames() const { return m_FrameCount; }
    unsigned int GetCurrentFrame() const { return m_CurrentFrame; }
    void SetAnimationSpeed(unsigned int fps) { m_AnimationSpeed = fps; }
    unsigned int GetAnimationSpeed() const { return m_AnimationSpeed; }

    void SetPosition(float x, float y) { m_Position = CVector2(x, y); }
    void SetPosition(CVector2 p) { m_Position = p; }
    void SetPositionX(float x) { m_Position.x = x; }
    void SetPositionY(float y) { m_Position.y = y; }
    CVector2 GetSpritePos() const { return m_Position; }
    float GetSpritePosX() const { return m_Position.x; }
    float GetSpritePosY() const { return m_Position.y; }
    void SetRotationValue(float degrees) { m_Rotation = degrees; }

    // Replaces the clock for every sprite (null restores the engine clock).
    static void SetTickSource(SpriteTickSource source);
    // Restarts the period from now, as construction does.
    void RestartClock();

private:
    // The texture of the current frame, or null when the frame number and the loaded list
    // disagree (a default sprite, or files that failed to load).
    CTexture* CurrentTexture();
    void DrawTexture(CTexture* texture, float x, float y);
    void AdvanceOnce();

    std::vector<CTexture*> m_Frames;
    unsigned int m_FrameCount = 0;
    unsigned int m_CurrentFrame = 0;
    CVector2 m_Position;
    unsigned int m_LastTick = 0;
    unsigned int m_AnimationSpeed = 20;
    float m_Rotation = 0.0f;
};
