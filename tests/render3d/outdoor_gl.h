#pragma once
// Shared set-up of the outdoor GL tests: the global managers the sky, terrain and particles
// reach for, a frame interval the test chooses, and solid-colour texture files.
#include "core/Engine.h"
#include "core/Utils.h"
#include "image/CTextureManager.h"
#include "render3d/CCamera.h"
#include "support/gl_context.h"
#include "support/test_paths.h"

#include <SDL.h>

#include <string>

namespace outdoor_gl {

inline Uint32 g_FakeTicks = 1000;
inline Uint32 FakeTicks() {
    return g_FakeTicks;
}

// Globals for the duration of one test; the shaders stay loaded for the process.
struct Globals {
    CUtils utils;
    CTextureManager textures;
    CCamera camera;
    Globals() {
        g_Utils = &utils;
        g_TextureManager = &textures;
        g_Camera = &camera;
        g_ShaderManager = zarvo_test::BuiltInShaders();
        CUtils::SetTickSource(FakeTicks);
    }
    ~Globals() {
        CUtils::SetTickSource(nullptr);
        g_Utils = nullptr;
        g_TextureManager = nullptr;
        g_Camera = nullptr;
        g_ShaderManager = nullptr;
    }
    // The next GetFrameInterval() returns this many seconds.
    void SetFrameInterval(double seconds) {
        utils.CalculateFrameRate();
        g_FakeTicks += Uint32(seconds * 1000.0 + 0.5);
        utils.CalculateFrameRate();
    }
};

// A 4 x 4 BMP of one colour in a fresh folder; returns its path.
inline std::string SolidTexture(Uint8 r, Uint8 g, Uint8 b) {
    const std::string path = zarvo_test::MakeTempDir("solid") + "/solid.bmp";
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 24, 0xFF, 0xFF00, 0xFF0000, 0);
    SDL_FillRect(s, nullptr, SDL_MapRGB(s->format, r, g, b));
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

} // namespace outdoor_gl
