#pragma once
// A movable, animated 2D actor. Moves only change a pending position; the 2D object
// manager's collision pass then commits or reverts them once per frame.
#include "math/3DMath.h"
#include "scene2d/CBoundingBox2D.h"

#include <vector>

class CSprite;

class CGameObject2D {
public:
    CGameObject2D();
    // One animation at (0, 0), 5 frames per second; the last argument is unused.
    CGameObject2D(char* file, unsigned int frames, unsigned int);
    // One animation at (x, y), 7 frames per second; the last argument is unused.
    CGameObject2D(char* file, unsigned int frames, float x, float y, unsigned int);
    // The object owns its animations.
    ~CGameObject2D();
    CGameObject2D(const CGameObject2D&) = delete;
    CGameObject2D& operator=(const CGameObject2D&) = delete;

    // An "animation" here is a whole sprite, not one image of it.
    void addFrame(CSprite* sprite);
    void addFrame(char* file, unsigned int frames);

    void SetPosition(CVector2 p);
    void SetPosition(float x, float y) { SetPosition(CVector2(x, y)); }
    CVector2 GetPosition() const { return m_vPosition; }
    CVector2 GetNewPosition() const { return m_vNewPosition; }

    void MoveLeft(float d) { m_vNewPosition.x -= d; }
    void MoveRigth(float d) { m_vNewPosition.x += d; }
    void MoveUp(float d) { m_vNewPosition.y -= d; }
    void MoveDown(float d) { m_vNewPosition.y += d; }
    void MoveInDirection(CVector2 v, float d);
    // Automatic motion: direction x speed x the frame interval.
    void Move();

    void SetDirection(CVector2 v);
    CVector2 GetDirection() const { return m_vDirection; }
    void SetSpeed(float speed) { m_fSpeed = speed; }
    float GetSpeed() const { return m_fSpeed; }
    void SetVisible(bool visible) { m_bVisible = visible; }
    bool GetVisible() const { return m_bVisible; }

    void SetCurrentFrame(unsigned int i);
    unsigned int GetCurrentFrame() const { return m_uiCurrentAnimation; }
    unsigned int GetAnimationCount() const { return m_uiAnimationCount; }
    CSprite* GetAnimation(unsigned int i) const;
    void ResetCurrentFrame();
    void ResetFrame(unsigned int i);
    // i = -1: every animation.
    void SetAnimationSpeed(unsigned int fps, int i);

    void Draw();
    void DrawOne();
    void DrawOne(float x, float y);

    void SetRotate(float degrees);
    float GetRotate() const { return m_fRotation; }

    // The box rebuilt at the committed or the pending position. Its size is that of the
    // first image of the first animation; without one the box is empty.
    CBoundingBox2D GetBoundingBox();
    CBoundingBox2D GetBoundingBoxInNewPosition();

    void commitMovement() { m_vPosition = m_vNewPosition; }
    void revertMovement() { m_vNewPosition = m_vPosition; }
    void DrawBoundingBox();

private:
    CBoundingBox2D RebuildBox(CVector2 p);
    void LoadFirstAnimation(char* file, unsigned int frames, float x, float y);

    CVector2 m_vPosition;
    CVector2 m_vNewPosition;
    std::vector<CSprite*> m_Animations;
    CVector2 m_vDirection;
    float m_fSpeed = 0.0f;
    bool m_bVisible = true;
    unsigned int m_uiCurrentAnimation = 0;
    unsigned int m_uiAnimationCount = 0;
    CBoundingBox2D m_BoundingBox;
    float m_fRotation = 0.0f;
};
