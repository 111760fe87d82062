#pragma once
#include "math/3DMath.h"

// A 2D camera is only an offset: the scene is translated by its position, so moving the
// camera left shifts everything drawn to the right.
class CCamera2D {
public:
    CCamera2D() = default;
    CCamera2D(float x, float y) : m_Position(x, y) {}

    void MoveLeft(float d) { m_Position.x += d; }
    void MoveRight(float d) { m_Position.x -= d; }
    void MoveUp(float d) { m_Position.y += d; }
    void MoveDown(float d) { m_Position.y -= d; }
    void MoveRelative(float dx, float dy) {
        m_Position.x += dx;
        m_Position.y += dy;
    }

    void setPosition(float x, float y) { m_Position = CVector2(x, y); }
    void setPosition(CVector2 p) { m_Position = p; }
    CVector2 getPosition() const { return m_Position; }
    // The camera manager hands out the position in place.
    CVector2* GetPositionPointer() { return &m_Position; }

private:
    CVector2 m_Position;
};
