#include "sound/CSound.h"

#include "core/DataPath.h"
#include "core/Engine.h"
#include "sound/CSoundManager.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>

CSound::CSound(const std::string& file) : m_pChunk(nullptr) {
    m_sFile = file;
    if (!file.empty()) Load(file);
}

CSound::~CSound() {
    if (m_pChunk) Mix_FreeChunk(m_pChunk);
}

bool CSound::Load(const std::string& file) {
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromFile(ResolveDataPath(file).c_str(), "rb"), 1);
    if (!chunk) {
        std::printf("Failed to load sound: %s\n", file.c_str());
        return false;
    }
    // A second load replaces the chunk and must not register the sound twice.
    const bool wasLoaded = m_pChunk != nullptr;
    if (m_pChunk) Mix_FreeChunk(m_pChunk);
    m_pChunk = chunk;
    m_sFile = file;
    if (!wasLoaded && g_SoundManager) g_SoundManager->RegisterSound(this);
    return true;
}

bool CSound::LoadFromZip(const std::string& /*file*/) {
    return true;
}

void CSound::Play(unsigned int loops) {
    if (!m_pChunk) return;
    if (Mix_PlayChannelTimed(-1, m_pChunk, int(loops), -1) == -1)
        std::printf("Failed to play sound %s %s\n", m_sFile.c_str(), SDL_GetError());
}

void CSound::Delete() {
    if (g_SoundManager)
        g_SoundManager->UnRegisterSound(this);
    else
        delete this;
}
