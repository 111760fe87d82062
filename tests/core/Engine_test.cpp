// The engine life cycle without a window: the start-up sequence and its output, and
// that replaced and destroyed manager sets are deleted exactly once.
#include <gtest/gtest.h>

#include "core/CGraphicsCore.h"
#include "core/Engine.h"
#include "demos/testGameObject.h"
#include "demos/testImageFade.h"
#include "demos/testShadowMapping.h"
#include "sound/CSoundManager.h"
#include "support/test_paths.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const char* const kProgress[] = {
    "Initialize Graphics Core...",
    "Initialize Texture Manager...",
    "Initialize Window Manager...",
    "Initialize Event Manager...",
    "Initialize Utils...",
    "Initialize Sound Manager...",
    "Initialize Shader Manager...",
    "Initialize the Camera...",
    "Initialize the Camera Manager...",
    "Initialize the Font Manager...",
    "Initialize the Logger...",
    "Initialize the Light Manager...",
    "Initialize the 3D Game Object Manager...",
    "Initialize the 2D Game Object Manager...",
};

std::vector<const void*> Globals() {
    return {g_EventManager,
            g_Graphics,
            g_TextureManager,
            g_Windowmanager,
            g_FontManager,
            g_Utils,
            g_SoundManager,
            g_ShaderManager,
            g_Camera,
            g_CameraManager,
            g_Logger,
            g_LightManager,
            g_3DGameObjectManager,
            g_2DGameObjectManager};
}

bool AllGlobalsNull() {
    for (const void* p : Globals())
        if (p) return false;
    return true;
}

bool AllGlobalsSet() {
    for (const void* p : Globals())
        if (!p) return false;
    return true;
}

// How many times SDL_mixer's device is open: each live sound manager holds one.
int AudioOpenCount() {
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    return Mix_QuerySpec(&frequency, &format, &channels);
}

// Selects SDL's audio driver for the lifetime of the object.
class ScopedAudioDriver {
public:
    explicit ScopedAudioDriver(const char* driver) {
        const char* saved = std::getenv("SDL_AUDIODRIVER");
        restore_ = saved ? saved : "dummy";
        setenv("SDL_AUDIODRIVER", driver, 1);
    }
    ~ScopedAudioDriver() { setenv("SDL_AUDIODRIVER", restore_.c_str(), 1); }

private:
    std::string restore_;
};

size_t CountOf(const std::string& text, const std::string& needle) {
    size_t n = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1))
        ++n;
    return n;
}

} // namespace

TEST(EngineStartup, PrintsBannerAndEveryProgressTextInTableOrder) {
    ScopedAudioDriver audio("dummy"); // opens silently
    testing::internal::CaptureStdout();
    std::unique_ptr<CApp> app(new testImageFade());
    const std::string out = testing::internal::GetCapturedStdout();

    std::string expected = "\nZarvo Engine version 0.02...\n\n";
    for (const char* progress : kProgress)
        expected += std::string(progress) + "done\n";
    EXPECT_EQ(out, expected);
    EXPECT_TRUE(AllGlobalsSet());
    EXPECT_FALSE(app->GetEngine()->IsFPSCountingEnabled());
    app.reset();
    EXPECT_TRUE(AllGlobalsNull());
}

TEST(EngineStartup, SoundManagerOutputPrecedesItsProgressText) {
    // An audio driver that does not exist makes the sound manager report its failure.
    std::string out;
    std::unique_ptr<CApp> app;
    {
        ScopedAudioDriver audio("no-such-driver");
        testing::internal::CaptureStdout();
        app.reset(new testImageFade());
        out = testing::internal::GetCapturedStdout();
    }

    EXPECT_NE(out.find("Initialize Utils...done\nUnable to open audio\n"
                       "Initialize Sound Manager...done\nInitialize Shader Manager...done\n"),
              std::string::npos)
        << out;
    EXPECT_FALSE(g_SoundManager->IsAudioOpen());
    EXPECT_TRUE(AllGlobalsSet());
    app.reset();
    EXPECT_TRUE(AllGlobalsNull());
    EXPECT_EQ(AudioOpenCount(), 0);
}

