#include "sound/CMusic.h"

#include "core/DataPath.h"
#include "core/Engine.h"
#include "sound/CSoundManager.h"

#include <SDL_mixer.h>

#include <cstdio>

CMusic::CMusic(const std::string& file) : m_pMusic(nullptr) {
    m_sFile = file;
    if (!file.empty()) Load(file);
}

CMusic::~CMusic() {
    if (!m_pMusic) return;
    if (g_SoundManager) g_SoundManager->StopMusic();
    Mix_FreeMusic(m_pMusic);
}

bool CMusic::Load(const std::string& file) {
    Mix_Music* music = Mix_LoadMUS(ResolveDataPath(file).c_str());
    if (!music) {
        std::printf("Failed to load music %s\n", file.c_str());
        return false;
    }
    const bool wasLoaded = m_pMusic != nullptr;
    if (m_pMusic) {
        if (g_SoundManager) g_SoundManager->StopMusic();
        Mix_FreeMusic(m_pMusic);
    }
    m_pMusic = music;
    m_sFile = file;
    if (!wasLoaded && g_SoundManager) g_SoundManager->RegisterMusic(this);
    return true;
}

bool CMusic::LoadFromZip(const std::string& /*file*/) {
    return true;
}

void CMusic::Play(int loops) {
    if (!m_pMusic) return;
    if (g_SoundManager) g_SoundManager->StopMusic();
    Mix_PlayMusic(m_pMusic, loops);
}

void CMusic::Delete() {
    // The destructor stops the music and frees it; the manager only drops the entry.
    if (g_SoundManager)
        g_SoundManager->UnRegisterMusic(this);
    else
        delete this;
}
