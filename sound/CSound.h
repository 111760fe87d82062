#pragma once
// One sound effect: an SDL_mixer chunk that registers itself with g_SoundManager once it
// has loaded.
#include <string>

struct Mix_Chunk;

class CSound {
public:
    // An empty name loads nothing.
    explicit CSound(const std::string& file = "");
    ~CSound();
    CSound(const CSound&) = delete;
    CSound& operator=(const CSound&) = delete;

    bool Load(const std::string& file);
    // Archive loading is a placeholder: it loads nothing.
    bool LoadFromZip(const std::string& file);
    // loops: 0 plays once, n plays n + 1 times, -1 (as unsigned) forever.
    void Play(unsigned int loops);
    // Unregisters and deletes this sound; the object is gone afterwards.
    void Delete();

    bool IsLoaded() const { return m_pChunk != nullptr; }
    const std::string& GetFileName() const { return m_sFile; }

private:
    Mix_Chunk* m_pChunk;
    std::string m_sFile;
};
