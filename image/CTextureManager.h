#pragma once
#include <vector>

class CTexture;

// Registry of the texture objects loaded through the image library. It owns nothing,
// except what UnRegisterTexture removes.
class CTextureManager {
public:
    CTextureManager();
    // Calls DeleteTextures, then drops the list without deleting the objects.
    ~CTextureManager();
    CTextureManager(const CTextureManager&) = delete;
    CTextureManager& operator=(const CTextureManager&) = delete;

    // Appends unless an entry already has the same GL texture name.
    void RegisterTexture(CTexture* texture);
    // Removes the last entry with the same GL texture name, then destroys texture.
    void UnRegisterTexture(CTexture* texture);
    // Drops every entry that is this very object, without destroying it; a texture
    // calls this as it dies so the list never holds a dangling pointer.
    void Forget(const CTexture* texture);
    void ReloadTextures();
    void DeleteTextures();

    const std::vector<CTexture*>& GetTextures() const { return m_Textures; }

private:
    std::vector<CTexture*> m_Textures;
};
