#include "sound/CSoundManager.h"

#include "sound/CMusic.h"
#include "sound/CSound.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>

namespace {
const int kMaxVolume = MIX_MAX_VOLUME;
const int kFrequency = 22050;
const Uint16 kFormat = AUDIO_S16LSB;
const int kChannels = 2;
const int kChunkSize = 4096;

int ClampVolume(int volume) {
    return std::clamp(volume, 0, kMaxVolume);
}
} // namespace

CSoundManager::CSoundManager()
    : m_iSoundVolume(kMaxVolume), m_iMusicVolume(kMaxVolume), m_bAudioOpen(false) {
    SDL_Init(SDL_INIT_AUDIO);
    if (Mix_OpenAudio(kFrequency, kFormat, kChannels, kChunkSize) != 0) {
        std::printf("Unable to open audio\n");
        SDL_Quit();
        return;
    }
    m_bAudioOpen = true;
}

CSoundManager::~CSoundManager() {
    DeleteAllSounds();
    DeleteAllMusic();
    // Closing a device that never opened would unbalance SDL_mixer's open count.
    if (m_bAudioOpen) Mix_CloseAudio();
}

void CSoundManager::RegisterSound(CSound* sound) {
    m_Sounds.push_back(sound);
}

void CSoundManager::RegisterMusic(CMusic* music) {
    m_Music.push_back(music);
}

void CSoundManager::UnRegisterSound(CSound* sound) {
    if (!sound) return;
    auto it = std::find(m_Sounds.begin(), m_Sounds.end(), sound);
    if (it != m_Sounds.end()) m_Sounds.erase(it);
    delete sound;
}

void CSoundManager::UnRegisterMusic(CMusic* music) {
    if (!music) return;
    auto it = std::find(m_Music.begin(), m_Music.end(), music);
    if (it != m_Music.end()) m_Music.erase(it);
    delete music;
}

void CSoundManager::DeleteAllSounds() {
    for (CSound* s : m_Sounds)
        delete s;
    m_Sounds.clear();
}

void CSoundManager::DeleteAllMusic() {
    StopMusic();
    // Swapped out first: a music destructor calls back into StopMusic().
    std::vector<CMusic*> music;
    music.swap(m_Music);
    for (CMusic* m : music)
        delete m;
}

void CSoundManager::StopMusic() {
    if (m_bAudioOpen && Mix_PlayingMusic() == 1) Mix_HaltMusic();
}

void CSoundManager::SetMusicVolume(int volume) {
    m_iMusicVolume = ClampVolume(volume);
    Mix_VolumeMusic(m_iMusicVolume);
}

void CSoundManager::SetSoundVolume(int volume) {
    m_iSoundVolume = ClampVolume(volume);
    Mix_Volume(-1, m_iSoundVolume);
}

void CSoundManager::PlayMusic(unsigned int index, int loops) {
    if (index < m_Music.size()) m_Music[index]->Play(loops);
}

void CSoundManager::PlaySound(unsigned int index, unsigned int loops) {
    if (index < m_Sounds.size()) m_Sounds[index]->Play(loops);
}

CAudioDeviceHold::CAudioDeviceHold() : m_bHeld(false) {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    // An open device with the same format only counts one more opening.
    if (Mix_QuerySpec(&frequency, &format, &channels) > 0)
        m_bHeld = Mix_OpenAudio(frequency, format, channels, kChunkSize) == 0;
}

CAudioDeviceHold::~CAudioDeviceHold() {
    if (m_bHeld) Mix_CloseAudio();
}
