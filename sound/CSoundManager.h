#pragma once
// Opens the audio device through SDL_mixer and owns every loaded sound effect and music
// piece; sounds and music register themselves here when they load.
#include <vector>

class CSound;
class CMusic;

class CSoundManager {
public:
    CSoundManager();
    ~CSoundManager();
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    void RegisterSound(CSound* sound);
    void RegisterMusic(CMusic* music);
    // Both remove the first matching entry and delete the object, registered or not.
    void UnRegisterSound(CSound* sound);
    void UnRegisterMusic(CMusic* music);
    void DeleteAllSounds();
    void DeleteAllMusic();
    void StopMusic();

    void SetMusicVolume(int volume);
    void SetSoundVolume(int volume);
    int GetMusicVolume() const { return m_iMusicVolume; }
    int GetSoundVolume() const { return m_iSoundVolume; }

    void PlayMusic(unsigned int index, int loops);
    void PlaySound(unsigned int index, unsigned int loops);

    unsigned int GetNumberOfSounds() const { return unsigned(m_Sounds.size()); }
    unsigned int GetNumberOfMusic() const { return unsigned(m_Music.size()); }
    bool IsAudioOpen() const { return m_bAudioOpen; }

private:
    std::vector<CSound*> m_Sounds;
    std::vector<CMusic*> m_Music;
    int m_iSoundVolume;
    int m_iMusicVolume;
    bool m_bAudioOpen;
};

// Keeps SDL_mixer's device open for its lifetime when it is open already. A set of managers
// that replaces another holds it across the swap: the old sound manager's close would
// otherwise wait for the device to play out its buffer (about 0.2 s) just before the new
// one opens it again.
class CAudioDeviceHold {
public:
    CAudioDeviceHold();
    ~CAudioDeviceHold();
    CAudioDeviceHold(const CAudioDeviceHold&) = delete;
    CAudioDeviceHold& operator=(const CAudioDeviceHold&) = delete;

private:
    bool m_bHeld;
};
