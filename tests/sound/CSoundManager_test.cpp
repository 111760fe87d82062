// Sound manager, sounds and music on SDL's dummy audio driver, with WAV files made here.
#include <gtest/gtest.h>

#include "core/Engine.h"
#include "sound/CMusic.h"
#include "sound/CSound.h"
#include "sound/CSoundManager.h"
#include "support/test_paths.h"

#include <SDL_mixer.h>

#include <tuple>

namespace {

class SoundTest : public testing::Test {
protected:
    void SetUp() override {
        testing::internal::CaptureStdout();
        g_SoundManager = new CSoundManager();
        const std::string out = testing::internal::GetCapturedStdout();
        ASSERT_TRUE(g_SoundManager->IsAudioOpen()) << out;
    }
    void TearDown() override {
        delete g_SoundManager;
        g_SoundManager = nullptr;
    }
    // A mono 16-bit 22050 Hz PCM WAV (a quiet square wave) of the given length.
    std::string Wav(const std::string& name, int samples) {
        std::string wav;
        auto put = [&](uint32_t v, int bytes) {
            for (int i = 0; i < bytes; ++i)
                wav += char(v >> (8 * i));
        };
        wav += "RIFF";
        put(36 + samples * 2, 4);
        wav +=
            std::string("WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xAC\0\0\x02\0\x10\0", 28);
        wav += "data";
        put(samples * 2, 4);
        for (int i = 0; i < samples; ++i)
            put(uint16_t((i / 50) % 2 ? 1000 : -1000), 2);
        zarvo_test::WriteFileBytes(dir + name, wav);
        return dir + name;
    }
    const std::string dir = zarvo_test::MakeTempDir("sound") + "/";
};

} // namespace

TEST_F(SoundTest, SoundsRegisterOnLoadOnceAndOnlyThen) {
    testing::internal::CaptureStdout();
    CSound* empty = new CSound("");
    CSound* missing = new CSound(dir + "missing.wav");
    CSound* beep = new CSound(Wav("beep.wav", 2205));
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Failed to load sound: " + dir + "missing.wav\n");
    EXPECT_FALSE(empty->IsLoaded() || missing->IsLoaded());
    EXPECT_TRUE(beep->IsLoaded());
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 1u);
    // In-range plays start a channel; an index equal to the count does nothing.
    for (int index : {0, 1}) {
        g_SoundManager->PlaySound(index, 0);
        EXPECT_EQ(Mix_Playing(-1), 1) << index;
    }
    Mix_HaltChannel(-1);
    // Reloading keeps one registration.
    EXPECT_TRUE(beep->Load(Wav("b.wav", 100)));
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 1u);
    // Never-registered sounds are still deleted; Delete() removes a registered one.
    for (CSound* sound : {empty, missing, static_cast<CSound*>(nullptr)})
        g_SoundManager->UnRegisterSound(sound);
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 1u);
    beep->Delete();
    EXPECT_EQ(g_SoundManager->GetNumberOfSounds(), 0u);
    new CSound(Wav("a.wav", 100)); // left to the manager's destructor
}

TEST_F(SoundTest, VolumesAreClampedAndMusicRegistersPlaysOnePieceAndDeletesOnce) {
    g_SoundManager->SetMusicVolume(200);
    g_SoundManager->SetSoundVolume(-5);
    EXPECT_EQ(std::make_tuple(g_SoundManager->GetMusicVolume(), Mix_VolumeMusic(-1),
                              g_SoundManager->GetSoundVolume(), Mix_Volume(0, -1)),
              std::make_tuple(128, 128, 0, 0));
    g_SoundManager->SetSoundVolume(64);
    EXPECT_EQ(Mix_Volume(0, -1), 64);

    testing::internal::CaptureStdout();
    CMusic* missing = new CMusic(dir + "missing.ogg");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Failed to load music " + dir + "missing.ogg\n");
    EXPECT_EQ(g_SoundManager->GetNumberOfMusic(), 0u);
    missing->Delete();
    CMusic* first = new CMusic(Wav("first.wav", 22050 * 5));
    CMusic* second = new CMusic(Wav("second.wav", 22050 * 5));
    ASSERT_TRUE(first->IsLoaded() && second->IsLoaded());
    EXPECT_EQ(g_SoundManager->GetNumberOfMusic(), 2u);
    for (int piece : {0, 1, 2}) { // the last is out of range: nothing changes
        g_SoundManager->PlayMusic(piece, -1);
        EXPECT_EQ(Mix_PlayingMusic(), 1) << piece;
    }
    // Deleting the playing piece stops it and frees it once.
    second->Delete();
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(g_SoundManager->GetNumberOfMusic(), 1u);
}