TEST(EngineLifeCycle, ReplacedSetsAreDeletedAndDestroyingSeveralAppsDeletesOnce) {
    std::vector<std::unique_ptr<CApp>> apps;
    testing::internal::CaptureStdout();
    apps.emplace_back(new testImageFade());
    apps.emplace_back(new testGameObject());
    apps.emplace_back(new testShadowMapping());
    const std::string out = testing::internal::GetCapturedStdout();

    // Three start-up sequences, but only the newest set is alive: one open audio device.
    EXPECT_EQ(CountOf(out, "Zarvo Engine version 0.02..."), 3u);
    EXPECT_EQ(CountOf(out, "done\n"), 3u * 14u);
    EXPECT_EQ(AudioOpenCount(), 1);
    EXPECT_TRUE(AllGlobalsSet());

    // Destroyed newest first, as the program entry does: the first deletes the set in
    // use, the later ones find nothing left to delete.
    apps.pop_back();
    EXPECT_TRUE(AllGlobalsNull());
    EXPECT_EQ(AudioOpenCount(), 0);
    apps.clear();
    EXPECT_TRUE(AllGlobalsNull());
    EXPECT_EQ(AudioOpenCount(), 0);
}

TEST(EngineLifeCycle, ReplacingASetKeepsTheAudioDeviceOpen) {
    // SDL's disk driver creates its output file when the device opens. With the file
    // removed after the first engine, a second one that reopened the device would bring it
    // back.
    const std::string file = zarvo_test::MakeTempDir("audio") + "/out.raw";
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "0", 1);
    {
        ScopedAudioDriver audio("disk");
        testing::internal::CaptureStdout();
        auto first = std::make_unique<Engine>();
        ASSERT_EQ(std::remove(file.c_str()), 0) << "the disk driver wrote no file";
        auto second = std::make_unique<Engine>();
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(AudioOpenCount(), 1);
        std::FILE* reopened = std::fopen(file.c_str(), "rb");
        EXPECT_EQ(reopened, nullptr) << "the device was closed and opened again";
        if (reopened) std::fclose(reopened);
    }
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
    EXPECT_TRUE(AllGlobalsNull());
    EXPECT_EQ(AudioOpenCount(), 0);
}

TEST(EngineLifeCycle, ShutdownTwiceAndInAnyOrderIsSafe) {
    testing::internal::CaptureStdout();
    Engine first;
    Engine second;
    testing::internal::GetCapturedStdout();
    // The older engine deletes whatever set is current; the newer then finds nothing.
    first.Shutdown();
    EXPECT_TRUE(AllGlobalsNull());
    second.Shutdown();
    first.Shutdown();
    EXPECT_TRUE(AllGlobalsNull());
    EXPECT_EQ(AudioOpenCount(), 0);
}

TEST(EngineLifeCycle, LogFileHoldsOneSessionAfterSeveralEngines) {
    // In a directory of its own: other test programs may write a log file at the same time.
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof(previous)), nullptr);
    const std::string dir = zarvo_test::MakeTempDir("engine-log");
    ASSERT_EQ(chdir(dir.c_str()), 0);
    {
        testing::internal::CaptureStdout();
        Engine a;
        Engine b;
        Engine c;
        testing::internal::GetCapturedStdout();
    }
    std::ifstream log("Zarvo_Engine.log");
    std::stringstream text;
    text << log.rdbuf();
    const std::string content = text.str();
    ASSERT_EQ(chdir(previous), 0);

    EXPECT_EQ(CountOf(content, "Zarvo Engine Logger."), 1u) << content;
    EXPECT_EQ(CountOf(content, "Logger started...\n"), 1u) << content;
    EXPECT_EQ(CountOf(content, "Logger stopped...\n"), 1u) << content;
    const std::string last = "Logger stopped...\n";
    EXPECT_EQ(content.rfind(last), content.size() - last.size()) << content;
}

TEST(GraphicsCoreDefaults, BiasMatrixAndAnisotropyWithoutTheExtension) {
    CGraphicsCore core;
    const float* bias = *core.GetShadowMapBiasMatrix();
    const float expected[16] = {0.5f, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0, 0.5f, 0.5f, 0.5f, 1};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(bias[i], expected[i]) << i;

    // Without the anisotropic extension generation can never be switched on.
    core.EnableAnistropicTexturing();
    EXPECT_FALSE(core.isAnisotropicTextureGenerationEnabled());
}
