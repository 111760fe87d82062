#include "demos/testParallaxScroll.h"

#include "core/CEventManager.h"
#include "core/Engine.h"

namespace {
char kLayer3[] = "Data/scroll/BackgroundCloud_layer3.png";
char kLayer2[5][48] = {
    "Data/scroll/Background01_big_alpha.png", "Data/scroll/Background02_big_alpha.png",
    "Data/scroll/Background03_big_alpha.png", "Data/scroll/Background04_big_alpha.png",
    "Data/scroll/Background05_big_alpha.png"};
const float kLayer2Places[5][2] = {{0, 0}, {1024, 0}, {0, 1024}, {1024, 1024}, {1024, 2048}};
char kLayer1[] = "Data/scroll/BackgroundCloud012.png";
} // namespace

testParallaxScroll::testParallaxScroll() : Demo2D("Parallax scroll demo...", 1, 50) {}

testParallaxScroll::~testParallaxScroll() {}

void testParallaxScroll::InitFeature() {
    m_Scroll.addBackgroundToLayer3(kLayer3, 0.0f, 0.0f);
    for (int i = 0; i < 5; ++i)
        m_Scroll.addBackgroundToLayer2(kLayer2[i], kLayer2Places[i][0], kLayer2Places[i][1]);
    m_Scroll.addBackgroundToLayer1(kLayer1, 0.0f, 0.0f);
    m_Scroll.setLayer1Speed(195.0f);
    m_Scroll.setLayer2Speed(355.0f);
    m_Scroll.setLayer3Speed(95.0f);
}

void testParallaxScroll::HandleKeys() {
    // Two keys held apply both, in this order.
    if (g_EventManager->isKeyDown(SDLK_LEFT)) {
        m_Scroll.UpdateLeft(2);
        m_Scroll.UpdateLeft(3);
    }
    if (g_EventManager->isKeyDown(SDLK_RIGHT)) {
        m_Scroll.UpdateRight(2);
        m_Scroll.UpdateRight(3);
    }
    if (g_EventManager->isKeyDown(SDLK_UP)) {
        m_Scroll.UpdateUp(2);
        m_Scroll.UpdateUp(3);
    }
    if (g_EventManager->isKeyDown(SDLK_DOWN)) {
        m_Scroll.UpdateDown(2);
        m_Scroll.UpdateDown(3);
    }
}
