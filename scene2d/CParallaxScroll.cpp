#include "scene2d/CParallaxScroll.h"

#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTexture.h"

namespace {
float FrameInterval() {
    return g_Utils ? float(g_Utils->GetFrameInterval()) : 0.0f;
}
} // namespace

CParallaxScroll::~CParallaxScroll() {
    for (std::vector<CTexture*>& layer : m_Layers)
        for (CTexture* texture : layer)
            delete texture;
}

const std::vector<CTexture*>* CParallaxScroll::GetLayer(unsigned int layer) const {
    return layer >= 1 && layer <= 3 ? &m_Layers[layer - 1] : nullptr;
}

void CParallaxScroll::AddBackground(unsigned int layer, char* file, float x, float y) {
    CTexture* texture = new CTexture(file ? file : "");
    texture->SetPosition(CVector2(x, y));
    m_Layers[layer - 1].push_back(texture);
    ++m_uiCounts[layer - 1];
}

void CParallaxScroll::Shift(unsigned int layer, float dx, float dy) {
    if (layer < 1 || layer > 3) return;
    const float step = FrameInterval() * m_fSpeed[layer - 1];
    for (CTexture* texture : m_Layers[layer - 1]) {
        const CVector2 p = texture->GetPosition();
        texture->SetPosition(CVector2(p.x + dx * step, p.y + dy * step));
    }
}

void CParallaxScroll::JumpToBackGround(unsigned int index, unsigned int layer) {
    if (layer < 1 || layer > 3 || m_Layers[layer - 1].size() < 2) return;
    const float shift = m_Layers[layer - 1][1]->GetWidth() * float(index);
    for (CTexture* texture : m_Layers[layer - 1]) {
        const CVector2 p = texture->GetPosition();
        texture->SetPosition(CVector2(p.x - shift, p.y));
    }
}

void CParallaxScroll::Draw() {
    for (std::vector<CTexture*>& layer : m_Layers)
        for (CTexture* texture : layer)
            texture->Draw();
}
