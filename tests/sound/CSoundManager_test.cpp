// Sound manager, sounds and music on SDL's dummy audio driver, with small WAV files
// written for the test.
#include <gtest/gtest.h>

#include "core/Engine.h"
#include "sound/CMusic.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"
#include "support/test_paths.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, uint16_t(v));
    Put16(out, uint16_t(v >> 16));
}

// A mono 16-bit 22050 Hz PCM WAV of the given length, a quiet square wave.
std::string WriteWav(const std::string& dir, const std::string& name, int samples) {
    std::vector<uint8_t> wav;
    auto tag = [&](const char* t) { wav.insert(wav.end(), t, t + 4); };
    tag("RIFF");
    Put32(wav, uint32_t(36 + samples * 2));
    tag("WAVE");
    tag("fmt ");
    Put32(wav, 16);
    Put16(wav, 1);
    Put16(wav, 1);
    Put32(wav, 22050);
    Put32(wav, 22050 * 2);
    Put16(wav, 2);
    Put16(wav, 16);
    tag("data");
    Put32(wav, uint32_t(samples * 2));
    for (int i = 0; i < samples; ++i)
        Put16(wav, uint16_t((i / 50) % 2 ? 1000 : -1000));
    const std::string path = dir + "/" + name;
    zarvo_test::WriteFileBytes(path, std::string(wav.begin(), wav.end()));
    return path;
}

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        dir = zarvo_test::MakeTempDir("sound");
        testing::internal::CaptureStdout();
        g_SoundManager = new CSoundManager();
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(g_SoundManager->IsAudioOpen()) << out;
    }
    void TearDown() override {
        delete g_SoundManager;
        g_SoundManager = nullptr;
    }
    std::string dir;
};

} // namespace

TEST_F(SoundTest, VolumesAreClampedStoredAndApplied) {
    g_SoundManager->SetMusicVolume(200);
    EXPECT_EQ(g_SoundManager->GetMusicVolume(), 128);
    EXPECT_EQ(Mix_VolumeMusic(-1), 128);
    g_SoundManager->SetSoundVolume(-5);
    EXPECT_EQ(g_SoundManager->GetSoundVolume(), 0);
    EXPECT_EQ(Mix_Volume(0, -1), 0);
    g_SoundManager->SetSoundVolume(64);
    EXPECT_EQ(Mix_Volume(0, -1), 64);
}

TEST_F(SoundTest, SoundsRegisterOnLoadAndOnlyThen) {
    testing::internal::CaptureStdout();
    CSound* empty = new CSound("");
    CSound* missing = new CSound(dir + "/missing.wav");
    CSound* beep = new CSound(WriteWav(dir, "beep.wav", 2205));
    const std::string out = testing::internal::GetCapturedStdout();

    EXPECT_EQ(out, "Failed to load sound: " + dir + "/missing.wav\n");
    EXPECT_FALSE(empty->IsLoaded());
    EXPECT_FALSE(missing->IsLoaded());
    EXPECT_TRUE(beep->IsLoaded());
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 1u);

    // In-range plays start a channel; an index equal to the count does nothing.
    g_SoundManager->PlaySound(0, 0);
    EXPECT_EQ(Mix_Playing(-1), 1);
    g_SoundManager->PlaySound(1, 0);
    EXPECT_EQ(Mix_Playing(-1), 1);
    Mix_HaltChannel(-1);

    // Never-registered sounds are still deleted; Delete() removes a registered one.
    g_SoundManager->UnRegisterSound(empty);
    g_SoundManager->UnRegisterSound(missing);
    g_SoundManager->UnRegisterSound(nullptr);
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 1u);
    beep->Delete();
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 0u);
}

TEST_F(SoundTest, ReloadingASoundKeepsOneRegistration) {
    CSound* s = new CSound(WriteWav(dir, "a.wav", 100));
    EXPECT_TRUE(s->Load(WriteWav(dir, "b.wav", 100)));
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 1u);
    EXPECT_EQ(s->GetFileName(), dir + "/b.wav");
    // Deleted by the manager's destructor in TearDown.
}

TEST_F(SoundTest, MusicRegistersPlaysOnePieceAndDeletesOnce) {
    testing::internal::CaptureStdout();
    CMusic* missing = new CMusic(dir + "/missing.ogg");
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(out, "Failed to load music " + dir + "/missing.ogg\n");
    EXPECT_EQ(g_SoundManager->GetNumberOfMusic(), 0u);
    missing->Delete();

    CMusic* first = new CMusic(WriteWav(dir, "first.wav", 22050 * 5));
    CMusic* second = new CMusic(WriteWav(dir, "second.wav", 22050 * 5));
    ASSERT_TRUE(first->IsLoaded());
    ASSERT_TRUE(second->IsLoaded());
    EXPECT_EQ(g_SoundManager->GetNumberOfMusic(), 2u);

    g_SoundManager->PlayMusic(0, -1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    g_SoundManager->PlayMusic(1, -1);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    g_SoundManager->PlayMusic(2, -1); // out of range: nothing changes
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    // Deleting the playing piece stops it and frees it once.
    second->Delete();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(g_SoundManager->GetNumberOfMusic(), 1u);
}
