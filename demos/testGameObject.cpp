#include "demos/testGameObject.h"

#include "core/CEventManager.h"
#include "core/Engine.h"
#include "scene2d/CGameObject.h"
#include "scene2d/CGameObjectManager.h"

namespace {
char kSprite[] = "Data/Sprite/sample";
} // namespace

testGameObject::testGameObject()
    : Demo2D("Simple GameObject Movement Demo...", 1, 110), m_pGameObject(nullptr) {}

testGameObject::~testGameObject() {}

void testGameObject::InitFeature() {
    m_pGameObject = new CGameObject2D(kSprite, 1, 200.0f, 200.0f, 0);
    g_2DGameObjectManager->RegisterObject(m_pGameObject);
    m_pGameObject->SetSpeed(100.0f);
}

void testGameObject::HandleKeys() {
    if (!m_pGameObject) return;
    if (g_EventManager->isKeyDown(SDLK_r))
        m_pGameObject->SetRotate(m_pGameObject->GetRotate() + 1.0f);
    // The arrow keys steer the object at its speed; with none held it stands still.
    const auto held = [](SDLKey key) { return g_EventManager->isKeyDown(key) ? 1.0f : 0.0f; };
    m_pGameObject->SetDirection(
        CVector2(held(SDLK_RIGHT) - held(SDLK_LEFT), held(SDLK_DOWN) - held(SDLK_UP)));
}
