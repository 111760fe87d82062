#include "scene2d/CPictureFade.h"

#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTexture.h"

namespace {
float FrameInterval() {
    return g_Utils ? float(g_Utils->GetFrameInterval()) : 0.0f;
}
} // namespace

CPictureFade::~CPictureFade() {
    delete m_pPicture;
}

void CPictureFade::LoadTexture(char* file, float alpha) {
    delete m_pPicture;
    m_pPicture = new CTexture(file ? file : "", alpha);
}

void CPictureFade::SetPosition(float x, float y) {
    if (m_pPicture) m_pPicture->SetPosition(CVector2(x, y));
}

void CPictureFade::StepFadeOut() {
    if (m_fAlpha <= 0.03f) {
        m_fAlpha = 0.0f;
        m_bFadeOutDone = true;
    } else {
        m_fAlpha -= FrameInterval() * m_fFadeSpeed;
    }
}

void CPictureFade::StepFadeIn() {
    if (m_fAlpha >= 0.98f) {
        m_fAlpha = 1.0f;
        m_bFadeInDone = true;
    } else {
        m_fAlpha += FrameInterval() * m_fFadeSpeed;
    }
}

void CPictureFade::DrawPicture() {
    m_pPicture->SetAlpha(m_fAlpha);
    m_pPicture->Draw();
}

void CPictureFade::FadeOut() {
    if (!m_pPicture) return;
    StepFadeOut();
    DrawPicture();
}

void CPictureFade::FadeIn() {
    if (!m_pPicture) return;
    StepFadeIn();
    DrawPicture();
}
