#include <gtest/gtest.h>

#include "image/CTexture.h"

#include <SDL.h>

#include <vector>

namespace {

// A 3 x 2 surface (odd width, so 24-bit rows are padded) with distinct colours.
SDL_Surface* Surface(int bits, Uint32 r, Uint32 g, Uint32 b, Uint32 a) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, bits, r, g, b, a);
    if (bits == 8) {
        SDL_Color colors[6];
        for (int i = 0; i < 6; ++i)
            colors[i] = {Uint8(40 * i), Uint8(200 - 30 * i), Uint8(7 * i), 0};
        SDL_SetColors(s, colors, 0, 6);
    }
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            const int i = y * 3 + x;
            SDL_Rect px{Sint16(x), Sint16(y), 1, 1};
            SDL_FillRect(s, &px,
                         SDL_MapRGBA(s->format, Uint8(40 * i), Uint8(200 - 30 * i), Uint8(7 * i),
                                     Uint8(255 - 50 * i)));
        }
    return s;
}

std::vector<unsigned char> Expected(bool alpha, bool bottomUp, bool fullAlpha = false) {
    std::vector<unsigned char> out;
    for (int row = 0; row < 2; ++row)
        for (int x = 0; x < 3; ++x) {
            const int i = (bottomUp ? 1 - row : row) * 3 + x;
            out.insert(out.end(), {Uint8(40 * i), Uint8(200 - 30 * i), Uint8(7 * i)});
            if (alpha) out.push_back(fullAlpha ? 255 : Uint8(255 - 50 * i));
        }
    return out;
}

} // namespace

TEST(SurfacePacking, EveryLayoutBecomesTightByteOrderedRows) {
    struct Case {
        const char* name;
        int bits;
        Uint32 r, g, b, a;
    };
    const Case rgb[] = {{"RGB24", 24, 0xFF, 0xFF00, 0xFF0000, 0},
                        {"BGR24", 24, 0xFF0000, 0xFF00, 0xFF, 0},
                        {"XRGB32", 32, 0xFF0000, 0xFF00, 0xFF, 0},
                        {"palette", 8, 0, 0, 0, 0}};
    for (const Case& c : rgb) {
        SDL_Surface* s = Surface(c.bits, c.r, c.g, c.b, c.a);
        EXPECT_EQ(PackSurfacePixels(s, false, false), Expected(false, false)) << c.name;
        EXPECT_EQ(PackSurfacePixels(s, false, true), Expected(false, true)) << c.name;
        SDL_FreeSurface(s);
    }
    SDL_Surface* argb = Surface(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    EXPECT_EQ(PackSurfacePixels(argb, true, false), Expected(true, false));
    EXPECT_EQ(PackSurfacePixels(argb, true, true), Expected(true, true));
    SDL_FreeSurface(argb);

    // 16-bit colour keeps only 5 or 6 bits per channel: compare within that.
    SDL_Surface* rgb565 = Surface(16, 0xF800, 0x07E0, 0x001F, 0);
    const std::vector<unsigned char> got = PackSurfacePixels(rgb565, false, false);
    const std::vector<unsigned char> want = Expected(false, false);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i)
        EXPECT_NEAR(got[i], want[i], 8) << i;
    SDL_FreeSurface(rgb565);
}
