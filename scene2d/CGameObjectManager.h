#pragma once
// Owns the registered 2D objects and runs their frame: automatic motion, the collision
// pass that commits or refuses each object's moves, then drawing in registration order.
#include <vector>

#include "scene2d/CBoundingBox2D.h"

class CGameObject2D;

class CGameObjectManager {
public:
    CGameObjectManager() = default;
    ~CGameObjectManager();
    CGameObjectManager(const CGameObjectManager&) = delete;
    CGameObjectManager& operator=(const CGameObjectManager&) = delete;

    // Takes ownership.
    void RegisterObject(CGameObject2D* object);
    void Render();
    void checkCollision();

    void EnableDrawBoundingBox(bool on) { m_bDrawBoundingBoxes = on; }
    bool isDrawBoundingBoxEnabled() const { return m_bDrawBoundingBoxes; }
    unsigned int GetObjectCount() const { return m_uiObjectCount; }
    const std::vector<CGameObject2D*>& GetObjects() const { return m_Objects; }

private:
    std::vector<CGameObject2D*> m_Objects;
    unsigned int m_uiObjectCount = 0;
    bool m_bDrawBoundingBoxes = false;
    // Kept between frames so the pass does not allocate.
    std::vector<sBoxMove> m_Moves;
    CMoveResolver m_Resolver;
};
