#include "demos/testImageFade.h"

#include "scene2d/CPictureFade.h"

namespace {
char kPicture[] = "Data/Logo/z3dlogo.png";
const float kFadeSpeed = 0.3f;
} // namespace

testImageFade::testImageFade()
    : Demo2D("Simple Picture Fade demo...", 1, 110), m_pPictureFade(nullptr) {}

testImageFade::~testImageFade() {
    delete m_pPictureFade;
}

void testImageFade::InitFeature() {
    m_pPictureFade = new CPictureFade();
    m_pPictureFade->LoadTexture(kPicture, 1.0f);
    m_pPictureFade->SetPosition(300.0f, 300.0f);
}

void testImageFade::FeatureFrame() {
    if (!m_pPictureFade) return;
    if (!m_pPictureFade->isFadeOutDone()) {
        m_pPictureFade->FadeOut();
        m_pPictureFade->setFadeSpeed(kFadeSpeed);
    }
    // Also in the frame whose fade-out just ended, so the turn costs no frame.
    if (m_pPictureFade->isFadeOutDone()) {
        m_pPictureFade->FadeIn();
        m_pPictureFade->setFadeSpeed(kFadeSpeed);
    }
    if (m_pPictureFade->isFadeInDone()) {
        m_pPictureFade->setFadeOutDone(false);
        m_pPictureFade->setFadeInDone(false);
    }
}
