#pragma once
// One music piece: an SDL_mixer music that registers itself with g_SoundManager once it
// has loaded. Only one piece plays at a time.
#include <string>

typedef struct _Mix_Music Mix_Music;

class CMusic {
public:
    // An empty name loads nothing.
    explicit CMusic(const std::string& file = "");
    ~CMusic();
    CMusic(const CMusic&) = delete;
    CMusic& operator=(const CMusic&) = delete;

    bool Load(const std::string& file);
    // Archive loading is a placeholder: it loads nothing.
    bool LoadFromZip(const std::string& file);
    // Stops whatever music plays, then starts this piece.
    void Play(int loops);
    // Unregisters and deletes this piece; the object is gone afterwards.
    void Delete();

    bool IsLoaded() const { return m_pMusic != nullptr; }
    const std::string& GetFileName() const { return m_sFile; }

private:
    Mix_Music* m_pMusic;
    std::string m_sFile;
};
