#include "image/CTextureManager.h"

#include "image/CTexture.h"

#include <algorithm>

CTextureManager::CTextureManager() = default;

CTextureManager::~CTextureManager() {
    DeleteTextures();
}

void CTextureManager::RegisterTexture(CTexture* texture) {
    if (!texture) return;
    const unsigned int name = texture->GetTextureName();
    for (const CTexture* entry : m_Textures)
        if (entry->GetTextureName() == name) return;
    m_Textures.push_back(texture);
}

void CTextureManager::UnRegisterTexture(CTexture* texture) {
    if (!texture) return;
    const unsigned int name = texture->GetTextureName();
    auto last = m_Textures.end();
    for (auto it = m_Textures.begin(); it != m_Textures.end(); ++it)
        if ((*it)->GetTextureName() == name) last = it;
    if (last == m_Textures.end()) return;
    m_Textures.erase(last);
    delete texture; // its destructor calls Forget, which finds nothing left to drop
}

void CTextureManager::Forget(const CTexture* texture) {
    m_Textures.erase(std::remove(m_Textures.begin(), m_Textures.end(), texture), m_Textures.end());
}

void CTextureManager::ReloadTextures() {
    for (CTexture* texture : m_Textures)
        texture->Reload();
}

void CTextureManager::DeleteTextures() {
    for (CTexture* texture : m_Textures)
        texture->Delete();
}
