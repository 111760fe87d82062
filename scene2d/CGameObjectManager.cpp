#include "scene2d/CGameObjectManager.h"

#include "scene2d/CBoundingBox2D.h"
#include "scene2d/CGameObject.h"

CGameObjectManager::~CGameObjectManager() {
    for (CGameObject2D* object : m_Objects)
        delete object;
}

void CGameObjectManager::RegisterObject(CGameObject2D* object) {
    if (!object) return;
    m_Objects.push_back(object);
    ++m_uiObjectCount;
}

void CGameObjectManager::Render() {
    for (CGameObject2D* object : m_Objects)
        object->Move();
    checkCollision();
    for (CGameObject2D* object : m_Objects)
        object->Draw();
}

void CGameObjectManager::checkCollision() {
    m_Moves.resize(m_Objects.size());
    for (size_t i = 0; i < m_Objects.size(); ++i)
        m_Moves[i] = {m_Objects[i]->GetBoundingBox(), m_Objects[i]->GetBoundingBoxInNewPosition()};
    const std::vector<char>& kept = m_Resolver.Resolve(m_Moves);
    for (size_t i = 0; i < m_Objects.size(); ++i) {
        if (kept[i])
            m_Objects[i]->commitMovement();
        else
            m_Objects[i]->revertMovement();
    }
}
